#include "store/consolidate.h"

#include "store/heap_block.h"

namespace {

// The 32 printable ASCII characters that are neither blank, letter nor digit.
bool IsPunctuation(unsigned char c) {
    return (c >= '!' && c <= '/') || (c >= ':' && c <= '@') || (c >= '[' && c <= '`') ||
           (c >= '{' && c <= '~');
}

int KeyOfRank(int rank) {
    return rank & 0xFF; // rank 256 is key 0
}

class Counter {
  public:
    Counter(const ConsolidationProgress& progress, long total)
        : progress_(progress), remaining_(total) {}
    void Examined() { Show(++examined_, remaining_); }
    void Placed() { Show(++examined_, --remaining_); }
    // Between two file operations that count nothing, so the caller may keep its window
    // painted while the files are written and replaced.
    void Again() const { Show(examined_, remaining_); }

  private:
    void Show(long examined, long remaining) const {
        if (progress_.show)
            progress_.show(progress_.context, examined, remaining);
    }
    const ConsolidationProgress& progress_;
    long examined_ = 0;
    long remaining_;
};

ConsolidationResult Failed(ConsolidationFiles& files, ConsolidationStatus status, int entry) {
    files.EndReading();
    files.RemoveTemporaries();
    return {status, entry};
}

} // namespace

unsigned char ConsolidationKey(const char* nameField) {
    unsigned char key = (unsigned char)nameField[0];
    if (IsPunctuation(key)) {
        key = (unsigned char)nameField[1];
        // Punctuation keys are never visited: a second punctuation character would leave
        // the slot without a place, so it goes with the empty names.
        if (IsPunctuation(key))
            return 0;
    }
    if (key >= 'a' && key <= 'z')
        key = (unsigned char)(key - 'a' + 'A');
    return key;
}

ConsolidationOrder::ConsolidationOrder(const unsigned char* keys, long count)
    : keys_(keys), count_(count) {
    for (long i = 0; i < count; ++i)
        present_[keys[i]] = true;
    AdvanceKey();
}

bool ConsolidationOrder::AdvanceKey() {
    position_ = 0;
    while (++rank_ <= 256)
        if (present_[KeyOfRank(rank_)])
            return true;
    return false;
}

bool ConsolidationOrder::Next(long& index) {
    while (rank_ <= 256) {
        const unsigned char key = (unsigned char)KeyOfRank(rank_);
        while (position_ < count_) {
            const long at = position_++;
            if (keys_[at] == key) {
                index = at;
                return true;
            }
        }
        AdvanceKey();
    }
    return false;
}

ConsolidationResult Consolidate(int entries, ConsolidationFiles& files,
                                const ConsolidationProgress& progress) {
    if (entries <= 0)
        return {};
    HeapBlock<ProjectImage> output = AllocateBlock<ProjectImage>();
    if (!output)
        return {ConsolidationStatus::NoMemoryForOutput, -1};
    const long total = long(entries) * kSlotCount;
    HeapBlock<unsigned char> keyTable = AllocateBlock<unsigned char>(size_t(total));
    if (!keyTable)
        return {ConsolidationStatus::NoMemoryForKeys, -1};
    unsigned char* const keys = keyTable.get(); // the key of slot entry * 33 + slot
    Counter counter(progress, total);

    // The census: the names alone tell where every slot goes.
    for (int entry = 0; entry < entries; ++entry) {
        if (!files.ReadNames(entry, output->names))
            return Failed(files, ConsolidationStatus::Unreadable, entry);
        for (int slot = 0; slot < kSlotCount; ++slot) {
            keys[long(entry) * kSlotCount + slot] = ConsolidationKey(output->names[slot]);
            counter.Examined();
        }
    }

    // The redistribution into temporary files; the projects themselves are only read.
    ConsolidationOrder order(keys, total);
    for (int entry = 0; entry < entries; ++entry) {
        ClearImage(*output);
        for (int slot = 0; slot < kSlotCount; ++slot) {
            long at = 0;
            order.Next(at); // the order holds exactly entries * 33 slots
            const int source = int(at / kSlotCount);
            // A name whose key differs from the census's means the project changed since.
            if (!files.ReadSlot(source, int(at % kSlotCount), output->names[slot],
                                output->texts[slot]) ||
                ConsolidationKey(output->names[slot]) != keys[at])
                return Failed(files, ConsolidationStatus::Unreadable, source);
            counter.Placed();
        }
        if (!files.WriteTemporary(entry, *output))
            return Failed(files, ConsolidationStatus::NotWritten, entry);
        counter.Again();
    }
    files.EndReading();

    // The replacement: all or, should the system refuse midway, as much as it allows.
    for (int entry = 0; entry < entries; ++entry) {
        if (!files.CanReplace(entry))
            return Failed(files, ConsolidationStatus::NotReplaceable, entry);
        counter.Again();
    }
    int failed = -1;
    for (int entry = 0; entry < entries; ++entry) {
        if (!files.Replace(entry) && failed < 0)
            failed = entry;
        counter.Again();
    }
    if (failed >= 0)
        return {ConsolidationStatus::PartlyReplaced, failed};
    return {};
}
