#include "ui/pumped_wait.h"

#include "ui/dialog.h"

namespace ui {

DWORD StandardNap(unsigned milliseconds) {
    return milliseconds <= 1000 ? 1 : 100;
}

void DispatchPendingMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (HandToModelessDialog(msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void PumpedWait(unsigned milliseconds, const WaitRule& rule) {
    // A monotonic clock: setting the system time neither stretches nor cuts the wait.
    const ULONGLONG start = GetTickCount64();
    const DWORD nap = rule.nap ? rule.nap(milliseconds) : StandardNap(milliseconds);
    bool workDone = !rule.meanwhile;
    for (;;) {
        DispatchPendingMessages();
        if (!workDone) {
            workDone = true;
            rule.meanwhile();
            continue; // what arrived meanwhile is dispatched before the clock is read
        }
        Sleep(nap);
        if (rule.endsEarly && rule.endsEarly(rule.context))
            return;
        if (GetTickCount64() - start >= milliseconds)
            return;
    }
}

} // namespace ui
