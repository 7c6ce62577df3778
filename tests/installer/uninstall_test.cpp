// The uninstaller run for real inside the test process over a scratch installation: the
// relaunch's copy, the question, the uninstall dialog (a thread timer plays the user), the
// removal and the last message. Message boxes are answered through the message hook.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "installer/messages.h"
#include "installer/uninstall_sequence.h"
#include "resources/vqpsx_ids.h"
#include "settings/settings.h"
#include "support.h"
#include "ui/window_stack.h"

using namespace installer;

namespace {

const UINT kQuestionType = MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2;

// What the relaunch started: file, arguments, folder.
std::vector<std::vector<std::string>> g_started;

void RecordStart(HWND, const char* file, const char* arguments, const char* folder) {
    g_started.push_back({file, arguments, folder});
}

// The user at the uninstall dialog: each step waits for its moment, then acts.
using Step = std::function<bool(HWND dialog)>;
std::deque<Step> g_steps;
int g_dialogsSeen = 0;
HWND g_lastDialog = nullptr;
int g_idleTicks = 0;
int g_strayCancels = 0; // dialogs the script left open, cancelled so the test ends

void CALLBACK PlayUser(HWND, UINT, UINT_PTR, DWORD) {
    HWND top = ui::TopWindowHandle();
    if (!top || !GetDlgItem(top, IDT_UNINSTALL_WARNING) || !IsWindowVisible(top))
        return;
    if (top != g_lastDialog) {
        g_lastDialog = top;
        ++g_dialogsSeen;
        g_idleTicks = 0;
    }
    if (g_steps.empty()) {
        if (++g_idleTicks == 50) {
            ++g_strayCancels;
            PostMessageA(top, WM_COMMAND, IDCANCEL, 0);
        }
        return;
    }
    g_idleTicks = 0;
    if (g_steps.front()(top))
        g_steps.pop_front();
}

void Click(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dialog, id));
}

// A key as the keyboard delivers it: to the window with the focus, through the dialog's
// loop.
void PressKey(WPARAM key) {
    HWND focus = GetFocus();
    PostMessageA(focus, WM_KEYDOWN, key, 1);
    PostMessageA(focus, WM_KEYUP, key, 0xC0000001);
}

std::string Text(HWND window) {
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

class UninstallTest : public ::testing::Test {
  protected:
    void SetUp() override {
        g_started.clear();
        g_steps.clear();
        g_dialogsSeen = 0;
        g_lastDialog = nullptr;
        g_idleTicks = 0;
        g_strayCancels = 0;
        test::g_waits.clear();
        install_ = scratch_.MakeFolder("Apps\\vqp");
        scratch_.Write("Apps\\vqp\\KESTRUM.EXE", "the board");
        scratch_.Write("Apps\\vqp\\vqpsx.exe", "the installed uninstaller");
        scratch_.Write("Apps\\vqp\\SAMPLE.VQP", "sample");
        scratch_.MakeFolder("Apps\\vqp\\Old");
        scratch_.Write("Apps\\vqp\\Old\\WORK.VQP", "work");
        env_.SetSetting(settings::kConfigure, settings::kThisProgramDir, install_);
        local_ = scratch_.MakeFolder("Local");
        env_.shellFolders[kCsidlLocalAppData] = local_ + "\\";
        hooks_.wait = test::RecordWait;
        hooks_.start = RecordStart;
        timer_ = SetTimer(nullptr, 0, 20, PlayUser);
        ASSERT_NE(timer_, 0u);
        stack_ = ui::WindowStackCount();
    }
    void TearDown() override {
        KillTimer(nullptr, timer_);
        EXPECT_TRUE(g_steps.empty()) << "scripted steps that never came";
        EXPECT_EQ(g_strayCancels, 0) << "a dialog stayed open after the script";
        EXPECT_EQ(ui::WindowStackCount(), stack_);
    }

    // The desktop shortcut, the two startup shortcuts and the two groups, in scratch
    // places; returns every file made.
    std::vector<std::string> PlaceShortcuts() {
        const std::pair<int, std::string> places[] = {
            {kCsidlDesktop, "Desktop"},           {kCsidlPrograms, "Programs"},
            {kCsidlStartup, "Startup"},           {kCsidlCommonPrograms, "All Programs"},
            {kCsidlCommonStartup, "All Startup"},
        };
        for (const auto& p : places)
            env_.shellFolders[p.first] = scratch_.MakeFolder("Shell\\" + p.second);
        scratch_.MakeFolder("Shell\\Programs\\Tessaro");
        scratch_.MakeFolder("Shell\\All Programs\\Tessaro");
        return {
            scratch_.Write("Shell\\Desktop\\Tessaro.lnk", "link"),
            scratch_.Write("Shell\\Startup\\Tessaro.lnk", "link"),
            scratch_.Write("Shell\\All Startup\\Tessaro.lnk", "link"),
            scratch_.Write("Shell\\Programs\\Tessaro\\UnInstall.lnk", "link"),
            scratch_.Write("Shell\\All Programs\\Tessaro\\Tessaro.lnk", "link"),
        };
    }

    std::string CopyPlace() const { return local_ + "\\TEMP\\vqp"; }

    int Relaunch() { return RunRelaunch(nullptr, env_, hooks_); }
    int Uninstall() { return RunUninstallSequence(nullptr, env_, hooks_); }

    void ExpectInstallationIntact() {
        EXPECT_EQ(test::FolderEntries(install_),
                  (std::vector<std::string>{"KESTRUM.EXE", "Old", "SAMPLE.VQP", "vqpsx.exe"}));
        EXPECT_EQ(test::ReadAll(install_ + "\\Old\\WORK.VQP"), "work");
    }

    test::ScratchFolder scratch_{"uninstall"};
    test::FakeEnvironment env_;
    UninstallHooks hooks_;
    std::string install_, local_;
    UINT_PTR timer_ = 0;
    int stack_ = 0;
};

using RelaunchTest = UninstallTest;

} // namespace

TEST_F(RelaunchTest, TheInstalledUninstallerIsCopiedOutAndStartedWithUnInstall2) {
    test::MessageLog messages;
    // Trailing separators and line ends from a hand-edited value do not matter.
    env_.SetSetting(settings::kConfigure, settings::kThisProgramDir, install_ + "\\/ \r\n");
    EXPECT_EQ(Relaunch(), IDCANCEL) << "this process uninstalls nothing itself";
    const std::string copy = CopyPlace() + "\\vqpsx.exe";
    EXPECT_EQ(test::ReadAll(copy), "the installed uninstaller");
    ASSERT_EQ(g_started.size(), 1u);
    EXPECT_EQ(g_started[0], (std::vector<std::string>{copy, "UnInstall2", CopyPlace()}));
    EXPECT_EQ(test::g_waits, std::vector<unsigned>{128u});
    EXPECT_TRUE(messages.Messages().empty());
    ExpectInstallationIntact();
}

TEST_F(RelaunchTest, AnEarlierReadOnlyCopyIsReplaced) {
    test::MessageLog messages;
    scratch_.MakeFolder("Local\\TEMP\\vqp");
    const std::string copy = scratch_.Write("Local\\TEMP\\vqp\\vqpsx.exe", "an earlier copy");
    ASSERT_TRUE(SetFileAttributesA(copy.c_str(), FILE_ATTRIBUTE_READONLY));
    Relaunch();
    EXPECT_EQ(test::ReadAll(copy), "the installed uninstaller");
    EXPECT_EQ(GetFileAttributesA(copy.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_EQ(g_started.size(), 1u);
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(RelaunchTest, ADriveRootOrABareNameIsNoUninstallPath) {
    for (const char* recorded : {"C:\\", "C:/", "C:", "vqp", "", "  "}) {
        test::MessageLog messages;
        env_.SetSetting(settings::kConfigure, settings::kThisProgramDir, recorded);
        EXPECT_EQ(Relaunch(), IDCANCEL);
        ASSERT_EQ(messages.Messages().size(), 1u) << "[" << recorded << "]";
        EXPECT_EQ(messages.Messages()[0].text, "Unable to create an uninstall path.");
        EXPECT_EQ(messages.Messages()[0].caption, "Tessaro Installation");
        EXPECT_EQ(messages.Messages()[0].type, (UINT)MB_ICONSTOP);
    }
    EXPECT_TRUE(g_started.empty());
    EXPECT_FALSE(test::Exists(CopyPlace())) << "nothing copied";
}

TEST_F(RelaunchTest, WithoutALocalFolderNothingIsCopied) {
    test::MessageLog messages;
    env_.shellFolders.erase(kCsidlLocalAppData);
    EXPECT_EQ(Relaunch(), IDCANCEL);
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].text, "Unable to access a folder to install into.");
    EXPECT_EQ(messages.Messages()[0].caption, "Tessaro");
    EXPECT_EQ(messages.Messages()[0].type, (UINT)MB_ICONINFORMATION);
    EXPECT_TRUE(g_started.empty());
}

TEST_F(RelaunchTest, AMissingUninstallerIsNamed) {
    test::MessageLog messages;
    ASSERT_TRUE(DeleteFileA((install_ + "\\vqpsx.exe").c_str()));
    EXPECT_EQ(Relaunch(), IDCANCEL);
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].text,
              "Source File:\n" + install_ + "\\vqpsx.exe\nis missing!");
    EXPECT_EQ(messages.Messages()[0].caption, "Tessaro Installation");
    EXPECT_EQ(messages.Messages()[0].type, (UINT)MB_ICONSTOP);
    EXPECT_TRUE(g_started.empty());
}

TEST_F(RelaunchTest, ACopyThatFailsIsExplainedAndNothingStarts) {
    test::MessageLog messages;
    scratch_.MakeFolder("Local\\TEMP\\vqp");
    const std::string copy = CopyPlace() + "\\vqpsx.exe";
    test::HeldOpen held(copy); // an earlier copy still running
    ASSERT_TRUE(held.IsOpen());
    EXPECT_EQ(Relaunch(), IDCANCEL);
    const std::string source = install_ + "\\vqpsx.exe";
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].text,
              "Copying from:\n" + source + "\nCopying to:\n" + copy +
                  "\nThe file could not be copied.\n\no Is " + copy +
                  " in use?\no Is your disk full?\no You may have specified an invalid "
                  "destination.\n");
    EXPECT_EQ(messages.Messages()[0].caption, "Tessaro Installation");
    EXPECT_EQ(messages.Messages()[0].type, (UINT)MB_ICONSTOP);
    EXPECT_TRUE(g_started.empty());
}

TEST_F(UninstallTest, NoAtTheQuestionChangesNothing) {
    const std::vector<std::string> links = PlaceShortcuts();
    test::MessageLog messages(IDNO);
    EXPECT_EQ(Uninstall(), IDCANCEL);
    ASSERT_EQ(messages.Messages().size(), 1u) << "the question only";
    EXPECT_EQ(messages.Messages()[0].text, "Do you really want to UnInstall Tessaro?");
    EXPECT_EQ(messages.Messages()[0].caption, "Tessaro");
    EXPECT_EQ(messages.Messages()[0].type, kQuestionType) << "No is the default";
    EXPECT_EQ(g_dialogsSeen, 0);
    EXPECT_TRUE(test::g_waits.empty());
    ExpectInstallationIntact();
    for (const std::string& link : links)
        EXPECT_TRUE(test::Exists(link)) << link;
}

TEST_F(UninstallTest, TheDialogWarnsWithTheFolderAndCancelChangesNothing) {
    const std::vector<std::string> links = PlaceShortcuts();
    env_.SetSetting(settings::kConfigure, settings::kThisProgramDir, install_ + "\\ ");
    std::string title, warning;
    bool focusOnCancel = false;
    g_steps.push_back([&](HWND d) {
        title = Text(d);
        warning = Text(GetDlgItem(d, IDT_UNINSTALL_WARNING));
        focusOnCancel = GetFocus() == GetDlgItem(d, IDB_UNINSTALL_CANCEL);
        Click(d, IDB_UNINSTALL_CANCEL);
        return true;
    });
    test::MessageLog messages(IDYES);
    EXPECT_EQ(Uninstall(), IDCANCEL);
    EXPECT_EQ(g_dialogsSeen, 1);
    EXPECT_EQ(title, "Tessaro UnInstall");
    EXPECT_EQ(warning, "You are UnInstalling [Tessaro] from Folder:\n" + install_ +
                           "\n\nDoing this will remove folder:\n" + install_ +
                           "\nfrom this computer. It will also delete all the Tessaro projects "
                           "and sub-folders that you may have in it.\n\nAre you sure you want "
                           "to do this?");
    EXPECT_TRUE(focusOnCancel);
    EXPECT_EQ(messages.Texts(),
              std::vector<std::string>{"Do you really want to UnInstall Tessaro?"});
    EXPECT_EQ(test::g_waits, std::vector<unsigned>{1000u}) << "the wait before the dialog";
    ExpectInstallationIntact();
    for (const std::string& link : links)
        EXPECT_TRUE(test::Exists(link)) << link;
}

TEST_F(UninstallTest, EscapeAndEnterOnCancelLeaveTheInstallation) {
    for (WPARAM key : {VK_ESCAPE, VK_RETURN}) {
        g_steps.push_back([key](HWND) {
            PressKey(key);
            return true;
        });
        test::MessageLog messages(IDYES);
        EXPECT_EQ(Uninstall(), IDCANCEL) << key;
        EXPECT_TRUE(g_steps.empty()) << key;
        EXPECT_EQ(messages.Texts().size(), 1u) << key;
        ExpectInstallationIntact();
    }
}

TEST_F(UninstallTest, FinishRemovesTheFolderAndTheShortcutsAndSaysSo) {
    const std::vector<std::string> links = PlaceShortcuts();
    g_steps.push_back([](HWND d) {
        Click(d, IDB_FINISH);
        return true;
    });
    test::MessageLog messages(IDYES);
    EXPECT_EQ(Uninstall(), IDOK);
    EXPECT_FALSE(test::Exists(install_));
    EXPECT_TRUE(test::IsFolder(scratch_ / "Apps")) << "nothing above the install folder";
    for (const std::string& link : links)
        EXPECT_FALSE(test::Exists(link)) << link;
    EXPECT_FALSE(test::Exists(scratch_ / "Shell\\Programs\\Tessaro"));
    EXPECT_FALSE(test::Exists(scratch_ / "Shell\\All Programs\\Tessaro"));
    ASSERT_EQ(messages.Messages().size(), 2u);
    EXPECT_EQ(messages.Messages()[1].text, "Tessaro has been UnInstalled.");
    EXPECT_EQ(messages.Messages()[1].caption, "Tessaro");
    EXPECT_EQ(messages.Messages()[1].type, (UINT)MB_ICONINFORMATION);
    EXPECT_EQ(test::g_waits, (std::vector<unsigned>{1000u, 64u, 64u, 64u, 64u, 64u}));
    EXPECT_TRUE(env_.writes.empty()) << "the settings stay as they were";
    EXPECT_EQ(env_.Setting(settings::kConfigure, settings::kThisProgramDir), install_);
}

TEST_F(UninstallTest, AFileThatCannotGoIsNamedInsteadOfSuccess) {
    const std::vector<std::string> links = PlaceShortcuts();
    test::HeldOpen held(install_ + "\\SAMPLE.VQP");
    ASSERT_TRUE(held.IsOpen());
    g_steps.push_back([](HWND d) {
        Click(d, IDB_FINISH);
        return true;
    });
    test::MessageLog messages(IDYES);
    EXPECT_EQ(Uninstall(), IDCANCEL) << "not uninstalled";
    held.Close();
    ASSERT_EQ(messages.Messages().size(), 2u);
    EXPECT_EQ(messages.Messages()[1].text, "Tessaro could not remove every file from:\n" +
                                               install_ +
                                               "\n\nClose any program that uses it and delete "
                                               "the folder yourself.");
    EXPECT_EQ(messages.Messages()[1].type, (UINT)MB_ICONWARNING);
    EXPECT_TRUE(test::Exists(install_ + "\\SAMPLE.VQP"));
    for (const std::string& link : links)
        EXPECT_FALSE(test::Exists(link)) << "the shortcuts go all the same: " << link;
}

TEST_F(UninstallTest, AFolderWithoutTheBoardIsNeverTouched) {
    const std::vector<std::string> links = PlaceShortcuts();
    const std::string documents = scratch_.MakeFolder("Documents");
    scratch_.Write("Documents\\letter.txt", "the user's letter");
    scratch_.Write("Documents\\vqpsx.exe", "a stray uninstaller");
    for (const std::string& recorded : {documents, scratch_ / "Gone", std::string()}) {
        env_.SetSetting(settings::kConfigure, settings::kThisProgramDir, recorded);
        test::MessageLog messages(IDYES);
        EXPECT_EQ(Uninstall(), IDCANCEL);
        EXPECT_EQ(messages.Texts(),
                  (std::vector<std::string>{"Do you really want to UnInstall Tessaro?",
                                            "The installation of Tessaro that you are "
                                            "UnInstalling from:\n" +
                                                recorded + "\ncan not be found."}));
        EXPECT_EQ(messages.Messages()[1].type, (UINT)MB_ICONINFORMATION);
    }
    EXPECT_EQ(g_dialogsSeen, 0);
    EXPECT_EQ(test::FolderEntries(documents),
              (std::vector<std::string>{"letter.txt", "vqpsx.exe"}));
    EXPECT_EQ(test::ReadAll(documents + "\\letter.txt"), "the user's letter");
    for (const std::string& link : links)
        EXPECT_TRUE(test::Exists(link)) << link;
}
