// The About box and the operating-system description it shows.
#pragma once
#include <windows.h>

void BuildOsDescription();
void ShowAbout(HWND owner);
