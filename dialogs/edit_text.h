// The large editor for the selected field.
#pragma once
#include <windows.h>

void RunEditTextDialog(HWND owner);
