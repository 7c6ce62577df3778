// The board's command handler, menus and shortcut filter, run in this process against a
// real board window (menus cannot be read from another process).
#include <windows.h>
#include <gtest/gtest.h>
#include <shellapi.h>

#include <string>

#include "board/board.h"
#include "board/board_window.h"
#include "board/commands.h"
#include "resources/kestrum_ids.h"
#include "settings/settings.h"
#include "ui/message.h"
#include "ui/window_stack.h"

namespace {

std::string MenuText(HMENU menu, UINT item, UINT by) {
    char text[256] = "";
    GetMenuStringA(menu, item, text, sizeof text, by);
    return text;
}

bool Checked(int id) {
    return GetMenuState(g_board.menu, id, MF_BYCOMMAND) & MF_CHECKED;
}

bool TrayIconPresent() {
    NOTIFYICONDATAA record = {};
    record.cbSize = NOTIFYICONDATAA_V2_SIZE;
    record.hWnd = g_board.window;
    record.uID = 1;
    return Shell_NotifyIconA(NIM_MODIFY, &record) != FALSE;
}

const char kScratchRoot[] = "Software\\Tessaro Tests\\board commands";

settings::Store Scratch() {
    settings::Store store;
    store.root = kScratchRoot;
    return store;
}

void SetOption(const char* name, const char* value) {
    settings::WriteSettingText(Scratch(), settings::kOptions, name, value);
}

class BoardCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, kScratchRoot);
        SetOption(settings::kUseSystemTray, "0");
        SetOption(settings::kWantToolTip, "1");
        SetOption(settings::kAutoPaste, "0");
        g_board = BoardState();
        g_start = StartState();
        g_start.freshStart = true; // no project: nothing to read or save
        board_ = new BoardWindow(Scratch());
        ASSERT_TRUE(board_->CreateModeless(nullptr));
    }
    void TearDown() override {
        board_->Destroy();
        delete board_;
        ui::ClearWindowStack();
        RegDeleteTreeA(HKEY_CURRENT_USER, kScratchRoot);
    }
    void Command(int id) { HandleBoardCommand(id, 0, nullptr); }

    BoardWindow* board_ = nullptr;
};

// Presses or releases Ctrl in this thread's key state, which the filter reads.
void SetCtrl(bool down) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

std::string g_lastMessage;
UINT g_lastMessageType = 0;
int RecordMessage(const char* text, const char*, UINT type) {
    g_lastMessage = text;
    g_lastMessageType = type;
    return IDOK;
}

bool Filter(WPARAM key) {
    MSG msg = {};
    msg.hwnd = g_board.window;
    msg.message = WM_KEYDOWN;
    msg.wParam = key;
    return ShortcutFilter(msg);
}

} // namespace

TEST(BoardMenus, MainMenuHasItsItemsInOrder) {
    HMENU bar = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_BOARD_MENU));
    ASSERT_TRUE(bar);
    const char* titles[] = {"File", "Edit", "Configure", "Options", "Hide", "Help"};
    ASSERT_EQ(GetMenuItemCount(bar), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(MenuText(bar, i, MF_BYPOSITION), titles[i]);
    EXPECT_EQ(GetMenuItemID(bar, 4), UINT(IDM_HIDE)) << "Hide is a command on the bar";

    HMENU file = GetSubMenu(bar, 0);
    const int fileIds[] = {
        IDM_NEW_PROJECT, IDM_SAVE_PROJECT, IDM_SAVE_PROJECT_AS, 0, IDM_DELETE_PROJECT, 0, IDM_EXIT};
    ASSERT_EQ(GetMenuItemCount(file), 7);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(GetMenuItemID(file, i), UINT(fileIds[i])) << "File item " << i;
    EXPECT_EQ(MenuText(bar, IDM_NEW_PROJECT, MF_BYCOMMAND), "&New Project...\tCtrl+1");
    EXPECT_EQ(MenuText(bar, IDM_SAVE_PROJECT_AS, MF_BYCOMMAND), "SaveAs Pro&ject...\tCtrl+3");
    EXPECT_EQ(MenuText(bar, IDM_RENAME_BUTTONS, MF_BYCOMMAND), "Rename B&uttons...\tCtrl+5");
    EXPECT_EQ(MenuText(bar, IDM_FIND, MF_BYCOMMAND), "&Find...\tCtrl+F");
    EXPECT_EQ(MenuText(bar, IDM_CONSOLIDATE, MF_BYCOMMAND), "&Consolidate Projects...");
    EXPECT_EQ(MenuText(bar, IDM_USE_TRAY, MF_BYCOMMAND), "Use &Tray instead of Taskbar");
    EXPECT_EQ(MenuText(bar, IDM_AUTO_PASTE, MF_BYCOMMAND), "&Auto Paste into Application");
    EXPECT_EQ(MenuText(bar, IDM_FAQ, MF_BYCOMMAND), "&FAQ:\tFrequently Asked Questions   ->Ctrl+Q");
    EXPECT_EQ(MenuText(bar, IDM_PHONE, MF_BYCOMMAND), "&Phone:\tVontrel   ->Ctrl+P");

    HMENU help = GetSubMenu(bar, 5);
    ASSERT_EQ(GetMenuItemCount(help), 18);
    EXPECT_EQ(MenuText(help, 4, MF_BYPOSITION), "Tech-&Support by:");
    EXPECT_EQ(GetMenuItemID(help, 6), UINT(IDM_HELP_OVERVIEW));
    EXPECT_EQ(MenuText(help, 12, MF_BYPOSITION), "&File");
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(help, 12)), 5);
    EXPECT_EQ(GetMenuItemID(help, 17), UINT(IDM_ABOUT));
    // Every help topic id is somewhere in the menu.
    for (int id = IDM_HELP_FIRST_TOPIC; id <= IDM_HELP_LAST_TOPIC; ++id)
        EXPECT_NE(GetMenuState(bar, id, MF_BYCOMMAND), UINT(-1)) << "topic " << id;
    DestroyMenu(bar);

    HMENU context = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_CONTEXT_MENU));
    EXPECT_EQ(MenuText(GetSubMenu(context, 0), IDM_RENAME_ONE, MF_BYCOMMAND), "&Rename Button...");
    EXPECT_EQ(MenuText(GetSubMenu(context, 0), IDM_EDIT_FROM_CONTEXT, MF_BYCOMMAND),
              "&Edit Text Field...");
    DestroyMenu(context);
    HMENU tray = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_TRAY_MENU));
    EXPECT_EQ(MenuText(GetSubMenu(tray, 0), IDM_EXIT_FROM_TRAY, MF_BYCOMMAND), "E&xit Tessaro");
    DestroyMenu(tray);

    HMENU rename = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_RENAME_MENU));
    ASSERT_EQ(GetMenuItemCount(rename), 1);
    EXPECT_EQ(MenuText(rename, 0, MF_BYPOSITION), "&Help");
    HMENU renameHelp = GetSubMenu(rename, 0);
    ASSERT_EQ(GetMenuItemCount(renameHelp), 3);
    EXPECT_EQ(GetMenuItemID(renameHelp, 0), UINT(IDM_RENAME_HELP));
    EXPECT_EQ(MenuText(renameHelp, 0, MF_BYPOSITION), "&Rename Buttons...");
    EXPECT_EQ(GetMenuItemID(renameHelp, 1), 0u) << "a separator";
    EXPECT_EQ(GetMenuItemID(renameHelp, 2), UINT(IDM_ABOUT));
    EXPECT_EQ(MenuText(renameHelp, 2, MF_BYPOSITION), "&About Tessaro...");
    DestroyMenu(rename);
}

TEST(BoardShortcuts, OnlyTheMainKeyboardKeysOfTheTable) {
    EXPECT_EQ(ShortcutCommand('1'), IDM_NEW_PROJECT);
    EXPECT_EQ(ShortcutCommand('4'), IDM_EXIT);
    EXPECT_EQ(ShortcutCommand('6'), IDM_EDIT_TEXT_FIELD);
    EXPECT_EQ(ShortcutCommand('F'), IDM_FIND);
    EXPECT_EQ(ShortcutCommand('T'), IDM_SCREEN_TIPS);
    EXPECT_EQ(ShortcutCommand('A'), IDM_ABOUT);
    EXPECT_EQ(ShortcutCommand(VK_NUMPAD1), 0);
    EXPECT_EQ(ShortcutCommand('7'), 0);
    EXPECT_EQ(ShortcutCommand('C'), 0) << "Ctrl+C belongs to the fields";
    EXPECT_EQ(ShortcutCommand('V'), 0);
}

TEST_F(BoardCommandsTest, ShortcutFilterWorksOnlyWithCtrlAndNoDialogOpen) {
    SetCtrl(false);
    EXPECT_FALSE(Filter('1'));
    SetCtrl(true);
    EXPECT_TRUE(Filter('1')) << "consumed: the field never sees it";
    EXPECT_FALSE(Filter(VK_NUMPAD1));
    EXPECT_FALSE(Filter('C'));
    ui::PushWindow(nullptr, (HWND)1); // a dialog on top of the board
    EXPECT_FALSE(Filter('1'));
    ui::PopWindow();
    EXPECT_TRUE(Filter('2'));
    SetCtrl(false);
    MSG msg;
    while (PeekMessageA(&msg, g_board.window, WM_COMMAND, WM_COMMAND, PM_REMOVE))
        ; // the posted shortcuts are not run here
}

TEST_F(BoardCommandsTest, OptionTogglesFollowTheirCheckMarks) {
    EXPECT_FALSE(Checked(IDM_HIDE_AT_STARTUP));
    Command(IDM_HIDE_AT_STARTUP);
    EXPECT_TRUE(Checked(IDM_HIDE_AT_STARTUP));
    EXPECT_TRUE(g_board.hideInTrayOnStartup);
    Command(IDM_AUTO_PASTE);
    EXPECT_TRUE(Checked(IDM_AUTO_PASTE));
    EXPECT_TRUE(g_board.autoPaste);
    Command(IDM_AUTO_PASTE);
    EXPECT_FALSE(Checked(IDM_AUTO_PASTE));
    EXPECT_FALSE(g_board.autoPaste);

    // The toggle reads the check mark, not the flag.
    g_board.hideInTrayOnStartup = false;
    Command(IDM_HIDE_AT_STARTUP);
    EXPECT_FALSE(g_board.hideInTrayOnStartup);
    EXPECT_FALSE(Checked(IDM_HIDE_AT_STARTUP));

    char stored[8];
    settings::ReadSettingText(Scratch(), settings::kOptions, settings::kAutoPaste, "", stored,
                              sizeof stored);
    EXPECT_STREQ(stored, "0") << "a toggle writes nothing by itself";
}

TEST_F(BoardCommandsTest, ScreenTipsItemSwitchesBetweenItsTwoTexts) {
    const char on[] =
        "Show ScreenTips for Beginners - Enabled - Select to turn Screen&Tips OFF\tCtrl+T";
    const char off[] =
        "Show ScreenTips for Beginners - Disabled - Select to turn Screen&Tips ON\tCtrl+T";
    EXPECT_EQ(MenuText(g_board.menu, IDM_SCREEN_TIPS, MF_BYCOMMAND), on);
    EXPECT_TRUE(Checked(IDM_SCREEN_TIPS));
    Command(IDM_SCREEN_TIPS);
    EXPECT_EQ(MenuText(g_board.menu, IDM_SCREEN_TIPS, MF_BYCOMMAND), off);
    EXPECT_FALSE(Checked(IDM_SCREEN_TIPS));
    EXPECT_FALSE(g_board.wantToolTip);
    Command(IDM_SCREEN_TIPS);
    EXPECT_EQ(MenuText(g_board.menu, IDM_SCREEN_TIPS, MF_BYCOMMAND), on);
    EXPECT_TRUE(g_board.wantToolTip);
}

TEST_F(BoardCommandsTest, UseTrayAddsAndRemovesTheIconWithTheMinimiseMode) {
    EXPECT_FALSE(TrayIconPresent());
    EXPECT_EQ(g_start.minimiseMode, MinimiseMode::kToTaskbar);
    Command(IDM_USE_TRAY);
    EXPECT_TRUE(Checked(IDM_USE_TRAY));
    EXPECT_TRUE(g_board.useSystemTray);
    EXPECT_EQ(g_start.minimiseMode, MinimiseMode::kIntoTray);
    EXPECT_TRUE(TrayIconPresent());
    Command(IDM_USE_TRAY);
    EXPECT_FALSE(Checked(IDM_USE_TRAY));
    EXPECT_EQ(g_start.minimiseMode, MinimiseMode::kToTaskbar);
    EXPECT_FALSE(TrayIconPresent());
}

TEST_F(BoardCommandsTest, CheckBoxesSetTheirFlags) {
    CheckDlgButton(g_board.window, IDX_MIN_ON_COPY, BST_CHECKED);
    Command(IDX_MIN_ON_COPY);
    EXPECT_TRUE(g_board.minOnEachCopy);
    CheckDlgButton(g_board.window, IDX_TOPMOST, BST_UNCHECKED);
    Command(IDX_TOPMOST);
    EXPECT_FALSE(g_board.topMost);
    EXPECT_FALSE(GetWindowLongA(g_board.window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    CheckDlgButton(g_board.window, IDX_TOPMOST, BST_CHECKED);
    Command(IDX_TOPMOST);
    EXPECT_TRUE(GetWindowLongA(g_board.window, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(BoardCommandsTest, ContextRequestsArePostedOncePerTriple) {
    HWND button = GetDlgItem(g_board.window, CopyButtonId(0));
    MSG msg;
    while (PeekMessageA(&msg, g_board.window, WM_COMMAND, WM_COMMAND, PM_REMOVE))
        ;
    auto posted = [&] {
        int n = 0;
        while (PeekMessageA(&msg, g_board.window, WM_COMMAND, WM_COMMAND, PM_REMOVE))
            n += LOWORD(msg.wParam) == IDM_CONTEXT_REQUEST && (HWND)msg.lParam == button;
        return n;
    };
    ContextRequestStep(WM_CONTEXTMENU, (WPARAM)button, MAKELPARAM(5, 5));
    EXPECT_EQ(posted(), 1);
    ContextRequestStep(WM_CONTEXTMENU, (WPARAM)button, MAKELPARAM(5, 5));
    EXPECT_EQ(posted(), 0);
    ContextRequestStep(WM_CONTEXTMENU, (WPARAM)button, MAKELPARAM(6, 5));
    EXPECT_EQ(posted(), 1);
    ContextRequestStep(WM_TRAY_CALLBACK, 1, WM_MOUSEMOVE); // becomes the last request too
    ContextRequestStep(WM_CONTEXTMENU, (WPARAM)button, MAKELPARAM(6, 5));
    EXPECT_EQ(posted(), 1);
}

TEST_F(BoardCommandsTest, EditTextFieldWithoutASelectedFieldExplains) {
    ui::SetMessageHook(RecordMessage);
    g_lastMessage.clear();
    g_board.selectedField = 0;
    Command(IDM_EDIT_TEXT_FIELD);
    ui::SetMessageHook(nullptr);
    EXPECT_EQ(g_lastMessage,
              "Please make a selection first; by clicking in the editbox field "
              "that you want to edit.");
    EXPECT_EQ(g_lastMessageType, UINT(MB_ICONINFORMATION));
}

// Reads the open editor's font and text, then cancels it, from inside its modal loop.
struct EditorSeen {
    HFONT font = nullptr;
    std::string text;
    bool open = false;
} g_editorSeen;

void CALLBACK ReadEditorAndCancel(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND editor = ui::TopWindowHandle();
    if (!editor || editor == g_board.window)
        return;
    KillTimer(nullptr, timer);
    HWND edit = GetDlgItem(editor, IDE_EDIT_TEXT);
    char text[64] = "";
    GetWindowTextA(edit, text, sizeof text);
    g_editorSeen.open = true;
    g_editorSeen.font = (HFONT)SendMessageA(edit, WM_GETFONT, 0, 0);
    g_editorSeen.text = text;
    PostMessageA(editor, WM_COMMAND, IDB_EDIT_CANCEL, 0);
}

TEST_F(BoardCommandsTest, EditTextFieldShowsTheSelectedFieldInTheFieldFont) {
    ASSERT_TRUE(g_board.fieldFont);
    SetDlgItemTextA(g_board.window, FieldId(4), "Springfield");
    g_board.selectedField = FieldId(4);
    g_editorSeen = EditorSeen();
    UINT_PTR timer = SetTimer(nullptr, 0, 20, ReadEditorAndCancel);
    Command(IDM_EDIT_TEXT_FIELD);
    KillTimer(nullptr, timer);
    ASSERT_TRUE(g_editorSeen.open);
    EXPECT_EQ(g_editorSeen.font, g_board.fieldFont);
    EXPECT_EQ(g_editorSeen.text, "Springfield");
}
