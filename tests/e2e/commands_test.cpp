// Board commands from the outside: menus, shortcuts, toggles, the copy-button context menu,
// the notification-area icon and the window states.
#include <windows.h>
#include <gtest/gtest.h>
#include <shellapi.h>

#include "e2e/board_fixture.h"
#include "resources/kestrum_ids.h"

using namespace e2e;

namespace {

// Whether the board's icon is in the notification area: only an existing icon can be
// modified.
bool TrayIconPresent(HWND board) {
    NOTIFYICONDATAA record = {};
    record.cbSize = NOTIFYICONDATAA_V2_SIZE;
    record.hWnd = board;
    record.uID = 1;
    return Shell_NotifyIconA(NIM_MODIFY, &record) != FALSE;
}

// A popup menu (class #32768) shown by the board process.
struct MenuSearch {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindPopupMenu(HWND w, LPARAM l) {
    auto* search = reinterpret_cast<MenuSearch*>(l);
    char cls[32] = "";
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    GetClassNameA(w, cls, sizeof cls);
    if (pid == search->pid && strcmp(cls, "#32768") == 0 && IsWindowVisible(w))
        search->found = w;
    return TRUE;
}

HWND OpenPopupMenu(DWORD pid) {
    MenuSearch search = {pid, nullptr};
    EnumWindows(FindPopupMenu, (LPARAM)&search);
    return search.found;
}

bool WaitPopupMenu(DWORD pid, DWORD ms) {
    return driver::WaitUntil([&] { return OpenPopupMenu(pid) != nullptr; }, ms, "a popup menu");
}

void CloseMenuWithEscape(DWORD pid) {
    driver::KeyCombo({VK_ESCAPE});
    driver::WaitUntil([&] { return OpenPopupMenu(pid) == nullptr; }, kWait, "the menu closed");
}

} // namespace

TEST_F(BoardTest, OptionTogglesFlipTheirFlagsAndReachTheStoreAtTheNextSave) {
    SetOption("WantToolTip", "1");
    HWND board = StartBoard();
    ASSERT_TRUE(board);
    for (int id : {IDM_USE_TRAY, IDM_HIDE_AT_STARTUP, IDM_AUTO_PASTE, IDM_SCREEN_TIPS})
        driver::PostCommand(board, id);
    PostMessageA(GetDlgItem(board, IDX_MIN_ON_COPY), BM_CLICK, 0, 0);
    PostMessageA(GetDlgItem(board, IDX_TOPMOST), BM_CLICK, 0, 0);
    ASSERT_TRUE(driver::WaitUntil([&] { return !driver::IsChecked(board, IDX_TOPMOST); }, kWait,
                                  "TopMost unchecked"));
    EXPECT_TRUE(driver::IsChecked(board, IDX_MIN_ON_COPY));
    EXPECT_FALSE(GetWindowLongA(board, GWL_EXSTYLE) & WS_EX_TOPMOST) << "no longer topmost";
    EXPECT_TRUE(TrayIconPresent(board)) << "Use Tray on adds the icon at once";
    EXPECT_EQ(Setting("Options", "UseSystemTray"), "0") << "toggling alone writes nothing";

    driver::PostCommand(board, IDM_SAVE_PROJECT);
    ASSERT_TRUE(driver::WaitUntil([&] { return Setting("Options", "UseSystemTray") == "1"; }, kWait,
                                  "the settings saved with the project"));
    EXPECT_EQ(Setting("Options", "HideInTrayOnStartup"), "1");
    EXPECT_EQ(Setting("Options", "AutoPaste"), "1");
    EXPECT_EQ(Setting("Options", "WantToolTip"), "0");
    EXPECT_EQ(Setting("Options", "MinOnEachCopy"), "1");
    EXPECT_EQ(Setting("Options", "TopMost"), "0");
}

TEST_F(BoardTest, UseTrayToggledTwiceLeavesOneIconOrNone) {
    HWND board = StartBoard();
    ASSERT_TRUE(board);
    EXPECT_FALSE(TrayIconPresent(board));
    driver::PostCommand(board, IDM_USE_TRAY);
    driver::PostCommand(board, IDM_USE_TRAY);
    driver::PostCommand(board, IDM_USE_TRAY);
    ASSERT_TRUE(driver::WaitUntil([&] { return TrayIconPresent(board); }, kWait, "the icon"));
    // One icon: after removing it once nothing is left.
    NOTIFYICONDATAA record = {};
    record.cbSize = NOTIFYICONDATAA_V2_SIZE;
    record.hWnd = board;
    record.uID = 1;
    Shell_NotifyIconA(NIM_DELETE, &record);
    EXPECT_FALSE(TrayIconPresent(board));
    driver::PostCommand(board, IDM_USE_TRAY); // checked: removes
    driver::PostCommand(board, IDM_USE_TRAY); // adds again
    driver::PostCommand(board, IDM_USE_TRAY); // removes
    EXPECT_TRUE(driver::WaitUntil([&] { return !TrayIconPresent(board); }, kWait,
                                  "the icon gone with Use Tray unchecked"));
}

TEST_F(BoardTest, MinimisingWithUseTrayHidesTheBoardAndAClickOnTheIconShowsIt) {
    SetOption("UseSystemTray", "1");
    HWND board = StartBoard();
    ASSERT_TRUE(board);
    EXPECT_TRUE(TrayIconPresent(board));
    PostMessageA(board, WM_SYSCOMMAND, SC_MINIMIZE, 0); // the minimise box
    ASSERT_TRUE(driver::WaitUntil([&] { return !driver::IsVisible(board); }, kWait,
                                  "the board hidden in the notification area"));
    PostMessageA(board, WM_TRAY_CALLBACK, 1, WM_LBUTTONUP);
    ASSERT_TRUE(driver::WaitUntil([&] { return driver::IsVisible(board); }, kWait,
                                  "the board shown by a click on the icon"));
    EXPECT_FALSE(driver::IsIconic(board));
    PostMessageA(board, WM_TRAY_CALLBACK, 1, WM_LBUTTONUP); // a visible board hides
    EXPECT_TRUE(driver::WaitUntil([&] { return !driver::IsVisible(board); }, kWait,
                                  "the board hidden again"));
    PostMessageA(board, WM_TRAY_CALLBACK, 1, WM_RBUTTONUP);
    EXPECT_TRUE(WaitPopupMenu(board_.pid, kWait)) << "the icon's menu";
    CloseMenuWithEscape(board_.pid);
}

TEST_F(BoardTest, HideWithoutUseTrayLeavesATaskbarButton) {
    HWND board = StartBoard();
    ASSERT_TRUE(board);
    driver::PostCommand(board, IDM_HIDE);
    ASSERT_TRUE(driver::WaitUntil([&] { return driver::IsIconic(board); }, kWait, "minimised"));
    Sleep(300);
    EXPECT_TRUE(driver::IsVisible(board)) << "minimised on the taskbar, not hidden";
    PostMessageA(board, WM_TRAY_CALLBACK, 1, WM_LBUTTONUP);
    Sleep(300);
    EXPECT_TRUE(driver::IsIconic(board)) << "the icon's click does nothing without Use Tray";
}

TEST_F(BoardTest, HideAtStartupNeedsUseTray) {
    SetOption("HideInTrayOnStartup", "1");
    SetOption("UseSystemTray", "1");
    board_ = driver::Start(driver::ExeDir() + "\\KESTRUM.EXE", "", folder_);
    window_ = driver::WaitWindow("Tessaro >", kWait, board_.pid);
    ASSERT_TRUE(window_) << driver::LastFailure();
    Sleep(1500);
    EXPECT_FALSE(driver::IsVisible(window_)) << "started hidden in the notification area";
    EXPECT_TRUE(TrayIconPresent(window_));
    PostMessageA(window_, WM_TRAY_CALLBACK, 1, WM_LBUTTONUP);
    EXPECT_TRUE(driver::WaitUntil([&] { return driver::IsVisible(window_); }, kWait,
                                  "shown by the first click on the icon"));
    CloseBoard();

    SetOption("UseSystemTray", "0");
    HWND board = StartBoard();
    ASSERT_TRUE(board);
    Sleep(1000);
    EXPECT_TRUE(driver::IsVisible(board));
    EXPECT_FALSE(driver::IsIconic(board));
}

TEST_F(BoardTest, TheInstallersCloseRequestSavesLikeExit) {
    HWND board = StartBoard();
    ASSERT_TRUE(board);
    driver::SetItemText(board, FieldId(5), "Oregon");
    CloseBoard();
    EXPECT_EQ(ImageText(driver::ReadFileBytes(Path("SAMPLE.VQP")), 5), "Oregon");
    EXPECT_EQ(Setting("Handles", "TransHandle"), "0");
}

TEST_F(BoardTest, ContextMenuOpensOncePerRequestAndOnlyForCopyButtons) {
    HWND board = StartBoard();
    ASSERT_TRUE(board);
    HWND button = GetDlgItem(board, CopyButtonId(3));
    driver::BringToFront(board);
    PostMessageA(board, WM_CONTEXTMENU, (WPARAM)button, MAKELPARAM(300, 300));
    ASSERT_TRUE(WaitPopupMenu(board_.pid, kWait));
    CloseMenuWithEscape(board_.pid);

    PostMessageA(board, WM_CONTEXTMENU, (WPARAM)button, MAKELPARAM(300, 300));
    EXPECT_FALSE(WaitPopupMenu(board_.pid, 800)) << "the same request again opens nothing";
    PostMessageA(board, WM_CONTEXTMENU, (WPARAM)button, MAKELPARAM(301, 300));
    EXPECT_TRUE(WaitPopupMenu(board_.pid, kWait)) << "one pixel further it opens again";
    CloseMenuWithEscape(board_.pid);

    HWND checkBox = GetDlgItem(board, IDX_TOPMOST);
    PostMessageA(board, WM_CONTEXTMENU, (WPARAM)checkBox, MAKELPARAM(10, 10));
    EXPECT_FALSE(WaitPopupMenu(board_.pid, 800)) << "a check box has no menu";
    PostMessageA(board, WM_CONTEXTMENU, (WPARAM)board, MAKELPARAM(20, 20));
    EXPECT_FALSE(WaitPopupMenu(board_.pid, 800)) << "the background has no menu";
}

TEST_F(BoardTest, RenameButtonChangesOnlyTheCaptionUntilTheNextSave) {
    HWND board = StartBoard();
    ASSERT_TRUE(board);
    driver::SetItemText(board, FieldId(3), "221B Baker Street");
    HWND button = GetDlgItem(board, CopyButtonId(3));
    driver::BringToFront(board);
    PostMessageA(board, WM_CONTEXTMENU, (WPARAM)button, MAKELPARAM(200, 200));
    ASSERT_TRUE(WaitPopupMenu(board_.pid, kWait));
    CloseMenuWithEscape(board_.pid);
    driver::PostCommand(board, IDM_RENAME_ONE); // the menu's "&Rename Button..."

    HWND prompt = WaitPrompt("Define Button");
    ASSERT_TRUE(prompt) << driver::LastFailure();
    EXPECT_EQ(driver::ItemText(prompt, IDE_PROMPT), "Street Address");
    EXPECT_EQ(driver::ItemText(prompt, IDT_PROMPT), "Define this button name as:");
    driver::SetItemText(prompt, IDE_PROMPT, "Home");
    driver::Click(prompt, IDOK);
    ASSERT_TRUE(
        driver::WaitUntil([&] { return driver::ItemText(board, CopyButtonId(3)) == "Home"; }, kWait,
                          "the new caption"));
    EXPECT_EQ(driver::ItemText(board, FieldId(3)), "221B Baker Street");
    EXPECT_EQ(ImageName(driver::ReadFileBytes(Path("SAMPLE.VQP")), 3), "Street Address")
        << "nothing is written before a save";
    driver::PostCommand(board, IDM_SAVE_PROJECT);
    EXPECT_TRUE(driver::WaitUntil(
        [&] { return ImageName(driver::ReadFileBytes(Path("SAMPLE.VQP")), 3) == "Home"; }, kWait,
        "the caption in the file after Save"));
}

TEST_F(BoardTest, ShortcutsComeFromTheMainKeyboardAndOnlyWithoutADialog) {
    HWND board = StartBoard();
    ASSERT_TRUE(board);
    driver::BringToFront(board);
    driver::KeyCombo({VK_CONTROL, VK_NUMPAD1});
    EXPECT_FALSE(driver::WaitVisibleWindow("Name of New Tessaro Project", 800, board_.pid))
        << "the keypad's 1 is no shortcut";
    driver::KeyCombo({VK_CONTROL, '1'});
    HWND prompt = WaitPrompt("Name of New Tessaro Project");
    ASSERT_TRUE(prompt) << driver::LastFailure();
    driver::BringToFront(prompt);
    driver::KeyCombo({VK_CONTROL, '3'}); // while the prompt is open: nothing
    EXPECT_FALSE(driver::WaitVisibleWindow("Save Current Tessaro Project As", 800, board_.pid));
    driver::PostCommand(prompt, IDCANCEL);
    ASSERT_TRUE(driver::WaitGone(prompt, kWait));

    driver::KeyCombo({VK_CONTROL, '3'});
    prompt = WaitPrompt("Save Current Tessaro Project As");
    EXPECT_TRUE(prompt) << "after the dialog closed the shortcuts work again";
    if (prompt)
        driver::PostCommand(prompt, IDCANCEL);
}

// Gives a field the keyboard focus; a repaint of the board may take it back to the
// selector, so it is given again until it stays.
bool FocusField(HWND board, int id) {
    const std::string wanted = "Edit:" + std::to_string(id);
    for (int attempt = 0; attempt < 10; ++attempt) {
        SendMessageA(board, WM_NEXTDLGCTL, (WPARAM)GetDlgItem(board, id), 1);
        Sleep(200);
        if (driver::FocusedClassOrId(board) == wanted)
            return true;
    }
    return false;
}

TEST_F(BoardTest, CtrlCAndCtrlVStillReachTheFields) {
    HWND board = StartBoard();
    ASSERT_TRUE(board);
    driver::SetItemText(board, FieldId(1), "Babbage");
    driver::SetClipboardText("before");
    driver::BringToFront(board);
    ASSERT_TRUE(FocusField(board, FieldId(1)));
    const DWORD sequence = GetClipboardSequenceNumber(); // polling the text could block the copy
    driver::KeyCombo({VK_CONTROL, 'C'});
    EXPECT_TRUE(driver::WaitUntil([&] { return GetClipboardSequenceNumber() != sequence; }, kWait,
                                  "Ctrl+C copied the selected field"));
    EXPECT_EQ(driver::ClipboardText(), "Babbage");
    ASSERT_TRUE(FocusField(board, FieldId(6)));
    driver::KeyCombo({VK_CONTROL, 'V'});
    EXPECT_TRUE(driver::WaitUntil([&] { return driver::ItemText(board, FieldId(6)) == "Babbage"; },
                                  kWait, "Ctrl+V pasted into the field"));
}

TEST_F(BoardTest, ReadMeThatCannotBeOpenedSaysSo) {
    HWND board = StartBoard();
    ASSERT_TRUE(board);
    driver::PostCommand(board, IDM_README); // the folder holds no README.TXT
    EXPECT_EQ(AnswerBox(IDOK), "Unable to open:\n" + Path("README.TXT") +
                                   "\n\nUse another Editor, Word Processor, or Email Program "
                                   "to open it.");
    EXPECT_TRUE(driver::IsChecked(board, IDX_TOPMOST)) << "the TopMost option stays as it was";
}

TEST_F(BoardTest, PhoneSupportShowsNumberedInstructions) {
    HWND board = StartBoard();
    ASSERT_TRUE(board);
    driver::PostCommand(board, IDM_PHONE);
    std::string text = AnswerBox(IDOK);
    EXPECT_EQ(text.rfind("Tech-Support By Phone", 0), 0u) << text;
    EXPECT_NE(text.find("1. Define your problem."), std::string::npos) << text;
    EXPECT_NE(text.find("2. Call us . . ."), std::string::npos) << text;
}

TEST_F(BoardTest, TheIconComesBackWhenTheTaskbarIsCreatedAgain) {
    SetOption("UseSystemTray", "1");
    HWND board = StartBoard();
    ASSERT_TRUE(board);
    ASSERT_TRUE(TrayIconPresent(board));
    NOTIFYICONDATAA record = {};
    record.cbSize = NOTIFYICONDATAA_V2_SIZE;
    record.hWnd = board;
    record.uID = 1;
    Shell_NotifyIconA(NIM_DELETE, &record); // as a restarting shell loses it
    ASSERT_FALSE(TrayIconPresent(board));
    PostMessageA(board, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(
        driver::WaitUntil([&] { return TrayIconPresent(board); }, kWait, "the icon added again"));

    driver::PostCommand(board, IDM_USE_TRAY); // off: a new taskbar brings no icon
    ASSERT_TRUE(driver::WaitUntil([&] { return !TrayIconPresent(board); }, kWait, "no icon"));
    PostMessageA(board, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    Sleep(500);
    EXPECT_FALSE(TrayIconPresent(board));
}
