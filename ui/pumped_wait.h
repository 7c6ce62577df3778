// Waiting that keeps the program responsive: the waiting code keeps dispatching the
// thread's window messages, so handlers may run inside another handler's wait.
#pragma once

namespace ui {

// Set when the program starts closing: waits that are not forced then end at once.
extern int g_closing;
// Set to 10 by a change of the system time; each wait that sees a credit uses it up and
// ends at once. Kept although waits run on a monotonic clock: the board relies on it.
extern int g_timeChangeCredits;

// Waits m milliseconds, measured on a monotonic clock, dispatching messages all along
// (at least once).
void PumpedWait(unsigned milliseconds, bool forced);

// Removes and dispatches every message waiting for this thread.
void DispatchPendingMessages();

} // namespace ui
