// The uninstaller from the outside: vqpsx.exe started with "UnInstall" copies itself to
// TEMP\vqp, the copy asks, shows its dialog and removes the installation; the test reads
// back the folders, the shortcut places, the settings and the uninstall entry.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include "e2e/board_fixture.h"
#include "e2e/installer_fixture.h"
#include "resources/kestrum_ids.h"
#include "resources/vqpsx_ids.h"

using namespace e2e;

namespace {

const char kQuestion[] = "Do you really want to UnInstall Tessaro?";
const char kUninstalled[] = "Tessaro has been UnInstalled.";

// What a shell link starts: program, arguments, start folder.
struct LinkCommand {
    std::string target, arguments, folder;
};

LinkCommand ReadLink(const std::string& path) {
    LinkCommand command;
    CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   (void**)&link))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, (void**)&file))) {
            wchar_t wide[MAX_PATH];
            MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
            if (SUCCEEDED(file->Load(wide, STGM_READ))) {
                char text[MAX_PATH] = "";
                if (SUCCEEDED(link->GetPath(text, sizeof text, nullptr, 0)))
                    command.target = text;
                text[0] = '\0';
                if (SUCCEEDED(link->GetArguments(text, sizeof text)))
                    command.arguments = text;
                text[0] = '\0';
                if (SUCCEEDED(link->GetWorkingDirectory(text, sizeof text)))
                    command.folder = text;
            }
            file->Release();
        }
        link->Release();
    }
    CoUninitialize();
    return command;
}

class UninstallerTest : public InstallerTest {
  protected:
    // An installation as the installer leaves it, made by hand (the board and the
    // uninstaller of this build), with a project and a folder of the user's, the uninstall
    // entry, and a file in each of the five shortcut places.
    void FakeInstallation() {
        ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr));
        ASSERT_TRUE(CopyFileA((driver::ExeDir() + "\\KESTRUM.EXE").c_str(),
                              InFolder("KESTRUM.EXE").c_str(), FALSE));
        ASSERT_TRUE(CopyFileA(InstallerPath().c_str(), InFolder("vqpsx.exe").c_str(), FALSE));
        ASSERT_TRUE(driver::WriteFileBytes(InFolder("SAMPLE.VQP"), SampleImage()));
        ASSERT_TRUE(driver::WriteFileBytes(InFolder("MY WORK.VQP"), MakeImage({"Mine"})));
        ASSERT_TRUE(CreateDirectoryA(InFolder("Old").c_str(), nullptr));
        ASSERT_TRUE(driver::WriteFileBytes(InFolder("Old\\OLD.VQP"), MakeImage({"Old"})));
        ASSERT_TRUE(driver::RegSetText(std::string(kSettingsRoot) + "\\Configure", "ThisProgramDir",
                                       folder_));
        ASSERT_TRUE(driver::RegSetText(kUninstallKey, "DisplayName", "Tessaro"));
        const ShortcutPlaces places = Shortcuts();
        ASSERT_TRUE(CreateDirectoryA(places.group.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryA(places.commonGroup.c_str(), nullptr));
        for (const std::string& link : Links())
            ASSERT_TRUE(driver::WriteFileBytes(link, "a shortcut")) << link;
    }

    // The shortcut files of FakeInstallation, one in each place.
    std::vector<std::string> Links() const {
        const ShortcutPlaces places = Shortcuts();
        return {places.desktopLink, places.startupLink, places.commonStartupLink,
                places.group + "\\UnInstall.lnk", places.commonGroup + "\\Tessaro.lnk"};
    }

    void ExpectFakeInstallationIntact() {
        EXPECT_EQ(FolderEntries(folder_),
                  (std::vector<std::string>{"KESTRUM.EXE", "MY WORK.VQP", "Old", "SAMPLE.VQP",
                                            "vqpsx.exe"}));
        EXPECT_TRUE(driver::ReadFileBytes(InFolder("Old\\OLD.VQP")) == MakeImage({"Old"}));
        for (const std::string& link : Links())
            EXPECT_EQ(driver::ReadFileBytes(link), "a shortcut") << link;
    }

    // The uninstall entry and the recorded folder, which an uninstall leaves.
    void ExpectSettingsAndEntryKept() {
        EXPECT_EQ(Setting("Configure", "ThisProgramDir"), folder_);
        std::string name;
        EXPECT_TRUE(driver::RegGetText(kUninstallKey, "DisplayName", &name));
        EXPECT_EQ(name, "Tessaro");
    }

    // Starts an installed uninstaller as the group's shortcut does: in its own folder.
    void StartUninstall(const std::string& exe) {
        installer_ = driver::Start(exe, "UnInstall", exe.substr(0, exe.rfind('\\')));
        ASSERT_NE(installer_.pid, 0u) << driver::LastFailure();
    }

    // Follows the relaunch and answers the copy's question.
    void RelaunchAndAnswer(int button) {
        ASSERT_TRUE(FollowRelaunch()) << driver::LastFailure();
        std::string caption;
        EXPECT_EQ(AnswerBox(button, &caption), kQuestion);
        EXPECT_EQ(caption, "Tessaro");
    }

    HWND WaitUninstallDialog() {
        HWND dialog = nullptr;
        driver::WaitUntil(
            [&] {
                for (HWND w : driver::TopWindowsOf(installer_.pid))
                    if (GetDlgItem(w, IDT_UNINSTALL_WARNING) && driver::IsVisible(w))
                        dialog = w;
                return dialog != nullptr;
            },
            kWait, "the uninstall dialog");
        EXPECT_TRUE(dialog) << driver::LastFailure()
                            << "; windows: " << driver::DescribeWindows(installer_.pid);
        return dialog;
    }

    // Yes at the question, Finish in the dialog; returns the last message.
    std::string Finish(std::string* caption = nullptr) {
        RelaunchAndAnswer(IDYES);
        HWND dialog = WaitUninstallDialog();
        if (!dialog)
            return "";
        driver::Click(dialog, IDB_FINISH);
        return AnswerBox(IDOK, caption);
    }
};

} // namespace

TEST_F(UninstallerTest, InstallThenUninstallThroughTheGroupsShortcut) {
    StartInstaller();
    HWND installDialog = WaitInstallDialog();
    ASSERT_TRUE(installDialog);
    driver::Click(installDialog, IDB_NEXT);
    AnswerInstalledMessage();
    ASSERT_EQ(WaitInstallerEnd(), 0u);
    CloseAllBoards();

    const ShortcutPlaces places = Shortcuts();
    const LinkCommand command = ReadLink(places.group + "\\UnInstall.lnk");
    EXPECT_EQ(command.target, InFolder("vqpsx.exe"));
    EXPECT_EQ(command.arguments, "UnInstall");
    installer_ = driver::Start(command.target, command.arguments, command.folder);
    ASSERT_NE(installer_.pid, 0u) << driver::LastFailure();
    const DWORD first = installer_.pid;
    ASSERT_TRUE(FollowRelaunch()) << driver::LastFailure();
    EXPECT_NE(installer_.pid, first) << "the first process ended; its copy runs";
    EXPECT_TRUE(driver::ReadFileBytes(UninstallerCopy()) == driver::ReadFileBytes(InstallerPath()))
        << "the copy in TEMP\\vqp is the installed uninstaller";

    std::string caption;
    EXPECT_EQ(AnswerBox(IDYES, &caption), kQuestion);
    EXPECT_EQ(caption, "Tessaro");
    HWND backdrop = Backdrop();
    ASSERT_TRUE(backdrop) << driver::DescribeWindows(installer_.pid);
    EXPECT_EQ(driver::Title(backdrop), "Tessaro UnInstalling");
    HWND dialog = WaitUninstallDialog();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(driver::Title(dialog), "Tessaro UnInstall");
    EXPECT_EQ(driver::ItemText(dialog, IDT_UNINSTALL_WARNING),
              "You are UnInstalling [Tessaro] from Folder:\nC:\\vqp\n\nDoing this will remove "
              "folder:\nC:\\vqp\nfrom this computer. It will also delete all the Tessaro "
              "projects and sub-folders that you may have in it.\n\nAre you sure you want to do "
              "this?");
    EXPECT_EQ(driver::FocusedClassOrId(dialog), "Button:1015") << "the focus on Cancel";
    driver::Click(dialog, IDB_FINISH);
    EXPECT_EQ(AnswerBox(IDOK, &caption), kUninstalled);
    EXPECT_EQ(caption, "Tessaro");
    EXPECT_EQ(WaitInstallerEnd(), 0u);

    EXPECT_FALSE(driver::DirExists(folder_));
    EXPECT_FALSE(driver::FileExists(places.desktopLink));
    EXPECT_FALSE(driver::DirExists(places.group));
    EXPECT_TRUE(driver::FileExists(UninstallerCopy())) << "the copy stays";
    ExpectSettingsAndEntryKept();
}

TEST_F(UninstallerTest, NoAtTheQuestionLeavesEverything) {
    FakeInstallation();
    StartUninstall(InFolder("vqpsx.exe"));
    RelaunchAndAnswer(IDNO);
    EXPECT_EQ(WaitInstallerEnd(), 1u) << "no other message";
    ExpectFakeInstallationIntact();
    ExpectSettingsAndEntryKept();
}

TEST_F(UninstallerTest, CancelInTheDialogLeavesEverything) {
    FakeInstallation();
    StartUninstall(InFolder("vqpsx.exe"));
    RelaunchAndAnswer(IDYES);
    HWND dialog = WaitUninstallDialog();
    ASSERT_TRUE(dialog);
    driver::Click(dialog, IDB_UNINSTALL_CANCEL);
    EXPECT_EQ(WaitInstallerEnd(), 1u);
    ExpectFakeInstallationIntact();
    ExpectSettingsAndEntryKept();
}

TEST_F(UninstallerTest, FinishRemovesTheFolderAndEveryShortcutPlace) {
    FakeInstallation();
    StartUninstall(InFolder("vqpsx.exe"));
    std::string caption;
    EXPECT_EQ(Finish(&caption), kUninstalled);
    EXPECT_EQ(caption, "Tessaro");
    EXPECT_EQ(WaitInstallerEnd(), 0u);
    EXPECT_FALSE(driver::DirExists(folder_));
    for (const std::string& link : Links())
        EXPECT_FALSE(driver::FileExists(link)) << link;
    EXPECT_FALSE(driver::DirExists(Shortcuts().group));
    EXPECT_FALSE(driver::DirExists(Shortcuts().commonGroup));
    ExpectSettingsAndEntryKept();
}

TEST_F(UninstallerTest, ARunningBoardIsClosedFirstAndItsProjectSaved) {
    FakeInstallation();
    ASSERT_TRUE(driver::RegSetText(std::string(kSettingsRoot) + "\\Options", "UseSystemTray", "0"));
    driver::Process board = driver::Start(InFolder("KESTRUM.EXE"), "", folder_);
    ASSERT_NE(board.pid, 0u) << driver::LastFailure();
    HWND window = driver::WaitVisibleWindow("Tessaro >C:\\vqp\\SAMPLE.VQP", kWait, board.pid);
    ASSERT_TRUE(window) << driver::LastFailure() << driver::DescribeWindows(board.pid);
    ASSERT_TRUE(driver::WaitUntil(
        [&] { return Setting("Handles", "TransHandle") == std::to_string((int)(INT_PTR)window); },
        kWait, "the board's handle in the settings"));
    ASSERT_TRUE(driver::SetItemText(window, FieldId(0), "typed before the uninstall"));

    StartUninstall(InFolder("vqpsx.exe"));
    std::string caption;
    EXPECT_EQ(AnswerBox(IDOK, &caption),
              "Closing [Tessaro] as it can not be running while doing this operation...");
    EXPECT_EQ(caption, "Tessaro");
    EXPECT_TRUE(driver::WaitExit(board, kWait)) << driver::LastFailure();
    driver::CloseProcess(board);
    RelaunchAndAnswer(IDYES);
    EXPECT_EQ(ImageText(driver::ReadFileBytes(InFolder("SAMPLE.VQP")), 0),
              "typed before the uninstall")
        << "the board saved its project as it closed";
    HWND dialog = WaitUninstallDialog();
    ASSERT_TRUE(dialog);
    driver::Click(dialog, IDB_FINISH);
    EXPECT_EQ(AnswerBox(), kUninstalled) << "the closed board's program file was not in use";
    EXPECT_EQ(WaitInstallerEnd(), 0u);
    EXPECT_FALSE(driver::DirExists(folder_));
}

TEST_F(UninstallerTest, ALockedFileIsReportedInsteadOfSuccess) {
    FakeInstallation();
    // Held open without delete sharing: the walk cannot delete it.
    HANDLE held = CreateFileA(InFolder("MY WORK.VQP").c_str(), GENERIC_READ, FILE_SHARE_READ,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    StartUninstall(InFolder("vqpsx.exe"));
    std::string caption;
    EXPECT_EQ(Finish(&caption),
              "Tessaro could not remove every file from:\nC:\\vqp\n\nClose "
              "any program that uses it and delete the folder yourself.");
    EXPECT_EQ(caption, "Tessaro");
    EXPECT_EQ(WaitInstallerEnd(), 1u) << "not uninstalled";
    CloseHandle(held);
    EXPECT_TRUE(driver::FileExists(InFolder("MY WORK.VQP")));
    for (const std::string& link : Links())
        EXPECT_FALSE(driver::FileExists(link)) << "the shortcuts go all the same: " << link;
    ExpectSettingsAndEntryKept();
}

TEST_F(UninstallerTest, AFolderWithoutTheBoardIsNeverTouched) {
    // A recorded folder that some older setting left pointing at the user's own files.
    const std::string documents = driver::MakeScratchDir("UninstallerTest.Documents");
    ASSERT_FALSE(documents.empty()) << driver::LastFailure();
    ASSERT_TRUE(driver::WriteFileBytes(documents + "\\letter.txt", "the user's letter"));
    ASSERT_TRUE(CopyFileA(InstallerPath().c_str(), (documents + "\\vqpsx.exe").c_str(), FALSE));
    ASSERT_TRUE(driver::RegSetText(std::string(kSettingsRoot) + "\\Configure", "ThisProgramDir",
                                   documents));
    StartUninstall(documents + "\\vqpsx.exe");
    RelaunchAndAnswer(IDYES);
    std::string caption;
    EXPECT_EQ(AnswerBox(IDOK, &caption),
              "The installation of Tessaro that you are UnInstalling from:\n" + documents +
                  "\ncan not be found.");
    EXPECT_EQ(caption, "Tessaro");
    EXPECT_EQ(WaitInstallerEnd(), 1u);
    EXPECT_EQ(FolderEntries(documents), (std::vector<std::string>{"letter.txt", "vqpsx.exe"}));
    EXPECT_EQ(driver::ReadFileBytes(documents + "\\letter.txt"), "the user's letter");
    driver::RemoveTree(documents);
}

TEST_F(UninstallerTest, ADriveRootIsNoUninstallPath) {
    ASSERT_TRUE(
        driver::RegSetText(std::string(kSettingsRoot) + "\\Configure", "ThisProgramDir", "C:\\"));
    installer_ = driver::Start(InstallerPath(), "UnInstall", driver::ExeDir());
    ASSERT_NE(installer_.pid, 0u) << driver::LastFailure();
    std::string caption;
    EXPECT_EQ(AnswerBox(IDOK, &caption), "Unable to create an uninstall path.");
    EXPECT_EQ(caption, "Tessaro Installation");
    EXPECT_EQ(WaitInstallerEnd(), 1u);
    EXPECT_FALSE(driver::FileExists(UninstallerCopy())) << "nothing copied, nothing started";
}
