// The Help dialog and its texts.
#pragma once
#include <windows.h>

// The topic text of a Help-menu command (32792-32808) or of the Rename Buttons dialog's
// help item; nullptr for the Overview and unknown ids.
const char* HelpTopicText(int commandId);
// Runs the Help dialog showing topic, or the Overview (every topic after the overview
// text) when topic is nullptr.
void ShowHelp(HWND owner, const char* topic);
