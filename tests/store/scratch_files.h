// A scratch folder for tests of the store's files, with small helpers to make and read
// project files byte for byte.
#pragma once
#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/project_image.h"

namespace scratch {

inline std::string ReadAll(const std::string& path) {
    std::string bytes;
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return bytes;
    static char buffer[65536];
    DWORD got = 0;
    while (ReadFile(f, buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(f);
    return bytes;
}

inline bool WriteAll(const std::string& path, const std::string& bytes) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    WriteFile(f, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    CloseHandle(f);
    return written == bytes.size();
}

inline std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(found.cFileName);
    } while (FindNextFileA(find, &found));
    FindClose(find);
    return names;
}

// The bytes of a project image as a string, and back.
inline std::string Bytes(const ProjectImage& image) {
    return std::string(reinterpret_cast<const char*>(&image), sizeof image);
}

// A folder under %TEMP% made empty for one test and removed afterwards.
class Folder {
  public:
    explicit Folder(const std::string& name) {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        path_ = std::string(temp) + name;
        Clean();
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~Folder() { Clean(); }
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& file) const { return path_ + "\\" + file; }
    std::vector<std::string> Files() const { return FilesIn(path_); }
    // Files whose names begin with "vqp" and end in ".tmp": the board's temporaries.
    std::vector<std::string> Temporaries() const {
        std::vector<std::string> found;
        for (const auto& name : Files())
            if (name.size() > 7 && _strnicmp(name.c_str(), "vqp", 3) == 0 &&
                _stricmp(name.c_str() + name.size() - 4, ".tmp") == 0)
                found.push_back(name);
        return found;
    }

  private:
    void Clean() const {
        WIN32_FIND_DATAA found;
        HANDLE find = FindFirstFileA((path_ + "\\*").c_str(), &found);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                std::string item = path_ + "\\" + found.cFileName;
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    if (strcmp(found.cFileName, ".") && strcmp(found.cFileName, ".."))
                        RemoveDirectoryA(item.c_str());
                    continue;
                }
                SetFileAttributesA(item.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(item.c_str());
            } while (FindNextFileA(find, &found));
            FindClose(find);
        }
        RemoveDirectoryA(path_.c_str());
    }
    std::string path_;
};

} // namespace scratch
