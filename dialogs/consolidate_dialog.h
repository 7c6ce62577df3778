// The Consolidate Projects dialog: the user picks projects of the program folder, and OK
// redistributes all their slots alphabetically over the same files.
#pragma once
#include <windows.h>

struct ConsolidateContext {
    const char* programFolder = "";
    HFONT listFont = nullptr;      // the field font, or none
    void (*saveBoard)() = nullptr; // writes the board to the current project first
};

// Returns whether every chosen project was consolidated (false after Cancel, with nothing
// chosen, or when the run failed and said so).
bool RunConsolidateDialog(HWND owner, const ConsolidateContext& context);
