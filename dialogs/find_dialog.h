// The Find in Projects dialog: a piece of text looked for in the current project or in
// every project of the selector, one hit at a time, with the hit's text to copy.
#pragma once
#include <windows.h>

#include "store/find.h"

class ProjectList;

struct FindContext {
    const ProjectImage* boardImage = nullptr; // the current project as last read or gathered
    const char* programFolder = "";
    const char* currentPath = "";          // "" when no project is current
    const ProjectList* projects = nullptr; // the selector's entries, in its order
    FindState* state = nullptr;            // remembered by the board until it closes
};

void RunFindDialog(HWND owner, const FindContext& context);
