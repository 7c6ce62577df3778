#include "board/board_window.h"

#include <cstring>

#include "base/text.h"
#include "board/board.h"
#include "board/board_image.h"
#include "board/catalogue.h"
#include "board/commands.h"
#include "board/handover.h"
#include "board/installed_box.h"
#include "board/project_io.h"
#include "board/screen_tips.h"
#include "board/splash.h"
#include "board/startup_trace.h"
#include "board/tray.h"
#include "dialogs/about.h"
#include "resources/kestrum_ids.h"
#include "settings/settings.h"
#include "store/leftovers.h"
#include "store/project_file.h"
#include "store/project_names.h"
#include "ui/message.h"
#include "ui/window_stack.h"
#include "version.h"

namespace {

const char kInstalledFormat[] =
    "%s is installed on your Hard-Drive.\n\n"
    "You will notice that a Group has been Created and there are several icons in it. "
    "Among the icons you should see [%s], [Help], [Read Me], [Manual], and [UnInstall].\n\n"
    "Select [OK] to start %s and start using the Tessaro.";

bool IsFieldId(int id) {
    return id >= IDE_FIELD_FIRST && id <= IDE_FIELD_LAST && (id - IDE_FIELD_FIRST) % 2 == 0;
}

// Something is at path (a file, a folder, a device), though perhaps nothing readable.
bool SomethingAt(const char* path) {
    return PathNamesDevice(path) || GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

// The program folder as the settings name it, without trailing separators and blanks.
void ReadTrimmedProgramFolder(const settings::Store& store, char* folder) {
    settings::ReadSettingText(store, settings::kConfigure, settings::kThisProgramDir, "", folder,
                              231);
    size_t n = strlen(folder);
    while (n > 0 && strchr("\n\r /\\", folder[n - 1]))
        folder[--n] = '\0';
}

// Filling the fields ahead: when no other board runs, the single-instance handshake waits
// 150 ms for nothing, and setting 33 long texts is the longest step of a start. So during
// each of its three waits the board fills a third of its slots from the project it is
// about to show, read here once. Once the board knows it runs, it reads and shows the
// project as ever, and only controls that differ are set again (ScatterBoardChanges):
// what was filled ahead saves time and decides nothing.
constexpr int kSlotsAheadPerWait = (kSlotCount + 2) / 3;
int g_slotsAhead = -1; // slots filled so far; -1 when there is nothing to fill
char g_aheadPath[kPathSize];

// Creates the field font unless the splash's wait did, and sets it on the selector and the
// fields that do not have it yet: a field lays out all its text again for a new font, so
// the fields filled ahead got it first.
void SetFieldFont() {
    PrepareFieldFont();
    if (!g_board.fieldFont)
        return; // the controls keep the dialog font
    auto set = [](int id) {
        HWND control = GetDlgItem(g_board.window, id);
        if ((HFONT)SendMessageA(control, WM_GETFONT, 0, 0) != g_board.fieldFont)
            SendMessageA(control, WM_SETFONT, (WPARAM)g_board.fieldFont, TRUE);
    };
    set(IDC_PROJECTS);
    for (int slot = 0; slot < kSlotCount; ++slot)
        set(FieldId(slot));
}

void PlanFieldsAhead() {
    g_slotsAhead = -1;
    if (g_start.freshStart)
        return;
    char folder[kPathSize];
    ReadTrimmedProgramFolder(g_board.settings, folder);
    ReadCurrentPath(folder, g_aheadPath);
    if (g_aheadPath[0] != '\0')
        g_slotsAhead = 0;
}

void FillFieldsAhead() {
    if (g_slotsAhead < 0 || g_slotsAhead >= kSlotCount)
        return;
    if (g_slotsAhead == 0) {
        if (ReadProjectFile(g_aheadPath, g_boardImage, nullptr) != ProjectReadResult::kRead) {
            g_slotsAhead = -1;
            return;
        }
        SetFieldFont();
    }
    ScatterSlots(g_slotsAhead, g_slotsAhead + kSlotsAheadPerWait);
    g_slotsAhead += kSlotsAheadPerWait;
}

} // namespace

BoardWindow::BoardWindow(const settings::Store& store) : ui::Dialog(IDD_BOARD) {
    g_board.settings = store;
    g_board.boardIcon =
        (HICON)LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_BOARD), IMAGE_ICON,
                          GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0);
    TraceStartup("board icon image");
}

BOOL BoardWindow::OnInit() {
    TraceStartup("board window created");
    HWND hwnd = Handle();
    RegisterTaskbarCreated();
    if (g_start.firstRun) {
        BoardWait(1000, false);
        SplashHide();
        char text[1024];
        base::FormatText(text, sizeof text, kInstalledFormat, kProductName, kProductName,
                         kProductName);
        RunInstalledBox(hwnd, kProductName, text);
    }
    SendMessageA(hwnd, WM_SETICON, ICON_BIG, (LPARAM)g_board.boardIcon);
    SendMessageA(hwnd, WM_SETICON, ICON_SMALL, (LPARAM)g_board.boardIcon);

    ui::ClearWindowStack();
    ui::PushWindow(this, hwnd);
    g_board.window = hwnd;
    MarkAsBoard(hwnd);
    g_board.about.productName = kProductName;
    g_board.about.version = TESSARO_VERSION_TEXT;
    DescribeThisSystem(g_board.about);
    TraceStartup("icons, window stack, system description");

    PlanFieldsAhead();
    if (HandOverToRunningBoard())
        return FALSE;
    settings::WriteSettingNumber(g_board.settings, settings::kHandles, settings::kTransHandle,
                                 (int)(INT_PTR)hwnd);
    TraceStartup("single-instance handshake");

    CentreOnDesktop();
    g_board.menu = GetMenu(hwnd);
    ReadProgramFolder();
    // Saves that were killed half-way left their temporary files; a running board's own
    // save holds its file open, so that one cannot be deleted.
    RemoveLeftoverTemporaries(g_board.programFolder);
    TraceStartup("program folder, leftovers");
    LoadSettings();
    TraceStartup("settings");
    SetFieldFont();
    TraceStartup("field font");
    ApplyOptions();
    ShowCurrentProject();
    TraceStartup("project read and shown");
    FillProjectSelector();
    TraceStartup("selector filled");
    SetBoardTitle(g_board.currentPath);
    SplashHide();
    TraceStartup("title, splash hidden");

    for (int slot = 0; slot < kSlotCount; ++slot)
        g_board.copyButtons[slot] = Item(CopyButtonId(slot));
    SelectField(FieldId(0));
    FocusSelector();
    g_board.contextMenusEnabled = true;

    if (g_board.hideInTrayOnStartup && g_board.useSystemTray && !g_start.firstRun) {
        g_start.hideAtStartPending = true;
        PostBoardCommand(IDM_HIDE);
    }
    TraceStartup("initialisation ended");
    return TRUE;
}

// Finds a running board through the settings store and hands over to it.
bool BoardWindow::HandOverToRunningBoard() {
    for (int attempt = 0; attempt < 3; ++attempt) {
        BoardWait(50, false, FillFieldsAhead);
        int previous = (int)(INT_PTR)g_start.otherInstance;
        g_start.otherInstance = (HWND)(INT_PTR)settings::ReadSettingNumber(
            g_board.settings, settings::kHandles, settings::kTransHandle, previous);
        // A handle left by a board that did not end normally, or written by anyone else,
        // is as good as none.
        if (!IsOtherBoardWindow(g_start.otherInstance, GetCurrentProcessId()))
            continue;
        PostMessageA(g_start.otherInstance, WM_COMMAND, IDM_HANDOVER_ASK, (LPARAM)Handle());
        for (int wait = 0; wait < 51; ++wait) {
            BoardWait(40, false);
            if (g_start.answerReceived) {
                g_start.endingAllowed = true;
                g_start.primaryInstance = false;
                End(IDCANCEL);
                return true;
            }
        }
        break; // no answer: the other board is gone, this one takes over
    }
    return false;
}

void BoardWindow::ReadProgramFolder() {
    ReadTrimmedProgramFolder(g_board.settings, g_board.programFolder);
    if (g_board.programFolder[0] != '\0')
        SetCurrentDirectoryA(g_board.programFolder);
}

// Menu check marks, the icon, the check boxes and the topmost state from the flags.
void BoardWindow::ApplyOptions() {
    SetScreenTipsItem(g_board.wantToolTip);
    TraceStartup("screen tips menu item");
    if (g_board.wantToolTip)
        ShowScreenTips(true);
    TraceStartup("screen tips");
    if (g_board.useSystemTray) {
        CheckMenuItem(g_board.menu, IDM_USE_TRAY, MF_CHECKED);
        AddTrayIcon();
        TraceStartup("tray icon added");
        g_start.minimiseMode = MinimiseMode::kIntoTray;
    } else {
        g_start.minimiseMode = MinimiseMode::kToTaskbar;
    }
    if (g_board.hideInTrayOnStartup)
        CheckMenuItem(g_board.menu, IDM_HIDE_AT_STARTUP, MF_CHECKED);
    if (g_board.autoPaste)
        CheckMenuItem(g_board.menu, IDM_AUTO_PASTE, MF_CHECKED);
    RedrawMenuBar();
    CheckItem(IDX_MIN_ON_COPY, g_board.minOnEachCopy);
    CheckItem(IDX_TOPMOST, g_board.topMost);
    SetBoardTopMost(g_board.topMost);
    TraceStartup("menu checks, check boxes, topmost");
}

// A current project that is there but cannot be read (another program holds it, it is
// short, it names a device) is treated as missing, so nothing is written over it without
// the user naming it; the user is told once the board is on screen.
void BoardWindow::ShowCurrentProject() {
    const bool named = g_board.currentPath[0] != '\0';
    if (named && BoardReadProject(g_board.currentPath, g_boardImage, true)) {
        TraceStartup("project read");
        ScatterBoardChanges();
        return;
    }
    if (named)
        reportUnreadable_ = SomethingAt(g_board.currentPath);
    // Nothing to show: the slots stay empty, also those that were filled ahead.
    if (g_slotsAhead > 0) {
        ClearImage(g_boardImage);
        ScatterBoardChanges();
    }
}

void BoardWindow::OnFirstIdle() {
    TraceStartup("first idle");
    ui::Dialog::OnFirstIdle();
    TraceStartup("shown and painted");
    WriteStartupTrace();
    if (!reportUnreadable_)
        return;
    reportUnreadable_ = false;
    ui::ShowMessage(MB_ICONSTOP, "Unable to open project:\n%s", g_board.currentPath);
    FocusSelector();
}

bool BoardWindow::OnCommand(int id, int code, HWND control) {
    if (code == EN_SETFOCUS && IsFieldId(id)) {
        SelectField(id);
        return true;
    }
    return HandleBoardCommand(id, code, control);
}

void BoardWindow::OnCancel() {
    if (g_start.endingAllowed)
        End(IDCANCEL);
}

void BoardWindow::OnClose() {
    SplashHide();
    SetWindowTextA(Handle(), "Saving settings...");
    EnableWindow(Handle(), FALSE);
    if (g_start.primaryInstance) {
        g_start.closing = true;
        SaveOnExit();
    }
    g_start.endingAllowed = true;
}

void BoardWindow::OnDestroy() {
    SplashHide();
    if (g_start.primaryInstance) {
        g_start.closing = true;
        if (g_start.minimiseMode == MinimiseMode::kIntoTray)
            RemoveTrayIcon();
        if (g_board.fieldFont)
            DeleteObject(g_board.fieldFont);
        g_board.fieldFont = nullptr;
        settings::WriteSettingNumber(g_board.settings, settings::kHandles, settings::kTransHandle,
                                     0);
    } else {
        SetForegroundWindow(g_start.otherInstance);
    }
    if (g_start.trayIcon)
        DestroyIcon(g_start.trayIcon);
    g_start.trayIcon = nullptr;
    ShowScreenTips(false);
    UnmarkBoard(Handle());
    g_board.window = nullptr;
}

bool BoardWindow::PreTranslate(MSG& msg) {
    RelayToScreenTips(msg);
    return false;
}

void BoardWindow::PaintIconic() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    SendMessageA(Handle(), WM_ICONERASEBKGND, (WPARAM)dc, 0);
    RECT r;
    GetClientRect(Handle(), &r);
    int x = (r.right - r.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (r.bottom - r.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, g_board.boardIcon);
    EndPaint(Handle(), &ps);
}

INT_PTR BoardWindow::OnMessage(UINT msg, WPARAM w, LPARAM l, bool& handled) {
    TrayWindowProcedure(msg, w, l);
    switch (msg) {
    case WM_PAINT:
        if (IsIconic(Handle())) {
            PaintIconic();
        } else {
            // A dialog's own painting is only validating; its background is erased apart.
            PAINTSTRUCT ps;
            BeginPaint(Handle(), &ps);
            EndPaint(Handle(), &ps);
            FocusSelector();
        }
        handled = true;
        return TRUE;
    case WM_QUERYDRAGICON: handled = true; return (INT_PTR)g_board.boardIcon;
    case WM_SIZE: OnBoardSize(w); return FALSE;
    case WM_CLOSE:
        OnClose();
        return FALSE; // the dialog manager turns it into IDCANCEL, now allowed
    }
    handled = false;
    return 0;
}
