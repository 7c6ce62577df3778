// The uninstall dialog: the last word before the install folder goes.
#pragma once
#include <windows.h>

#include "installer/delete_tree.h"
#include "installer/environment.h"

namespace installer {

// Shows the warning naming folder, with the focus on Cancel. Finish removes the folder
// (RemoveInstallFolder) and ends with IDOK, the outcome in removal; Cancel and Escape end
// with IDCANCEL and change nothing.
INT_PTR RunUninstallDialog(HWND owner, Environment& env, const char* folder,
                           FolderRemoval& removal);

} // namespace installer
