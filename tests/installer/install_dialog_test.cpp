// The install dialog run for real inside the test process, over a scratch folder set. A
// thread timer plays the user: each scripted step waits for its moment, then acts. Message
// boxes are answered through the message hook.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>

#include "base/text.h"
#include "installer/install_dialog.h"
#include "installer/messages.h"
#include "resources/vqpsx_ids.h"
#include "settings/settings.h"
#include "support.h"
#include "ui/window_stack.h"

using namespace installer;

namespace {

// A step returns false while its moment has not come.
using Step = std::function<bool(HWND dialog)>;
std::deque<Step> g_steps;

std::string Text(HWND dialog, int id) {
    char text[1024] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

void Click(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dialog, id));
}

// Clicks an option button as the user does: it becomes checked, then the click arrives.
void ClickOption(HWND dialog, int id) {
    CheckRadioButton(dialog, IDO_SHORT_PATH, IDO_UPGRADING, id);
    Click(dialog, id);
}

void CALLBACK PlayUser(HWND, UINT, UINT_PTR, DWORD) {
    HWND top = ui::TopWindowHandle();
    if (!top || !GetDlgItem(top, IDE_INSTALL_PATH) || !IsWindowVisible(top) || g_steps.empty())
        return;
    Step step = g_steps.front();
    if (step(top))
        g_steps.pop_front();
}

int CheckedOption(HWND dialog) {
    for (int id = IDO_SHORT_PATH; id <= IDO_UPGRADING; ++id)
        if (IsDlgButtonChecked(dialog, id) == BST_CHECKED)
            return id;
    return 0;
}

class InstallDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        g_steps.clear();
        before_ = test::CurrentFolder();
        start_ = scratch_.MakeFolder("Setup");
        ASSERT_TRUE(SetCurrentDirectoryA(start_.c_str()));
        env_.shellFolders[kCsidlLocalAppData] = scratch_.MakeFolder("Local");
        base::CopyText(places_.legacyFolder, sizeof places_.legacyFolder,
                       (scratch_ / "Legacy").c_str());
        base::CopyText(places_.shortFolder, sizeof places_.shortFolder, (scratch_ / "vqp").c_str());
        timer_ = SetTimer(nullptr, 0, 20, PlayUser);
        ASSERT_NE(timer_, 0u);
        stack_ = ui::WindowStackCount();
    }
    void TearDown() override {
        KillTimer(nullptr, timer_);
        SetCurrentDirectoryA(before_.c_str());
        EXPECT_TRUE(g_steps.empty()) << "scripted steps that never came";
        EXPECT_EQ(ui::WindowStackCount(), stack_);
    }
    INT_PTR Run() { return RunInstallDialog(nullptr, env_, places_, folder_, sizeof folder_); }

    test::ScratchFolder scratch_{"install-dialog"};
    test::FakeEnvironment env_;
    test::MessageLog messages_;
    InstallPlaces places_;
    char folder_[300] = "unchanged";
    std::string before_, start_;
    UINT_PTR timer_ = 0;
    int stack_ = 0;
};

} // namespace

TEST_F(InstallDialogTest, OpensWithTheFirstProposalAndExitCancels) {
    std::string title, intro, heading, startLine, path;
    int option = 0;
    bool focusOnNext = false;
    g_steps.push_back([&](HWND d) {
        char text[256] = "";
        GetWindowTextA(d, text, sizeof text);
        title = text;
        intro = Text(d, IDT_INSTALL_INTRO);
        heading = Text(d, IDT_PATH_HEADING);
        startLine = Text(d, IDT_SOURCE_FILE);
        path = Text(d, IDE_INSTALL_PATH);
        option = CheckedOption(d);
        focusOnNext = GetFocus() == GetDlgItem(d, IDB_NEXT);
        Click(d, IDB_EXIT);
        return true;
    });
    EXPECT_EQ(Run(), IDCANCEL);
    EXPECT_EQ(title, "Tessaro Installation");
    EXPECT_EQ(intro.rfind("Select a Drive and a Path to the Folder where you want Tessaro to be "
                          "Installed.",
                          0),
              0u);
    EXPECT_EQ(heading, "Installing Tessaro to the following Folder . . . ");
    EXPECT_EQ(startLine, start_);
    EXPECT_EQ(path, places_.shortFolder);
    EXPECT_EQ(option, IDO_SHORT_PATH);
    EXPECT_TRUE(focusOnNext);
    EXPECT_STREQ(folder_, "") << "no folder after Exit";
    EXPECT_TRUE(messages_.Messages().empty());
    EXPECT_TRUE(env_.writes.empty());
}

TEST_F(InstallDialogTest, AnOptionChainMovesTheSelectionAndTheField) {
    std::string path;
    int option = 0;
    g_steps.push_back([](HWND d) {
        ClickOption(d, IDO_ROAMING_USER);
        return true;
    });
    g_steps.push_back([&](HWND d) {
        path = Text(d, IDE_INSTALL_PATH);
        option = CheckedOption(d);
        Click(d, IDB_EXIT);
        return true;
    });
    EXPECT_EQ(Run(), IDCANCEL);
    EXPECT_EQ(messages_.Texts(), std::vector<std::string>{kMsgRoamingLater});
    EXPECT_EQ(option, IDO_SHORT_PATH) << "roaming ends on the short path";
    EXPECT_EQ(path, places_.shortFolder);
}

TEST_F(InstallDialogTest, AChainWithoutAnyFolderEndsTheDialog) {
    g_steps.push_back([&](HWND d) {
        env_.shellFolders.clear();
        ClickOption(d, IDO_LOCAL_USER);
        return true;
    });
    EXPECT_EQ(Run(), IDCANCEL);
    EXPECT_EQ(messages_.Texts(), std::vector<std::string>{kMsgNoLocalFolder});
}

TEST_F(InstallDialogTest, NoFolderToProposeEndsAtOnce) {
    env_.shellFolders.clear();
    base::CopyText(places_.shortFolder, sizeof places_.shortFolder,
                   (scratch_ / "missing\\vqp").c_str());
    EXPECT_EQ(Run(), IDCANCEL);
    EXPECT_EQ(messages_.Texts(), std::vector<std::string>{kMsgNoFolderToInstallInto});
}

TEST_F(InstallDialogTest, RefusedFoldersKeepTheDialogOpen) {
    const std::string tooLong = "C:\\" + std::string(234, 'x');
    bool stillOpen = false;
    g_steps.push_back([&](HWND d) {
        SetDlgItemTextA(d, IDE_INSTALL_PATH, tooLong.c_str());
        Click(d, IDB_NEXT);
        return true;
    });
    g_steps.push_back([&](HWND d) {
        SetDlgItemTextA(d, IDE_INSTALL_PATH, (start_ + "\\").c_str());
        PostMessageA(d, WM_COMMAND, IDOK, 0); // Enter acts as Next
        return true;
    });
    g_steps.push_back([&](HWND d) {
        stillOpen = IsWindowVisible(d) != 0;
        PostMessageA(d, WM_COMMAND, IDCANCEL, 0); // Escape acts as Exit
        return true;
    });
    EXPECT_EQ(Run(), IDCANCEL);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(messages_.Texts(), (std::vector<std::string>{kMsgPathTooLong, kMsgSameFolder}));
    EXPECT_TRUE(env_.writes.empty()) << "nothing installed";
}

TEST_F(InstallDialogTest, NextInstallsOnceEvenWhenClickedAgainDuringTheRun) {
    const std::string target = scratch_ / "Apps\\Tessaro";
    std::string progress, destination;
    bool clickedDuringRun = false;
    g_steps.push_back([&](HWND d) {
        SetDlgItemTextA(d, IDE_INSTALL_PATH, target.c_str());
        Click(d, IDB_NEXT);
        return true;
    });
    g_steps.push_back([&](HWND d) {
        if (Text(d, IDT_PROGRESS).empty())
            return false; // the run has not started yet
        Click(d, IDB_NEXT);
        Click(d, IDB_EXIT);
        PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
        clickedDuringRun = true;
        return true;
    });
    g_steps.push_back([&](HWND d) {
        progress = Text(d, IDT_PROGRESS);
        destination = Text(d, IDT_DESTINATION_FILE);
        return progress.size() == 136;
    });
    EXPECT_EQ(Run(), IDOK);
    EXPECT_TRUE(clickedDuringRun);
    EXPECT_STREQ(folder_, target.c_str());
    EXPECT_TRUE(messages_.Messages().empty());
    EXPECT_EQ(env_.writes, std::vector<std::string>{"Configure\\ThisProgramDir=" + target})
        << "one run only";
    EXPECT_EQ(env_.entries.size(), 1u);
    EXPECT_EQ(test::FolderEntries(target),
              (std::vector<std::string>{"KESTRUM.EXE", "README.ICO", "README.TXT", "SAMPLE.VQP",
                                        "UNINSTL.ICO", "vqpsx.exe"}));
    EXPECT_EQ(progress, std::string(136, '|'));
}
