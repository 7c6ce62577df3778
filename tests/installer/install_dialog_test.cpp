// The install dialog run for real inside the test process, over a scratch folder set. A
// thread timer plays the user: each scripted step waits for its moment, then acts. Message
// boxes are answered through the message hook.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <map>
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

struct Tip {
    int maxWidth = 0;
    std::vector<std::pair<HWND, std::string>> tools; // tool window and its text
};

BOOL CALLBACK CollectThreadWindow(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

// The tooltip controls the dialog owns, with their tools, narrowest first.
std::vector<Tip> TipsOf(HWND dialog) {
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), CollectThreadWindow, (LPARAM)&windows);
    std::vector<Tip> tips;
    for (HWND w : windows) {
        char name[64] = "";
        GetClassNameA(w, name, sizeof name);
        if (lstrcmpiA(name, TOOLTIPS_CLASSA) != 0 || GetWindow(w, GW_OWNER) != dialog)
            continue;
        Tip tip;
        tip.maxWidth = (int)SendMessageA(w, TTM_GETMAXTIPWIDTH, 0, 0);
        const int count = (int)SendMessageA(w, TTM_GETTOOLCOUNT, 0, 0);
        for (int i = 0; i < count; ++i) {
            // The wide form gives the whole text; the narrow one stops at 80 characters.
            WCHAR text[1024] = L"";
            TTTOOLINFOW info;
            ZeroMemory(&info, sizeof info);
            info.cbSize = TTTOOLINFOW_V2_SIZE;
            info.lpszText = text;
            if (!SendMessageW(w, TTM_ENUMTOOLSW, i, (LPARAM)&info))
                continue;
            char narrow[1024] = "";
            WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
            tip.tools.push_back({(HWND)info.uId, narrow});
        }
        tips.push_back(tip);
    }
    std::sort(tips.begin(), tips.end(),
              [](const Tip& a, const Tip& b) { return a.maxWidth < b.maxWidth; });
    return tips;
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

TEST_F(InstallDialogTest, OptionsAndThePathFieldHaveTheirTips) {
    env_.shellFolders[kCsidlProgramFiles] = scratch_.MakeFolder("Programs");
    env_.userName = "ada";
    std::vector<Tip> atStart, afterOption, afterTyping;
    HWND optionIds[4] = {};
    g_steps.push_back([&](HWND d) {
        atStart = TipsOf(d);
        optionIds[0] = GetDlgItem(d, IDO_SHORT_PATH);
        optionIds[1] = GetDlgItem(d, IDO_LOCAL_USER);
        optionIds[2] = GetDlgItem(d, IDO_PROGRAM_FILES);
        optionIds[3] = GetDlgItem(d, IDO_UPGRADING);
        ClickOption(d, IDO_LOCAL_USER);
        return true;
    });
    g_steps.push_back([&](HWND d) {
        afterOption = TipsOf(d);
        SetDlgItemTextA(d, IDE_INSTALL_PATH, "C:\\typed");
        afterTyping = TipsOf(d);
        Click(d, IDB_EXIT);
        return true;
    });
    EXPECT_EQ(Run(), IDCANCEL);

    ASSERT_EQ(atStart.size(), 2u) << "one control for the options, one for the path";
    EXPECT_EQ(atStart[0].maxWidth, 300);
    ASSERT_EQ(atStart[0].tools.size(), 4u) << "Roaming and Multi user have none";
    std::map<HWND, std::string> optionTips(atStart[0].tools.begin(), atStart[0].tools.end());
    EXPECT_EQ(optionTips[optionIds[0]],
              "Because the path is short and global it is easier to maintain your data such as "
              "message files and email address list files. This is good if you only plan to run "
              "one instance of Tessaro on this computer.");
    EXPECT_EQ(optionTips[optionIds[1]], "Tessaro will be available for this Username(ada) only.");
    EXPECT_EQ(optionTips[optionIds[2]],
              "Tessaro will be installed here[" + scratch_ / "Programs" + "\\Vontrel\\vqp]");
    EXPECT_EQ(optionTips[optionIds[3]], "Upgrade using the same paths as before.");

    EXPECT_EQ(atStart[1].maxWidth, 1500);
    ASSERT_EQ(atStart[1].tools.size(), 1u);
    EXPECT_EQ(atStart[1].tools[0].second, places_.shortFolder);

    ASSERT_EQ(afterOption.size(), 2u) << "the old path tip is replaced, not kept";
    ASSERT_EQ(afterOption[1].tools.size(), 1u);
    EXPECT_EQ(afterOption[1].tools[0].second, scratch_ / "Local\\Vontrel\\vqp")
        << "the tip follows what the dialog puts in the field";
    ASSERT_EQ(afterTyping.size(), 2u);
    EXPECT_EQ(afterTyping[1].tools[0].second, afterOption[1].tools[0].second)
        << "typing does not change the tip";
}

TEST(OptionTipText, ProgramFilesWithoutTheFolderAndOptionsWithoutTips) {
    test::FakeEnvironment env;
    char tip[512] = "x";
    EXPECT_TRUE(OptionTip(env, IDO_PROGRAM_FILES, tip, sizeof tip));
    EXPECT_STREQ(tip, "Tessaro will be installed here[\\Vontrel\\vqp]");
    EXPECT_FALSE(OptionTip(env, IDO_ROAMING_USER, tip, sizeof tip));
    EXPECT_STREQ(tip, "");
    EXPECT_FALSE(OptionTip(env, IDO_MULTI_USER, tip, sizeof tip));
    char small[8];
    EXPECT_TRUE(OptionTip(env, IDO_UPGRADING, small, sizeof small));
    EXPECT_STREQ(small, "Upgrade") << "cut to the buffer, terminated";
}
