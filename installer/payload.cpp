#include "installer/payload.h"

#include <cstring>

#include "base/scoped.h"
#include "base/text.h"
#include "installer/messages.h"
#include "installer/path_text.h"
#include "resources/vqpsx_ids.h"

namespace installer {

const FileStep kFileSteps[kFileStepCount] = {
    {IDR_PAYLOAD_BOARD, kBoardFile},
    {IDR_PAYLOAD_README, kReadMeFile},
    {IDR_PAYLOAD_README_ICON, kReadMeIconFile},
    {IDR_PAYLOAD_SAMPLE, kSampleFile},
    {IDR_PAYLOAD_UNINSTALL_ICON, kUninstallIconFile},
    {kOwnFile, kInstallerFile},
};

namespace {

constexpr DWORD kCopyBufferSize = 8192;
constexpr int kOpenTries = 50;
constexpr unsigned kOpenRetryMs = 100;

base::ScopedFile CreateForWriting(const char* path) {
    return base::ScopedFile(CreateFileA(path, GENERIC_READ | GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
}

base::ScopedFile OpenForReading(const char* path) {
    return base::ScopedFile(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool WriteAll(HANDLE file, const void* data, DWORD size) {
    DWORD written = 0;
    return WriteFile(file, data, size, &written, nullptr) && written == size;
}

// The source's last-write time, once the source can be opened.
bool SourceTime(const char* source, WaitFunction wait, FILETIME& lastWrite) {
    base::ScopedFile file;
    for (int attempt = 0; attempt < kOpenTries && !file.Valid(); ++attempt) {
        if (attempt > 0 && wait)
            wait(kOpenRetryMs);
        file = OpenForReading(source);
    }
    return file.Valid() && GetFileTime(file.Get(), nullptr, nullptr, &lastWrite) != 0;
}

bool CopyContent(HANDLE from, HANDLE to) {
    char buffer[kCopyBufferSize];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(from, buffer, kCopyBufferSize, &got, nullptr))
            return false;
        if (got > 0 && !WriteAll(to, buffer, got))
            return false;
        if (got < kCopyBufferSize)
            return true;
    }
}

bool CopyOpenFiles(const char* source, const char* destination) {
    base::ScopedFile from = OpenForReading(source);
    if (!from.Valid())
        return false;
    base::ScopedFile to = CreateForWriting(destination);
    // A close that fails may have lost the last bytes.
    return to.Valid() && CopyContent(from.Get(), to.Get()) && to.Close();
}

bool SetLastWriteTime(const char* path, const FILETIME& lastWrite) {
    base::ScopedFile file(CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.Valid() && SetFileTime(file.Get(), nullptr, nullptr, &lastWrite) != 0;
}

bool IsProjectFileName(const char* name) {
    const size_t n = strlen(name);
    return n > 4 && base::EqualsNoCase(name + n - 4, ".VQP");
}

} // namespace

bool ExtractPayload(HMODULE module, int id, const char* destination) {
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), RT_RCDATA);
    if (!found)
        return false;
    const DWORD size = SizeofResource(module, found);
    HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (size == 0 || !data)
        return false;
    base::ScopedFile file = CreateForWriting(destination);
    return file.Valid() && WriteAll(file.Get(), data, size) && file.Close();
}

int CopyFileKeepTime(const char* source, const char* destination, bool keepTime,
                     WaitFunction wait) {
    FILETIME lastWrite = {};
    if (keepTime && !SourceTime(source, wait, lastWrite))
        return 0;
    if (!CopyOpenFiles(source, destination))
        return 0;
    if (keepTime && !SetLastWriteTime(destination, lastWrite))
        return 0;
    return 1;
}

int CarryOverProjects(Environment& env, const char* legacyFolder, const char* installFolder) {
    if (SameFolder(legacyFolder, installFolder) || !env.FolderExists(legacyFolder))
        return 0;
    char pattern[kPathSize];
    if (!JoinPath(pattern, sizeof pattern, legacyFolder, "*.VQP"))
        return 0;
    WIN32_FIND_DATAA entry;
    base::ScopedFind search(FindFirstFileA(pattern, &entry));
    if (!search.Valid())
        return 0;
    int copied = 0;
    do {
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
            !IsProjectFileName(entry.cFileName))
            continue;
        char from[kPathSize];
        char to[kPathSize];
        if (!JoinPath(from, sizeof from, legacyFolder, entry.cFileName) ||
            !JoinPath(to, sizeof to, installFolder, entry.cFileName))
            continue;
        // Failing when the name exists keeps the fresh sample and the user's own projects.
        if (CopyFileA(from, to, TRUE))
            ++copied;
    } while (FindNextFileA(search.Get(), &entry));
    return copied;
}

} // namespace installer
