// Shared by the installer's unit tests: scratch folders and registry keys, a record of the
// messages the installer shows, and an environment whose special folders, settings and
// uninstall entry live wherever a test puts them.
#pragma once
#include <windows.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "driver/driver.h"
#include "installer/environment.h"
#include "installer/uninstall_entry.h"

namespace test {

// A folder under the system's temporary folder, made fresh and removed with everything in
// it at the end. Paths are Windows paths.
class ScratchFolder {
  public:
    explicit ScratchFolder(const std::string& name);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& relative) const { return path_ + "\\" + relative; }
    std::string MakeFolder(const std::string& relative) const; // with its parents
    std::string Write(const std::string& relative, const std::string& bytes) const;

  private:
    std::string path_;
};

bool Exists(const std::string& path);
bool IsFolder(const std::string& path);
std::string ReadAll(const std::string& path); // empty when missing
using driver::LastWriteTime;
bool SetLastWriteTime(const std::string& path, const FILETIME& time);
FILETIME MakeTime(int year, int month, int day);
std::string CurrentFolder();
using driver::FolderEntries;

// Holds a file open for reading and writing, sharing nothing: nothing else can open it,
// write it or delete it (the way to make a file unwritable under Wine as root).
class HeldOpen {
  public:
    explicit HeldOpen(const std::string& path, DWORD share = 0);
    ~HeldOpen();
    HeldOpen(const HeldOpen&) = delete;
    HeldOpen& operator=(const HeldOpen&) = delete;
    bool IsOpen() const { return file_ != INVALID_HANDLE_VALUE; }
    void Close();

  private:
    HANDLE file_;
};

// Messages shown through the framework's message path while it lives; every box is
// answered with `answer`.
struct Shown {
    std::string text;
    std::string caption;
    UINT type;
};
class MessageLog {
  public:
    explicit MessageLog(int answer = IDOK);
    ~MessageLog();
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;
    const std::vector<Shown>& Messages() const;
    std::vector<std::string> Texts() const;
    void Clear();
};

// A scratch key under HKCU, deleted before and after.
extern const char kScratchKey[];
void DeleteScratchKey();

// The environment of a test: special folders, the Windows folder, the settings and the
// uninstall entry are in memory; files and folders are real (in scratch folders).
class FakeEnvironment : public installer::Environment {
  public:
    // No store of its own: the settings below stand in for it.
    FakeEnvironment() : installer::Environment(settings::Store{}) {}

    std::map<int, std::string> shellFolders;          // CSIDL -> path; missing: none
    std::map<std::string, std::string> shellRegistry; // "Shell Folders" values
    std::string windowsFolder;
    std::map<std::string, std::string> settings; // "Section\Name" -> text
    bool storeExists = false;
    std::set<std::string> unwritable; // "Section\Name" whose writes fail
    std::vector<std::string> writes;  // "Section\Name=text", in order
    std::vector<installer::UninstallEntry> entries;
    bool entryKeyFails = false;
    bool makeFolderFails = false;
    std::set<HWND> boardWindows; // windows that count as a running board
    std::string userName = "tester";

    bool ShellFolder(int csidl, char* out, size_t size) override;
    bool ShellFoldersValue(const char* name, char* out, size_t size) override;
    bool WindowsFolder(char* out, size_t size) override;
    bool MakeFolder(const char* path) override;
    void UserName(char* out, size_t size) override { lstrcpynA(out, userName.c_str(), (int)size); }
    bool SettingsStoreExists() override { return storeExists; }
    int ReadSetting(const char* section, const char* name, const char* defaultText, char* out,
                    int outSize) override;
    int WriteSetting(const char* section, const char* name, const char* text) override;
    unsigned long ReadSettingUnsigned(const char* section, const char* name,
                                      unsigned long defaultNumber) override;
    bool WriteUninstallEntry(const installer::UninstallEntry& entry) override;
    bool IsBoardWindow(HWND window) override { return boardWindows.count(window) != 0; }

    std::string Setting(const char* section, const char* name) const;
    void SetSetting(const char* section, const char* name, const std::string& text);
};

// A wait that does not sleep: it records the milliseconds asked for and dispatches the
// thread's pending messages.
extern std::vector<unsigned> g_waits;
void RecordWait(unsigned milliseconds);

} // namespace test
