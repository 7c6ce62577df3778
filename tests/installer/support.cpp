#include "support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "settings/settings.h"
#include "ui/message.h"
#include "ui/pumped_wait.h"

namespace test {

namespace {

std::vector<Shown> g_shown;
int g_answer = IDOK;

int Record(const char* text, const char* caption, UINT type) {
    g_shown.push_back({text, caption, type});
    return g_answer;
}

// Removes a tree the plain way; the code under test has its own deletion, so it is not
// used here.
void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = entry.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string path = folder + "\\" + name;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

std::string Key(const char* section, const char* name) {
    return std::string(section) + "\\" + name;
}

} // namespace

ScratchFolder::ScratchFolder(const std::string& name) {
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    std::string base = std::string(temp) + "tessaro-installer-tests";
    CreateDirectoryA(base.c_str(), nullptr);
    path_ = base + "\\" + name;
    RemoveTree(path_);
    CreateDirectoryA(path_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() {
    RemoveTree(path_);
}

std::string ScratchFolder::MakeFolder(const std::string& relative) const {
    std::string path = path_;
    size_t start = 0;
    while (start <= relative.size()) {
        size_t end = relative.find('\\', start);
        if (end == std::string::npos)
            end = relative.size();
        path += "\\" + relative.substr(start, end - start);
        CreateDirectoryA(path.c_str(), nullptr);
        start = end + 1;
    }
    return path;
}

std::string ScratchFolder::Write(const std::string& relative, const std::string& bytes) const {
    std::string path = path_ + "\\" + relative;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, nullptr);
        CloseHandle(file);
    }
    return path;
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsFolder(const std::string& path) {
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ReadAll(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "";
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

bool SetLastWriteTime(const std::string& path, const FILETIME& time) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool set = SetFileTime(file, nullptr, nullptr, &time) != 0;
    CloseHandle(file);
    return set;
}

FILETIME MakeTime(int year, int month, int day) {
    SYSTEMTIME st = {};
    st.wYear = (WORD)year;
    st.wMonth = (WORD)month;
    st.wDay = (WORD)day;
    st.wHour = 12;
    FILETIME time = {};
    SystemTimeToFileTime(&st, &time);
    return time;
}

std::string CurrentFolder() {
    char path[MAX_PATH + 1] = "";
    GetCurrentDirectoryA(sizeof path, path);
    return path;
}

HeldOpen::HeldOpen(const std::string& path, DWORD share)
    : file_(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr, OPEN_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr)) {}

HeldOpen::~HeldOpen() {
    Close();
}

void HeldOpen::Close() {
    if (file_ != INVALID_HANDLE_VALUE)
        CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
}

MessageLog::MessageLog(int answer) {
    g_shown.clear();
    g_answer = answer;
    ui::SetMessageHook(Record);
}

MessageLog::~MessageLog() {
    ui::SetMessageHook(nullptr);
    g_shown.clear();
}

const std::vector<Shown>& MessageLog::Messages() const {
    return g_shown;
}

std::vector<std::string> MessageLog::Texts() const {
    std::vector<std::string> texts;
    for (const Shown& s : g_shown)
        texts.push_back(s.text);
    return texts;
}

void MessageLog::Clear() {
    g_shown.clear();
}

const char kScratchKey[] = "Software\\TessaroTests\\Scratch";

void DeleteScratchKey() {
    RegDeleteTreeA(HKEY_CURRENT_USER, kScratchKey);
}

bool FakeEnvironment::ShellFolder(int csidl, char* out, size_t size) {
    auto found = shellFolders.find(csidl);
    if (found == shellFolders.end())
        return false;
    lstrcpynA(out, found->second.c_str(), (int)size);
    return true;
}

bool FakeEnvironment::ShellFoldersValue(const char* name, char* out, size_t size) {
    auto found = shellRegistry.find(name);
    if (found == shellRegistry.end())
        return false;
    lstrcpynA(out, found->second.c_str(), (int)size);
    return true;
}

bool FakeEnvironment::WindowsFolder(char* out, size_t size) {
    if (windowsFolder.empty())
        return false;
    lstrcpynA(out, windowsFolder.c_str(), (int)size);
    return true;
}

bool FakeEnvironment::MakeFolder(const char* path) {
    return !makeFolderFails && Environment::MakeFolder(path);
}

int FakeEnvironment::ReadSetting(const char* section, const char* name, const char* defaultText,
                                 char* out, int outSize) {
    auto found = settings.find(Key(section, name));
    const char* text = found != settings.end() && !found->second.empty() ? found->second.c_str()
                       : defaultText                                     ? defaultText
                                                                         : "";
    lstrcpynA(out, text, outSize);
    return (int)strlen(out);
}

int FakeEnvironment::WriteSetting(const char* section, const char* name, const char* text) {
    const std::string key = Key(section, name);
    writes.push_back(key + "=" + text);
    if (unwritable.count(key))
        return 0;
    settings[key] = text;
    storeExists = true;
    return 1;
}

unsigned long FakeEnvironment::ReadSettingUnsigned(const char* section, const char* name,
                                                   unsigned long defaultNumber) {
    auto found = settings.find(Key(section, name));
    if (found == settings.end() || found->second.empty())
        return defaultNumber;
    return strtoul(found->second.c_str(), nullptr, 0);
}

bool FakeEnvironment::WriteUninstallEntry(const installer::UninstallEntry& entry) {
    if (entryKeyFails)
        return false;
    entries.push_back(entry);
    return true;
}

std::string FakeEnvironment::Setting(const char* section, const char* name) const {
    auto found = settings.find(Key(section, name));
    return found == settings.end() ? "" : found->second;
}

void FakeEnvironment::SetSetting(const char* section, const char* name, const std::string& text) {
    settings[Key(section, name)] = text;
}

std::vector<unsigned> g_waits;

void RecordWait(unsigned milliseconds) {
    g_waits.push_back(milliseconds);
    ui::DispatchPendingMessages();
}

} // namespace test
