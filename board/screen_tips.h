// Beginners' screen tips over the board's controls: one tooltip control while they are on,
// none while they are off.
#pragma once
#include <windows.h>

// On: creates the control with a tip for each control 1001 to 1135 (nothing if it exists
// already). Off: destroys it.
void ShowScreenTips(bool enable);
// The tip of a board control, or nullptr for a control without one.
const char* ScreenTipText(int id);
// The tooltip control, or nullptr while screen tips are off.
HWND ScreenTipsControl();
// Hands a message of the board's loop on to the screen-tip control, if there is one.
void RelayToScreenTips(const MSG& msg);
