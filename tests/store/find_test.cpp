// Finding text in projects: the slot test on its own, and the search through the current
// project and through project files in a scratch folder.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "scratch_files.h"
#include "store/disk_file.h"
#include "store/find.h"
#include "store/project_list.h"

namespace {

std::unique_ptr<ProjectImage> NewImage() {
    std::unique_ptr<ProjectImage> image(new ProjectImage);
    ClearImage(*image);
    return image;
}

bool Contains(const std::string& field, const std::string& text, bool matchCase) {
    FindPattern pattern;
    PreparePattern(pattern, text.c_str(), matchCase);
    return FieldContains(field.c_str(), field.size() + 1, pattern);
}

FindPattern Pattern(const char* text, bool matchCase = false) {
    FindPattern pattern;
    PreparePattern(pattern, text, matchCase);
    return pattern;
}

// What the search must answer, written the plainest way.
bool PlainContains(const std::string& field, const std::string& text, bool matchCase) {
    auto fold = [matchCase](char c) {
        return (!matchCase && c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
    };
    if (text.empty() || text.size() > field.size())
        return false;
    for (size_t at = 0; at + text.size() <= field.size(); ++at) {
        size_t j = 0;
        while (j < text.size() && fold(field[at + j]) == fold(text[j]))
            ++j;
        if (j == text.size())
            return true;
    }
    return false;
}

} // namespace

TEST(FindTest, WithoutMatchCaseOnlyTheLettersAToZAreFolded) {
    EXPECT_TRUE(Contains("Street Address", "street", false));
    EXPECT_TRUE(Contains("street address", "ADDRESS", false));
    EXPECT_FALSE(Contains("Street Address", "street", true));
    EXPECT_TRUE(Contains("Street Address", "Street", true));

    // Bytes outside A to Z are compared as they are, whatever the option.
    EXPECT_FALSE(Contains("Caf\xe9", "CAF\xc9", false)) << "accented letters keep their case";
    EXPECT_TRUE(Contains("Caf\xe9", "CAF\xe9", false));
    EXPECT_FALSE(Contains("a[b", "A{B", false)) << "[ and { lie 32 apart but are no letters";
    EXPECT_FALSE(Contains("x@y", "X`Y", false));
    EXPECT_FALSE(Contains("^_", "~\x7f", false));
    EXPECT_TRUE(Contains("line one\r\nline two", "E\r\nL", false));
}

TEST(FindTest, TheTargetChoosesTheFieldsThatAreTested) {
    auto image = NewImage();
    SetSlotName(*image, 0, "Alpha");
    SetSlotText(*image, 0, "some beta text");
    SetSlotName(*image, 1, "beta");
    const FindPattern alpha = Pattern("alpha");
    const FindPattern beta = Pattern("beta");

    EXPECT_TRUE(SlotMatches(*image, 0, alpha, FindTarget::ButtonsAndTexts));
    EXPECT_FALSE(SlotMatches(*image, 0, alpha, FindTarget::Texts));
    EXPECT_TRUE(SlotMatches(*image, 0, alpha, FindTarget::Buttons));

    EXPECT_TRUE(SlotMatches(*image, 0, beta, FindTarget::ButtonsAndTexts));
    EXPECT_TRUE(SlotMatches(*image, 0, beta, FindTarget::Texts));
    EXPECT_FALSE(SlotMatches(*image, 0, beta, FindTarget::Buttons));

    EXPECT_EQ(NextMatchingSlot(*image, 0, beta, FindTarget::Buttons), 1);
    EXPECT_EQ(NextMatchingSlot(*image, 0, beta, FindTarget::Texts), 0);
    EXPECT_EQ(NextMatchingSlot(*image, 1, beta, FindTarget::Texts), -1);
    EXPECT_EQ(NextMatchingSlot(*image, 33, beta, FindTarget::ButtonsAndTexts), -1);
}

TEST(FindTest, ASlotMatchingInBothFieldsIsOneHit) {
    auto image = NewImage();
    SetSlotName(*image, 3, "Paris");
    SetSlotText(*image, 3, "Paris, France");
    SetSlotText(*image, 7, "via paris");
    FindState state;
    strcpy(state.text, "paris");
    state.scope = FindScope::CurrentProject;
    FindSources sources;
    sources.boardImage = image.get();
    sources.currentPath = "C:\\Projects\\Travel.vqp";

    std::vector<int> hits;
    FindHit hit;
    for (bool next = false; FindStep(state, next, sources, hit); next = true) {
        hits.push_back(hit.slot);
        EXPECT_STREQ(hit.projectName, "Travel.vqp");
        EXPECT_EQ(hit.image, image.get());
        ASSERT_LT(hits.size(), 5u) << "the search must end";
    }
    EXPECT_EQ(hits, (std::vector<int>{3, 7}));
    EXPECT_EQ(state.last, LastSearch::None) << "a completed search starts afresh";
}

TEST(FindTest, TheSearchTextIsCutAt127Characters) {
    std::string text;
    for (int i = 0; i < 200; ++i)
        text += char('a' + i % 26);
    const FindPattern pattern = Pattern(text.c_str(), true);
    EXPECT_EQ(pattern.length, 127u);
    EXPECT_TRUE(Contains("<" + text.substr(0, 127) + ">", text, true));
    std::string differs = text.substr(0, 127);
    differs[126] = '#';
    EXPECT_FALSE(Contains(differs, text, true)) << "the 127th character still counts";
}

TEST(FindTest, AFieldEndsAtItsTerminatorOrAtItsWidth) {
    auto image = NewImage();
    memset(image->names[0], 'A', kNameSize); // a foreign file: no terminator in the width
    SetSlotName(*image, 1, "BC");
    EXPECT_TRUE(FieldContains(image->names[0], kNameSize, Pattern(std::string(32, 'a').c_str())));
    EXPECT_FALSE(FieldContains(image->names[0], kNameSize, Pattern("AB", true)))
        << "nothing is read beyond the field";

    const char text[] = "abc\0def";
    EXPECT_FALSE(FieldContains(text, sizeof text, Pattern("cde")));
    EXPECT_FALSE(FieldContains(text, sizeof text, Pattern("def")));
    EXPECT_TRUE(FieldContains(text, sizeof text, Pattern("abc")));
    EXPECT_FALSE(FieldContains(text, sizeof text, Pattern(""))) << "empty text finds nothing";
}

TEST(FindTest, FindsEveryMatchAPlainSearchFinds) {
    // Few distinct bytes, so that near misses, repeats and case pairs are common; fields
    // long enough to span several of the wide compare's 16- and 64-byte steps, some ending
    // at a NUL with other bytes after it, some filling their width.
    const char alphabet[] = "aAbB[{\xe9\xc9 ";
    std::mt19937 random(20180601);
    auto pick = [&](size_t length) {
        std::string s;
        for (size_t i = 0; i < length; ++i)
            s += alphabet[random() % (sizeof alphabet - 1)];
        return s;
    };
    for (int round = 0; round < 6000; ++round) {
        const std::string text = pick(1 + random() % 6);
        const std::string field = pick(random() % 300);
        std::string stored = field;
        if (random() % 4 != 0) // otherwise the field fills its width without a NUL
            stored += '\0' + pick(random() % 40) + text;
        const bool matchCase = random() % 2 == 0;
        FindPattern pattern;
        PreparePattern(pattern, text.c_str(), matchCase);
        ASSERT_EQ(FieldContains(stored.data(), stored.size(), pattern),
                  PlainContains(field, text, matchCase))
            << "field |" << field << "| text |" << text << "| match case " << matchCase << " width "
            << stored.size();
    }
}

namespace {

class FindInProjectsTest : public ::testing::Test {
  protected:
    FindInProjectsTest() : folder_("tessaro-unit-find"), board_(NewImage()), work_(NewImage()) {}

    void SetUp() override {
        sources_.programFolder = folder_.Path().c_str();
        sources_.currentPath = current_.c_str();
        sources_.boardImage = board_.get();
        sources_.projects = &projects_;
        sources_.work = work_.get();
        sources_.readImage = ReadImageForSearch;
        sources_.beforeFile = [](void* context) { ++*static_cast<int*>(context); };
        sources_.context = &filesEntered_;
    }

    // A project file whose named slots carry the word "needle" in their text.
    void WriteProject(const std::string& name, std::vector<int> needleSlots, size_t cut = 0) {
        auto image = NewImage();
        for (int slot : needleSlots) {
            SetSlotName(*image, slot, ("Slot " + std::to_string(slot + 1)).c_str());
            SetSlotText(*image, slot, ("a needle in " + name).c_str());
        }
        std::string bytes = scratch::Bytes(*image);
        bytes.resize(bytes.size() - cut);
        ASSERT_TRUE(scratch::WriteAll(folder_ / name, bytes));
    }

    void List(std::initializer_list<const char*> names) {
        for (const char* name : names)
            ASSERT_TRUE(projects_.Add(name));
    }

    // Steps through the search and returns its hits as "project:number".
    std::vector<std::string> Walk(bool startWithNext = false) {
        std::vector<std::string> hits;
        FindHit hit;
        for (bool next = startWithNext; FindStep(state_, next, sources_, hit); next = true) {
            hits.push_back(std::string(hit.projectName) + ":" + std::to_string(hit.slot + 1));
            if (hits.size() > 100)
                break;
        }
        return hits;
    }

    scratch::Folder folder_;
    std::string current_ = "C:\\elsewhere\\Board.vqp";
    std::unique_ptr<ProjectImage> board_, work_;
    ProjectList projects_;
    FindState state_;
    FindSources sources_;
    int filesEntered_ = 0;
};

} // namespace

TEST_F(FindInProjectsTest, AllProjectsAreSearchedInListOrderSkippingWhatCannotBeRead) {
    WriteProject("A.vqp", {0, 32});
    WriteProject("Short.vqp", {1}, 1); // one byte short of an image
    WriteProject("B.vqp", {5});
    CreateDirectoryA((folder_ / "Folder.vqp").c_str(), nullptr);
    List({"B.vqp", "Missing.vqp", "Short.vqp", "Folder.vqp", "A.vqp"});
    strcpy(state_.text, "NEEDLE");

    EXPECT_EQ(Walk(), (std::vector<std::string>{"B.vqp:6", "A.vqp:1", "A.vqp:33"}));
    EXPECT_EQ(state_.last, LastSearch::None);
    EXPECT_EQ(filesEntered_, 5) << "each listed project is looked at once";

    // The hit's text is there to be shown.
    FindHit hit;
    ASSERT_TRUE(FindStep(state_, false, sources_, hit));
    EXPECT_STREQ(hit.image->texts[hit.slot], "a needle in B.vqp");
    EXPECT_STREQ(hit.image->names[hit.slot], "Slot 6");

    RemoveDirectoryA((folder_ / "Folder.vqp").c_str());
}

TEST_F(FindInProjectsTest, FindNextAfterTheLastSlotOfTheLastProjectCompletes) {
    WriteProject("Only.vqp", {32});
    List({"Only.vqp"});
    strcpy(state_.text, "needle");
    FindHit hit;
    ASSERT_TRUE(FindStep(state_, false, sources_, hit));
    EXPECT_EQ(hit.slot, 32);
    EXPECT_FALSE(FindStep(state_, true, sources_, hit));
    EXPECT_EQ(state_.last, LastSearch::None);
    EXPECT_EQ(Walk(true), (std::vector<std::string>{"Only.vqp:33"}))
        << "Find Next with no last search starts from the beginning";
}

TEST_F(FindInProjectsTest, FindNextGoesOnWithTheSettingsOfTheMoment) {
    auto image = NewImage();
    SetSlotText(*image, 1, "red");
    SetSlotText(*image, 2, "red and blue");
    SetSlotText(*image, 3, "red");
    SetSlotText(*image, 4, "blue");
    ASSERT_TRUE(scratch::WriteAll(folder_ / "Colours.vqp", scratch::Bytes(*image)));
    List({"Colours.vqp"});

    strcpy(state_.text, "red");
    FindHit hit;
    ASSERT_TRUE(FindStep(state_, false, sources_, hit));
    EXPECT_EQ(hit.slot, 1);
    strcpy(state_.text, "blue"); // changed between presses: the position stays
    ASSERT_TRUE(FindStep(state_, true, sources_, hit));
    EXPECT_EQ(hit.slot, 2);
    state_.target = FindTarget::Buttons;
    EXPECT_FALSE(FindStep(state_, true, sources_, hit));
    EXPECT_EQ(filesEntered_, 1) << "going on in the same project reads it no more";
}

TEST_F(FindInProjectsTest, SwitchingToTheCurrentProjectSearchesTheBoardFromItsFirstSlot) {
    WriteProject("Other.vqp", {4, 6});
    List({"Other.vqp"});
    SetSlotText(*board_, 2, "needle on the board");
    SetSlotText(*board_, 9, "another needle");
    strcpy(state_.text, "needle");

    FindHit hit;
    ASSERT_TRUE(FindStep(state_, false, sources_, hit));
    EXPECT_STREQ(hit.projectName, "Other.vqp");
    EXPECT_EQ(hit.slot, 4);

    state_.scope = FindScope::CurrentProject;
    ASSERT_TRUE(FindStep(state_, true, sources_, hit));
    EXPECT_STREQ(hit.projectName, "Board.vqp");
    EXPECT_EQ(hit.image, board_.get()) << "the board image, not a file";
    EXPECT_EQ(hit.slot, 2) << "not after the last hit of the other scope";
    ASSERT_TRUE(FindStep(state_, true, sources_, hit));
    EXPECT_EQ(hit.slot, 9);

    state_.scope = FindScope::AllProjects;
    ASSERT_TRUE(FindStep(state_, true, sources_, hit));
    EXPECT_STREQ(hit.projectName, "Other.vqp");
    EXPECT_EQ(hit.slot, 4) << "back to all projects: from the beginning";
}

TEST_F(FindInProjectsTest, TargetTextsInAProjectWithEmptyTextsCompletesAtOnce) {
    auto image = NewImage();
    for (int slot = 0; slot < kSlotCount; ++slot)
        SetSlotName(*image, slot, "needle");
    ASSERT_TRUE(scratch::WriteAll(folder_ / "Names.vqp", scratch::Bytes(*image)));
    List({"Names.vqp"});
    strcpy(state_.text, "needle");
    state_.target = FindTarget::Texts;
    EXPECT_TRUE(Walk().empty());
    state_.target = FindTarget::Buttons;
    EXPECT_EQ(Walk().size(), 33u);
}

TEST(DiskFileTest, ADeviceIsNeverOpenedAsAProject) {
    scratch::Folder folder("tessaro-unit-devices");
    // The system opens a device for such a name, wherever the folder.
    const std::string device = folder / "NUL.vqp";
    HANDLE opened = CreateFileA(device.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(opened, INVALID_HANDLE_VALUE) << "the system opens the device";
    CloseHandle(opened);
    EXPECT_EQ(OpenDiskFile(device.c_str(), GENERIC_READ, FILE_SHARE_READ), INVALID_HANDLE_VALUE);

    ASSERT_TRUE(scratch::WriteAll(folder / "Plain.vqp", "x"));
    HANDLE plain = OpenDiskFile((folder / "Plain.vqp").c_str(), GENERIC_READ, FILE_SHARE_READ);
    EXPECT_NE(plain, INVALID_HANDLE_VALUE);
    CloseHandle(plain);
}

TEST(DiskFileTest, TheFolderListingKeepsItsOrderAndHoldsOnlyProjectFiles) {
    scratch::Folder folder("tessaro-unit-listing");
    for (const char* name : {"b.vqp", "A.VQP", "notes.txt", "c.vqpx", "d.vqp"})
        ASSERT_TRUE(scratch::WriteAll(folder / name, ""));
    CreateDirectoryA((folder / "sub.vqp").c_str(), nullptr);

    std::vector<std::string> expected; // the system's own order
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder / "*").c_str(), &found);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    do {
        std::string name = found.cFileName;
        if (name == "b.vqp" || name == "A.VQP" || name == "d.vqp")
            expected.push_back(name);
    } while (FindNextFileA(find, &found));
    FindClose(find);

    ProjectList list;
    ASSERT_TRUE(ListProjectFolder(folder.Path().c_str(), 4001, list));
    std::vector<std::string> listed;
    for (int i = 0; i < list.Count(); ++i)
        listed.push_back(list.Name(i));
    EXPECT_EQ(listed, expected);

    ProjectList two;
    ASSERT_TRUE(ListProjectFolder(folder.Path().c_str(), 2, two));
    EXPECT_EQ(two.Count(), 2);
    EXPECT_EQ(std::string(two.Name(1)), expected[1]);
    RemoveDirectoryA((folder / "sub.vqp").c_str());
}

TEST(DiskFileTest, ProjectListHoldsManyNamesExactly) {
    ProjectList list;
    for (int i = 0; i < 7000; ++i)
        ASSERT_TRUE(list.Add(("Project number " + std::to_string(i) + ".vqp").c_str()));
    ASSERT_EQ(list.Count(), 7000);
    EXPECT_STREQ(list.Name(0), "Project number 0.vqp");
    EXPECT_STREQ(list.Name(6999), "Project number 6999.vqp");
    EXPECT_STREQ(list.Name(7000), "");
    EXPECT_STREQ(list.Name(-1), "");
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    ASSERT_TRUE(list.Add(""));
    EXPECT_STREQ(list.Name(0), "");
}
