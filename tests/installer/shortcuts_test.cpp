// Shortcuts through the real shell link object, with every special folder in a scratch
// folder. Links are read back with the shell's own link reader.
#include <gtest/gtest.h>

#include <objbase.h>
#include <shlobj.h>

#include <string>
#include <thread>
#include <vector>

#include "base/scoped.h"
#include "installer/messages.h"
#include "installer/shortcuts.h"
#include "support.h"

using namespace installer;

namespace {

struct LinkSeen {
    bool loaded = false;
    std::string target, arguments, workingFolder, iconFile;
    int iconIndex = -1;
};

LinkSeen ReadLink(const std::string& path) {
    LinkSeen seen;
    base::ScopedCom<IShellLinkA> link;
    base::ScopedCom<IPersistFile> file;
    WCHAR wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                link.Out())) ||
        FAILED(link->QueryInterface(IID_IPersistFile, file.Out())) ||
        FAILED(file->Load(wide, STGM_READ)))
        return seen;
    char text[MAX_PATH] = "";
    seen.loaded = true;
    link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
    seen.target = text;
    text[0] = '\0';
    link->GetArguments(text, MAX_PATH);
    seen.arguments = text;
    text[0] = '\0';
    link->GetWorkingDirectory(text, MAX_PATH);
    seen.workingFolder = text;
    text[0] = '\0';
    link->GetIconLocation(text, MAX_PATH, &seen.iconIndex);
    seen.iconFile = text;
    return seen;
}

class ShortcutTest : public ::testing::Test {
  protected:
    void SetUp() override {
        CoInitialize(nullptr);
        test::g_waits.clear();
        desktop_ = scratch_.MakeFolder("Desktop");
        programs_ = scratch_.MakeFolder("Programs");
        startup_ = scratch_.MakeFolder("Startup");
        commonPrograms_ = scratch_.MakeFolder("All Programs");
        commonStartup_ = scratch_.MakeFolder("All Startup");
        install_ = scratch_.MakeFolder("vqp");
        for (const char* name :
             {"KESTRUM.EXE", "README.TXT", "README.ICO", "UNINSTL.ICO", "vqpsx.exe"})
            scratch_.Write(std::string("vqp\\") + name, "x");
        env_.shellFolders = {{kCsidlDesktop, desktop_},
                             {kCsidlPrograms, programs_ + "\\"},
                             {kCsidlStartup, startup_},
                             {kCsidlCommonPrograms, commonPrograms_},
                             {kCsidlCommonStartup, commonStartup_}};
    }

    Shortcut Link(int csidl, const char* name, const std::string& target) {
        target_ = target;
        Shortcut s = {csidl, name, target_.c_str(), "", install_.c_str(), target_.c_str(), false};
        return s;
    }

    test::ScratchFolder scratch_{"shortcuts"};
    test::FakeEnvironment env_;
    test::MessageLog messages_;
    std::string desktop_, programs_, startup_, commonPrograms_, commonStartup_, install_;
    std::string target_;
};

} // namespace

TEST_F(ShortcutTest, ALinkIsSavedBesideTheProgramThenMovedToItsPlace) {
    const std::string board = install_ + "\\KESTRUM.EXE";
    Shortcut s = Link(kCsidlDesktop, "Tessaro", board);
    s.arguments = "NewSession";
    ASSERT_TRUE(CreateShortcut(env_, s, install_.c_str()));
    const LinkSeen seen = ReadLink(desktop_ + "\\Tessaro.lnk");
    ASSERT_TRUE(seen.loaded);
    EXPECT_EQ(seen.target, board);
    EXPECT_EQ(seen.arguments, "NewSession");
    EXPECT_EQ(seen.workingFolder, install_);
    EXPECT_EQ(seen.iconFile, board);
    EXPECT_EQ(seen.iconIndex, 0);
    EXPECT_FALSE(test::Exists(install_ + "\\tmp")) << "the temporary link was moved";
}

TEST_F(ShortcutTest, ProgramsShortcutsGoIntoTheGroupFolder) {
    Shortcut group = {kCsidlPrograms, "Tessaro", "", "", "", "", true};
    EXPECT_TRUE(CreateShortcut(env_, group, install_.c_str()));
    EXPECT_TRUE(test::IsFolder(programs_ + "\\Tessaro"));
    ASSERT_TRUE(CreateShortcut(env_, Link(kCsidlPrograms, "Read Me", install_ + "\\README.TXT"),
                               install_.c_str()));
    EXPECT_TRUE(ReadLink(programs_ + "\\Tessaro\\Read Me.lnk").loaded);
    EXPECT_EQ(test::FolderEntries(programs_), std::vector<std::string>{"Tessaro"});
}

TEST_F(ShortcutTest, ANameWithLnkGetsNoSecondOne) {
    ASSERT_TRUE(
        CreateShortcut(env_, Link(kCsidlDesktop, "Board.LNK", install_ + "\\x"), install_.c_str()));
    EXPECT_EQ(test::FolderEntries(desktop_), std::vector<std::string>{"Board.LNK"});
}

TEST_F(ShortcutTest, EmptyPropertiesStayUnset) {
    Shortcut s = {kCsidlDesktop, "Bare", "", "", "", "", false};
    ASSERT_TRUE(CreateShortcut(env_, s, install_.c_str()));
    const LinkSeen seen = ReadLink(desktop_ + "\\Bare.lnk");
    ASSERT_TRUE(seen.loaded);
    EXPECT_EQ(seen.target, "");
    EXPECT_EQ(seen.arguments, "");
    EXPECT_EQ(seen.workingFolder, "");
    EXPECT_EQ(seen.iconFile, "");
}

TEST_F(ShortcutTest, AnExistingShortcutIsNotReplacedAndTheTemporaryLinkStays) {
    scratch_.Write("Desktop\\Tessaro.lnk", "older link");
    EXPECT_FALSE(CreateShortcut(env_, Link(kCsidlDesktop, "Tessaro", install_ + "\\KESTRUM.EXE"),
                                install_.c_str()));
    EXPECT_EQ(test::ReadAll(desktop_ + "\\Tessaro.lnk"), "older link");
    EXPECT_TRUE(test::Exists(install_ + "\\tmp"));
    // The next save replaces it.
    DeleteFileA((desktop_ + "\\Tessaro.lnk").c_str());
    EXPECT_TRUE(CreateShortcut(env_, Link(kCsidlDesktop, "Tessaro", install_ + "\\KESTRUM.EXE"),
                               install_.c_str()));
}

// Another program (the shell's link processor, a virus scanner) reading the fresh temporary
// link must not cost the user a shortcut.
namespace {
std::vector<unsigned> g_sleptWaits;
void SleepingWait(unsigned milliseconds) {
    g_sleptWaits.push_back(milliseconds);
    Sleep(milliseconds);
}
} // namespace

TEST_F(ShortcutTest, ATemporaryLinkHeldForAMomentIsTriedAgainAndHeldForLongIsGivenUp) {
    const std::string temporary = install_ + "\\tmp";
    auto hold = [&] {
        return CreateFileA(temporary.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                           0, nullptr);
    };
    HANDLE held = hold();
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::thread release([held] {
        Sleep(200);
        CloseHandle(held);
    });
    g_sleptWaits.clear();
    const bool made =
        CreateShortcut(env_, Link(kCsidlDesktop, "Tessaro", install_ + "\\KESTRUM.EXE"),
                       install_.c_str(), SleepingWait);
    release.join();
    EXPECT_TRUE(made);
    EXPECT_TRUE(ReadLink(desktop_ + "\\Tessaro.lnk").loaded);
    EXPECT_FALSE(test::Exists(temporary));
    EXPECT_FALSE(g_sleptWaits.empty()) << "the first try met the held file";

    held = hold();
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    g_sleptWaits.clear();
    EXPECT_FALSE(CreateShortcut(env_, Link(kCsidlDesktop, "Board", install_ + "\\KESTRUM.EXE"),
                                install_.c_str(), SleepingWait));
    CloseHandle(held);
    EXPECT_EQ(g_sleptWaits, std::vector<unsigned>(19, 50u)) << "about a second, then given up";
    EXPECT_FALSE(test::Exists(desktop_ + "\\Board.lnk"));
}

TEST_F(ShortcutTest, TheGroupMustExistForItsShortcuts) {
    EXPECT_FALSE(CreateShortcut(env_, Link(kCsidlPrograms, "Tessaro", install_ + "\\KESTRUM.EXE"),
                                install_.c_str()));
}

TEST_F(ShortcutTest, SpecialFoldersFallBackToTheRegistryAndTheWindowsFolder) {
    char out[MAX_PATH];
    env_.shellFolders.clear();
    env_.shellRegistry = {{"Desktop", desktop_ + "\\"}, {"Common Programs", commonPrograms_}};
    ASSERT_TRUE(ResolveSpecialFolder(env_, kCsidlDesktop, out, sizeof out));
    EXPECT_EQ(std::string(out), desktop_);
    ASSERT_TRUE(ResolveSpecialFolder(env_, kCsidlPrograms, out, sizeof out))
        << "\"Programs\" missing: \"Common Programs\"";
    EXPECT_EQ(std::string(out), commonPrograms_);

    env_.shellRegistry = {{"", startup_}};
    ASSERT_TRUE(ResolveSpecialFolder(env_, kCsidlStartup, out, sizeof out))
        << "other folders: the unnamed value";
    EXPECT_EQ(std::string(out), startup_);

    env_.shellRegistry.clear();
    env_.windowsFolder = scratch_ / "Windows\\";
    EXPECT_FALSE(ResolveSpecialFolder(env_, kCsidlDesktop, out, sizeof out))
        << "the last resort must exist";
    const std::string menu = scratch_.MakeFolder("Windows\\Start Menu\\Programs");
    ASSERT_TRUE(ResolveSpecialFolder(env_, kCsidlDesktop, out, sizeof out));
    EXPECT_EQ(std::string(out), menu);
    EXPECT_TRUE(CreateShortcut(env_, Link(kCsidlDesktop, "Tessaro", install_ + "\\KESTRUM.EXE"),
                               install_.c_str()));
    EXPECT_TRUE(test::Exists(menu + "\\Tessaro.lnk"));
}

TEST_F(ShortcutTest, RemovalTakesOneLinkOrTheGroupsPlainFiles) {
    scratch_.Write("Desktop\\Tessaro.lnk", "link");
    EXPECT_TRUE(RemoveShortcut(env_, kCsidlDesktop, "Tessaro", false));
    EXPECT_FALSE(test::Exists(desktop_ + "\\Tessaro.lnk"));
    EXPECT_FALSE(RemoveShortcut(env_, kCsidlDesktop, "Tessaro", false)) << "nothing to remove";

    scratch_.MakeFolder("Programs\\Tessaro");
    scratch_.Write("Programs\\Tessaro\\Tessaro.lnk", "link");
    scratch_.Write("Programs\\Tessaro\\Extra.txt", "extra");
    EXPECT_TRUE(RemoveShortcut(env_, kCsidlPrograms, "Tessaro", true));
    EXPECT_FALSE(test::Exists(programs_ + "\\Tessaro"));

    scratch_.MakeFolder("Programs\\Tessaro\\Sub");
    scratch_.Write("Programs\\Tessaro\\Read Me.lnk", "link");
    EXPECT_FALSE(RemoveShortcut(env_, kCsidlPrograms, "Tessaro", true))
        << "a sub-folder keeps the group";
    EXPECT_EQ(test::FolderEntries(programs_ + "\\Tessaro"), std::vector<std::string>{"Sub"});

    scratch_.Write("Programs\\Tessaro\\UnInstall.lnk", "link");
    EXPECT_TRUE(RemoveShortcut(env_, kCsidlPrograms, "UnInstall", false));
    EXPECT_EQ(test::FolderEntries(programs_ + "\\Tessaro"), std::vector<std::string>{"Sub"});

    env_.shellFolders.erase(kCsidlDesktop);
    EXPECT_FALSE(RemoveShortcut(env_, kCsidlDesktop, "Tessaro", false)) << "no folder, no work";
}

TEST_F(ShortcutTest, TheRemovalSetCoversFivePlaces) {
    scratch_.Write("Startup\\Tessaro.lnk", "s");
    scratch_.Write("All Startup\\Tessaro.lnk", "s");
    scratch_.Write("Desktop\\Tessaro.lnk", "d");
    scratch_.Write("Desktop\\Other.lnk", "other");
    scratch_.MakeFolder("All Programs\\Tessaro");
    scratch_.Write("All Programs\\Tessaro\\Tessaro.lnk", "g");
    scratch_.MakeFolder("Programs\\Tessaro");
    scratch_.Write("Programs\\Tessaro\\Manual.lnk", "g");
    RemoveShortcutSet(env_, test::RecordWait);
    EXPECT_TRUE(test::FolderEntries(startup_).empty());
    EXPECT_TRUE(test::FolderEntries(commonStartup_).empty());
    EXPECT_EQ(test::FolderEntries(desktop_), std::vector<std::string>{"Other.lnk"});
    EXPECT_TRUE(test::FolderEntries(commonPrograms_).empty());
    EXPECT_TRUE(test::FolderEntries(programs_).empty());
    EXPECT_EQ(test::g_waits, std::vector<unsigned>(5, 64u));
}

TEST_F(ShortcutTest, AnInstallReplacesTheShortcutsOfAnEarlierOne) {
    scratch_.Write("Desktop\\Tessaro.lnk", "earlier");
    scratch_.MakeFolder("Programs\\Tessaro");
    scratch_.Write("Programs\\Tessaro\\Extra.lnk", "earlier extra");
    const std::string typed = install_ + "\\";
    EXPECT_TRUE(ReplaceShortcuts(env_, typed.c_str(), test::RecordWait));
    EXPECT_TRUE(messages_.Messages().empty());

    const std::string board = install_ + "\\KESTRUM.EXE";
    LinkSeen desk = ReadLink(desktop_ + "\\Tessaro.lnk");
    ASSERT_TRUE(desk.loaded) << "the earlier desktop link was replaced";
    EXPECT_EQ(desk.target, board);
    EXPECT_EQ(desk.workingFolder, install_) << "the folder without its trailing backslash";
    EXPECT_EQ(desk.iconFile, board);

    EXPECT_EQ(test::FolderEntries(programs_ + "\\Tessaro"),
              (std::vector<std::string>{"Read Me.lnk", "Tessaro.lnk", "UnInstall.lnk"}));
    LinkSeen readMe = ReadLink(programs_ + "\\Tessaro\\Read Me.lnk");
    EXPECT_EQ(readMe.target, install_ + "\\README.TXT");
    EXPECT_EQ(readMe.iconFile, install_ + "\\README.ICO");
    LinkSeen uninstall = ReadLink(programs_ + "\\Tessaro\\UnInstall.lnk");
    EXPECT_EQ(uninstall.target, install_ + "\\vqpsx.exe");
    EXPECT_EQ(uninstall.arguments, "UnInstall");
    EXPECT_EQ(uninstall.workingFolder, install_);
    EXPECT_EQ(uninstall.iconFile, install_ + "\\UNINSTL.ICO");
    EXPECT_EQ(ReadLink(programs_ + "\\Tessaro\\Tessaro.lnk").target, board);

    std::vector<unsigned> waits(5, 64u);
    waits.push_back(500u);
    waits.insert(waits.end(), 5, 64u);
    EXPECT_EQ(test::g_waits, waits);
}

TEST_F(ShortcutTest, AMissingUninstallShortcutIsReported) {
    env_.shellFolders.erase(kCsidlPrograms);
    env_.windowsFolder = scratch_ / "No Windows";
    EXPECT_FALSE(ReplaceShortcuts(env_, install_.c_str(), test::RecordWait));
    ASSERT_EQ(messages_.Messages().size(), 1u);
    EXPECT_EQ(messages_.Messages()[0].text, "There was an error while creating the group.");
    EXPECT_EQ(messages_.Messages()[0].caption, "Tessaro Installation");
    EXPECT_EQ(messages_.Messages()[0].type, UINT(MB_ICONSTOP));
    EXPECT_TRUE(test::Exists(desktop_ + "\\Tessaro.lnk")) << "the desktop link is still made";
}
