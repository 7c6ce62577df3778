// The project catalogue through the real board: the selector, New, Save, Save As, Delete,
// switching projects and the save on closing, driven by the posted menu commands.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "e2e/board_fixture.h"
#include "resources/kestrum_ids.h"

using namespace e2e;

namespace {

const char kNewPrompt[] = "Create a new 31 button group of clipboard text messages.";
const char kSaveAsPrompt[] = "Save this 31 button group of clipboard text messages as:";

std::string FileExistsText(const std::string& path) {
    return "File Exists:\n" + path +
           "\n\nDo you want to overwrite this [31 button group of clipboard text messages] ?";
}

std::string DeleteText(const std::string& path) {
    return "You are about to delete project:\n" + path + "\n\nDo you want to delete this project?";
}

class ProjectsTest : public BoardTest {
  protected:
    HWND Selector() const { return GetDlgItem(window_, IDC_PROJECTS); }

    bool WaitFile(const std::string& path, const std::string& bytes) {
        return driver::WaitUntil([&] { return driver::ReadFileBytes(path) == bytes; }, kWait,
                                 path + " holding the expected bytes");
    }
    bool DropDownOpen() const { return SendMessageW(Selector(), CB_GETDROPPEDSTATE, 0, 0) != 0; }

    // Gives the board the moment it needs to finish an operation after its last prompt
    // or message box, before a test checks that nothing changed.
    void Settle() {
        Sleep(300);
        ASSERT_FALSE(driver::Title(window_).empty()) << driver::LastFailure();
    }

    // Ends a board that asks for a name while it closes.
    void WaitEnded() {
        ASSERT_TRUE(driver::WaitExit(board_, kWait)) << driver::LastFailure();
        driver::CloseProcess(board_);
        board_ = {};
    }
};

TEST_F(ProjectsTest, NewProjectSavesTheCurrentOneAndCreatesAnEmptyFileAtOnce) {
    ASSERT_TRUE(StartBoard());
    ASSERT_TRUE(driver::SetItemText(window_, FieldId(0), "edited before New"));

    driver::PostCommand(window_, IDM_NEW_PROJECT);
    HWND prompt = WaitPrompt(kNewCaption);
    EXPECT_EQ(kNewPrompt, driver::ItemText(prompt, IDT_PROMPT));
    EXPECT_EQ("SAMPLE", driver::ItemText(prompt, IDE_PROMPT));
    Answer(prompt, "My Project.old");

    const std::string path = Path("My Project.vqp");
    ASSERT_TRUE(WaitFile(path, std::string(kImageSize, '\0')));
    ASSERT_TRUE(WaitTitle(path));
    EXPECT_EQ("My Project.vqp", driver::ComboSelectedText(window_, IDC_PROJECTS));
    EXPECT_EQ((std::vector<std::string>{"My Project.vqp", "SAMPLE.VQP"}),
              driver::ComboItems(window_, IDC_PROJECTS));
    for (int slot = 0; slot < 33; ++slot) {
        EXPECT_EQ("", driver::ItemText(window_, CopyButtonId(slot))) << "slot " << slot;
        EXPECT_EQ("", driver::ItemText(window_, FieldId(slot))) << "slot " << slot;
    }
    EXPECT_EQ(path, Setting("Files", "Current"));
    EXPECT_EQ("ComboBox:" + std::to_string(IDC_PROJECTS), driver::FocusedClassOrId(window_));

    // The project shown before was saved with its edits first.
    std::string sample = driver::ReadFileBytes(Path("SAMPLE.VQP"));
    EXPECT_EQ("edited before New", ImageText(sample, 0));
    EXPECT_EQ("First Name", ImageName(sample, 0));
}

TEST_F(ProjectsTest, CancellingNewProjectChangesNothing) {
    ASSERT_TRUE(StartBoard());
    driver::PostCommand(window_, IDM_NEW_PROJECT);
    Cancel(WaitPrompt(kNewCaption));
    Settle();
    EXPECT_EQ("Tessaro >" + Path("SAMPLE.VQP"), driver::Title(window_));
    EXPECT_EQ("First Name", driver::ItemText(window_, CopyButtonId(0)));
    EXPECT_EQ((std::vector<std::string>{"SAMPLE.VQP"}), driver::ComboItems(window_, IDC_PROJECTS));
}

TEST_F(ProjectsTest, FileExistsAnsweredNoAndAnInvalidNameAskAgainWithTheCurrentName) {
    const std::string other = MakeImage({"Other"}, {"other text"});
    ASSERT_TRUE(driver::WriteFileBytes(Path("Other.vqp"), other));
    ASSERT_TRUE(StartBoard());

    driver::PostCommand(window_, IDM_SAVE_PROJECT_AS);
    HWND prompt = WaitPrompt(kSaveAsCaption);
    EXPECT_EQ(kSaveAsPrompt, driver::ItemText(prompt, IDT_PROMPT));
    Answer(prompt, "other");
    EXPECT_EQ(FileExistsText(Path("other.vqp")), AnswerBox(IDNO));

    prompt = WaitPrompt(kSaveAsCaption);
    EXPECT_EQ("SAMPLE", driver::ItemText(prompt, IDE_PROMPT)) << "not the name typed before";
    Answer(prompt, "???");
    EXPECT_EQ("Invalid Filename", AnswerBox(IDOK));

    prompt = WaitPrompt(kSaveAsCaption);
    EXPECT_EQ("SAMPLE", driver::ItemText(prompt, IDE_PROMPT));
    Cancel(prompt);
    Settle();
    EXPECT_EQ(other, driver::ReadFileBytes(Path("Other.vqp")));
    EXPECT_EQ("Tessaro >" + Path("SAMPLE.VQP"), driver::Title(window_));
    EXPECT_EQ("SAMPLE.VQP", driver::ComboSelectedText(window_, IDC_PROJECTS));
}

TEST_F(ProjectsTest, SaveAsOverAnExistingFileAfterYes) {
    ASSERT_TRUE(driver::WriteFileBytes(Path("Other.vqp"), MakeImage({"Other"})));
    ASSERT_TRUE(StartBoard());
    ASSERT_TRUE(driver::SetItemText(window_, FieldId(2), "board text"));

    driver::PostCommand(window_, IDM_SAVE_PROJECT_AS);
    Answer(WaitPrompt(kSaveAsCaption), "Other");
    EXPECT_EQ(FileExistsText(Path("Other.vqp")), AnswerBox(IDYES));

    ASSERT_TRUE(WaitTitle(Path("Other.vqp")));
    std::string saved = driver::ReadFileBytes(Path("Other.vqp"));
    EXPECT_EQ("First Name", ImageName(saved, 0));
    EXPECT_EQ("board text", ImageText(saved, 2));
    EXPECT_EQ(SampleImage(), driver::ReadFileBytes(Path("SAMPLE.VQP"))) << "the old file stays";
    EXPECT_EQ("Other.vqp", driver::ComboSelectedText(window_, IDC_PROJECTS));
    EXPECT_EQ(Path("Other.vqp"), Setting("Files", "Current"));
}

TEST_F(ProjectsTest, SaveProjectWithoutACurrentProjectActsAsSaveAs) {
    ASSERT_TRUE(StartBoard("NewSession"));
    ASSERT_TRUE(driver::SetItemText(window_, FieldId(0), "typed"));

    driver::PostCommand(window_, IDM_SAVE_PROJECT);
    HWND prompt = WaitPrompt(kSaveAsCaption);
    EXPECT_EQ(kSaveAsPrompt, driver::ItemText(prompt, IDT_PROMPT));
    EXPECT_EQ("", driver::ItemText(prompt, IDE_PROMPT));
    Answer(prompt, "Mine");

    const std::string path = Path("Mine.vqp");
    ASSERT_TRUE(WaitTitle(path));
    EXPECT_EQ("typed", ImageText(driver::ReadFileBytes(path), 0));
    EXPECT_EQ("Mine.vqp", driver::ComboSelectedText(window_, IDC_PROJECTS));
    EXPECT_EQ(path, Setting("Files", "Current"));

    // Now that the file exists, Save writes it without asking.
    ASSERT_TRUE(driver::SetItemText(window_, FieldId(0), "typed again"));
    driver::PostCommand(window_, IDM_SAVE_PROJECT);
    EXPECT_TRUE(driver::WaitUntil(
        [&] { return ImageText(driver::ReadFileBytes(path), 0) == "typed again"; }, kWait,
        "the second save"));
    EXPECT_FALSE(driver::WaitVisibleWindow(kSaveAsCaption, 500, board_.pid));
}

TEST_F(ProjectsTest, SwitchingSavesThePreviousProjectAndLoadsThePickedOne) {
    const std::string second = MakeImage({"Alpha", "Beta"}, {"alpha text", "beta text"});
    ASSERT_TRUE(driver::WriteFileBytes(Path("Second.vqp"), second));
    ASSERT_TRUE(StartBoard());
    ASSERT_TRUE(driver::SetItemText(window_, FieldId(1), "sample edit"));

    Pick("Second.vqp");
    ASSERT_TRUE(WaitTitle(Path("Second.vqp")));
    EXPECT_EQ("Alpha", driver::ItemText(window_, CopyButtonId(0)));
    EXPECT_EQ("alpha text", driver::ItemText(window_, FieldId(0)));
    EXPECT_EQ("Beta", driver::ItemText(window_, CopyButtonId(1)));
    EXPECT_EQ("beta text", driver::ItemText(window_, FieldId(1)));
    EXPECT_EQ("", driver::ItemText(window_, CopyButtonId(2)));
    EXPECT_EQ(Path("Second.vqp"), Setting("Files", "Current"));
    std::string sample = driver::ReadFileBytes(Path("SAMPLE.VQP"));
    EXPECT_EQ("sample edit", ImageText(sample, 1));
    EXPECT_EQ("Last Name", ImageName(sample, 1));
    EXPECT_EQ(second, driver::ReadFileBytes(Path("Second.vqp")));

    Pick("SAMPLE.VQP");
    ASSERT_TRUE(WaitTitle(Path("SAMPLE.VQP")));
    EXPECT_EQ("sample edit", driver::ItemText(window_, FieldId(1)));
    EXPECT_EQ(second, driver::ReadFileBytes(Path("Second.vqp"))) << "unchanged, so saved as is";
}

TEST_F(ProjectsTest, AProjectThatCannotBeOpenedLeavesBothFilesAndTheBoardAsTheyWere) {
    const std::string second = MakeImage({"Alpha"}, {"alpha text"});
    ASSERT_TRUE(driver::WriteFileBytes(Path("Second.vqp"), second));
    ASSERT_TRUE(StartBoard());
    ASSERT_TRUE(driver::SetItemText(window_, FieldId(0), "unsaved edit"));

    // Held open without sharing, the file cannot be opened by the board.
    HANDLE lock = CreateFileA(Path("Second.vqp").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    Pick("Second.vqp");
    std::string box = AnswerBox(IDOK);
    CloseHandle(lock);
    EXPECT_EQ("Unable to open project:\n" + Path("Second.vqp"), box);
    Settle();

    EXPECT_EQ(SampleImage(), driver::ReadFileBytes(Path("SAMPLE.VQP")));
    EXPECT_EQ(second, driver::ReadFileBytes(Path("Second.vqp")));
    EXPECT_EQ("Tessaro >" + Path("SAMPLE.VQP"), driver::Title(window_));
    EXPECT_EQ("SAMPLE.VQP", driver::ComboSelectedText(window_, IDC_PROJECTS));
    EXPECT_EQ(Path("SAMPLE.VQP"), Setting("Files", "Current"));
    EXPECT_EQ("unsaved edit", driver::ItemText(window_, FieldId(0)));

    // The next save goes to the project still shown, not to the picked one.
    driver::PostCommand(window_, IDM_SAVE_PROJECT);
    EXPECT_TRUE(driver::WaitUntil(
        [&] { return ImageText(driver::ReadFileBytes(Path("SAMPLE.VQP")), 0) == "unsaved edit"; },
        kWait, "the save of the sample"));
    EXPECT_EQ(second, driver::ReadFileBytes(Path("Second.vqp")));
}

TEST_F(ProjectsTest, AShortProjectFileIsRefusedTheSameWay) {
    const std::string broken(1000, 'x');
    ASSERT_TRUE(driver::WriteFileBytes(Path("Broken.vqp"), broken));
    ASSERT_TRUE(StartBoard());
    Pick("Broken.vqp");
    EXPECT_EQ("Unable to open project:\n" + Path("Broken.vqp"), AnswerBox(IDOK));
    Settle();
    EXPECT_EQ(broken, driver::ReadFileBytes(Path("Broken.vqp")));
    EXPECT_EQ("SAMPLE.VQP", driver::ComboSelectedText(window_, IDC_PROJECTS));
    EXPECT_EQ("First Name", driver::ItemText(window_, CopyButtonId(0)));
}

TEST_F(ProjectsTest, ACurrentPathInAnotherCaseIsStillSelected) {
    ASSERT_TRUE(
        driver::RegSetText(std::string(kSettingsRoot) + "\\Files", "Current", Path("sample.vqp")));
    ASSERT_TRUE(StartBoard());
    EXPECT_EQ("SAMPLE.VQP", driver::ComboSelectedText(window_, IDC_PROJECTS));
    EXPECT_FALSE(DropDownOpen());
}

TEST_F(ProjectsTest, WithoutACurrentProjectTheDropDownListOpens) {
    ASSERT_TRUE(StartBoard("NewSession"));
    EXPECT_EQ(-1, driver::ComboSelection(window_, IDC_PROJECTS));
    EXPECT_TRUE(driver::WaitUntil([&] { return DropDownOpen(); }, kWait, "the open list"));

    driver::PostCommand(window_, IDM_CLOSE_REQUEST);
    Cancel(WaitPrompt(kSaveAsCaption));
    WaitEnded();
    EXPECT_EQ("", Setting("Files", "Current"));
}

TEST_F(ProjectsTest, OnlyProjectFilesAreListedSortedWithoutRegardToCase) {
    for (const char* name : {"b.vqp", "A.vqp", "c.VQP", "notes.vqpx", "readme.txt"})
        ASSERT_TRUE(driver::WriteFileBytes(Path(name), SampleImage()));
    ASSERT_TRUE(CreateDirectoryA(Path("Folder.vqp").c_str(), nullptr));
    ASSERT_TRUE(StartBoard());
    EXPECT_EQ((std::vector<std::string>{"A.vqp", "b.vqp", "c.VQP", "SAMPLE.VQP"}),
              driver::ComboItems(window_, IDC_PROJECTS));
}

TEST_F(ProjectsTest, TheSelectorHoldsAtMost6501Projects) {
    for (int i = 0; i < 6600; ++i) {
        char name[32];
        snprintf(name, sizeof name, "P%04d.vqp", i);
        HANDLE file = CreateFileA(Path(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file) << name;
        CloseHandle(file);
    }
    board_ = driver::Start(driver::ExeDir() + "\\KESTRUM.EXE", "", folder_);
    window_ = driver::WaitVisibleWindow("Tessaro >", 60000, board_.pid);
    ASSERT_TRUE(window_) << driver::LastFailure();
    EXPECT_EQ(6501, SendMessageW(Selector(), CB_GETCOUNT, 0, 0));
}

TEST_F(ProjectsTest, DeleteAsksDeletesAndLetsTheUserPickTheNextProject) {
    const std::string second = MakeImage({"Alpha"});
    ASSERT_TRUE(driver::WriteFileBytes(Path("Second.vqp"), second));
    ASSERT_TRUE(StartBoard());

    driver::PostCommand(window_, IDM_DELETE_PROJECT);
    EXPECT_EQ(DeleteText(Path("SAMPLE.VQP")), AnswerBox(IDNO));
    Settle();
    EXPECT_TRUE(driver::FileExists(Path("SAMPLE.VQP")));

    driver::PostCommand(window_, IDM_DELETE_PROJECT);
    EXPECT_EQ(DeleteText(Path("SAMPLE.VQP")), AnswerBox(IDYES));
    ASSERT_TRUE(driver::WaitUntil([&] { return Setting("Files", "Current").empty(); }, kWait,
                                  "an empty Current"));
    EXPECT_FALSE(driver::FileExists(Path("SAMPLE.VQP")));
    EXPECT_EQ((std::vector<std::string>{"Second.vqp"}), driver::ComboItems(window_, IDC_PROJECTS));
    EXPECT_TRUE(DropDownOpen());
    EXPECT_EQ("Tessaro >" + Path("SAMPLE.VQP"), driver::Title(window_));
    EXPECT_EQ("First Name", driver::ItemText(window_, CopyButtonId(0)));

    // Picking the next project does not bring the deleted one back.
    Pick("Second.vqp");
    ASSERT_TRUE(WaitTitle(Path("Second.vqp")));
    EXPECT_EQ("Alpha", driver::ItemText(window_, CopyButtonId(0)));
    EXPECT_FALSE(driver::FileExists(Path("SAMPLE.VQP")));
    EXPECT_EQ(second, driver::ReadFileBytes(Path("Second.vqp")));
}

TEST_F(ProjectsTest, ClosingWithADeletedCurrentFileAsksAndCancellingStillSavesTheSettings) {
    ASSERT_TRUE(StartBoard());
    ASSERT_TRUE(DeleteFileA(Path("SAMPLE.VQP").c_str()));
    // Gone from the store, so only the closing save can bring them back.
    ASSERT_TRUE(driver::RegDeleteTree(std::string(kSettingsRoot) + "\\Files"));
    ASSERT_TRUE(driver::RegDeleteTree(std::string(kSettingsRoot) + "\\Options"));

    driver::PostCommand(window_, IDM_CLOSE_REQUEST);
    HWND prompt = WaitPrompt(kSaveAsCaption);
    EXPECT_EQ("SAMPLE", driver::ItemText(prompt, IDE_PROMPT));
    Cancel(prompt);
    WaitEnded();

    EXPECT_FALSE(driver::FileExists(Path("SAMPLE.VQP")));
    EXPECT_EQ(Path("SAMPLE.VQP"), Setting("Files", "Current"));
    EXPECT_EQ("0", Setting("Options", "UseSystemTray"));
    EXPECT_EQ("1", Setting("Options", "TopMost"));
}

TEST_F(ProjectsTest, ClosingWithADeletedCurrentFileSavesUnderTheNameGiven) {
    ASSERT_TRUE(StartBoard());
    ASSERT_TRUE(driver::SetItemText(window_, FieldId(0), "keep me"));
    ASSERT_TRUE(DeleteFileA(Path("SAMPLE.VQP").c_str()));

    driver::PostCommand(window_, IDM_CLOSE_REQUEST);
    Answer(WaitPrompt(kSaveAsCaption), "Kept");
    WaitEnded();

    std::string kept = driver::ReadFileBytes(Path("Kept.vqp"));
    EXPECT_EQ("keep me", ImageText(kept, 0));
    EXPECT_EQ("First Name", ImageName(kept, 0));
    EXPECT_EQ(Path("Kept.vqp"), Setting("Files", "Current"));
}

} // namespace
