// Consolidation: the key of a slot, the order of the slots over real project files in a
// scratch folder, the re-reading method it replaces, and every way a run can fail
// without losing or damaging a project.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "scratch_files.h"
#include "store/consolidate.h"
#include "store/consolidate_files.h"
#include "store/project_list.h"

namespace {

constexpr size_t kNamesBytes = size_t(kSlotCount) * kNameSize;

struct Slot {
    std::string name;
    std::string text;
};

// A project file's bytes from its slots (slot 0 first; the rest stay empty).
std::string Project(const std::vector<Slot>& slots) {
    std::string bytes(kProjectImageSize, '\0');
    for (size_t i = 0; i < slots.size(); ++i) {
        bytes.replace(i * kNameSize, slots[i].name.size(), slots[i].name);
        bytes.replace(kNamesBytes + i * kTextSize, slots[i].text.size(), slots[i].text);
    }
    return bytes;
}

std::string NameOf(const std::string& project, int slot) {
    return std::string(project.c_str() + size_t(slot) * kNameSize);
}

std::string TextOf(const std::string& project, int slot) {
    return std::string(project.c_str() + kNamesBytes + size_t(slot) * kTextSize);
}

// Slot i's name and text, that is 32 + 10,240 bytes, as one string.
std::string SlotBytes(const std::string& project, int slot) {
    return project.substr(size_t(slot) * kNameSize, kNameSize) +
           project.substr(kNamesBytes + size_t(slot) * kTextSize, kTextSize);
}

// Every slot of the given projects, sorted: two runs place the same slots when these match.
std::vector<std::string> AllSlots(const std::vector<std::string>& projects) {
    std::vector<std::string> slots;
    for (const auto& project : projects)
        for (int slot = 0; slot < kSlotCount; ++slot)
            slots.push_back(SlotBytes(project, slot));
    std::sort(slots.begin(), slots.end());
    return slots;
}

// The consolidation as it was first described: the census flags the keys present, then
// for every key each chosen project is read again and its slots of that key are taken.
// Names opening with two punctuation characters go under key 0, as the program does.
unsigned char RereadKey(const char* name) {
    auto punctuation = [](unsigned char c) {
        return c > ' ' && c < 127 &&
               !((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'));
    };
    unsigned char c = (unsigned char)name[0];
    if (c != 0 && punctuation(c)) {
        c = (unsigned char)name[1];
        if (punctuation(c))
            c = 0;
    }
    return (c >= 'a' && c <= 'z') ? (unsigned char)(c - 32) : c;
}

std::vector<std::string> RereadMethod(const std::vector<std::string>& files) {
    const int n = int(files.size());
    bool flagged[256] = {};
    for (const auto& file : files)
        for (int slot = 0; slot < kSlotCount; ++slot)
            flagged[RereadKey(file.c_str() + slot * kNameSize)] = true;
    for (int c = 33; c < 127; ++c)
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')))
            flagged[c] = false;

    int key = 0, entry = n - 1, slot = kSlotCount; // after the last entry
    std::string source;
    long steps = 0;
    auto next = [&]() -> std::string {
        for (;; ++steps) {
            if (steps > 1000L * n * kSlotCount)
                return ""; // the method would never end
            if (slot >= kSlotCount) {
                slot = 0;
                if (++entry >= n) {
                    do
                        key = (key + 1) & 0xFF;
                    while (!flagged[key]);
                    entry = 0;
                }
                source = files[entry]; // read again for every key
            }
            const int at = slot++;
            if (RereadKey(source.c_str() + at * kNameSize) == key)
                return SlotBytes(source, at);
        }
    };
    std::vector<std::string> out;
    for (int e = 0; e < n; ++e) {
        std::string image(kProjectImageSize, '\0');
        for (int s = 0; s < kSlotCount; ++s) {
            const std::string taken = next();
            if (taken.empty())
                return {};
            image.replace(size_t(s) * kNameSize, kNameSize, taken.substr(0, kNameSize));
            image.replace(kNamesBytes + size_t(s) * kTextSize, kTextSize, taken.substr(kNameSize));
        }
        out.push_back(image);
    }
    return out;
}

// The disk's files with a chance to interfere at each step, as a failing disk or another
// program would.
class MeddledFiles : public DiskConsolidationFiles {
  public:
    using DiskConsolidationFiles::DiskConsolidationFiles;
    std::function<bool(int)> beforeRead;            // false fails the read
    std::function<bool(int, bool written)> written; // after a write; false fails it
    std::function<bool(int)> beforeReplace;         // false fails the replace
    std::vector<std::string> temporaries;

    bool ReadSlot(int entry, int slot, char* name, char* text) override {
        if (beforeRead && !beforeRead(entry))
            return false;
        return DiskConsolidationFiles::ReadSlot(entry, slot, name, text);
    }
    bool WriteTemporary(int entry, const ProjectImage& image) override {
        bool ok = DiskConsolidationFiles::WriteTemporary(entry, image);
        char path[MAX_PATH];
        if (TemporaryPath(entry, path, sizeof path))
            temporaries.push_back(path);
        return written ? written(entry, ok) : ok;
    }
    bool Replace(int entry) override {
        if (beforeReplace && !beforeReplace(entry))
            return false;
        return DiskConsolidationFiles::Replace(entry);
    }
};

class ConsolidateTest : public ::testing::Test {
  protected:
    ConsolidateTest() : folder_("tessaro-unit-consolidate") {}

    void Put(const std::string& name, const std::string& bytes) {
        ASSERT_TRUE(scratch::WriteAll(folder_ / name, bytes));
        names_.push_back(name);
        originals_.push_back(bytes);
    }
    // Three projects with distinct slots, as most fault cases use them.
    void PutThree() {
        for (const char* name : {"A.vqp", "B.vqp", "C.vqp"}) {
            std::vector<Slot> slots;
            for (int i = 0; i < kSlotCount; ++i)
                slots.push_back({std::string(1, char('a' + (i * 7 + name[0]) % 26)) + name,
                                 std::string(name) + " text " + std::to_string(i)});
            Put(name, Project(slots));
        }
    }

    ConsolidationResult Run(MeddledFiles* meddled = nullptr) {
        lastExamined_ = 0;
        lastRemaining_ = 1L << 30;
        for (const auto& name : names_)
            EXPECT_TRUE(list_.Add(name.c_str()));
        ConsolidationProgress progress;
        progress.show = [](void* context, long examined, long remaining) {
            static_cast<ConsolidateTest*>(context)->Seen(examined, remaining);
        };
        progress.context = this;
        if (meddled)
            return Consolidate(list_.Count(), *meddled, progress);
        DiskConsolidationFiles files(folder_.Path().c_str(), list_);
        EXPECT_TRUE(files.Ready());
        return Consolidate(list_.Count(), files, progress);
    }

    void Seen(long examined, long remaining) {
        EXPECT_TRUE(examined == lastExamined_ + 1 || examined == lastExamined_)
            << "every examined slot is counted once: " << lastExamined_ << " then " << examined;
        EXPECT_LE(remaining, lastRemaining_) << "the slots to place only count down";
        lastExamined_ = examined;
        lastRemaining_ = remaining;
    }

    std::vector<std::string> Contents() const {
        std::vector<std::string> contents;
        for (const auto& name : names_)
            contents.push_back(scratch::ReadAll(folder_ / name));
        return contents;
    }

    // Every project as it was, and no temporary file left behind.
    void ExpectUntouched(const char* why) {
        const std::vector<std::string> now = Contents();
        for (size_t i = 0; i < names_.size(); ++i)
            EXPECT_TRUE(now[i] == originals_[i]) << names_[i] << " changed: " << why;
        EXPECT_TRUE(folder_.Temporaries().empty()) << "temporary files left: " << why;
        EXPECT_EQ(folder_.Files().size(), names_.size()) << why;
    }

    scratch::Folder folder_;
    std::vector<std::string> names_, originals_;
    ProjectList list_;
    long lastExamined_ = 0;
    long lastRemaining_ = 1L << 30;
};

std::vector<Slot> Numbered(const char* project, std::vector<std::string> names) {
    std::vector<Slot> slots;
    for (int i = 0; i < kSlotCount; ++i)
        slots.push_back(
            {i < int(names.size()) ? names[i] : "", std::string(project) + std::to_string(i)});
    return slots;
}

// The names of a project's slots that carry a name, in slot order.
std::vector<std::string> Named(const std::string& project) {
    std::vector<std::string> named;
    for (int slot = 0; slot < kSlotCount; ++slot)
        if (!NameOf(project, slot).empty())
            named.push_back(NameOf(project, slot));
    return named;
}

} // namespace

TEST(ConsolidationKeyTest, EveryClassOfFirstByte) {
    char name[kNameSize] = {};
    for (int b = 1; b < 256; ++b) {
        name[0] = char(b);
        name[1] = 'q';
        const bool punctuation = (b >= 33 && b <= 47) || (b >= 58 && b <= 64) ||
                                 (b >= 91 && b <= 96) || (b >= 123 && b <= 126);
        int expected = b;
        if (punctuation)
            expected = 'Q'; // the second byte, as a capital
        else if (b >= 'a' && b <= 'z')
            expected = b - 32;
        EXPECT_EQ(ConsolidationKey(name), expected) << "first byte " << b;
    }
    EXPECT_EQ(ConsolidationKey("\0\0"), 0) << "empty";
    EXPECT_EQ(ConsolidationKey("!\0"), 0) << "punctuation alone";
    EXPECT_EQ(ConsolidationKey("--dash"), 0) << "two punctuation characters";
    EXPECT_EQ(ConsolidationKey("(]"), 0);
    EXPECT_EQ(ConsolidationKey("(Hotel"), 'H');
    EXPECT_EQ(ConsolidationKey("[h"), 'H');
    EXPECT_EQ(ConsolidationKey("~7"), '7');
    EXPECT_EQ(ConsolidationKey("- x"), ' ') << "a blank is no punctuation";
    EXPECT_EQ(ConsolidationKey("'\xe9t\xe9"), 0xE9) << "bytes above 127 are kept";
    EXPECT_EQ(ConsolidationKey("\xe9t\xe9"), 0xE9);
    char full[kNameSize];
    memset(full, 'z', sizeof full); // no terminator: only the first two bytes count
    EXPECT_EQ(ConsolidationKey(full), 'Z');
}

TEST(ConsolidationOrderTest, KeysAscendWithKeyZeroLastAndEveryIndexOnce) {
    const unsigned char keys[] = {'Z', 0, 'A', '1', 0, 'A', 200, ' '};
    ConsolidationOrder order(keys, sizeof keys);
    std::vector<long> seen;
    long index = 0;
    while (order.Next(index))
        seen.push_back(index);
    EXPECT_EQ(seen, (std::vector<long>{7, 3, 2, 5, 0, 6, 1, 4}));
    EXPECT_FALSE(order.Next(index)) << "stays at its end";
}

TEST_F(ConsolidateTest, TwoProjectsWithZebraAppleBananaAndCherry) {
    Put("A.vqp", Project(Numbered("A", {"Zebra", "apple"})));
    Put("B.vqp", Project(Numbered("B", {"Banana", "-cherry"})));
    const ConsolidationResult result = Run();
    ASSERT_EQ(result.status, ConsolidationStatus::Done);

    std::vector<Slot> a = {{"apple", "A1"}, {"Banana", "B0"}, {"-cherry", "B1"}, {"Zebra", "A0"}};
    for (int i = 2; i <= 30; ++i) // the empty names keep their order, A's before B's
        a.push_back({"", "A" + std::to_string(i)});
    std::vector<Slot> b = {{"", "A31"}, {"", "A32"}};
    for (int i = 2; i <= 32; ++i)
        b.push_back({"", "B" + std::to_string(i)});
    const std::vector<std::string> now = Contents();
    EXPECT_TRUE(now[0] == Project(a)) << "A.vqp: " << ::testing::PrintToString(Named(now[0]));
    EXPECT_TRUE(now[1] == Project(b)) << "B.vqp: " << ::testing::PrintToString(Named(now[1]));
    EXPECT_EQ(folder_.Files().size(), 2u) << "no temporary file left";
    EXPECT_EQ(lastExamined_, 2L * 66) << "each slot examined in the census and when placed";
    EXPECT_EQ(lastRemaining_, 0);
}

TEST_F(ConsolidateTest, DigitsComeBeforeLettersAndBothCasesSortTogether) {
    Put("First.vqp", Project(Numbered("F", {"beta", "1st", "Alpha", "zulu"})));
    Put("Second.vqp", Project(Numbered("S", {"alpha", "Beta", "9 lives", "Zulu"})));
    ASSERT_EQ(Run().status, ConsolidationStatus::Done);
    const std::vector<std::string> now = Contents();
    EXPECT_EQ(Named(now[0]), (std::vector<std::string>{"1st", "9 lives", "Alpha", "alpha", "beta",
                                                       "Beta", "zulu", "Zulu"}));
    EXPECT_EQ(TextOf(now[0], 0), "F1");
    EXPECT_EQ(TextOf(now[0], 1), "S2") << "each name keeps its own text";
    EXPECT_TRUE(Named(now[1]).empty());
}

TEST_F(ConsolidateTest, ABracketBeforeHSortsUnderHAndLonePunctuationAndEmptyNamesLast) {
    Put("P.vqp", Project(Numbered("P", {"!", "(Hotel", "Golf", "", "India", "[h", "~"})));
    ASSERT_EQ(Run().status, ConsolidationStatus::Done);
    const std::string now = Contents()[0];
    EXPECT_EQ(Named(now), (std::vector<std::string>{"Golf", "(Hotel", "[h", "India", "!", "~"}));
    // Key 0 in slot order: "!" (slot 0), "" (slot 3), "~" (slot 6), then the empty rest.
    std::vector<std::string> texts;
    for (int slot = 4; slot < 9; ++slot)
        texts.push_back(TextOf(now, slot));
    EXPECT_EQ(texts, (std::vector<std::string>{"P0", "P3", "P6", "P7", "P8"}));
}

TEST_F(ConsolidateTest, NamesOpeningWithTwoPunctuationCharactersArePlacedOnceUnderKeyZero) {
    Put("A.vqp", Project(Numbered("A", {"--dash", "Alpha", "", "...", "(!)"})));
    Put("B.vqp", Project(Numbered("B", {"**star", "beta"})));
    const std::vector<std::string> before = originals_;
    ASSERT_EQ(Run().status, ConsolidationStatus::Done);
    const std::vector<std::string> now = Contents();
    EXPECT_EQ(AllSlots(now), AllSlots(before)) << "every slot exactly once";
    EXPECT_EQ(Named(now[0]), (std::vector<std::string>{"Alpha", "beta", "--dash", "...", "(!)"}));
    EXPECT_EQ(TextOf(now[0], 3), "A2") << "an empty name between them keeps its place";
    EXPECT_EQ(Named(now[1]), (std::vector<std::string>{"**star"}));
    EXPECT_EQ(TextOf(now[0], 32), "A31");
    EXPECT_EQ(TextOf(now[1], 0), "A32") << "key 0 goes in list order: all of A's first";
    EXPECT_EQ(TextOf(now[1], 1), "B0");
}

TEST_F(ConsolidateTest, OneProjectIsSortedInPlace) {
    Put("Solo.vqp", Project(Numbered("S", {"delta", "", "Charlie", "bravo", "Alpha", "echo"})));
    ASSERT_EQ(Run().status, ConsolidationStatus::Done);
    const std::string now = Contents()[0];
    EXPECT_EQ(Named(now), (std::vector<std::string>{"Alpha", "bravo", "Charlie", "delta", "echo"}));
    EXPECT_EQ(TextOf(now, 5), "S1");
    EXPECT_EQ(TextOf(now, 32), "S32");
    EXPECT_EQ(folder_.Files(), std::vector<std::string>{"Solo.vqp"});
}

TEST_F(ConsolidateTest, FiftyRandomProjectsComeOutAsTheRereadingMethodMakesThem) {
    std::mt19937 random(1806);
    const char* openings[] = {"", "a", "Z", "7", "(", "-", "!", "\xe9", " ", "\t", "[", "~"};
    auto name = [&]() {
        std::string s = openings[random() % 12];
        if (!s.empty() && random() % 4 == 0)
            s += openings[1 + random() % 11]; // sometimes a second opening character
        const size_t more = random() % 12;
        for (size_t i = 0; i < more && s.size() < 31; ++i)
            s += char('a' + random() % 26);
        return s.size() > 31 ? s.substr(0, 31) : s;
    };
    for (int p = 0; p < 50; ++p) {
        std::vector<Slot> slots;
        for (int i = 0; i < kSlotCount; ++i)
            slots.push_back({random() % 5 ? name() : "",
                             "P" + std::to_string(p) + "S" + std::to_string(i) +
                                 std::string(random() % 300, char('a' + random() % 26))});
        Put("P" + std::to_string(p) + ".vqp", Project(slots));
    }
    const std::vector<std::string> expected = RereadMethod(originals_);
    ASSERT_EQ(expected.size(), 50u);
    ASSERT_EQ(Run().status, ConsolidationStatus::Done);
    const std::vector<std::string> now = Contents();
    for (size_t i = 0; i < now.size(); ++i)
        ASSERT_TRUE(now[i] == expected[i]) << names_[i] << " differs from the rereading method";
    EXPECT_EQ(folder_.Files().size(), 50u);
}

TEST_F(ConsolidateTest, NothingChosenTouchesNothing) {
    DiskConsolidationFiles files(folder_.Path().c_str(), list_);
    EXPECT_EQ(Consolidate(0, files, ConsolidationProgress()).status, ConsolidationStatus::Done);
    EXPECT_TRUE(folder_.Files().empty());
}

TEST_F(ConsolidateTest, TheTemporaryFilesAreTheBoardsOwnAndBesideTheProjects) {
    PutThree();
    for (const auto& name : names_)
        ASSERT_TRUE(list_.Add(name.c_str()));
    MeddledFiles files(folder_.Path().c_str(), list_);
    ASSERT_EQ(Consolidate(3, files, ConsolidationProgress()).status, ConsolidationStatus::Done);
    ASSERT_EQ(files.temporaries.size(), 3u);
    for (const auto& temporary : files.temporaries) {
        const std::string name = temporary.substr(folder_.Path().size() + 1);
        EXPECT_EQ(temporary.substr(0, folder_.Path().size() + 1), folder_.Path() + "\\");
        EXPECT_EQ(name.substr(0, 3), "vqp") << name;
        EXPECT_EQ(name.substr(name.size() - 4), ".tmp") << name;
        EXPECT_EQ(name.find('\\'), std::string::npos) << name;
    }
    EXPECT_TRUE(folder_.Temporaries().empty());
}

TEST_F(ConsolidateTest, ATemporaryFileNotWrittenCompletelyReplacesNothing) {
    PutThree();
    for (const auto& name : names_)
        ASSERT_TRUE(list_.Add(name.c_str()));
    MeddledFiles files(folder_.Path().c_str(), list_);
    // The second temporary file ends half way, as on a full disk.
    files.written = [&](int entry, bool ok) {
        if (entry != 1)
            return ok;
        HANDLE f = CreateFileA(files.temporaries.back().c_str(), GENERIC_WRITE, 0, nullptr,
                               OPEN_EXISTING, 0, nullptr);
        SetFilePointer(f, LONG(kProjectImageSize / 2), nullptr, FILE_BEGIN);
        SetEndOfFile(f);
        CloseHandle(f);
        return false;
    };
    const ConsolidationResult result = Consolidate(3, files, ConsolidationProgress());
    EXPECT_EQ(result.status, ConsolidationStatus::NotWritten);
    EXPECT_EQ(result.entry, 1);
    ExpectUntouched("a temporary file failed");
}

TEST_F(ConsolidateTest, ATemporaryFileThatCannotBeMadeReplacesNothing) {
    PutThree();
    for (const auto& name : names_)
        ASSERT_TRUE(list_.Add(name.c_str()));
    MeddledFiles files(folder_.Path().c_str(), list_);
    files.written = [&](int entry, bool ok) {
        if (entry == 2) // the system would not even make it
            DeleteFileA(files.temporaries.back().c_str());
        return entry == 2 ? false : ok;
    };
    const ConsolidationResult result = Consolidate(3, files, ConsolidationProgress());
    EXPECT_EQ(result.status, ConsolidationStatus::NotWritten);
    EXPECT_EQ(result.entry, 2);
    ExpectUntouched("the last temporary file was not made");
}

TEST_F(ConsolidateTest, AProjectChangedOrRemovedSinceTheCensusReplacesNothing) {
    PutThree();
    struct Change {
        const char* what;
        std::function<void(const std::string& path, const std::string& bytes)> make;
    } changes[] = {
        {"removed", [](const std::string& path, const std::string&) { DeleteFileA(path.c_str()); }},
        {"grown", [](const std::string& path,
                     const std::string& bytes) { scratch::WriteAll(path, bytes + "more"); }},
        {"renamed slots",
         [](const std::string& path, const std::string& bytes) {
             std::string changed = bytes;
             for (int slot = 0; slot < kSlotCount; ++slot)
                 changed[size_t(slot) * kNameSize] = '0'; // same size, other keys
             scratch::WriteAll(path, changed);
         }},
    };
    for (const auto& change : changes) {
        ProjectList list;
        for (const auto& name : names_)
            ASSERT_TRUE(list.Add(name.c_str()));
        MeddledFiles files(folder_.Path().c_str(), list);
        bool changed = false;
        files.beforeRead = [&](int) {
            if (!changed)
                change.make(folder_ / "C.vqp", originals_[2]);
            changed = true;
            return true;
        };
        const ConsolidationResult result = Consolidate(3, files, ConsolidationProgress());
        EXPECT_EQ(result.status, ConsolidationStatus::Unreadable) << change.what;
        EXPECT_EQ(result.entry, 2) << change.what;
        EXPECT_TRUE(scratch::WriteAll(folder_ / "C.vqp", originals_[2])); // as it was
        ExpectUntouched(change.what);
    }
}

TEST_F(ConsolidateTest, AProjectThatCannotBeReadEndsTheCensus) {
    PutThree();
    // Held open by another program that lets no one in.
    HANDLE holder = CreateFileA((folder_ / "B.vqp").c_str(), GENERIC_READ, 0, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    ConsolidationResult result = Run();
    CloseHandle(holder);
    EXPECT_EQ(result.status, ConsolidationStatus::Unreadable);
    EXPECT_EQ(result.entry, 1);
    ExpectUntouched("a held project");

    // A project shorter than an image is no project.
    originals_[2].pop_back();
    ASSERT_TRUE(scratch::WriteAll(folder_ / "C.vqp", originals_[2]));
    list_.Clear();
    result = Run();
    EXPECT_EQ(result.status, ConsolidationStatus::Unreadable);
    EXPECT_EQ(result.entry, 2);
    ExpectUntouched("a short project");
}

TEST_F(ConsolidateTest, AProjectThatCannotBeReplacedNowReplacesNothing) {
    PutThree();
    // Read along by another program that does not allow it to be deleted or replaced.
    HANDLE holder =
        CreateFileA((folder_ / "C.vqp").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    const ConsolidationResult result = Run();
    CloseHandle(holder);
    EXPECT_EQ(result.status, ConsolidationStatus::NotReplaceable);
    EXPECT_EQ(result.entry, 2);
    ExpectUntouched("a project that could not be replaced");
}

TEST_F(ConsolidateTest, AReplaceRefusedMidwayKeepsItsNewSlotsInItsTemporaryFile) {
    PutThree();
    const std::vector<std::string> expected = RereadMethod(originals_);
    for (const auto& name : names_)
        ASSERT_TRUE(list_.Add(name.c_str()));
    MeddledFiles files(folder_.Path().c_str(), list_);
    files.beforeReplace = [](int entry) { return entry != 1; };
    const ConsolidationResult result = Consolidate(3, files, ConsolidationProgress());
    EXPECT_EQ(result.status, ConsolidationStatus::PartlyReplaced);
    EXPECT_EQ(result.entry, 1);

    const std::vector<std::string> now = Contents();
    EXPECT_TRUE(now[0] == expected[0]);
    EXPECT_TRUE(now[1] == originals_[1]) << "the refused project stays as it was";
    EXPECT_TRUE(now[2] == expected[2]);
    char temporary[MAX_PATH];
    ASSERT_TRUE(files.TemporaryPath(1, temporary, sizeof temporary));
    EXPECT_TRUE(scratch::ReadAll(temporary) == expected[1]) << "its new slots are kept";
    EXPECT_EQ(folder_.Temporaries().size(), 1u);
}
