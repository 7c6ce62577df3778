#include "installer/environment.h"

#include <shlobj.h>

#include "installer/uninstall_entry.h"
#include "settings/settings.h"
#include "ui/pumped_wait.h"
#include "ui/text.h"

namespace installer {

namespace {

const char kShellFoldersKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\"
    "Shell Folders";

bool ShellPathFromLocation(int csidl, char* out, size_t size) {
    LPITEMIDLIST list = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &list)) || !list)
        return false;
    char path[MAX_PATH] = "";
    const bool found = SHGetPathFromIDListA(list, path) && path[0] != '\0';
    CoTaskMemFree(list);
    if (found)
        ui::CopyText(out, size, path);
    return found;
}

DWORD Attributes(const char* path) {
    return GetFileAttributesA(path);
}

} // namespace

bool Environment::ShellFolder(int csidl, char* out, size_t size) {
    char path[MAX_PATH] = "";
    if (SHGetSpecialFolderPathA(nullptr, path, csidl, FALSE) && path[0] != '\0') {
        ui::CopyText(out, size, path);
        return true;
    }
    return ShellPathFromLocation(csidl, out, size);
}

bool Environment::ShellFoldersValue(const char* name, char* out, size_t size) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kShellFoldersKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    char value[MAX_PATH + 1] = "";
    DWORD type = 0;
    DWORD bytes = MAX_PATH;
    const LONG status = RegQueryValueExA(key, name, nullptr, &type, (BYTE*)value, &bytes);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    value[bytes < MAX_PATH ? bytes : MAX_PATH] = '\0';
    ui::CopyText(out, size, value);
    return true;
}

bool Environment::WindowsFolder(char* out, size_t size) {
    char path[MAX_PATH + 1] = "";
    UINT n = GetWindowsDirectoryA(path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return false;
    ui::CopyText(out, size, path);
    return true;
}

void Environment::UserName(char* out, size_t size) {
    char name[261] = "";
    DWORD n = sizeof name;
    if (!GetUserNameA(name, &n))
        name[0] = '\0';
    ui::CopyText(out, size, name);
}

bool Environment::FileExists(const char* path) {
    DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool Environment::FolderExists(const char* path) {
    DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool Environment::MakeFolder(const char* path) {
    return CreateDirectoryA(path, nullptr) != 0;
}

bool Environment::SettingsStoreExists() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, settings::kRoot, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

int Environment::ReadSetting(const char* section, const char* name, const char* defaultText,
                             char* out, int outSize) {
    return settings::ReadSettingText(section, name, defaultText, out, outSize);
}

int Environment::WriteSetting(const char* section, const char* name, const char* text) {
    return settings::WriteSettingText(section, name, text);
}

unsigned long Environment::ReadSettingUnsigned(const char* section, const char* name,
                                               unsigned long defaultNumber) {
    return settings::ReadSettingUnsigned(section, name, defaultNumber);
}

bool Environment::WriteUninstallEntry(const UninstallEntry& entry) {
    return WriteRegistryTexts(HKEY_CURRENT_USER, kUninstallKey, entry);
}

Environment& SystemEnvironment() {
    static Environment system;
    return system;
}

void InstallerWait(unsigned milliseconds) {
    // Forced: the installer never sets the closing flag, and its waits must run in full.
    ui::PumpedWait(milliseconds, true);
}

} // namespace installer
