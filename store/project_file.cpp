#include "store/project_file.h"

#include <windows.h>

#include <cstring>

#include "store/disk_file.h"
#include "ui/message.h"

namespace {

CurrentProjectHooks g_hooks;

} // namespace

void SetCurrentProjectHooks(const CurrentProjectHooks& hooks) {
    g_hooks = hooks;
}

bool ProjectFileExists(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

int WriteProjectFile(const char* path, const ProjectImage& image, int updateTitle) {
    char temporary[MAX_PATH] = "";
    if (!CreateTemporaryBeside(path, temporary, sizeof temporary)) {
        ui::ShowMessage(MB_ICONERROR, "Error saving:\n%s", path);
        return 0;
    }
    bool ok =
        FillTemporary(temporary, &image, sizeof image) && ReplaceWithTemporary(temporary, path);
    if (!ok)
        DeleteFileA(temporary);
    if (updateTitle && g_hooks.setTitle)
        g_hooks.setTitle(path);
    if (!ok) {
        ui::ShowMessage(MB_ICONERROR, "Error saving:\n%s", path);
        return 0;
    }
    return 1;
}

int ReadProjectFile(const char* path, ProjectImage& image, int updateTitle) {
    ClearImage(image);
    // A project must be writable to be loaded; the attribute is checked as well because
    // some systems let a privileged user open a read-only file for writing.
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES ||
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return 0;
    ScopedFile file(
        OpenDiskFile(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE));
    if (!file.Valid())
        return 0;
    DWORD total = 0;
    char* bytes = reinterpret_cast<char*>(&image);
    while (total < sizeof image) {
        DWORD got = 0;
        if (!ReadFile(file.Get(), bytes + total, (DWORD)sizeof image - total, &got, nullptr) ||
            got == 0)
            break;
        total += got;
    }
    if (total != sizeof image)
        return 0;
    if (updateTitle) {
        if (g_hooks.setTitle)
            g_hooks.setTitle(path);
        if (g_hooks.saveSettings)
            g_hooks.saveSettings();
    }
    return 1;
}
