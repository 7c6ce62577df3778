// The installer of this build (vqpsx.exe beside the tests) run for real in the test
// prefix: the places it writes to are cleared before and after every test, and the test
// drives it through its windows.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/driver.h"

namespace e2e {

extern const char kUninstallKey[];    // under HKEY_CURRENT_USER
extern const char kShortFolder[];     // C:\vqp, the folder a clean prefix is offered
extern const char kLegacyFolder[];    // C:\Program Files\KESTRUM
constexpr DWORD kInstallWait = 20000; // ms for a whole install run

// A special folder of the prefix's user, from the shell (CSIDL).
std::string SpecialFolder(int csidl);
// A file's bytes as the installer carries them: resource `id` (RCDATA) of vqpsx.exe.
std::string PayloadOf(const std::string& installer, int id);
// A file of the source tree (its path given at build time), read through Wine's Z: drive.
std::string SourceFileBytes(const std::string& relative);
using driver::FolderEntries;
using driver::LastWriteTime;

// The desktop shortcut and the group's three, where the install puts them, and the three
// other places the installer and the uninstaller clear.
struct ShortcutPlaces {
    std::string desktopLink;       // Desktop\Tessaro.lnk
    std::string group;             // Programs\Tessaro
    std::string startupLink;       // Programs\StartUp\Tessaro.lnk
    std::string commonStartupLink; // all users' StartUp\Tessaro.lnk
    std::string commonGroup;       // all users' Programs\Tessaro
};
ShortcutPlaces Shortcuts();

// Where the relaunch puts its copy: the local application data's TEMP\vqp\vqpsx.exe.
std::string UninstallerCopy();

class InstallerTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    std::string InstallerPath() const { return driver::ExeDir() + "\\vqpsx.exe"; }
    std::string InFolder(const std::string& name) const { return folder_ + "\\" + name; }
    std::string Setting(const char* section, const char* name) const; // "<missing>" if absent

    // Starts vqpsx.exe from the tests' folder (its start folder) with args.
    void StartInstaller(const std::string& args = "");
    // The visible install dialog of the running installer.
    HWND WaitInstallDialog();
    // The installer's main window (the backdrop).
    HWND Backdrop();
    // Waits for the installer's next message box, answers it and returns its text; its
    // caption goes to *caption when asked.
    std::string AnswerBox(int button = IDOK, std::string* caption = nullptr,
                          DWORD timeoutMs = 10000);
    // Waits for the installer to end and returns its exit code (~0u when it did not end).
    DWORD WaitInstallerEnd(DWORD timeoutMs = kInstallWait);
    // After a good install: the board the installer started shows its installed message;
    // returns the message's text and answers it.
    std::string AnswerInstalledMessage();
    // The board window of any process ("Tessaro >..."), visible.
    HWND WaitBoardWindow(DWORD timeoutMs = 10000);
    // Asks every running board to close and waits for it; kills what remains.
    void CloseAllBoards();
    // After a start with "UnInstall": waits for that process to end (it only relaunches)
    // and for the copy in TEMP\vqp to run, which then becomes the installer the test
    // drives. False, with the reason recorded, when either does not happen.
    bool FollowRelaunch();

    std::string folder_ = "C:\\vqp"; // where a clean prefix installs
    driver::Process installer_;
};

} // namespace e2e
