// Removing an install folder for the uninstaller.
#pragma once
#include "installer/environment.h"

namespace installer {

// Deletes folder with its files and sub-folders, in the order the file system lists them,
// and then the folder. Sub-folders whose name begins with '.' are skipped; the first entry
// that cannot be deleted stops the walk. A text without a backslash deletes nothing.
// True when the walk and the removal of the folder succeeded.
bool DeleteFolderTree(const char* folder);

// Whether folder is an installation: it exists and holds the board program.
bool IsInstallFolder(Environment& env, const char* folder);

enum class FolderRemoval {
    NotFound, // not an installation: nothing was touched
    Removed,  // the folder is gone
    Remains,  // something could not be deleted; the folder is still there
};

// The uninstaller's deletion: only a folder that holds the board program is deleted, since
// the recorded folder may come from a legacy settings file and name any folder.
FolderRemoval RemoveInstallFolder(Environment& env, const char* folder);

} // namespace installer
