// Waiting that keeps the program responsive: the waiting code keeps dispatching the
// thread's window messages, so handlers may run inside another handler's wait.
#pragma once
#include <windows.h>

namespace ui {

// The nap both programs take between two rounds of dispatching: 1 ms while the whole wait
// is at most a second, 100 ms for longer waits.
DWORD StandardNap(unsigned milliseconds);

// What differs between the programs' waits.
struct WaitRule {
    // The nap between two rounds, given the length of the whole wait.
    DWORD (*nap)(unsigned milliseconds) = StandardNap;
    // Asked after every nap, before the clock: true ends the wait at once. The board ends
    // its waits when it is closing or the system time has changed; the installer never.
    bool (*endsEarly)(void* context) = nullptr;
    void* context = nullptr;
    // Done once, after the first round of dispatching: work that has to be done anyway and
    // may take the wait's time. The wait lasts no longer unless the work does.
    void (*meanwhile)() = nullptr;
};

// Waits m milliseconds, measured on a monotonic clock, dispatching messages all along
// (at least once).
void PumpedWait(unsigned milliseconds, const WaitRule& rule = WaitRule());

// Removes and dispatches every message waiting for this thread; open modeless dialogs get
// their keyboard messages first (Tab, Enter, Escape).
void DispatchPendingMessages();

} // namespace ui
