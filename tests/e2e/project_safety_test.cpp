// The board keeps projects safe from what happens around it: a current project that
// cannot be read at start, a save that fails, another program or board writing the same
// file, leftovers of killed saves, a handle or a name that is not what it seems.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/board_fixture.h"
#include "resources/kestrum_ids.h"

using namespace e2e;

namespace {

std::string UnableText(const std::string& path) {
    return "Unable to open project:\n" + path;
}

std::string ChangedText(const std::string& path) {
    return "Another program has changed this project file since Tessaro read or saved it:\n" +
           path +
           "\n\nDo you want to overwrite it with the board?\n\nYes: overwrite the file.\n"
           "No: save the board under another name.\nCancel: do not save the board now.";
}

class ProjectSafetyTest : public BoardTest {
  protected:
    // No message box comes within a moment.
    void ExpectNoBox(const char* when) {
        HWND box = driver::WaitMessageBox(board_.pid, 800);
        EXPECT_FALSE(box) << when << ": " << (box ? driver::MessageBoxText(box) : "");
        if (box)
            driver::AnswerMessageBox(box, IDOK);
    }
    void WaitEnded() {
        ASSERT_TRUE(driver::WaitExit(board_, kWait)) << driver::LastFailure();
        driver::CloseProcess(board_);
        board_ = {};
    }
    void Settle() {
        Sleep(300);
        ASSERT_FALSE(driver::Title(window_).empty()) << driver::LastFailure();
    }
};

TEST_F(ProjectSafetyTest, AProjectHeldByAnotherProgramAtStartIsNeverWrittenOverUnasked) {
    const std::string project = MakeImage({"Kept"}, {"kept text"});
    ASSERT_TRUE(driver::WriteFileBytes(Path("SAMPLE.VQP"), project));
    // A backup or indexing tool holds the file while the board starts, then lets go.
    HANDLE held = CreateFileA(Path("SAMPLE.VQP").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(StartBoard());
    EXPECT_EQ(UnableText(Path("SAMPLE.VQP")), AnswerBox(IDOK));
    CloseHandle(held);
    ExpectNoBox("the failure is told once");
    EXPECT_EQ("", driver::ItemText(window_, CopyButtonId(0)));
    ASSERT_TRUE(driver::SetItemText(window_, FieldId(0), "typed on the empty board"));

    // Save acts as Save As.
    driver::PostCommand(window_, IDM_SAVE_PROJECT);
    HWND prompt = WaitPrompt(kSaveAsCaption);
    EXPECT_EQ("SAMPLE", driver::ItemText(prompt, IDE_PROMPT));
    Cancel(prompt);
    Settle();
    EXPECT_EQ(project, driver::ReadFileBytes(Path("SAMPLE.VQP")));

    // Closing asks for a name, and the file's own name is written over only after Yes.
    driver::PostCommand(window_, IDM_CLOSE_REQUEST);
    Answer(WaitPrompt(kSaveAsCaption), "SAMPLE");
    EXPECT_EQ(
        "File Exists:\n" + Path("SAMPLE.vqp") +
            "\n\nDo you want to overwrite this [31 button group of clipboard text messages] ?",
        AnswerBox(IDNO));
    Cancel(WaitPrompt(kSaveAsCaption));
    WaitEnded();
    EXPECT_EQ(project, driver::ReadFileBytes(Path("SAMPLE.VQP"))) << "byte for byte";
}

TEST_F(ProjectSafetyTest, AOneByteShortProjectSurvivesASwitchAndTheExit) {
    const std::string shortProject = SampleImage().substr(0, kImageSize - 1);
    ASSERT_TRUE(driver::WriteFileBytes(Path("SAMPLE.VQP"), shortProject));
    const std::string second = MakeImage({"Alpha"}, {"alpha text"});
    ASSERT_TRUE(driver::WriteFileBytes(Path("Second.vqp"), second));
    ASSERT_TRUE(StartBoard());
    EXPECT_EQ(UnableText(Path("SAMPLE.VQP")), AnswerBox(IDOK));

    ASSERT_TRUE(driver::SetItemText(window_, FieldId(0), "not for the short file"));
    Pick("Second.vqp");
    ASSERT_TRUE(WaitTitle(Path("Second.vqp")));
    EXPECT_EQ("Alpha", driver::ItemText(window_, CopyButtonId(0)));
    EXPECT_EQ(shortProject, driver::ReadFileBytes(Path("SAMPLE.VQP"))) << "a switch saves nothing";

    CloseBoard();
    EXPECT_EQ(shortProject, driver::ReadFileBytes(Path("SAMPLE.VQP")));
    EXPECT_EQ(second, driver::ReadFileBytes(Path("Second.vqp")));
}

TEST_F(ProjectSafetyTest, AFailedSaveStopsASwitchAndNewProjectWithTheTypingKept) {
    const std::string second = MakeImage({"Alpha"}, {"alpha text"});
    ASSERT_TRUE(driver::WriteFileBytes(Path("Second.vqp"), second));
    ASSERT_TRUE(StartBoard());
    ASSERT_TRUE(driver::SetItemText(window_, FieldId(0), "unsaved typing"));

    // Held without write sharing, the project cannot be replaced.
    HANDLE held = CreateFileA(Path("SAMPLE.VQP").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    Pick("Second.vqp");
    EXPECT_EQ("Error saving:\n" + Path("SAMPLE.VQP"), AnswerBox(IDOK));
    Settle();
    EXPECT_EQ("Tessaro >" + Path("SAMPLE.VQP"), driver::Title(window_));
    EXPECT_EQ("unsaved typing", driver::ItemText(window_, FieldId(0)));
    EXPECT_EQ("First Name", driver::ItemText(window_, CopyButtonId(0)));
    EXPECT_EQ("SAMPLE.VQP", driver::ComboSelectedText(window_, IDC_PROJECTS));
    EXPECT_EQ(Path("SAMPLE.VQP"), Setting("Files", "Current"));

    driver::PostCommand(window_, IDM_NEW_PROJECT);
    EXPECT_EQ("Error saving:\n" + Path("SAMPLE.VQP"), AnswerBox(IDOK));
    EXPECT_FALSE(driver::WaitVisibleWindow(kNewCaption, 800, board_.pid)) << "no name is asked";
    EXPECT_EQ("unsaved typing", driver::ItemText(window_, FieldId(0)));
    EXPECT_EQ("Tessaro >" + Path("SAMPLE.VQP"), driver::Title(window_));
    CloseHandle(held);
    EXPECT_EQ(SampleImage(), driver::ReadFileBytes(Path("SAMPLE.VQP")));
    EXPECT_EQ(second, driver::ReadFileBytes(Path("Second.vqp")));

    // Once the file is free the typing is saved where it belongs.
    driver::PostCommand(window_, IDM_SAVE_PROJECT);
    EXPECT_TRUE(driver::WaitUntil(
        [&] { return ImageText(driver::ReadFileBytes(Path("SAMPLE.VQP")), 0) == "unsaved typing"; },
        kWait, "the typing saved into SAMPLE.VQP"));
}

TEST_F(ProjectSafetyTest, ABroadcastHandOverHandleStillGivesABoard) {
    ASSERT_TRUE(
        driver::RegSetText(std::string(kSettingsRoot) + "\\Handles", "TransHandle", "65535"));
    ASSERT_TRUE(StartBoard()) << "the board quit at once";
    EXPECT_EQ(std::to_string((int)(INT_PTR)window_), Setting("Handles", "TransHandle"));
}

bool g_strangerAsked = false;

LRESULT CALLBACK StrangerProcedure(HWND window, UINT msg, WPARAM w, LPARAM l) {
    if (msg == WM_COMMAND && LOWORD(w) == IDM_HANDOVER_ASK)
        g_strangerAsked = true;
    return DefWindowProcA(window, msg, w, l);
}

TEST_F(ProjectSafetyTest, AHandleOfAWindowThatIsNoBoardIsNotAskedToHandOver) {
    // A top-level window of this test process: it exists, but no board answers there.
    WNDCLASSA type = {};
    type.lpfnWndProc = StrangerProcedure;
    type.hInstance = GetModuleHandleA(nullptr);
    type.lpszClassName = "TessaroTestStranger";
    RegisterClassA(&type);
    HWND stranger = CreateWindowExA(0, type.lpszClassName, "stranger", WS_POPUP, 0, 0, 10, 10,
                                    nullptr, nullptr, type.hInstance, nullptr);
    ASSERT_TRUE(stranger);
    g_strangerAsked = false;
    ASSERT_TRUE(driver::RegSetText(std::string(kSettingsRoot) + "\\Handles", "TransHandle",
                                   std::to_string((int)(INT_PTR)stranger)));
    ASSERT_TRUE(StartBoard());
    MSG msg;
    while (PeekMessageA(&msg, stranger, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
    EXPECT_FALSE(g_strangerAsked) << "the board asked a window that is no board";
    DestroyWindow(stranger);
}

TEST_F(ProjectSafetyTest, LeftoversOfKilledSavesAreGoneAfterTheNextStart) {
    const std::vector<std::string> ours = {"vqp1.tmp", "VQP2A.TMP", "vqpbeef.tmp"};
    const std::vector<std::string> theirs = {"notes.tmp", "vqp12345.tmp", "old vqp1.tmp",
                                             "vqp1.tmp.txt"};
    for (const auto& name : ours)
        ASSERT_TRUE(driver::WriteFileBytes(Path(name), SampleImage()));
    for (const auto& name : theirs)
        ASSERT_TRUE(driver::WriteFileBytes(Path(name), "the user's " + name));
    ASSERT_TRUE(StartBoard());
    for (const auto& name : ours)
        EXPECT_FALSE(driver::FileExists(Path(name))) << name;
    for (const auto& name : theirs)
        EXPECT_EQ("the user's " + name, driver::ReadFileBytes(Path(name))) << name;
    EXPECT_EQ(SampleImage(), driver::ReadFileBytes(Path("SAMPLE.VQP")));
}

TEST_F(ProjectSafetyTest, ACurrentProjectNamingADeviceGivesABoardWithoutHanging) {
    ASSERT_TRUE(
        driver::RegSetText(std::string(kSettingsRoot) + "\\Files", "Current", Path("COM1.vqp")));
    ASSERT_TRUE(StartBoard()) << "the board hung or quit";
    EXPECT_EQ(UnableText(Path("COM1.vqp")), AnswerBox(IDOK));
    driver::PostCommand(window_, IDM_CLOSE_REQUEST);
    Cancel(WaitPrompt(kSaveAsCaption));
    WaitEnded();
}

TEST_F(ProjectSafetyTest, ASelectorEntryNamingADeviceIsRefusedWithoutHanging) {
    // Only a path the system takes literally can make such a file, and remove it again.
    const std::string literal = "\\\\?\\" + Path("COM1.vqp");
    struct Remover {
        std::string path;
        ~Remover() { DeleteFileA(path.c_str()); }
    } remover{literal};
    ASSERT_TRUE(driver::WriteFileBytes(literal, SampleImage()));
    ASSERT_TRUE(StartBoard());
    Pick("COM1.vqp");
    EXPECT_EQ(UnableText(Path("COM1.vqp")), AnswerBox(IDOK));
    EXPECT_EQ("Tessaro >" + Path("SAMPLE.VQP"), driver::Title(window_));
    EXPECT_EQ("SAMPLE.VQP", driver::ComboSelectedText(window_, IDC_PROJECTS));
    CloseBoard();
}

TEST_F(ProjectSafetyTest, AProjectChangedByAnotherProgramIsNotSilentlyOverwrittenOnExit) {
    ASSERT_TRUE(StartBoard());
    ASSERT_TRUE(driver::SetItemText(window_, FieldId(0), "board typing"));
    const std::string theirs = MakeImage({"Theirs"}, {"their text"});
    ASSERT_TRUE(WriteAsAnotherProgram(Path("SAMPLE.VQP"), theirs));

    driver::PostCommand(window_, IDM_CLOSE_REQUEST);
    EXPECT_EQ(ChangedText(Path("SAMPLE.VQP")), AnswerBox(IDCANCEL));
    WaitEnded();
    EXPECT_EQ(theirs, driver::ReadFileBytes(Path("SAMPLE.VQP")));
}

TEST_F(ProjectSafetyTest, AChangedProjectCanBeSavedUnderAnotherNameOrOverwritten) {
    ASSERT_TRUE(driver::WriteFileBytes(Path("Second.vqp"), MakeImage({"Alpha"})));
    ASSERT_TRUE(StartBoard());
    ASSERT_TRUE(driver::SetItemText(window_, FieldId(0), "board typing"));
    const std::string theirs = MakeImage({"Theirs"});
    ASSERT_TRUE(WriteAsAnotherProgram(Path("SAMPLE.VQP"), theirs));

    // Save: No saves the board under a new name, which becomes current.
    driver::PostCommand(window_, IDM_SAVE_PROJECT);
    EXPECT_EQ(ChangedText(Path("SAMPLE.VQP")), AnswerBox(IDNO));
    Answer(WaitPrompt(kSaveAsCaption), "Mine");
    ASSERT_TRUE(WaitTitle(Path("Mine.vqp")));
    EXPECT_EQ("board typing", ImageText(driver::ReadFileBytes(Path("Mine.vqp")), 0));
    EXPECT_EQ(theirs, driver::ReadFileBytes(Path("SAMPLE.VQP")));

    // A switch: Cancel stops it, Yes writes over the changed file and goes on.
    const std::string changedMine = MakeImage({"Changed"});
    ASSERT_TRUE(WriteAsAnotherProgram(Path("Mine.vqp"), changedMine));
    Pick("Second.vqp");
    EXPECT_EQ(ChangedText(Path("Mine.vqp")), AnswerBox(IDCANCEL));
    Settle();
    EXPECT_EQ("Tessaro >" + Path("Mine.vqp"), driver::Title(window_));
    EXPECT_EQ("Mine.vqp", driver::ComboSelectedText(window_, IDC_PROJECTS));
    EXPECT_EQ(changedMine, driver::ReadFileBytes(Path("Mine.vqp")));

    Pick("Second.vqp");
    EXPECT_EQ(ChangedText(Path("Mine.vqp")), AnswerBox(IDYES));
    ASSERT_TRUE(WaitTitle(Path("Second.vqp")));
    EXPECT_EQ("board typing", ImageText(driver::ReadFileBytes(Path("Mine.vqp")), 0));
    CloseBoard(); // Second.vqp is as the board read it: no question
}

TEST_F(ProjectSafetyTest, TwoBoardsOnOneFolderDoNotPutBackEachOthersOldText) {
    ASSERT_TRUE(StartBoard());
    ASSERT_TRUE(driver::SetItemText(window_, FieldId(0), "first board"));
    // The hand-over lost a race: a second board runs on the same folder.
    ASSERT_TRUE(driver::RegSetText(std::string(kSettingsRoot) + "\\Handles", "TransHandle", "0"));
    driver::Process other = driver::Start(driver::ExeDir() + "\\KESTRUM.EXE", "", folder_);
    struct Ender {
        driver::Process& process;
        ~Ender() { driver::Kill(process); }
    } ender{other};
    HWND otherWindow = driver::WaitVisibleWindow("Tessaro >", kWait, other.pid);
    ASSERT_TRUE(otherWindow) << driver::LastFailure();
    ASSERT_TRUE(driver::SetItemText(otherWindow, FieldId(1), "second board"));
    driver::PostCommand(otherWindow, IDM_CLOSE_REQUEST);
    ASSERT_TRUE(driver::WaitExit(other, kWait)) << driver::LastFailure();
    const std::string secondSaved = driver::ReadFileBytes(Path("SAMPLE.VQP"));
    ASSERT_EQ("second board", ImageText(secondSaved, 1));

    driver::PostCommand(window_, IDM_CLOSE_REQUEST);
    EXPECT_EQ(ChangedText(Path("SAMPLE.VQP")), AnswerBox(IDCANCEL));
    WaitEnded();
    EXPECT_EQ(secondSaved, driver::ReadFileBytes(Path("SAMPLE.VQP")));
}

} // namespace
