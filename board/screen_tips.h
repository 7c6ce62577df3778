// Beginners' screen tips over the board's controls.
#pragma once
#include <windows.h>

void ShowScreenTips(bool enable);
// Hands a message on to the screen-tip control, if there is one.
void RelayToScreenTips(const MSG& msg);
