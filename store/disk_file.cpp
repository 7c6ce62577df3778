#include "store/disk_file.h"

#include <cstring>

#include "base/scoped.h"
#include "base/text.h"
#include "store/project_list.h"
#include "store/project_names.h"

namespace {

constexpr int kReplaceTries = 10;
constexpr DWORD kReplacePauseMs = 50;

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

bool IsTransient(DWORD error) {
    return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION;
}

bool EndsWithExtension(const char* name) {
    const size_t n = strlen(name);
    return n >= 4 && base::EqualsNoCase(name + n - 4, ".vqp");
}

} // namespace

HANDLE OpenDiskFile(const char* path, DWORD access, DWORD share) {
    if (PathNamesDevice(path)) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    HANDLE file =
        CreateFileA(path, access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return file;
    if (GetFileType(file) != FILE_TYPE_DISK) {
        CloseHandle(file);
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    return file;
}

bool ReadAt(HANDLE file, unsigned long long offset, void* data, DWORD size) {
    LARGE_INTEGER at;
    at.QuadPart = (LONGLONG)offset;
    if (!SetFilePointerEx(file, at, nullptr, FILE_BEGIN))
        return false;
    char* bytes = static_cast<char*>(data);
    while (size > 0) {
        DWORD got = 0;
        if (!ReadFile(file, bytes, size, &got, nullptr) || got == 0)
            return false;
        bytes += got;
        size -= got;
    }
    return true;
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

bool CreateTemporaryBeside(const char* path, char* out, size_t size) {
    char folder[MAX_PATH];
    char temporary[MAX_PATH] = "";
    FolderOf(path, folder, sizeof folder);
    if (!GetTempFileNameA(folder, kTemporaryPrefix, 0, temporary))
        return false;
    if (strlen(temporary) + 1 > size) {
        DeleteFileA(temporary);
        return false;
    }
    base::CopyText(out, size, temporary);
    return true;
}

bool FillTemporary(const char* temporary, const void* data, DWORD size) {
    base::ScopedFile file(CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        return false;
    bool ok = WriteAll(file.Get(), data, size) && FlushFileBuffers(file.Get());
    return file.Close() && ok;
}

bool ReplaceWithTemporary(const char* temporary, const char* path) {
    for (int attempt = 1;; ++attempt) {
        if (MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        if (!IsTransient(GetLastError()) || attempt == kReplaceTries)
            return false;
        Sleep(kReplacePauseMs);
    }
}

bool CanReplaceFile(const char* path) {
    for (int attempt = 1;; ++attempt) {
        DWORD attributes = GetFileAttributesA(path);
        if (attributes != INVALID_FILE_ATTRIBUTES &&
            (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
            return false;
        // Asking for the right to delete fails while anyone holds the file without
        // allowing that, which is exactly what would make the replace fail.
        base::ScopedFile file(OpenDiskFile(path, DELETE | GENERIC_WRITE,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE));
        if (file.Valid())
            return true;
        if (!IsTransient(GetLastError()) || attempt == kReplaceTries)
            return false;
        Sleep(kReplacePauseMs);
    }
}

bool ReadImageForSearch(const char* path, ProjectImage& image) {
    base::ScopedFile file(OpenDiskFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE));
    return file.Valid() && ReadAt(file.Get(), 0, &image, sizeof image);
}

bool ListProjectFolder(const char* folder, int most, ProjectList& list) {
    char pattern[MAX_PATH];
    if (most <= 0 || strlen(folder) + 7 > sizeof pattern)
        return true; // no such folder can be listed
    base::FormatText(pattern, sizeof pattern, "%s\\*.vqp", folder);
    WIN32_FIND_DATAA found;
    HANDLE listing = FindFirstFileA(pattern, &found);
    if (listing == INVALID_HANDLE_VALUE)
        return true;
    bool ok = true;
    int added = 0;
    do {
        // The pattern also matches through short names ("x.vqpx" is "X~1.VQP") and
        // matches folders; neither is a project.
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
            !EndsWithExtension(found.cFileName))
            continue;
        ok = list.Add(found.cFileName);
        ++added;
    } while (ok && added < most && FindNextFileA(listing, &found));
    FindClose(listing);
    return ok;
}
