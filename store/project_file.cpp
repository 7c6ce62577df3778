#include "store/project_file.h"

#include <windows.h>

#include "base/scoped.h"
#include "store/disk_file.h"
#include "store/project_names.h"

bool ProjectFileExists(const char* path) {
    if (PathNamesDevice(path))
        return false;
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

ProjectWriteResult WriteProjectFile(const char* path, const ProjectImage& image, FileStamp* stamp) {
    if (PathNamesDevice(path))
        return ProjectWriteResult::kNotADiskFile;
    char temporary[MAX_PATH] = "";
    if (!CreateTemporaryBeside(path, temporary, sizeof temporary))
        return ProjectWriteResult::kNoTemporaryFile;
    if (FillTemporary(temporary, &image, sizeof image) && ReplaceWithTemporary(temporary, path)) {
        if (stamp && !StampFile(path, *stamp))
            *stamp = FileStamp(); // whatever is there later counts as changed
        return ProjectWriteResult::kWritten;
    }
    DeleteFileA(temporary);
    return ProjectWriteResult::kNotWritten;
}

ProjectReadResult ReadProjectFile(const char* path, ProjectImage& image, FileStamp* stamp) {
    ClearImage(image);
    if (PathNamesDevice(path))
        return ProjectReadResult::kNotAFile;
    // A project must be writable to be loaded; the attribute is checked as well because
    // some systems let a privileged user open a read-only file for writing.
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return ProjectReadResult::kMissing;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return ProjectReadResult::kNotAFile;
    if (attributes & FILE_ATTRIBUTE_READONLY)
        return ProjectReadResult::kReadOnly;
    base::ScopedFile file(
        OpenDiskFile(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE));
    if (!file.Valid())
        return ProjectReadResult::kNotOpened;
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
        return ProjectReadResult::kTooShort;
    if (stamp && !StampOpenFile(file.Get(), *stamp))
        *stamp = FileStamp();
    return ProjectReadResult::kRead;
}
