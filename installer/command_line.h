// What the installer does is chosen by its whole command line.
#pragma once
#include <cstddef>

namespace installer {

enum class Mode {
    Install,   // anything else, the empty line included
    Relaunch,  // "UnInstall": copy the uninstaller out of the install folder and start it
    Uninstall, // "UnInstall2": the copy that removes the installation
};

constexpr size_t kCommandLineSize = 512; // longer lines are cut to 511 characters

// The arguments are compared whole, ignoring case; "UnInstall " and "/UnInstall" install.
Mode ChooseMode(const char* arguments);

} // namespace installer
