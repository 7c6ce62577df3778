// How the installer's windows look while it works: the classic grey dialogs with black
// text, and the wait cursor, which its windows keep while a long step runs.
#pragma once
#include <windows.h>

namespace installer {

// For the WM_CTLCOLOR... messages of an installer dialog: the grey background brush, with
// black text on grey set into the control's device context. Null for messages it leaves to
// the system (edit fields stay white).
HBRUSH ClassicColour(UINT msg, WPARAM w);

// Shows the wait cursor (or the arrow again) at once and remembers it for WM_SETCURSOR.
void ShowWaitCursor(bool waiting);
bool WaitCursorShown();
// For WM_SETCURSOR of an installer window: while waiting, sets the wait cursor and returns
// true (the message is handled); otherwise false.
bool KeepWaitCursor();

// The look of an installer dialog in one call from its dialog procedure: the wait cursor
// kept while waiting and the classic colours. Sets handled when it answered the message.
INT_PTR ClassicDialogMessage(HWND dialog, UINT msg, WPARAM w, bool& handled);

} // namespace installer
