#include "store/project_file.h"

#include <windows.h>

#include <cstring>

#include "base/scoped.h"
#include "base/text.h"

namespace {

void FolderOf(const char* path, char* out, size_t size) {
    base::CopyText(out, size, path);
    char* cut = strrchr(out, '\\');
    char* slash = strrchr(out, '/');
    if (slash > cut)
        cut = slash;
    if (cut)
        *cut = '\0';
    else
        base::CopyText(out, size, ".");
    if (out[0] == '\0') // "\name": the root of the current drive
        base::CopyText(out, size, "\\");
}

bool WriteAll(HANDLE file, const void* data, DWORD size) {
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        DWORD written = 0;
        if (!WriteFile(file, bytes, size, &written, nullptr) || written == 0)
            return false;
        bytes += written;
        size -= written;
    }
    return true;
}

// Writes the image into the temporary file; false on any shortfall.
bool FillTemporary(const char* temporary, const ProjectImage& image) {
    base::ScopedFile file(CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        return false;
    bool ok = WriteAll(file.Get(), &image, sizeof image) && FlushFileBuffers(file.Get());
    return file.Close() && ok;
}

// Puts the temporary file in the project's place. A reader that has the project open for
// a moment (a virus scanner, a backup, an indexer) makes the replace fail, so a refused
// replace is tried again for about half a second before it counts as a failure.
bool ReplaceProject(const char* temporary, const char* path) {
    const int kTries = 10;
    for (int attempt = 1;; ++attempt) {
        if (MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        DWORD error = GetLastError();
        bool transient = error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION;
        if (!transient || attempt == kTries)
            return false;
        Sleep(50);
    }
}

} // namespace

bool ProjectFileExists(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

ProjectWriteResult WriteProjectFile(const char* path, const ProjectImage& image) {
    char folder[MAX_PATH];
    char temporary[MAX_PATH] = "";
    FolderOf(path, folder, sizeof folder);
    if (!GetTempFileNameA(folder, "vqp", 0, temporary))
        return ProjectWriteResult::kNoTemporaryFile;
    if (FillTemporary(temporary, image) && ReplaceProject(temporary, path))
        return ProjectWriteResult::kWritten;
    DeleteFileA(temporary);
    return ProjectWriteResult::kNotWritten;
}

ProjectReadResult ReadProjectFile(const char* path, ProjectImage& image) {
    ClearImage(image);
    // A project must be writable to be loaded; the attribute is checked as well because
    // some systems let a privileged user open a read-only file for writing.
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return ProjectReadResult::kNotAFile;
    if (attributes & FILE_ATTRIBUTE_READONLY)
        return ProjectReadResult::kReadOnly;
    base::ScopedFile file(CreateFileA(path, GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
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
    return total == sizeof image ? ProjectReadResult::kRead : ProjectReadResult::kTooShort;
}
