// What tells whether a file is still the one that was read or written: its size and its
// last-write time. A project always has the same size, so mostly the time tells.
#pragma once
#include <windows.h>

struct FileStamp {
    unsigned long long size = 0;
    unsigned long long written = 0; // last-write time in the system's 100 ns units

    bool operator==(const FileStamp& other) const {
        return size == other.size && written == other.written;
    }
    bool operator!=(const FileStamp& other) const { return !(*this == other); }
};

bool StampOpenFile(HANDLE file, FileStamp& stamp);
// False when nothing (or a folder, or a device) is at path.
bool StampFile(const char* path, FileStamp& stamp);
// Whether the file at path is no longer the stamped one: another size or time, or gone.
bool FileChangedSince(const char* path, const FileStamp& stamp);
