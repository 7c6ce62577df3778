// Consolidation: the key of a name, the order of the slots, and whole runs over projects
// held in memory, with reads, writes and replaces that fail where the input says.
// Checked: the key agrees with a reference written from its rule and reads no byte past
// the second; the order is a permutation of all slots, keys ascending from 1 to 255 with
// key 0 last, list-then-slot order within a key, and stays ended; a run gives each
// project exactly the 33 slots of a stable sort by key; a failure reports the entry the
// run meets first, replaces nothing (or, when a replace fails, every other project) and
// leaves no temporary file but those of the failed replaces; nothing is read after the
// reading ended; the progress counts move one way and end at 2 x slots and 0.
// Input: a mode byte, then keys or the projects' names and the faults.
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "store/consolidate.h"

namespace {

bool Punctuation(unsigned char c) {
    return c > ' ' && c < 127 && !(c >= '0' && c <= '9') && !(c >= 'A' && c <= 'Z') &&
           !(c >= 'a' && c <= 'z');
}

unsigned char ReferenceKey(const char* name) {
    unsigned char key = (unsigned char)name[0];
    if (Punctuation(key)) {
        key = (unsigned char)name[1];
        if (Punctuation(key) || key == 0)
            return 0;
    }
    return (key >= 'a' && key <= 'z') ? (unsigned char)(key - 32) : key;
}

// Where a key comes in the order: 1 to 255 as they are, key 0 after them.
int Rank(unsigned char key) {
    return key == 0 ? 256 : key;
}

// Names from a small alphabet, so that keys repeat and punctuation, blanks, high bytes
// and NULs meet at the start of names.
const char kAlphabet[] = " !#(-.09AaBbZz[{~\x7f\x80\xe9\xff";

std::string Name(FuzzInput& in) {
    std::string name;
    const int length = in.Byte() % 5;
    for (int i = 0; i < length; ++i) {
        const uint8_t b = in.Byte();
        name += b < 200 ? kAlphabet[b % (sizeof kAlphabet - 1)] : char(b);
    }
    return name;
}

const unsigned char kFewKeys[] = {0, 'A', 'B', '0', 255, 'a', '!'};

void CheckKeysAndOrder(FuzzInput& in) {
    // Keys of name fields: exactly 32 bytes, the key may look at two of them.
    for (int i = 0; i < 8; ++i) {
        std::unique_ptr<char[]> field(new char[kNameSize]);
        memcpy(field.get(),
               Tiled(Name(in) + (in.Flag() ? std::string(1, '\0') : ""), kNameSize).data(),
               kNameSize);
        {
            OnlyRegion guard(field.get(), field.get() + kNameSize, field.get(), field.get() + 2);
            const unsigned char key = ConsolidationKey(field.get());
            const unsigned char expected = ReferenceKey(field.get());
            FUZZ_CHECK(key == expected, "key of %s is %d, expected %d",
                       Shown(std::string(field.get(), 4)).c_str(), key, expected);
        }
    }

    // The order over any keys, from a few values or from all.
    const long count = long(in.Half() % 400);
    const bool few = in.Flag();
    std::unique_ptr<unsigned char[]> keys(new unsigned char[size_t(count ? count : 1)]);
    for (long i = 0; i < count; ++i) {
        const uint8_t b = in.Byte();
        keys[size_t(i)] = few ? kFewKeys[b % sizeof kFewKeys] : b;
    }
    ConsolidationOrder order(keys.get(), count);
    std::vector<bool> seen(size_t(count), false);
    long previous = -1;
    long index = -1;
    long placed = 0;
    while (order.Next(index)) {
        FUZZ_CHECK(index >= 0 && index < count, "index %ld outside %ld keys", index, count);
        FUZZ_CHECK(!seen[size_t(index)], "slot %ld placed twice", index);
        seen[size_t(index)] = true;
        if (previous >= 0) {
            const int was = Rank(keys[size_t(previous)]);
            const int is = Rank(keys[size_t(index)]);
            FUZZ_CHECK(was < is || (was == is && previous < index),
                       "slot %ld (key %d) after slot %ld (key %d)", index, keys[size_t(index)],
                       previous, keys[size_t(previous)]);
        }
        previous = index;
        FUZZ_CHECK(++placed <= count, "more slots placed than there are");
    }
    FUZZ_CHECK(placed == count, "%ld of %ld slots placed", placed, count);
    FUZZ_CHECK(!order.Next(index) && !order.Next(index), "the order goes on after its end");
}

// ---- whole runs -------------------------------------------------------------------------

struct Slot {
    char name[kNameSize];
    std::string text;
};
using Project = std::vector<Slot>; // 33 slots

enum Fault { kNone, kReadNames, kReadSlot, kChangedName, kWrite, kCanReplace };

class MemoryFiles : public ConsolidationFiles {
  public:
    explicit MemoryFiles(std::vector<Project>& projects)
        : projects_(projects), temporaries_(projects.size()), replaced_(projects.size(), false),
          failReplace_(projects.size(), false) {}

    Fault fault = kNone;
    long faultAt = -1; // entry, or the number of the slot read
    std::vector<bool>& failReplace() { return failReplace_; }

    bool ReadNames(int entry, char (*names)[kNameSize]) override {
        FUZZ_CHECK(!ended_, "names read after the reading ended");
        if (fault == kReadNames && faultAt == entry)
            return false;
        for (int s = 0; s < kSlotCount; ++s)
            memcpy(names[s], Entry(entry)[size_t(s)].name, kNameSize);
        return true;
    }
    bool ReadSlot(int entry, int slot, char* name, char* text) override {
        FUZZ_CHECK(!ended_, "a slot read after the reading ended");
        FUZZ_CHECK(slot >= 0 && slot < kSlotCount, "slot %d read", slot);
        const long call = slotReads_++;
        if (fault == kReadSlot && faultAt == call)
            return false;
        const Slot& source = Entry(entry)[size_t(slot)];
        memcpy(name, source.name, kNameSize);
        if (fault == kChangedName && faultAt == call) // changed since the census
            name[0] = ReferenceKey(source.name) == 'A' ? 'B' : 'A';
        memset(text, 0, kTextSize);
        memcpy(text, source.text.data(), source.text.size());
        return true;
    }
    bool WriteTemporary(int entry, const ProjectImage& image) override {
        FUZZ_CHECK(!ended_, "a temporary file written after the reading ended");
        if (fault == kWrite && faultAt == entry)
            return false;
        Project written(kSlotCount);
        for (int s = 0; s < kSlotCount; ++s) {
            memcpy(written[size_t(s)].name, image.names[s], kNameSize);
            written[size_t(s)].text =
                std::string(image.texts[s], strnlen(image.texts[s], kTextSize));
        }
        temporaries_[size_t(entry)].reset(new Project(written));
        ++written_;
        return true;
    }
    void EndReading() override { ended_ = true; }
    bool CanReplace(int entry) override {
        FUZZ_CHECK(ended_, "a replace asked for while the projects are still read");
        return !(fault == kCanReplace && faultAt == entry);
    }
    bool Replace(int entry) override {
        FUZZ_CHECK(ended_, "a project replaced while the projects are still read");
        FUZZ_CHECK(written_ == projects_.size(),
                   "a project replaced before every temporary file was written");
        if (failReplace_[size_t(entry)])
            return false;
        projects_[size_t(entry)] = *temporaries_[size_t(entry)];
        temporaries_[size_t(entry)].reset();
        replaced_[size_t(entry)] = true;
        return true;
    }
    void RemoveTemporaries() override {
        for (auto& temporary : temporaries_)
            temporary.reset();
    }

    bool Replaced(size_t entry) const { return replaced_[entry]; }
    bool HasTemporary(size_t entry) const { return bool(temporaries_[entry]); }
    bool Ended() const { return ended_; }

  private:
    const Project& Entry(int entry) const {
        FUZZ_CHECK(entry >= 0 && size_t(entry) < projects_.size(), "entry %d read", entry);
        return projects_[size_t(entry)];
    }
    std::vector<Project>& projects_;
    std::vector<std::unique_ptr<Project>> temporaries_;
    std::vector<bool> replaced_;
    std::vector<bool> failReplace_;
    bool ended_ = false;
    long slotReads_ = 0;
    size_t written_ = 0;
};

struct Counts {
    long examined = 0;
    long remaining = -1;
    long total = 0;
};

void Show(void* context, long examined, long remaining) {
    Counts& c = *static_cast<Counts*>(context);
    FUZZ_CHECK(examined >= c.examined && examined <= 2 * c.total,
               "examined %ld after %ld (of %ld slots)", examined, c.examined, c.total);
    FUZZ_CHECK(remaining >= 0 && remaining <= c.total &&
                   (c.remaining < 0 || remaining <= c.remaining),
               "remaining %ld after %ld (of %ld slots)", remaining, c.remaining, c.total);
    c.examined = examined;
    c.remaining = remaining;
}

bool SameSlot(const Slot& a, const Slot& b) {
    return memcmp(a.name, b.name, kNameSize) == 0 && a.text == b.text;
}

void CheckRun(FuzzInput& in) {
    const int entries = in.Byte() % 7;
    std::vector<Project> projects(size_t(entries), Project(size_t{kSlotCount}));
    for (int e = 0; e < entries; ++e)
        for (int s = 0; s < kSlotCount; ++s) {
            Slot& slot = projects[size_t(e)][size_t(s)];
            memset(slot.name, 0, kNameSize);
            const std::string name = in.Byte() < 64 ? "" : Name(in);
            if (in.Byte() < 16) // filled to the width, no terminator
                memcpy(slot.name, Tiled(name + "x", kNameSize).data(), kNameSize);
            else
                memcpy(slot.name, name.data(), name.size());
            slot.text = "entry " + std::to_string(e) + " slot " + std::to_string(s);
        }
    const std::vector<Project> original = projects;

    MemoryFiles files(projects);
    const uint8_t faultChoice = in.Byte();
    const long total = long(entries) * kSlotCount;
    if (entries > 0 && faultChoice < 120) {
        files.fault = Fault(1 + faultChoice % 5);
        const bool perSlot = files.fault == kReadSlot || files.fault == kChangedName;
        files.faultAt = long(in.Half()) % (perSlot ? total : entries);
    }
    for (int e = 0; e < entries; ++e)
        files.failReplace()[size_t(e)] = in.Byte() < 24;

    // What the run must do: the census, then each output slot in order, then the writes
    // and the replaces, failing at the first fault met.
    std::vector<std::pair<int, int>> order; // (entry, slot) in consolidated order
    for (int e = 0; e < entries; ++e)
        for (int s = 0; s < kSlotCount; ++s)
            order.push_back({e, s});
    std::stable_sort(order.begin(), order.end(), [&](auto a, auto b) {
        return Rank(ReferenceKey(original[size_t(a.first)][size_t(a.second)].name)) <
               Rank(ReferenceKey(original[size_t(b.first)][size_t(b.second)].name));
    });
    ConsolidationResult expected;
    if (files.fault == kReadNames)
        expected = {ConsolidationStatus::Unreadable, int(files.faultAt)};
    else if (files.fault == kReadSlot || files.fault == kChangedName)
        expected = {ConsolidationStatus::Unreadable, order[size_t(files.faultAt)].first};
    else if (files.fault == kWrite)
        expected = {ConsolidationStatus::NotWritten, int(files.faultAt)};
    else if (files.fault == kCanReplace)
        expected = {ConsolidationStatus::NotReplaceable, int(files.faultAt)};
    else
        for (int e = 0; e < entries && expected.entry < 0; ++e)
            if (files.failReplace()[size_t(e)])
                expected = {ConsolidationStatus::PartlyReplaced, e};
    Counts counts;
    counts.total = total;
    ConsolidationProgress progress;
    progress.show = Show;
    progress.context = &counts;
    const ConsolidationResult result = Consolidate(entries, files, progress);

    FUZZ_CHECK(result.status == expected.status && result.entry == expected.entry,
               "%d projects, fault %d at %ld: status %d entry %d, expected status %d entry %d",
               entries, int(files.fault), files.faultAt, int(result.status), result.entry,
               int(expected.status), expected.entry);
    FUZZ_CHECK(entries == 0 || files.Ended(), "the run ended without ending the reading");
    const bool replacing = result.status == ConsolidationStatus::Done ||
                           result.status == ConsolidationStatus::PartlyReplaced;
    for (int e = 0; e < entries; ++e) {
        const Project& now = projects[size_t(e)];
        const bool failedReplace = replacing && files.failReplace()[size_t(e)];
        if (!replacing || failedReplace) {
            FUZZ_CHECK(!files.Replaced(size_t(e)), "project %d replaced", e);
            for (int s = 0; s < kSlotCount; ++s)
                FUZZ_CHECK(SameSlot(now[size_t(s)], original[size_t(e)][size_t(s)]),
                           "project %d, slot %d changed by a run that did not replace it", e, s);
            FUZZ_CHECK(files.HasTemporary(size_t(e)) == failedReplace,
                       "project %d: temporary file %s", e, failedReplace ? "lost" : "left");
            continue;
        }
        FUZZ_CHECK(!files.HasTemporary(size_t(e)), "project %d: temporary file left", e);
        for (int s = 0; s < kSlotCount; ++s) {
            const auto from = order[size_t(e * kSlotCount + s)];
            FUZZ_CHECK(SameSlot(now[size_t(s)], original[size_t(from.first)][size_t(from.second)]),
                       "project %d, slot %d holds %s, expected slot %d of project %d", e, s,
                       Shown(now[size_t(s)].text).c_str(), from.second, from.first);
        }
    }
    if (replacing && entries > 0)
        FUZZ_CHECK(counts.examined == 2 * total && counts.remaining == 0,
                   "the progress ends at %ld examined and %ld remaining, not %ld and 0",
                   counts.examined, counts.remaining, 2 * total);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    if (in.Byte() % 2)
        CheckKeysAndOrder(in);
    else
        CheckRun(in);
    return 0;
}
