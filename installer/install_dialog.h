// The install dialog: proposes a folder, checks the one the user confirms with Next and
// runs the install into it while showing the progress.
#pragma once
#include <windows.h>

#include <cstddef>

#include "installer/environment.h"
#include "installer/proposals.h"

namespace installer {

// IDOK when every file is in place; installFolder then holds the folder as typed.
// IDCANCEL on Exit, when no folder can be proposed, or when a file step failed.
INT_PTR RunInstallDialog(HWND owner, Environment& env, const InstallPlaces& places,
                         char* installFolder, size_t size);

} // namespace installer
