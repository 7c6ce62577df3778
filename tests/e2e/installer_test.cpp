// The installer from the outside: vqpsx.exe of this build installs into the test prefix,
// and the test reads back the files, the settings, the uninstall entry, the shortcuts and
// the board it starts.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "e2e/board_fixture.h"
#include "e2e/installer_fixture.h"
#include "resources/kestrum_ids.h"
#include "resources/vqpsx_ids.h"

using namespace e2e;

namespace {

const char kStopCaption[] = "Tessaro Installation";
const char kFailed[] = "Conditions Prevented Proper Installation.";
const std::vector<std::string> kInstalledFiles = {"KESTRUM.EXE", "README.ICO",  "README.TXT",
                                                  "SAMPLE.VQP",  "UNINSTL.ICO", "vqpsx.exe"};
const std::vector<std::string> kGroupLinks = {"Read Me.lnk", "Tessaro.lnk", "UnInstall.lnk"};

bool SameTime(const FILETIME& a, const FILETIME& b) {
    return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

std::string ProcessImage(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    char path[MAX_PATH] = "";
    DWORD size = sizeof path;
    if (process && !QueryFullProcessImageNameA(process, 0, path, &size))
        path[0] = '\0';
    if (process)
        CloseHandle(process);
    return path;
}

// The tooltip controls a window owns, with the number of tools of each.
std::vector<int> ToolCountsOwnedBy(HWND owner) {
    std::vector<int> counts;
    DWORD pid = 0;
    GetWindowThreadProcessId(owner, &pid);
    for (HWND w : driver::TopWindowsOf(pid)) {
        char name[64] = "";
        GetClassNameA(w, name, sizeof name);
        if (lstrcmpiA(name, "tooltips_class32") == 0 && GetWindow(w, GW_OWNER) == owner)
            counts.push_back((int)SendMessageA(w, TTM_GETTOOLCOUNT, 0, 0));
    }
    std::sort(counts.begin(), counts.end());
    return counts;
}

// Copies the install's shortcuts beside the tests, where the lnkinfo check reads them.
void KeepShortcutsForTheLinkCheck(const ShortcutPlaces& places) {
    const std::string kept = driver::ExeDir() + "\\installed-shortcuts";
    driver::RemoveTree(kept);
    CreateDirectoryA(kept.c_str(), nullptr);
    EXPECT_TRUE(
        CopyFileA(places.desktopLink.c_str(), (kept + "\\Desktop Tessaro.lnk").c_str(), FALSE));
    for (const std::string& link : kGroupLinks)
        EXPECT_TRUE(CopyFileA((places.group + "\\" + link).c_str(),
                              (kept + "\\Group " + link).c_str(), FALSE))
            << link;
}

bool HoldsShellLink(const std::string& path) {
    // A shell link file starts with its header size and the link class id.
    const std::string bytes = driver::ReadFileBytes(path);
    return bytes.size() > 76 && bytes.compare(0, 4, std::string("\x4c\0\0\0", 4)) == 0;
}

} // namespace

TEST_F(InstallerTest, ACleanInstallPutsEverythingInPlaceAndStartsTheBoard) {
    StartInstaller();
    HWND dialog = WaitInstallDialog();
    ASSERT_TRUE(dialog);
    HWND backdrop = Backdrop();
    ASSERT_TRUE(backdrop) << driver::DescribeWindows(installer_.pid);
    EXPECT_EQ(driver::Title(backdrop), "Tessaro Installation");
    EXPECT_TRUE(IsZoomed(backdrop)) << "the backdrop shows maximised";
    EXPECT_EQ(driver::Title(dialog), "Tessaro Installation");
    EXPECT_EQ(driver::ItemText(dialog, IDE_INSTALL_PATH), kShortFolder);
    EXPECT_TRUE(driver::IsChecked(dialog, IDO_SHORT_PATH));
    EXPECT_EQ(driver::ItemText(dialog, IDT_SOURCE_FILE), driver::ExeDir()) << "the start folder";
    EXPECT_EQ(ToolCountsOwnedBy(dialog), (std::vector<int>{1, 4}))
        << "the path tip and the tips of four options";

    driver::Click(dialog, IDB_NEXT);
    const std::string installed = AnswerInstalledMessage();
    EXPECT_EQ(installed.rfind("Tessaro is installed on your Hard-Drive.", 0), 0u) << installed;
    EXPECT_EQ(WaitInstallerEnd(), 0u);

    // The six files, byte for byte.
    ASSERT_EQ(FolderEntries(folder_), kInstalledFiles);
    const std::string installer = InstallerPath();
    const std::string board = driver::ReadFileBytes(InFolder("KESTRUM.EXE"));
    EXPECT_FALSE(board.empty());
    EXPECT_TRUE(board == driver::ReadFileBytes(driver::ExeDir() + "\\KESTRUM.EXE"))
        << "the board program of this build";
    EXPECT_TRUE(board == PayloadOf(installer, IDR_PAYLOAD_BOARD));
    const std::string readMe = driver::ReadFileBytes(InFolder("README.TXT"));
    EXPECT_TRUE(readMe == PayloadOf(installer, IDR_PAYLOAD_README));
    EXPECT_TRUE(readMe == SourceFileBytes("resources/payload/README.TXT"));
    EXPECT_TRUE(driver::ReadFileBytes(InFolder("README.ICO")) ==
                PayloadOf(installer, IDR_PAYLOAD_README_ICON));
    EXPECT_TRUE(driver::ReadFileBytes(InFolder("UNINSTL.ICO")) ==
                PayloadOf(installer, IDR_PAYLOAD_UNINSTALL_ICON));
    EXPECT_EQ(driver::ReadFileBytes(InFolder("README.ICO")).size(), 766u);
    const std::string sample = driver::ReadFileBytes(InFolder("SAMPLE.VQP"));
    EXPECT_TRUE(sample == PayloadOf(installer, IDR_PAYLOAD_SAMPLE));
    EXPECT_TRUE(sample == SampleImage());
    EXPECT_TRUE(driver::ReadFileBytes(InFolder("vqpsx.exe")) == driver::ReadFileBytes(installer));
    EXPECT_TRUE(SameTime(LastWriteTime(InFolder("vqpsx.exe")), LastWriteTime(installer)))
        << "the installed uninstaller keeps the time of the installer that ran";

    // The settings and the uninstall entry.
    EXPECT_EQ(Setting("Configure", "ThisProgramDir"), folder_);
    const std::pair<const char*, std::string> values[] = {
        {"DisplayName", "Tessaro"},
        {"UninstallString", "\"C:\\vqp\\vqpsx.exe\" UnInstall"},
        {"InstallLoaction", "C:\\vqp"},
        {"Publisher", "Vontrel"},
        {"URLInfoAbout", "http://www.vontrel.example/tessaro/"},
        {"URLUpdateInfo", "http://www.vontrel.example/tessaro/download.html"},
    };
    for (const auto& v : values) {
        std::string seen = "<missing>";
        driver::RegGetText(kUninstallKey, v.first, &seen);
        EXPECT_EQ(seen, v.second) << v.first;
    }

    // The shortcuts, and no temporary link left behind.
    const ShortcutPlaces places = Shortcuts();
    EXPECT_TRUE(HoldsShellLink(places.desktopLink)) << places.desktopLink;
    EXPECT_EQ(FolderEntries(places.group), kGroupLinks);
    for (const std::string& link : kGroupLinks)
        EXPECT_TRUE(HoldsShellLink(places.group + "\\" + link)) << link;
    KeepShortcutsForTheLinkCheck(places);

    // The installed board runs, showing the sample project.
    HWND running = WaitBoardWindow();
    ASSERT_TRUE(running);
    EXPECT_EQ(driver::Title(running), "Tessaro >C:\\vqp\\SAMPLE.VQP");
    EXPECT_EQ(ProcessImage(running), "C:\\vqp\\KESTRUM.EXE");
}

TEST_F(InstallerTest, AnUpgradeKeepsTheUsersProjectsAndRenewsTheGroup) {
    // An earlier installation: its files, a project of the user's own, a sample the user
    // changed, and a group holding a file that is no longer made.
    ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr));
    ASSERT_TRUE(driver::WriteFileBytes(InFolder("KESTRUM.EXE"), "MZ an older board"));
    ASSERT_TRUE(driver::WriteFileBytes(InFolder("vqpsx.exe"), "MZ an older installer"));
    const std::string mine = MakeImage({"Mine"}, {"my own text"});
    ASSERT_TRUE(driver::WriteFileBytes(InFolder("MY WORK.VQP"), mine));
    ASSERT_TRUE(driver::WriteFileBytes(InFolder("SAMPLE.VQP"), MakeImage({"Changed"})));
    ASSERT_TRUE(
        driver::RegSetText(std::string(kSettingsRoot) + "\\Configure", "ThisProgramDir", folder_));
    const ShortcutPlaces places = Shortcuts();
    ASSERT_TRUE(CreateDirectoryA(places.group.c_str(), nullptr));
    ASSERT_TRUE(driver::WriteFileBytes(places.group + "\\Manual.lnk", "an old shortcut"));
    ASSERT_TRUE(driver::WriteFileBytes(places.group + "\\Tessaro.lnk", "an old shortcut"));
    ASSERT_TRUE(driver::WriteFileBytes(places.desktopLink, "an old shortcut"));

    StartInstaller();
    HWND dialog = WaitInstallDialog();
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(driver::IsChecked(dialog, IDO_UPGRADING)) << "the earlier installation";
    EXPECT_EQ(driver::ItemText(dialog, IDE_INSTALL_PATH), folder_);
    driver::Click(dialog, IDB_NEXT);
    AnswerInstalledMessage();
    EXPECT_EQ(WaitInstallerEnd(), 0u);

    EXPECT_TRUE(driver::ReadFileBytes(InFolder("MY WORK.VQP")) == mine) << "the user's project";
    EXPECT_TRUE(driver::ReadFileBytes(InFolder("SAMPLE.VQP")) == SampleImage())
        << "the shipped sample replaces the changed one";
    EXPECT_TRUE(driver::ReadFileBytes(InFolder("KESTRUM.EXE")) ==
                driver::ReadFileBytes(driver::ExeDir() + "\\KESTRUM.EXE"));
    EXPECT_EQ(FolderEntries(places.group), kGroupLinks) << "the old group's extra file is gone";
    for (const std::string& link : kGroupLinks)
        EXPECT_TRUE(HoldsShellLink(places.group + "\\" + link)) << link;
    EXPECT_TRUE(HoldsShellLink(places.desktopLink));
}

TEST_F(InstallerTest, AReadOnlyInstallerFileIsReplaced) {
    ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr));
    ASSERT_TRUE(driver::WriteFileBytes(InFolder("KESTRUM.EXE"), "MZ an older board"));
    ASSERT_TRUE(driver::WriteFileBytes(InFolder("vqpsx.exe"), "MZ an older installer"));
    ASSERT_TRUE(SetFileAttributesA(InFolder("vqpsx.exe").c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(
        driver::RegSetText(std::string(kSettingsRoot) + "\\Configure", "ThisProgramDir", folder_));

    StartInstaller();
    HWND dialog = WaitInstallDialog();
    ASSERT_TRUE(dialog);
    driver::Click(dialog, IDB_NEXT);
    AnswerInstalledMessage();
    EXPECT_EQ(WaitInstallerEnd(), 0u) << "the install completes";
    EXPECT_TRUE(driver::ReadFileBytes(InFolder("vqpsx.exe")) ==
                driver::ReadFileBytes(InstallerPath()));
    EXPECT_TRUE(SameTime(LastWriteTime(InFolder("vqpsx.exe")), LastWriteTime(InstallerPath())));
}

TEST_F(InstallerTest, AnUnwritableBoardProgramStopsTheRunAtTheFirstFile) {
    ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr));
    const std::string old = "MZ an older board";
    ASSERT_TRUE(driver::WriteFileBytes(InFolder("KESTRUM.EXE"), old));
    // Held open without write sharing: nothing can write it (the read-only attribute
    // would not stop an installer running as root under Wine).
    HANDLE held = CreateFileA(InFolder("KESTRUM.EXE").c_str(), GENERIC_READ, FILE_SHARE_READ,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);

    StartInstaller();
    HWND dialog = WaitInstallDialog();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(driver::ItemText(dialog, IDE_INSTALL_PATH), folder_);
    driver::Click(dialog, IDB_NEXT);
    std::string caption;
    EXPECT_EQ(AnswerBox(IDOK, &caption),
              "Copying to:\nC:\\vqp\\KESTRUM.EXE\nThe file could not be copied.\n\no Is "
              "C:\\vqp\\KESTRUM.EXE in use?\no Is your disk full?\n");
    EXPECT_EQ(caption, kStopCaption);
    EXPECT_EQ(AnswerBox(IDOK, &caption).rfind("Permissions Problems\n\n", 0), 0u);
    EXPECT_EQ(caption, kStopCaption);
    EXPECT_EQ(AnswerBox(IDOK, &caption), kFailed);
    EXPECT_EQ(caption, kStopCaption);
    EXPECT_EQ(WaitInstallerEnd(), 1u);
    CloseHandle(held);

    EXPECT_EQ(FolderEntries(folder_), std::vector<std::string>{"KESTRUM.EXE"})
        << "no later file step ran";
    EXPECT_TRUE(driver::ReadFileBytes(InFolder("KESTRUM.EXE")) == old);
    EXPECT_EQ(Setting("Configure", "ThisProgramDir"), folder_) << "recorded before the files";
    std::string entry;
    EXPECT_FALSE(driver::RegGetText(kUninstallKey, "DisplayName", &entry));
    EXPECT_FALSE(driver::FileExists(Shortcuts().desktopLink));
    EXPECT_FALSE(driver::WaitVisibleWindow("Tessaro >", 500)) << "no board was started";
}

TEST_F(InstallerTest, ProjectsOfTheLegacyFolderAreCarriedOverButNotItsSample) {
    ASSERT_TRUE(CreateDirectoryA(kLegacyFolder, nullptr));
    const std::string legacy = kLegacyFolder;
    const std::string old = MakeImage({"Old project"}, {"kept from the old place"});
    ASSERT_TRUE(driver::WriteFileBytes(legacy + "\\OLD.VQP", old));
    ASSERT_TRUE(driver::WriteFileBytes(legacy + "\\SAMPLE.VQP", MakeImage({"Legacy sample"})));
    ASSERT_TRUE(driver::WriteFileBytes(legacy + "\\NOTES.TXT", "not a project"));

    StartInstaller();
    HWND dialog = WaitInstallDialog();
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(driver::IsChecked(dialog, IDO_UPGRADING)) << "the legacy folder comes first";
    EXPECT_EQ(driver::ItemText(dialog, IDE_INSTALL_PATH), legacy);
    // The user picks the short path instead, as a click on its option does.
    PostMessageA(GetDlgItem(dialog, IDO_SHORT_PATH), BM_CLICK, 0, 0);
    EXPECT_TRUE(driver::WaitUntil(
        [&] { return driver::ItemText(dialog, IDE_INSTALL_PATH) == kShortFolder; }, kWait,
        "the short path in the path field"))
        << driver::LastFailure();
    EXPECT_TRUE(driver::IsChecked(dialog, IDO_SHORT_PATH));
    driver::Click(dialog, IDB_NEXT);
    AnswerInstalledMessage();
    EXPECT_EQ(WaitInstallerEnd(), 0u);

    EXPECT_TRUE(driver::ReadFileBytes(InFolder("OLD.VQP")) == old);
    EXPECT_TRUE(driver::ReadFileBytes(InFolder("SAMPLE.VQP")) == SampleImage())
        << "the fresh sample stays";
    EXPECT_FALSE(driver::FileExists(InFolder("NOTES.TXT")));
    EXPECT_TRUE(driver::ReadFileBytes(legacy + "\\OLD.VQP") == old) << "copied, not moved";
}

TEST_F(InstallerTest, ARunningBoardIsClosedFirst) {
    const std::string boardFolder = driver::MakeScratchDir("InstallerTest.RunningBoard");
    ASSERT_FALSE(boardFolder.empty()) << driver::LastFailure();
    ASSERT_TRUE(driver::WriteFileBytes(boardFolder + "\\SAMPLE.VQP", SampleImage()));
    ASSERT_TRUE(driver::RegSetText(std::string(kSettingsRoot) + "\\Configure", "ThisProgramDir",
                                   boardFolder));
    ASSERT_TRUE(driver::RegSetText(std::string(kSettingsRoot) + "\\Options", "UseSystemTray", "0"));
    driver::Process board = driver::Start(driver::ExeDir() + "\\KESTRUM.EXE", "", boardFolder);
    ASSERT_NE(board.pid, 0u) << driver::LastFailure();
    HWND window = driver::WaitVisibleWindow("Tessaro >", kWait, board.pid);
    ASSERT_TRUE(window) << driver::LastFailure();
    ASSERT_TRUE(driver::WaitUntil(
        [&] { return Setting("Handles", "TransHandle") == std::to_string((int)(INT_PTR)window); },
        kWait, "the board's handle in the settings"));

    StartInstaller();
    std::string caption;
    EXPECT_EQ(AnswerBox(IDOK, &caption),
              "Closing [Tessaro] as it can not be running while doing this operation...");
    EXPECT_EQ(caption, "Tessaro");
    DWORD code = 0;
    EXPECT_TRUE(driver::WaitExit(board, kWait, &code)) << driver::LastFailure();
    driver::CloseProcess(board);
    HWND dialog = WaitInstallDialog();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(Setting("Handles", "TransHandle"), "0") << "the board had gone before the dialog";
    driver::Click(dialog, IDB_EXIT);
    EXPECT_EQ(AnswerBox(), kFailed);
    EXPECT_EQ(WaitInstallerEnd(), 1u);
    driver::RemoveTree(boardFolder);
}

TEST_F(InstallerTest, NextRefusesFoldersItCannotUse) {
    StartInstaller();
    HWND dialog = WaitInstallDialog();
    ASSERT_TRUE(dialog);
    std::string caption;
    auto next = [&](const std::string& path) {
        EXPECT_TRUE(driver::SetItemText(dialog, IDE_INSTALL_PATH, path));
        driver::Click(dialog, IDB_NEXT);
    };

    next("C:\\" + std::string(234, 'x')); // 237 characters
    EXPECT_EQ(AnswerBox(IDOK, &caption), "The Path you Specified is to long.");
    EXPECT_EQ(caption, kStopCaption);

    next(driver::ExeDir() + "\\"); // the start folder, written another way
    EXPECT_EQ(AnswerBox(IDOK, &caption),
              "You can not install from the same directory that you are installing to.\n\n"
              "Please select a different directory.");
    EXPECT_EQ(caption, kStopCaption);

    next("\\nowhere");
    EXPECT_EQ(AnswerBox(IDOK, &caption),
              "The Path you Specified:\n\\nowhere\ncould not be created because it does not "
              "include a valid drive letter.");
    EXPECT_EQ(caption, "Tessaro");
    EXPECT_EQ(AnswerBox(),
              "The Path to the Folder you Specified:\n\\nowhere\ncould not be created.\n");
    EXPECT_EQ(AnswerBox().rfind("Permissions Problems", 0), 0u);

    ASSERT_TRUE(driver::WriteFileBytes(InFolder("in the way"), "a file"));
    next(InFolder("in the way\\Tessaro"));
    EXPECT_EQ(AnswerBox(IDOK, &caption),
              "The Path you Specified:\nC:\\vqp\\in the way\ncould not be created.");
    EXPECT_EQ(caption, "Tessaro");
    EXPECT_EQ(AnswerBox(),
              "The Path to the Folder you Specified:\nC:\\vqp\\in the "
              "way\\Tessaro\ncould not be created.\n");
    EXPECT_EQ(AnswerBox().rfind("Permissions Problems", 0), 0u);

    // An option that is not there yet says so and moves to one that is.
    PostMessageA(GetDlgItem(dialog, IDO_ROAMING_USER), BM_CLICK, 0, 0);
    EXPECT_EQ(AnswerBox(IDOK, &caption), "Roaming will be available in future versions.");
    EXPECT_EQ(caption, "Tessaro");
    EXPECT_TRUE(driver::WaitUntil([&] { return driver::IsChecked(dialog, IDO_SHORT_PATH); }, kWait,
                                  "the short path selected"));

    EXPECT_TRUE(driver::IsVisible(dialog)) << "the dialog stays for another try";
    EXPECT_EQ(Setting("Configure", "ThisProgramDir"), "<missing>") << "nothing installed";
    driver::Click(dialog, IDB_EXIT);
    EXPECT_EQ(AnswerBox(), kFailed);
    EXPECT_EQ(WaitInstallerEnd(), 1u);
}

TEST_F(InstallerTest, ExitInstallsNothing) {
    StartInstaller();
    HWND dialog = WaitInstallDialog();
    ASSERT_TRUE(dialog);
    driver::Click(dialog, IDB_EXIT);
    std::string caption;
    EXPECT_EQ(AnswerBox(IDOK, &caption), kFailed);
    EXPECT_EQ(caption, kStopCaption);
    EXPECT_EQ(WaitInstallerEnd(), 1u);
    EXPECT_EQ(FolderEntries(folder_), std::vector<std::string>{}) << "the offered folder only";
    EXPECT_EQ(Setting("Configure", "ThisProgramDir"), "<missing>");
    std::string entry;
    EXPECT_FALSE(driver::RegGetText(kUninstallKey, "DisplayName", &entry));
    EXPECT_FALSE(driver::FileExists(Shortcuts().desktopLink));
    EXPECT_FALSE(driver::DirExists(Shortcuts().group));
}

TEST_F(InstallerTest, TheLegacySettingsFileIsTakenOverAtStart) {
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, sizeof windows);
    const std::string ini = std::string(windows) + "\\kestrum.ini";
    ASSERT_TRUE(driver::WriteFileBytes(ini,
                                       "; settings of an old version\r\n[Configure]\r\n"
                                       "ThisProgramDir=C:\\Old Place\r\n[Options]\r\n"
                                       "TopMost=0\r\nAutoPaste=1\r\n"));
    StartInstaller();
    HWND dialog = WaitInstallDialog();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(Setting("Configure", "ThisProgramDir"), "C:\\Old Place");
    EXPECT_EQ(Setting("Options", "TopMost"), "0");
    EXPECT_EQ(Setting("Options", "AutoPaste"), "1");
    EXPECT_FALSE(driver::FileExists(ini)) << "taken over once";
    EXPECT_EQ(driver::ItemText(dialog, IDE_INSTALL_PATH), kShortFolder)
        << "a recorded folder without the board program is not offered";
    driver::Click(dialog, IDB_EXIT);
    EXPECT_EQ(AnswerBox(), kFailed);
    EXPECT_EQ(WaitInstallerEnd(), 1u);
}
