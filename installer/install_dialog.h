// The install dialog: proposes a folder, checks the one the user confirms with Next and
// runs the install into it while showing the progress.
#pragma once
#include <windows.h>

#include <cstddef>

#include "installer/environment.h"
#include "installer/proposals.h"

namespace installer {

constexpr int kOptionTipWidth = 300; // pixels
constexpr int kPathTipWidth = 1500;

// The tip of an option button (1001-1006); false for the options that have none.
bool OptionTip(Environment& env, int option, char* out, size_t size);

// IDOK when every file is in place; installFolder then holds the folder as typed.
// IDCANCEL on Exit, when no folder can be proposed, or when a file step failed.
INT_PTR RunInstallDialog(HWND owner, Environment& env, const InstallPlaces& places,
                         char* installFolder, size_t size);

} // namespace installer
