// The checks of the install dialog's Next button on the folder the user typed.
#pragma once
#include "installer/environment.h"

namespace installer {

enum class FolderCheck {
    Usable,      // the folder exists now; the install may start
    TooLong,     // more than 236 characters
    SameAsStart, // the folder the installer was started from
    NotCreated,  // the folder could not be made
};

// Checks in order and tells the user what failed (the dialog stays open then).
// startFolder is the folder the installer was started from.
FolderCheck CheckInstallFolder(Environment& env, const char* typed, const char* startFolder);

} // namespace installer
