// The uninstaller's two runs, started by the backdrop (backdrop.h) for the command lines
// "UnInstall" and "UnInstall2". A running board has been asked to close before either.
#pragma once
#include <windows.h>

#include <cstddef>

#include "installer/environment.h"

namespace installer {

// What the runs ask of the world beyond the environment; tests record both.
struct UninstallHooks {
    WaitFunction wait = InstallerWait;
    // Starts file with arguments, in folder.
    void (*start)(HWND owner, const char* file, const char* arguments,
                  const char* folder) = nullptr; // null: the shell's "open"
};

// The install folder as the settings record it, trailing line feeds, carriage returns,
// spaces and backslashes (and with slashes set, slashes too) removed; empty when none.
void RecordedInstallFolder(Environment& env, bool slashes, char* out, size_t size);

// The folder the uninstaller runs from while it removes the install folder: the local
// application-data folder's "TEMP\vqp". False when the shell has no such folder.
bool UninstallerFolder(Environment& env, char* out, size_t size);

// "UnInstall": copies the installed vqpsx.exe out of the install folder, starts the copy
// with "UnInstall2" and ends, so that nothing in the install folder is in use. Runs during
// the backdrop's start-up, before its window is shown. Always IDCANCEL: this process did
// not uninstall anything itself.
int RunRelaunch(HWND backdrop, Environment& env, const UninstallHooks& hooks);
int RunRelaunch(HWND backdrop, Environment& env);

// "UnInstall2" (command 32772 of the shown backdrop): confirms, runs the uninstall dialog,
// removes the install folder and the shortcuts. IDOK when the installation is gone;
// IDCANCEL when the user stopped, no installation was found, or the folder remains.
int RunUninstallSequence(HWND backdrop, Environment& env, const UninstallHooks& hooks);
int RunUninstallSequence(HWND backdrop, Environment& env);

} // namespace installer
