#include "board/commands.h"

#include "base/scoped.h"
#include "base/text.h"
#include "board/board.h"
#include "board/board_image.h"
#include "board/catalogue.h"
#include "board/handover.h"
#include "board/project_io.h"
#include "board/reposition.h"
#include "board/screen_tips.h"
#include "board/shell_library.h"
#include "board/tray.h"
#include "dialogs/about.h"
#include "dialogs/consolidate_dialog.h"
#include "dialogs/edit_text.h"
#include "dialogs/find_dialog.h"
#include "dialogs/help.h"
#include "dialogs/prompt.h"
#include "dialogs/rename_buttons.h"
#include "resources/kestrum_ids.h"
#include "store/project_list.h"
#include "ui/dialog.h"
#include "ui/message.h"
#include "ui/window_stack.h"
#include "version.h"

namespace {

const char kTipsOnText[] =
    "Show ScreenTips for Beginners - Enabled - Select to turn Screen&Tips OFF\tCtrl+T";
const char kTipsOffText[] =
    "Show ScreenTips for Beginners - Disabled - Select to turn Screen&Tips ON\tCtrl+T";

const char kReadMeFileName[] = "README.TXT";
const char kHomePage[] = "http://www.vontrel.example/";
const char kFaqPage[] = "http://www.vontrel.example/tessaro/faq.html";
const char kSupportForm[] =
    "http://www.vontrel.example/support/contact.html?product=Tessaro&version=" TESSARO_VERSION_TEXT;
const char kPhoneText[] =
    "Tech-Support By Phone\n\n"
    "1. Define your problem. Write down what you did, what you expected and what Tessaro "
    "showed instead, with the exact text of any message.\n\n"
    "2. Call us . . . at the support number on the Vontrel web site (Help, Tech-Support by, "
    "Web site), Monday to Friday during business hours.\n\n"
    "3. Have Tessaro open, and the version from Help, About Tessaro at hand.\n\n"
    "4. Stay at your computer, so that we can solve the problem together.";

const struct {
    BYTE key;
    int command;
} kShortcuts[] = {
    {'1', IDM_NEW_PROJECT},
    {'2', IDM_SAVE_PROJECT},
    {'3', IDM_SAVE_PROJECT_AS},
    {'4', IDM_EXIT},
    {'5', IDM_RENAME_BUTTONS},
    {'6', IDM_EDIT_TEXT_FIELD},
    {'F', IDM_FIND},
    {'T', IDM_SCREEN_TIPS},
    {'R', IDM_README},
    {'W', IDM_WEB_SITE},
    {'Q', IDM_FAQ},
    {'E', IDM_EMAIL},
    {'P', IDM_PHONE},
    {'A', IDM_ABOUT},
};

bool IsMenuChecked(int id) {
    return GetMenuState(g_board.menu, id, MF_BYCOMMAND) & MF_CHECKED;
}

void SetMenuCheck(int id, bool checked) {
    CheckMenuItem(g_board.menu, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

// Flips a flag from its menu check mark, which always equals it.
void ToggleFromMenu(int id, bool& flag) {
    flag = !IsMenuChecked(id);
    SetMenuCheck(id, flag);
    RedrawMenuBar();
}

void ToggleUseTray() {
    if (IsMenuChecked(IDM_USE_TRAY)) {
        g_board.useSystemTray = false;
        SetMenuCheck(IDM_USE_TRAY, false);
        g_start.minimiseMode = MinimiseMode::kToTaskbar;
        RemoveTrayIcon();
    } else {
        g_board.useSystemTray = true;
        SetMenuCheck(IDM_USE_TRAY, true);
        g_start.minimiseMode = MinimiseMode::kIntoTray;
        AddTrayIcon();
    }
    RedrawMenuBar();
}

void ToggleScreenTips() {
    g_board.wantToolTip = !IsMenuChecked(IDM_SCREEN_TIPS);
    SetScreenTipsItem(g_board.wantToolTip);
    RedrawMenuBar();
    ShowScreenTips(g_board.wantToolTip);
}

// Another program is about to open: a topmost board must not cover it.
void StepBackForOtherProgram() {
    if (IsDlgButtonChecked(g_board.window, IDX_TOPMOST) == BST_CHECKED)
        SetBoardTopMost(false);
}

void OpenPage(const char* address) {
    StepBackForOtherProgram();
    ShellOpen(g_board.window, address, g_board.programFolder, SW_SHOWMAXIMIZED);
}

void OpenReadMe() {
    char path[kPathSize];
    base::FormatText(path, sizeof path, "%s\\%s", g_board.programFolder, kReadMeFileName);
    StepBackForOtherProgram();
    HINSTANCE result = ShellOpen(g_board.window, path, g_board.programFolder, SW_SHOWMAXIMIZED);
    if ((INT_PTR)result <= 32)
        ui::ShowMessage(MB_ICONHAND,
                        "Unable to open:\n%s\n\nUse another Editor, Word Processor, or Email "
                        "Program to open it.",
                        path);
}

// The selected field in the large editor; OK writes the text back into the field only,
// the project file takes it up at the next gather.
void RunEditTextField() {
    if (g_board.selectedField) {
        g_textBuffer[0] = '\0';
        GetDlgItemTextA(g_board.window, g_board.selectedField, g_textBuffer, kTextSize);
        g_textBuffer[kTextSize - 1] = '\0';
        if (RunEditText(g_board.window, g_board.fieldFont, g_textBuffer, kTextSize))
            SetDlgItemTextA(g_board.window, g_board.selectedField, g_textBuffer);
        RedrawBoard();
    } else {
        ui::ShowMessage(MB_ICONINFORMATION,
                        "Please make a selection first; by clicking in the "
                        "editbox field that you want to edit.");
    }
    FocusSelector();
}

void ShowHelpTopic(int id) {
    ShowHelp(g_board.window, id == IDM_HELP_OVERVIEW ? nullptr : HelpTopicText(id));
    FocusSelector();
}

// The captions as they stand go into the board image first, which changes nothing visible
// even when the dialog is cancelled; on Ok the image's new names become the captions.
void RenameAllButtons() {
    char name[kNameSize + 1];
    for (int slot = 0; slot < kSlotCount; ++slot) {
        name[0] = '\0';
        GetDlgItemTextA(g_board.window, CopyButtonId(slot), name, kNameSize);
        SetSlotName(g_boardImage, slot, name);
    }
    if (RunRenameButtons(g_board.window, g_board.about, g_boardImage.names)) {
        for (int slot = 0; slot < kSlotCount; ++slot) {
            SlotName(g_boardImage, slot, name, sizeof name);
            SetDlgItemTextA(g_board.window, CopyButtonId(slot), name);
        }
    }
    FocusSelector();
}

// Find in Projects remembers its text and options until the board closes.
FindState g_findState;

// The selector's entries in its order: the projects an all-projects search visits.
void ReadSelectorEntries(ProjectList& projects) {
    HWND selector = GetDlgItem(g_board.window, IDC_PROJECTS);
    const int count = (int)SendMessageA(selector, CB_GETCOUNT, 0, 0);
    char entry[MAX_PATH];
    for (int i = 0; i < count; ++i) {
        entry[0] = '\0';
        LRESULT length = SendMessageA(selector, CB_GETLBTEXTLEN, (WPARAM)i, 0);
        if (length != CB_ERR && size_t(length) < sizeof entry)
            SendMessageA(selector, CB_GETLBTEXT, (WPARAM)i, (LPARAM)entry);
        if (!projects.Add(entry))
            return;
    }
}

void RunFind() {
    ProjectList projects;
    ReadSelectorEntries(projects);
    FindContext context;
    context.boardImage = &g_boardImage;
    context.programFolder = g_board.programFolder;
    context.currentPath = g_board.currentPath;
    context.projects = &projects;
    context.state = &g_findState;
    RunFindDialog(g_board.window, context);
    FocusSelector();
}

// Whichever way the dialog closed, the board shows the current project as its file holds it.
void RunConsolidate() {
    ConsolidateContext context;
    context.programFolder = g_board.programFolder;
    context.listFont = g_board.fieldFont;
    context.saveBoard = SaveBeforeConsolidating;
    RunConsolidateDialog(g_board.window, context);
    if (BoardReadProject(g_board.currentPath, g_boardImage, true))
        ScatterBoard();
    FocusSelector();
}

int CopyButtonSlot(HWND button) {
    for (int slot = 0; slot < kSlotCount; ++slot)
        if (button && g_board.copyButtons[slot] == button)
            return slot;
    return -1;
}

void ShowCopyButtonMenu(HWND button) {
    int slot = CopyButtonSlot(button);
    if (slot < 0)
        return;
    g_board.selectedField = FieldId(slot);
    g_board.rememberedButton = button;
    base::ScopedMenu menu(LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_CONTEXT_MENU)));
    if (!menu.Valid())
        return;
    DWORD at = GetMessagePos();
    ClipCursor(nullptr);
    ReleaseCapture();
    TrackPopupMenu(GetSubMenu(menu.Get(), 0), TPM_CENTERALIGN | TPM_RIGHTBUTTON, (short)LOWORD(at),
                   (short)HIWORD(at), 0, g_board.window, nullptr);
}

void RenameRememberedButton() {
    HWND button = g_board.rememberedButton;
    if (CopyButtonSlot(button) < 0)
        return;
    char name[kNameSize];
    GetWindowTextA(button, name, sizeof name);
    if (PromptForText("Define Button", name, sizeof name, "Define this button name as:"))
        SetWindowTextA(button, name);
    g_board.rememberedButton = nullptr;
}

// Only another board is answered: the asker's handle comes from outside, and a handle
// such as HWND_BROADCAST would send the answer to every program.
void AnswerOtherInstance(HWND other) {
    if (!IsOtherBoardWindow(other, GetCurrentProcessId()))
        return;
    PostMessageA(other, WM_COMMAND, IDM_HANDOVER_ANSWER, (LPARAM)g_board.window);
    ui::CentreOnDesktop(g_board.window);
    ShowWindow(g_board.window, SW_SHOWNORMAL);
}

void OnCheckBox(int id) {
    const bool checked = IsDlgButtonChecked(g_board.window, id) == BST_CHECKED;
    if (id == IDX_MIN_ON_COPY) {
        g_board.minOnEachCopy = checked;
    } else {
        g_board.topMost = checked;
        SetBoardTopMost(checked);
    }
    FocusSelector();
}

// The dispatch table; returns false for ids it does not know.
bool Dispatch(int id, int code, HWND control) {
    switch (id) {
    case IDX_MIN_ON_COPY:
    case IDX_TOPMOST: OnCheckBox(id); return true;
    case IDC_PROJECTS:
        if (code == CBN_SELCHANGE)
            SwitchProject();
        return true;
    case IDM_NEW_PROJECT: NewProject(); return true;
    case IDM_SAVE_PROJECT: SaveProject(); return true;
    case IDM_SAVE_PROJECT_AS: SaveProjectAs(); return true;
    case IDM_DELETE_PROJECT: DeleteProject(); return true;
    case IDM_EXIT:
    case IDM_EXIT_FROM_TRAY:
    case IDM_CLOSE_REQUEST: PostMessageA(g_board.window, WM_CLOSE, 0, 0); return true;
    case IDM_RENAME_BUTTONS: RenameAllButtons(); return true;
    case IDM_EDIT_TEXT_FIELD: RunEditTextField(); return true;
    case IDM_FIND: RunFind(); return true;
    case IDM_REPOSITION: StartReposition(); return true;
    case IDM_CONSOLIDATE: RunConsolidate(); return true;
    case IDM_USE_TRAY: ToggleUseTray(); return true;
    case IDM_HIDE_AT_STARTUP: ToggleFromMenu(id, g_board.hideInTrayOnStartup); return true;
    case IDM_AUTO_PASTE: ToggleFromMenu(id, g_board.autoPaste); return true;
    case IDM_HIDE: ShowWindow(g_board.window, SW_MINIMIZE); return true;
    case IDM_README: OpenReadMe(); return true;
    case IDM_SCREEN_TIPS: ToggleScreenTips(); return true;
    case IDM_WEB_SITE: OpenPage(kHomePage); return true;
    case IDM_FAQ: OpenPage(kFaqPage); return true;
    case IDM_EMAIL: OpenPage(kSupportForm); return true;
    case IDM_PHONE: ui::ShowMessage(MB_ICONINFORMATION, "%s", kPhoneText); return true;
    case IDM_ABOUT:
        ShowAbout(g_board.window, g_board.about);
        FocusSelector();
        return true;
    case IDM_HANDOVER_ASK: AnswerOtherInstance(control); return true;
    case IDM_HANDOVER_ANSWER: // taken only from the board this instance asked
        if (control && control == g_start.otherInstance)
            g_start.answerReceived = true;
        return true;
    case IDM_CONTEXT_REQUEST: ShowCopyButtonMenu(control); return true;
    case IDM_RENAME_ONE: RenameRememberedButton(); return true;
    case IDM_EDIT_FROM_CONTEXT:
        PostBoardCommand(IDM_EDIT_TEXT_FIELD);
        g_board.rememberedButton = nullptr;
        return true;
    }
    if (id >= IDM_HELP_OVERVIEW && id <= IDM_HELP_LAST_TOPIC) {
        ShowHelpTopic(id);
        return true;
    }
    return false;
}

} // namespace

void PostBoardCommand(int id, LPARAM second) {
    PostMessageA(g_board.window, WM_COMMAND, (WPARAM)id, second);
}

void RedrawMenuBar() {
    DrawMenuBar(g_board.window);
}

void SetScreenTipsItem(bool enabled) {
    ModifyMenuA(g_board.menu, IDM_SCREEN_TIPS, MF_BYCOMMAND | MF_STRING, IDM_SCREEN_TIPS,
                enabled ? kTipsOnText : kTipsOffText);
    SetMenuCheck(IDM_SCREEN_TIPS, enabled);
}

bool HandleBoardCommand(int id, int code, HWND control) {
    // A copy button's click: the whole first parameter lies in the button range.
    if (code == 0 && id >= IDB_COPY_FIRST && id <= IDB_COPY_LAST) {
        if ((id - IDB_COPY_FIRST) % 2 != 0)
            return true;
        if (g_board.repositioning)
            RepositionStep(id);
        else
            CopyAction(id);
        return true;
    }
    if (RefusedWhileRepositioning(id))
        return true;
    return Dispatch(id, code, control);
}

int ShortcutCommand(WPARAM virtualKey) {
    const BYTE key = (BYTE)(virtualKey & 0xFF);
    for (const auto& shortcut : kShortcuts)
        if (shortcut.key == key)
            return shortcut.command;
    return 0;
}

bool ShortcutFilter(MSG& msg) {
    if (msg.message != WM_KEYDOWN || !(GetKeyState(VK_CONTROL) & 0x8000))
        return false;
    if (!g_board.window || ui::TopWindowHandle() != g_board.window)
        return false;
    int command = ShortcutCommand(msg.wParam);
    if (!command)
        return false;
    PostBoardCommand(command);
    return true;
}

void ContextRequestStep(UINT msg, WPARAM w, LPARAM l) {
    if (!g_board.contextMenusEnabled)
        return;
    ContextRequest& last = g_board.lastContextRequest;
    if (last.message == msg && last.first == w && last.second == l)
        return;
    PostBoardCommand(IDM_CONTEXT_REQUEST, (LPARAM)w);
    last.message = msg;
    last.first = w;
    last.second = l;
}
