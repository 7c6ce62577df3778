// The message shown on the first start after an installation.
#pragma once
#include <windows.h>

void RunInstalledBox(HWND owner, const char* caption, const char* text);
