#include "ui/pumped_wait.h"

#include <windows.h>

namespace ui {

int g_closing = 0;
int g_timeChangeCredits = 0;

void DispatchPendingMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void PumpedWait(unsigned milliseconds, bool forced) {
    // A monotonic clock: setting the system time neither stretches nor cuts the wait.
    const ULONGLONG start = GetTickCount64();
    const DWORD nap = milliseconds <= 1000 ? 1 : 100;
    for (;;) {
        DispatchPendingMessages();
        Sleep(nap);
        if (g_timeChangeCredits > 0) {
            --g_timeChangeCredits;
            return;
        }
        if (GetTickCount64() - start >= milliseconds)
            return;
        if (g_closing && !forced)
            return;
    }
}

} // namespace ui
