// The uninstaller's two runs, started by the backdrop (backdrop.h) for the command lines
// "UnInstall" and "UnInstall2".
//
// NOT BUILT YET: both show nothing and end the run with IDCANCEL. The pieces they will use
// exist: CloseRunningBoard has run before either starts, CreatePath, RemoveInstallFolder
// and DeleteFolderTree (delete_tree.h), RemoveShortcutSet (shortcuts.h), the uninstall
// dialog's template IDD_UNINSTALL and the messages in messages.h.
#pragma once
#include <windows.h>

#include "installer/environment.h"

namespace installer {

// "UnInstall": copies the installed vqpsx.exe out of the install folder, starts the copy
// with "UnInstall2" and ends, so that nothing in the install folder is in use. Runs during
// the backdrop's start-up, before its window is shown. Returns the backdrop's result.
int RunRelaunch(HWND backdrop, Environment& env);

// "UnInstall2" (command 32772 of the shown backdrop): confirms, runs the uninstall dialog,
// removes the install folder and the shortcuts. Returns IDOK when uninstalled.
int RunUninstallSequence(HWND backdrop, Environment& env);

} // namespace installer
