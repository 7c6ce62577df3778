// Everything the installer asks of the system's configuration, in one place: the shell's
// special folders, the Windows folder, the settings store, the uninstall entry, whether
// files and folders exist, and whether a window is a running board. Tests derive from it to put all
// of these in scratch places; the installer itself uses SystemEnvironment().
#pragma once
#include <windows.h>

#include <cstddef>

#include "settings/settings.h"

namespace installer {

struct UninstallEntry;

// CSIDL numbers of the special folders the installer uses.
constexpr int kCsidlDesktop = 0;
constexpr int kCsidlPrograms = 2;
constexpr int kCsidlStartup = 7;
constexpr int kCsidlCommonPrograms = 23;
constexpr int kCsidlCommonStartup = 24;
constexpr int kCsidlLocalAppData = 28;
constexpr int kCsidlProgramFiles = 38;

class Environment {
  public:
    // The settings store the installer reads and writes; the program passes the real root.
    explicit Environment(settings::Store store) : store_(store) {}
    virtual ~Environment() = default;
    Environment(const Environment&) = delete;
    Environment& operator=(const Environment&) = delete;

    // The shell's path of a special folder, untrimmed: SHGetSpecialFolderPathA, then
    // SHGetSpecialFolderLocation with SHGetPathFromIDListA. False when the shell has none.
    virtual bool ShellFolder(int csidl, char* out, size_t size);
    // A value of HKCU "...\Explorer\Shell Folders" (name empty: the unnamed value).
    virtual bool ShellFoldersValue(const char* name, char* out, size_t size);
    virtual bool WindowsFolder(char* out, size_t size);
    virtual void UserName(char* out, size_t size);

    virtual bool FileExists(const char* path);
    virtual bool FolderExists(const char* path);
    // CreateDirectoryA; an existing folder makes it fail, as it does for the system.
    virtual bool MakeFolder(const char* path);

    // The settings store shared with the board program.
    virtual bool SettingsStoreExists();
    virtual int ReadSetting(const char* section, const char* name, const char* defaultText,
                            char* out, int outSize);
    // 1 on success, 0 when the section key cannot be created.
    virtual int WriteSetting(const char* section, const char* name, const char* text);
    virtual unsigned long ReadSettingUnsigned(const char* section, const char* name,
                                              unsigned long defaultNumber);

    // The entry in the system's list of installed programs; false when its key cannot be
    // created.
    virtual bool WriteUninstallEntry(const UninstallEntry& entry);

    // Whether window is the main window of a running board program (close_board.h).
    virtual bool IsBoardWindow(HWND window);

  private:
    settings::Store store_;
};

Environment& SystemEnvironment();

// How the installer waits: a pumped wait with the standard nap that never ends early, so its
// windows keep painting and every wait runs in full.
using WaitFunction = void (*)(unsigned milliseconds);
void InstallerWait(unsigned milliseconds);

} // namespace installer
