// The program's open windows, board window at the bottom. Its top decides whether the
// board's shortcuts work and which window the notification-area icon brings forward.
#pragma once
#include <windows.h>

namespace ui {

class Dialog;

constexpr int kWindowStackSize = 120; // entry 0 is never used

void ClearWindowStack();
void PushWindow(Dialog* dialog, HWND handle);
void PopWindow();
int WindowStackCount();
HWND TopWindowHandle(); // 0 when the stack is empty
Dialog* TopWindowDialog();

} // namespace ui
