#include "store/file_stamp.h"

#include "store/project_names.h"

namespace {

unsigned long long Joined(DWORD high, DWORD low) {
    return (unsigned long long)high << 32 | low;
}

} // namespace

bool StampOpenFile(HANDLE file, FileStamp& stamp) {
    LARGE_INTEGER bytes;
    FILETIME written;
    if (!GetFileSizeEx(file, &bytes) || !GetFileTime(file, nullptr, nullptr, &written))
        return false;
    stamp.size = (unsigned long long)bytes.QuadPart;
    stamp.written = Joined(written.dwHighDateTime, written.dwLowDateTime);
    return true;
}

bool StampFile(const char* path, FileStamp& stamp) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (PathNamesDevice(path) || !GetFileAttributesExA(path, GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    stamp.size = Joined(data.nFileSizeHigh, data.nFileSizeLow);
    stamp.written = Joined(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime);
    return true;
}

bool FileChangedSince(const char* path, const FileStamp& stamp) {
    FileStamp now;
    return !StampFile(path, now) || now != stamp;
}
