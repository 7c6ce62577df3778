// Renaming all 33 copy buttons at once.
#pragma once
#include <windows.h>

void RunRenameButtons(HWND owner);
