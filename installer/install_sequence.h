// The install command of the installer's main window, from the install dialog to the
// started board program.
#pragma once
#include <windows.h>

#include "installer/environment.h"
#include "installer/proposals.h"

namespace installer {

// The install dialog; when it ends with the files in place, the shortcuts are replaced and
// the board program is started with its installed message. Any other end is reported.
// Returns IDOK when installed, IDCANCEL otherwise.
int RunInstallSequence(HWND owner, Environment& env, const InstallPlaces& places);

} // namespace installer
