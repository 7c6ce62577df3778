#include "board/tray.h"

#include "base/scoped.h"
#include "board/board.h"
#include "board/commands.h"
#include "board/shell_library.h"
#include "resources/kestrum_ids.h"
#include "ui/window_stack.h"

namespace {

constexpr UINT kIconId = 1;
static_assert(sizeof(void*) != 4 || NOTIFYICONDATAA_V2_SIZE == 488,
              "the 32-bit icon record is the 488-byte version-2 record");
const char kTip[] = "Tessaro\nLeft-click use\nRight-click exit";

UINT g_taskbarCreated = 0;

// Built afresh for every call; the version-2 size keeps older shells happy.
NOTIFYICONDATAA IconRecord() {
    NOTIFYICONDATAA record;
    ZeroMemory(&record, sizeof record);
    record.cbSize = NOTIFYICONDATAA_V2_SIZE;
    record.hWnd = g_board.window;
    record.uID = kIconId;
    record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record.uCallbackMessage = WM_TRAY_CALLBACK;
    record.hIcon = g_start.trayIcon;
    lstrcpynA(record.szTip, kTip, sizeof record.szTip);
    return record;
}

void OnIconLeftClick() {
    HWND top = ui::TopWindowHandle();
    if (top && IsWindowVisible(top)) {
        ShowWindow(g_board.window, SW_MINIMIZE);
    } else {
        ShowWindow(g_board.window, SW_SHOWNORMAL);
        SetForegroundWindow(top);
    }
}

void ShowTrayMenu() {
    base::ScopedMenu menu(LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_TRAY_MENU)));
    if (!menu.Valid())
        return;
    POINT at;
    GetCursorPos(&at);
    SetForegroundWindow(g_board.window);
    TrackPopupMenu(GetSubMenu(menu.Get(), 0), TPM_RIGHTBUTTON, at.x, at.y, 0, g_board.window,
                   nullptr);
    // Without this the menu does not close when the user clicks elsewhere.
    PostMessageA(g_board.window, WM_NULL, 0, 0);
}

void OnIconCallback(WPARAM id, LPARAM mouse) {
    if (mouse == WM_LBUTTONUP && id == kIconId && g_start.minimiseMode == MinimiseMode::kIntoTray)
        OnIconLeftClick();
    else if (mouse == WM_RBUTTONUP && ui::TopWindowHandle() == g_board.window)
        ShowTrayMenu();
}

} // namespace

void AddTrayIcon() {
    NOTIFYICONDATAA record = IconRecord();
    ShellNotifyIcon(NIM_ADD, &record);
}

void RemoveTrayIcon() {
    NOTIFYICONDATAA record = IconRecord();
    ShellNotifyIcon(NIM_DELETE, &record);
}

void RegisterTaskbarCreated() {
    g_taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
}

void TrayWindowProcedure(UINT msg, WPARAM w, LPARAM l) {
    if (g_taskbarCreated && msg == g_taskbarCreated && g_board.useSystemTray)
        AddTrayIcon(); // the shell lost the icon when the taskbar restarted
    switch (msg) {
    case WM_TIMECHANGE: g_start.timeChangeCredits = 10; break;
    case WM_TRAY_CALLBACK:
        OnIconCallback(w, l);
        ContextRequestStep(msg, w, l);
        break;
    case WM_CONTEXTMENU: ContextRequestStep(msg, w, l); break;
    }
}

void OnBoardSize(WPARAM sizeType) {
    if (sizeType == SIZE_MINIMIZED) {
        ShowWindow(g_board.window, (int)g_start.minimiseMode);
    } else if (g_start.hideAtStartPending) {
        g_start.hideAtStartPending = false;
        ShowWindow(g_board.window, SW_MINIMIZE);
    }
}
