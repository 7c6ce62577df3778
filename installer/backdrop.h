// The installer's main window: a maximised picture behind the install and uninstall
// dialogs. It closes a running board, takes over a legacy settings file, chooses the mode
// from the command line and runs it; when it goes, the program ends.
#pragma once
#include <windows.h>

#include "installer/environment.h"
#include "installer/proposals.h"

namespace installer {

// What the backdrop runs for each mode; tests put stand-ins here.
struct BackdropRuns {
    // The install command, posted once the backdrop is visible.
    int (*install)(HWND backdrop, Environment& env, const InstallPlaces& places);
    // The uninstall command, posted once the backdrop is visible.
    int (*uninstall)(HWND backdrop, Environment& env);
    // The relaunch, run during start-up while the backdrop is still hidden.
    int (*relaunch)(HWND backdrop, Environment& env);
    WaitFunction wait;
};

// The installer's own runs: RunInstallSequence, RunUninstallSequence, RunRelaunch.
BackdropRuns InstallerRuns();

// Runs the installer for a command line (the arguments only). Returns IDOK for a finished
// install or uninstall, IDCANCEL when the run stopped or only relaunched the uninstaller.
int RunBackdrop(Environment& env, const char* commandLine, const BackdropRuns& runs);

} // namespace installer
