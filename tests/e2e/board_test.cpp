// The board program from the outside: start-up, the copy action with its options, the
// single-instance hand-over and closing.
#include <gtest/gtest.h>

#include "e2e/board_fixture.h"
#include "resources/kestrum_ids.h"

using namespace e2e;

namespace {

std::string HandleText(HWND window) {
    return std::to_string((int)(INT_PTR)window);
}

// The installed message: the board process's dialog with static IDT_INSTALLED_TEXT.
HWND WaitInstalledBox(DWORD pid) {
    HWND box = nullptr;
    driver::WaitUntil(
        [&] {
            for (HWND w : driver::TopWindowsOf(pid))
                if (GetDlgItem(w, IDT_INSTALLED_TEXT) && driver::IsVisible(w))
                    box = w;
            return box != nullptr;
        },
        kWait, "the installed message");
    return box;
}

// Notepad of the Wine prefix, with its edit control.
struct Notepad {
    driver::Process process;
    HWND window = nullptr;
    HWND edit = nullptr;
    std::string Text() const {
        return edit ? driver::ItemText(GetParent(edit), GetDlgCtrlID(edit)) : "";
    }
    ~Notepad() { driver::Kill(process); }
};

void StartNotepad(Notepad& notepad) {
    notepad.process = driver::Start("C:\\windows\\notepad.exe", "", "");
    ASSERT_NE(notepad.process.pid, 0u) << driver::LastFailure();
    notepad.window = driver::WaitVisibleWindow("Untitled", kWait, notepad.process.pid);
    ASSERT_TRUE(notepad.window) << driver::LastFailure();
    notepad.edit = FindWindowExA(notepad.window, nullptr, "Edit", nullptr);
    ASSERT_TRUE(notepad.edit);
}

} // namespace

TEST_F(BoardTest, StartsWithTheSampleProject) {
    HWND board = StartBoard();
    ASSERT_TRUE(board);
    EXPECT_EQ(driver::Title(board), "Tessaro >" + Path("SAMPLE.VQP"));
    const char* names[] = {"First Name",     "Last Name", "Full Name",
                           "Street Address", "City",      "State"};
    for (int slot = 0; slot < 33; ++slot)
        EXPECT_EQ(driver::ItemText(board, CopyButtonId(slot)), slot < 6 ? names[slot] : "")
            << "slot " << slot;
    EXPECT_FALSE(driver::IsChecked(board, IDX_MIN_ON_COPY));
    EXPECT_TRUE(driver::IsChecked(board, IDX_TOPMOST)) << "TopMost is on by default";
    EXPECT_EQ(Setting("Handles", "TransHandle"), HandleText(board));
    CloseBoard();
    EXPECT_EQ(Setting("Handles", "TransHandle"), "0");
}

TEST_F(BoardTest, TheSplashShowsWhileTheBoardStartsAndGoesWhenItIsThere) {
    board_ = driver::Start(driver::ExeDir() + "\\KESTRUM.EXE", "", folder_);
    HWND splash = nullptr;
    driver::WaitUntil(
        [&] {
            for (HWND w : driver::TopWindowsOf(board_.pid)) {
                RECT r;
                GetWindowRect(w, &r);
                if (driver::IsVisible(w) && r.right - r.left == 488 && r.bottom - r.top == 352)
                    splash = w;
            }
            return splash != nullptr;
        },
        kWait, "a visible 488 x 352 splash window");
    ASSERT_TRUE(splash) << driver::LastFailure() << driver::DescribeWindows(board_.pid);
    EXPECT_FALSE(GetWindowLongA(splash, GWL_STYLE) & WS_CAPTION) << "a borderless popup";
    EXPECT_TRUE(GetWindowLongA(splash, GWL_EXSTYLE) & WS_EX_TOPMOST);
    window_ = driver::WaitVisibleWindow("Tessaro >", kWait, board_.pid);
    ASSERT_TRUE(window_) << driver::LastFailure();
    EXPECT_TRUE(driver::WaitUntil([&] { return !driver::IsVisible(splash); }, kWait,
                                  "the splash hidden once the board is up"));
}

TEST_F(BoardTest, NewSessionStartsWithoutAProject) {
    driver::RegSetText(std::string(kSettingsRoot) + "\\Files", "Current", Path("SAMPLE.VQP"));
    HWND board = StartBoard("NewSession");
    ASSERT_TRUE(board);
    EXPECT_EQ(driver::Title(board), "Tessaro >");
    for (int slot = 0; slot < 33; ++slot)
        EXPECT_EQ(driver::ItemText(board, CopyButtonId(slot)), "") << "slot " << slot;
}

TEST_F(BoardTest, FirstStartAfterInstallingShowsTheInstalledMessage) {
    SetOption("UseSystemTray", "1");
    SetOption("HideInTrayOnStartup", "1"); // not applied on this start
    board_ = driver::Start(driver::ExeDir() + "\\KESTRUM.EXE", "InstallingTheProgram", folder_);
    HWND box = WaitInstalledBox(board_.pid);
    ASSERT_TRUE(box) << driver::LastFailure() << driver::DescribeWindows(board_.pid);
    EXPECT_EQ(driver::Title(box), "Tessaro");
    EXPECT_EQ(driver::ItemText(box, IDT_INSTALLED_TEXT),
              "Tessaro is installed on your Hard-Drive.\n\n"
              "You will notice that a Group has been Created and there are several icons in it. "
              "Among the icons you should see [Tessaro], [Help], [Read Me], [Manual], and "
              "[UnInstall].\n\n"
              "Select [OK] to start Tessaro and start using the Tessaro.");
    driver::Click(box, IDB_INSTALLED_OK);
    window_ = driver::WaitVisibleWindow("Tessaro >", kWait, board_.pid);
    ASSERT_TRUE(window_) << driver::LastFailure();
    Sleep(1000);
    EXPECT_TRUE(driver::IsVisible(window_)) << "hide-at-start is not applied after installing";
    EXPECT_FALSE(driver::IsIconic(window_));
}

TEST_F(BoardTest, ASecondStartHandsOverToTheRunningBoard) {
    HWND board = StartBoard();
    ASSERT_TRUE(board);
    ShowWindow(board, SW_MINIMIZE);
    ASSERT_TRUE(driver::WaitUntil([&] { return driver::IsIconic(board); }, kWait, "minimised"));

    driver::Process second = driver::Start(driver::ExeDir() + "\\KESTRUM.EXE", "", folder_);
    DWORD code = 1;
    EXPECT_TRUE(driver::WaitExit(second, kWait, &code)) << driver::LastFailure();
    EXPECT_EQ(code, 0u);
    driver::CloseProcess(second);
    EXPECT_TRUE(driver::WaitUntil([&] { return !driver::IsIconic(board); }, kWait,
                                  "the running board shown normally"));
    EXPECT_TRUE(IsWindow(board));
    EXPECT_EQ(Setting("Handles", "TransHandle"), HandleText(board));
}

TEST_F(BoardTest, CopyPutsTheFieldsTextOnTheClipboard) {
    HWND board = StartBoard();
    ASSERT_TRUE(board);
    ASSERT_TRUE(driver::SetItemText(board, FieldId(2), "12 Main Street\r\nSpringfield"));
    ASSERT_TRUE(driver::SetClipboardText("before"));
    // Polling the text would hold the clipboard open just when the board copies, and the
    // copy of an edit control fails then: wait for the clipboard to change instead.
    const DWORD sequence = GetClipboardSequenceNumber();
    driver::Click(board, CopyButtonId(2));
    EXPECT_TRUE(driver::WaitUntil([&] { return GetClipboardSequenceNumber() != sequence; }, kWait,
                                  "a copy to the clipboard"));
    EXPECT_EQ(driver::ClipboardText(), "12 Main Street\r\nSpringfield");
    Sleep(300);
    EXPECT_TRUE(driver::IsVisible(board));
    EXPECT_FALSE(driver::IsIconic(board)) << "with both options off the board stays";
    EXPECT_EQ(driver::FocusedClassOrId(board).find("ComboBox"), 0u)
        << "focus ends on the project selector, not " << driver::FocusedClassOrId(board);
}

TEST_F(BoardTest, CopyingAnEmptyFieldLeavesTheClipboardAlone) {
    HWND board = StartBoard();
    ASSERT_TRUE(board);
    ASSERT_TRUE(driver::SetClipboardText("keep me"));
    driver::Click(board, CopyButtonId(7));
    driver::SetItemText(board, FieldId(8), "marker");
    const DWORD sequence = GetClipboardSequenceNumber();
    driver::Click(board, CopyButtonId(8)); // handled after the first: proves it ran
    ASSERT_TRUE(driver::WaitUntil([&] { return GetClipboardSequenceNumber() != sequence; }, kWait,
                                  "the second copy"));
    ASSERT_EQ(driver::ClipboardText(), "marker");
    driver::SetClipboardText("keep me");
    driver::Click(board, CopyButtonId(7));
    Sleep(500);
    EXPECT_EQ(driver::ClipboardText(), "keep me");
}

TEST_F(BoardTest, MinimiseOnEachCopyMinimisesTheBoard) {
    SetOption("MinOnEachCopy", "1");
    HWND board = StartBoard();
    ASSERT_TRUE(board);
    EXPECT_TRUE(driver::IsChecked(board, IDX_MIN_ON_COPY));
    driver::SetItemText(board, FieldId(0), "Ada");
    driver::Click(board, CopyButtonId(0));
    EXPECT_TRUE(driver::WaitUntil([&] { return driver::IsIconic(board); }, kWait, "minimised"));
    EXPECT_EQ(driver::ClipboardText(), "Ada");
    Sleep(500);
    EXPECT_TRUE(driver::IsIconic(board)) << "nothing restores it";
}

class AutoPasteTest : public BoardTest, public ::testing::WithParamInterface<bool> {};

TEST_P(AutoPasteTest, PastesIntoTheApplicationInFront) {
    const bool minimiseOnCopy = GetParam();
    SetOption("AutoPaste", "1");
    SetOption("MinOnEachCopy", minimiseOnCopy ? "1" : "0");
    Notepad notepad;
    StartNotepad(notepad);
    if (HasFatalFailure())
        return;
    HWND board = StartBoard();
    ASSERT_TRUE(board);
    driver::BringToFront(board);
    driver::SetItemText(board, FieldId(4), "Lovelace");
    driver::Click(board, CopyButtonId(4));
    ASSERT_TRUE(driver::WaitUntil([&] { return driver::IsIconic(board); }, kWait,
                                  "the board minimised for the paste"));
    // Wine activates no other window when one minimises: bring the target forward.
    driver::BringToFront(notepad.window);
    SetFocus(notepad.edit);
    EXPECT_TRUE(driver::WaitUntil([&] { return notepad.Text() == "Lovelace"; }, kWait,
                                  "the text pasted into notepad"))
        << "notepad holds '" << notepad.Text() << "'";
    if (minimiseOnCopy) {
        Sleep(500);
        EXPECT_TRUE(driver::IsIconic(board)) << "the board stays minimised";
    } else {
        EXPECT_TRUE(driver::WaitUntil([&] { return !driver::IsIconic(board); }, kWait,
                                      "the board restored after the paste"));
    }
}

INSTANTIATE_TEST_SUITE_P(MinimiseOnCopyOffAndOn, AutoPasteTest, ::testing::Bool());

TEST_F(BoardTest, EscapeAndEnterDoNotCloseTheBoard) {
    HWND board = StartBoard();
    ASSERT_TRUE(board);
    driver::BringToFront(board);
    driver::KeyCombo({VK_ESCAPE});
    driver::KeyCombo({VK_RETURN});
    driver::PostCommand(board, IDCANCEL);
    driver::PostCommand(board, IDOK);
    DWORD code = 0;
    EXPECT_FALSE(driver::WaitExit(board_, 1500, &code)) << "the board ended";
    EXPECT_TRUE(IsWindow(board));
}

TEST_F(BoardTest, ClosingWritesTheProjectAndTheSettings) {
    SetOption("MinOnEachCopy", "1");
    HWND board = StartBoard();
    ASSERT_TRUE(board);
    driver::SetItemText(board, FieldId(0), "Grace\r\nHopper");
    driver::SetItemText(board, FieldId(32), std::string(10300, 'x'));
    PostMessageA(board, WM_CLOSE, 0, 0); // the title bar's close box
    DWORD code = 1;
    ASSERT_TRUE(driver::WaitExit(board_, kWait, &code)) << driver::LastFailure();

    std::string image = driver::ReadFileBytes(Path("SAMPLE.VQP"));
    ASSERT_EQ(image.size(), kImageSize);
    EXPECT_EQ(ImageName(image, 0), "First Name");
    EXPECT_EQ(ImageText(image, 0), "Grace\r\nHopper");
    EXPECT_EQ(ImageText(image, 32), std::string(10239, 'x')) << "cut to what a slot holds";
    EXPECT_EQ(Setting("Files", "Current"), Path("SAMPLE.VQP"));
    EXPECT_EQ(Setting("Options", "UseSystemTray"), "0");
    EXPECT_EQ(Setting("Options", "WantToolTip"), "0");
    EXPECT_EQ(Setting("Options", "HideInTrayOnStartup"), "0");
    EXPECT_EQ(Setting("Options", "AutoPaste"), "0");
    EXPECT_EQ(Setting("Options", "MinOnEachCopy"), "1");
    EXPECT_EQ(Setting("Options", "TopMost"), "1");
    EXPECT_EQ(Setting("Handles", "TransHandle"), "0");
}
