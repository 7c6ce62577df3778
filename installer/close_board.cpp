#include "installer/close_board.h"

#include <windows.h>

#include "installer/messages.h"
#include "resources/kestrum_ids.h"
#include "settings/settings.h"
#include "ui/message.h"

namespace installer {

namespace {

// The last value read is the default of the next read.
unsigned long g_boardWindow = 0;

unsigned long ReadBoardWindow(Environment& env) {
    g_boardWindow =
        env.ReadSettingUnsigned(settings::kHandles, settings::kTransHandle, g_boardWindow);
    return g_boardWindow;
}

} // namespace

bool CloseRunningBoard(Environment& env, WaitFunction wait) {
    const unsigned long window = ReadBoardWindow(env);
    if (window == 0)
        return true;
    // Window handles are 32-bit values, sign-extended in a 64-bit program. A stale handle
    // makes the post fail without harm; the wait still runs.
    PostMessageA((HWND)(LONG_PTR)(LONG)window, WM_COMMAND, IDM_CLOSE_REQUEST, 0);
    ui::ShowMessage(MB_OK, kMsgClosingBoard, ui::kProductName);
    for (int pass = 0; pass < kCloseWaitPasses; ++pass) {
        if (wait)
            wait(kCloseWaitMs);
        if (ReadBoardWindow(env) == 0)
            return true;
    }
    return false;
}

} // namespace installer
