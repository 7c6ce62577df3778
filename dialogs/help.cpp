#include "dialogs/help.h"

// Interim until the Help dialog is built.
const char* HelpTopicText(int) { return nullptr; }
void ShowHelp(HWND) {}
