#include "installer/delete_tree.h"

#include <windows.h>

#include <cstring>

#include "base/scoped.h"
#include "installer/messages.h"
#include "installer/path_text.h"

namespace installer {

namespace {

bool IsFolder(const WIN32_FIND_DATAA& entry) {
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Deletes one entry of the walk; a dot-folder counts as done without being touched.
bool DeleteEntry(const char* folder, const WIN32_FIND_DATAA& entry) {
    if (IsFolder(entry) && entry.cFileName[0] == '.')
        return true;
    char path[kPathSize];
    if (!JoinPath(path, sizeof path, folder, entry.cFileName))
        return false;
    return IsFolder(entry) ? DeleteFolderTree(path) : DeleteFileA(path) != 0;
}

} // namespace

bool DeleteFolderTree(const char* folder) {
    char pattern[kPathSize];
    if (!JoinPath(pattern, sizeof pattern, folder, "*.*"))
        return false;
    WIN32_FIND_DATAA entry;
    base::ScopedFind search(FindFirstFileA(pattern, &entry));
    if (!search.Valid())
        return false;
    // A drive's current folder ("C:") or a bare name is never deleted.
    if (!strchr(folder, '\\'))
        return true;
    do {
        if (!DeleteEntry(folder, entry))
            return false;
    } while (FindNextFileA(search.Get(), &entry));
    search.Close(); // the folder cannot go while it is searched
    return RemoveDirectoryA(folder) != 0;
}

bool IsInstallFolder(Environment& env, const char* folder) {
    char board[kPathSize];
    return folder[0] != '\0' && env.FolderExists(folder) &&
           JoinPath(board, sizeof board, folder, kBoardFile) && env.FileExists(board);
}

FolderRemoval RemoveInstallFolder(Environment& env, const char* folder) {
    if (!IsInstallFolder(env, folder))
        return FolderRemoval::NotFound;
    DeleteFolderTree(folder);
    return env.FolderExists(folder) ? FolderRemoval::Remains : FolderRemoval::Removed;
}

} // namespace installer
