#include "e2e/installer_fixture.h"

#include <shlobj.h>

#include <algorithm>

#include "e2e/board_fixture.h"
#include "resources/kestrum_ids.h"
#include "resources/vqpsx_ids.h"

namespace e2e {

const char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tessaro";
const char kShortFolder[] = "C:\\vqp";
const char kLegacyFolder[] = "C:\\Program Files\\KESTRUM";

namespace {

bool StartsWith(const std::string& text, const char* prefix) {
    return text.compare(0, strlen(prefix), prefix) == 0;
}

// The program file of a process, or "" when it cannot be asked.
std::string ImageOf(DWORD pid) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process)
        return "";
    char path[MAX_PATH] = "";
    DWORD size = sizeof path;
    if (!QueryFullProcessImageNameA(process, 0, path, &size))
        path[0] = '\0';
    CloseHandle(process);
    return path;
}

bool IsBoardProcess(DWORD pid) {
    std::string image = ImageOf(pid);
    std::transform(image.begin(), image.end(), image.begin(), ::toupper);
    return image.size() >= 12 && image.compare(image.size() - 12, 12, "\\KESTRUM.EXE") == 0;
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

std::vector<HWND> EveryTopWindow() {
    std::vector<HWND> windows;
    EnumWindows(CollectWindow, (LPARAM)&windows);
    return windows;
}

std::vector<DWORD> BoardProcesses() {
    std::vector<DWORD> pids;
    for (HWND w : EveryTopWindow()) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (std::find(pids.begin(), pids.end(), pid) == pids.end() && IsBoardProcess(pid))
            pids.push_back(pid);
    }
    return pids;
}

// Everything an install leaves behind in the prefix, gone.
void ClearInstallerState() {
    driver::RegDeleteTree(kSettingsRoot);
    driver::RegDeleteTree(kUninstallKey);
    driver::RemoveTree(kShortFolder);
    driver::RemoveTree(kLegacyFolder);
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, sizeof windows);
    DeleteFileA((std::string(windows) + "\\kestrum.ini").c_str());
    const ShortcutPlaces places = Shortcuts();
    DeleteFileA(places.desktopLink.c_str());
    driver::RemoveTree(places.group);
    DeleteFileA(places.startupLink.c_str());
    DeleteFileA(places.commonStartupLink.c_str());
    driver::RemoveTree(places.commonGroup);
    driver::RemoveTree(SpecialFolder(CSIDL_LOCAL_APPDATA) + "\\TEMP\\vqp");
}

// A running process whose program file is path, or none.
driver::Process ProcessRunning(const std::string& path) {
    for (HWND w : EveryTopWindow()) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (lstrcmpiA(ImageOf(pid).c_str(), path.c_str()) != 0)
            continue;
        driver::Process found;
        found.process =
            OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION, FALSE, pid);
        if (found.process)
            found.pid = pid;
        return found;
    }
    return {};
}

} // namespace

std::string SpecialFolder(int csidl) {
    char path[MAX_PATH] = "";
    if (!SHGetSpecialFolderPathA(nullptr, path, csidl, FALSE))
        return "";
    return path;
}

ShortcutPlaces Shortcuts() {
    ShortcutPlaces places;
    places.desktopLink = SpecialFolder(CSIDL_DESKTOPDIRECTORY) + "\\Tessaro.lnk";
    places.group = SpecialFolder(CSIDL_PROGRAMS) + "\\Tessaro";
    places.startupLink = SpecialFolder(CSIDL_STARTUP) + "\\Tessaro.lnk";
    places.commonStartupLink = SpecialFolder(CSIDL_COMMON_STARTUP) + "\\Tessaro.lnk";
    places.commonGroup = SpecialFolder(CSIDL_COMMON_PROGRAMS) + "\\Tessaro";
    return places;
}

std::string UninstallerCopy() {
    return SpecialFolder(CSIDL_LOCAL_APPDATA) + "\\TEMP\\vqp\\vqpsx.exe";
}

std::string PayloadOf(const std::string& installer, int id) {
    HMODULE module = LoadLibraryExA(installer.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return "";
    std::string bytes;
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10)); // RT_RCDATA
    if (found) {
        const void* data = LockResource(LoadResource(module, found));
        if (data)
            bytes.assign(static_cast<const char*>(data), SizeofResource(module, found));
    }
    FreeLibrary(module);
    return bytes;
}

std::string SourceFileBytes(const std::string& relative) {
    std::string path = std::string("Z:") + TESSARO_SOURCE_DIR + "/" + relative;
    std::replace(path.begin(), path.end(), '/', '\\');
    return driver::ReadFileBytes(path);
}

void InstallerTest::SetUp() {
    CloseAllBoards();
    ClearInstallerState();
    ASSERT_FALSE(driver::DirExists(kShortFolder)) << "could not clear " << kShortFolder;
    ASSERT_FALSE(Shortcuts().group.empty());
}

void InstallerTest::TearDown() {
    if (installer_.pid && !driver::WaitExit(installer_, 100))
        driver::Kill(installer_);
    driver::CloseProcess(installer_);
    installer_ = {};
    // A copy the test did not follow to its end.
    driver::Process copy = ProcessRunning(UninstallerCopy());
    if (copy.pid)
        driver::Kill(copy);
    CloseAllBoards();
    ClearInstallerState();
}

std::string InstallerTest::Setting(const char* section, const char* name) const {
    std::string value;
    if (!driver::RegGetText(std::string(kSettingsRoot) + "\\" + section, name, &value))
        return "<missing>";
    return value;
}

void InstallerTest::StartInstaller(const std::string& args) {
    installer_ = driver::Start(InstallerPath(), args, driver::ExeDir());
    ASSERT_NE(installer_.pid, 0u) << driver::LastFailure();
}

HWND InstallerTest::WaitInstallDialog() {
    HWND dialog = nullptr;
    driver::WaitUntil(
        [&] {
            for (HWND w : driver::TopWindowsOf(installer_.pid))
                if (GetDlgItem(w, IDE_INSTALL_PATH) && driver::IsVisible(w))
                    dialog = w;
            return dialog != nullptr;
        },
        kWait, "the install dialog");
    EXPECT_TRUE(dialog) << driver::LastFailure()
                        << "; windows: " << driver::DescribeWindows(installer_.pid);
    return dialog;
}

HWND InstallerTest::Backdrop() {
    for (HWND w : driver::TopWindowsOf(installer_.pid)) {
        char name[64] = "";
        GetClassNameA(w, name, sizeof name);
        if (strcmp(name, "TessaroBackdrop") == 0)
            return w;
    }
    return nullptr;
}

std::string InstallerTest::AnswerBox(int button, std::string* caption, DWORD timeoutMs) {
    HWND box = driver::WaitMessageBox(installer_.pid, timeoutMs);
    if (!box) {
        ADD_FAILURE() << driver::LastFailure();
        return "";
    }
    std::string text = driver::MessageBoxText(box);
    if (caption)
        *caption = driver::Title(box);
    driver::AnswerMessageBox(box, button);
    // Gone before the next look, which would otherwise find this box again.
    EXPECT_TRUE(driver::WaitGone(box, kWait)) << driver::LastFailure();
    return text;
}

DWORD InstallerTest::WaitInstallerEnd(DWORD timeoutMs) {
    DWORD code = ~0u;
    if (!driver::WaitExit(installer_, timeoutMs, &code)) {
        ADD_FAILURE() << driver::LastFailure()
                      << "; windows: " << driver::DescribeWindows(installer_.pid);
        return ~0u;
    }
    driver::CloseProcess(installer_);
    installer_ = {};
    return code;
}

std::string InstallerTest::AnswerInstalledMessage() {
    HWND box = nullptr;
    driver::WaitUntil(
        [&] {
            for (HWND w : EveryTopWindow())
                if (GetDlgItem(w, IDT_INSTALLED_TEXT) && driver::IsVisible(w))
                    box = w;
            return box != nullptr;
        },
        kWait, "the board's installed message");
    if (!box) {
        ADD_FAILURE() << driver::LastFailure();
        return "";
    }
    std::string text = driver::ItemText(box, IDT_INSTALLED_TEXT);
    driver::Click(box, IDB_INSTALLED_OK);
    return text;
}

HWND InstallerTest::WaitBoardWindow(DWORD timeoutMs) {
    HWND board = driver::WaitVisibleWindow("Tessaro >", timeoutMs);
    EXPECT_TRUE(board) << driver::LastFailure();
    return board;
}

bool InstallerTest::FollowRelaunch() {
    DWORD code = ~0u;
    if (!driver::WaitExit(installer_, kWait, &code))
        return false;
    driver::CloseProcess(installer_);
    installer_ = {};
    if (code != 1) {
        ADD_FAILURE() << "the relaunching process ended with " << code << ", not 1 (IDCANCEL)";
        return false;
    }
    const std::string copy = UninstallerCopy();
    return driver::WaitUntil(
        [&] {
            installer_ = ProcessRunning(copy);
            return installer_.pid != 0;
        },
        kWait, "the uninstaller's copy " + copy + " running");
}

void InstallerTest::CloseAllBoards() {
    for (DWORD pid : BoardProcesses()) {
        HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid);
        if (!process)
            continue;
        // The board may still show its installed message, or ask for a project name.
        std::vector<HWND> asked;
        for (int round = 0; round < 40 && WaitForSingleObject(process, 200) != WAIT_OBJECT_0;
             ++round) {
            for (HWND w : driver::TopWindowsOf(pid)) {
                if (!driver::IsVisible(w) ||
                    std::find(asked.begin(), asked.end(), w) != asked.end())
                    continue;
                const std::string title = driver::Title(w);
                if (GetDlgItem(w, IDT_INSTALLED_TEXT))
                    driver::Click(w, IDB_INSTALLED_OK);
                else if (StartsWith(title, "Tessaro >"))
                    driver::PostCommand(w, IDM_CLOSE_REQUEST);
                else if (StartsWith(title, "Save Current Tessaro Project As"))
                    driver::PostCommand(w, IDCANCEL);
                else
                    continue;
                asked.push_back(w);
            }
        }
        if (WaitForSingleObject(process, 0) != WAIT_OBJECT_0) {
            TerminateProcess(process, 1);
            WaitForSingleObject(process, 2000);
        }
        CloseHandle(process);
    }
}

} // namespace e2e
