#include "installer/environment.h"

#include <shlobj.h>

#include "base/registry.h"
#include "base/scoped.h"
#include "base/text.h"
#include "installer/close_board.h"
#include "installer/uninstall_entry.h"
#include "ui/pumped_wait.h"

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
        base::CopyText(out, size, path);
    return found;
}

DWORD Attributes(const char* path) {
    return GetFileAttributesA(path);
}

} // namespace

bool Environment::ShellFolder(int csidl, char* out, size_t size) {
    char path[MAX_PATH] = "";
    if (SHGetSpecialFolderPathA(nullptr, path, csidl, FALSE) && path[0] != '\0') {
        base::CopyText(out, size, path);
        return true;
    }
    return ShellPathFromLocation(csidl, out, size);
}

bool Environment::ShellFoldersValue(const char* name, char* out, size_t size) {
    char value[MAX_PATH + 1];
    if (!base::ReadRegistryText(HKEY_CURRENT_USER, kShellFoldersKey, name, KEY_READ, value,
                                sizeof value))
        return false;
    base::CopyText(out, size, value);
    return true;
}

bool Environment::WindowsFolder(char* out, size_t size) {
    char path[MAX_PATH + 1] = "";
    UINT n = GetWindowsDirectoryA(path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return false;
    base::CopyText(out, size, path);
    return true;
}

void Environment::UserName(char* out, size_t size) {
    char name[261] = "";
    DWORD n = sizeof name;
    if (!GetUserNameA(name, &n))
        name[0] = '\0';
    base::CopyText(out, size, name);
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
    base::ScopedKey key;
    return store_.root &&
           RegOpenKeyExA(HKEY_CURRENT_USER, store_.root, 0, KEY_READ, key.Out()) == ERROR_SUCCESS;
}

int Environment::ReadSetting(const char* section, const char* name, const char* defaultText,
                             char* out, int outSize) {
    return settings::ReadSettingText(store_, section, name, defaultText, out, outSize);
}

int Environment::WriteSetting(const char* section, const char* name, const char* text) {
    return settings::WriteSettingText(store_, section, name, text);
}

unsigned long Environment::ReadSettingUnsigned(const char* section, const char* name,
                                               unsigned long defaultNumber) {
    return settings::ReadSettingUnsigned(store_, section, name, defaultNumber);
}

bool Environment::WriteUninstallEntry(const UninstallEntry& entry) {
    return WriteRegistryTexts(HKEY_CURRENT_USER, kUninstallKey, entry);
}

bool Environment::IsBoardWindow(HWND window) {
    return LooksLikeBoard(FactsOf(window));
}

namespace {

// At namespace scope: a function's static would bring in the thread-safe start-up guard
// and with it the runtime's whole exception support.
Environment g_system(settings::Store{settings::kRoot});

} // namespace

Environment& SystemEnvironment() {
    return g_system;
}

void InstallerWait(unsigned milliseconds) {
    ui::PumpedWait(milliseconds, ui::WaitRule{});
}

} // namespace installer
