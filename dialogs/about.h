// The About box.
#pragma once
#include <windows.h>

#include "dialogs/os_description.h"

// Everything the About box shows; the program fills it once at start-up.
struct AboutFacts {
    const char* productName = "";
    const char* version = ""; // "18.06.01"
    OsVersion os;
    char osDescription[kOsDescriptionSize] = "";
};

// Fills os and osDescription from the running system.
void DescribeThisSystem(AboutFacts& facts);

// Caption "About <product>", the version lines and the program icon.
void ShowAbout(HWND owner, const AboutFacts& facts);
