// The install dialog's proposals over a scratch folder set: the special folders, the
// settings and the two fixed folders are all put where the test wants them.
#include <gtest/gtest.h>

#include <string>

#include "base/text.h"
#include "installer/messages.h"
#include "installer/proposals.h"
#include "settings/settings.h"
#include "support.h"

using namespace installer;

namespace {

class ProposalTest : public ::testing::Test {
  protected:
    void SetUp() override {
        local_ = scratch_.MakeFolder("AppData\\Local");
        programFiles_ = scratch_.MakeFolder("Program Files");
        env_.shellFolders[kCsidlLocalAppData] = local_;
        env_.shellFolders[kCsidlProgramFiles] = programFiles_;
        base::CopyText(places_.legacyFolder, sizeof places_.legacyFolder,
                       (scratch_ / "Legacy\\KESTRUM").c_str());
        base::CopyText(places_.shortFolder, sizeof places_.shortFolder, (scratch_ / "vqp").c_str());
    }

    // An earlier installation recorded in the settings.
    std::string Recorded(const std::string& stored, bool withBoard) {
        const std::string folder = scratch_.MakeFolder("Old");
        if (withBoard)
            scratch_.Write("Old\\KESTRUM.EXE", "MZ");
        env_.SetSetting(settings::kConfigure, settings::kThisProgramDir, stored);
        return folder;
    }
    void ShortPathUnusable() {
        base::CopyText(places_.shortFolder, sizeof places_.shortFolder,
                       (scratch_ / "missing\\vqp").c_str());
    }
    std::string LocalProposal() const { return local_ + "\\Vontrel\\vqp"; }

    test::ScratchFolder scratch_{"proposals"};
    test::MessageLog messages_;
    test::FakeEnvironment env_;
    InstallPlaces places_;
    Proposal p_;
    std::string local_, programFiles_;
};

} // namespace

TEST(InstallPlaces, TheWindowsDriveLetterIsWrittenIntoBothFolders) {
    InstallPlaces places;
    MakeInstallPlaces("d:\\windows", places);
    EXPECT_STREQ(places.legacyFolder, "D:\\Program Files\\KESTRUM");
    EXPECT_STREQ(places.shortFolder, "D:\\vqp");
    MakeInstallPlaces("E:\\WINNT", places);
    EXPECT_STREQ(places.shortFolder, "E:\\vqp");
    MakeInstallPlaces("", places);
    EXPECT_STREQ(places.shortFolder, "C:\\vqp") << "the template stays without a Windows folder";

    test::FakeEnvironment env;
    env.windowsFolder = "f:\\win";
    LoadInstallPlaces(env, places);
    EXPECT_STREQ(places.legacyFolder, "F:\\Program Files\\KESTRUM");
}

TEST_F(ProposalTest, FirstAnEarlierInstallationThatHoldsTheBoard) {
    const std::string old = Recorded(scratch_ / "Old\\", true);
    scratch_.MakeFolder("Legacy\\KESTRUM");
    ASSERT_TRUE(FirstProposal(env_, places_, p_));
    EXPECT_EQ(p_.choice, kChoiceUpgrading);
    EXPECT_EQ(std::string(p_.folder), old + "\\") << "the folder as it was recorded";
    EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(ProposalTest, ThenTheLegacyFolderWhenTheRecordedOneHasNoBoard) {
    Recorded(scratch_ / "Old", false);
    scratch_.MakeFolder("Legacy\\KESTRUM");
    ASSERT_TRUE(FirstProposal(env_, places_, p_));
    EXPECT_EQ(p_.choice, kChoiceUpgrading);
    EXPECT_STREQ(p_.folder, places_.legacyFolder);
}

TEST_F(ProposalTest, ThenTheShortPathWhichIsMadeOnTheWay) {
    ASSERT_TRUE(FirstProposal(env_, places_, p_));
    EXPECT_EQ(p_.choice, kChoiceShortPath);
    EXPECT_STREQ(p_.folder, places_.shortFolder);
    EXPECT_TRUE(test::IsFolder(places_.shortFolder));
    EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(ProposalTest, ThenTheLocalUsersFolder) {
    ShortPathUnusable();
    ASSERT_TRUE(FirstProposal(env_, places_, p_));
    EXPECT_EQ(p_.choice, kChoiceLocalUser);
    EXPECT_EQ(std::string(p_.folder), LocalProposal());
    EXPECT_FALSE(test::Exists(LocalProposal())) << "its sub-folders are made at Next";
    EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(ProposalTest, NoFolderAtAllEndsWithAMessage) {
    ShortPathUnusable();
    env_.shellFolders.erase(kCsidlLocalAppData);
    EXPECT_FALSE(FirstProposal(env_, places_, p_));
    EXPECT_EQ(messages_.Texts(), std::vector<std::string>{kMsgNoFolderToInstallInto});
    EXPECT_EQ(messages_.Messages()[0].type, UINT(MB_ICONINFORMATION));
}

TEST_F(ProposalTest, SpecialFoldersLoseTrailingBlanksAndBackslashes) {
    env_.shellFolders[kCsidlProgramFiles] = programFiles_ + "\\ \r\n";
    EXPECT_TRUE(ProposeProgramFiles(env_, p_, true));
    EXPECT_EQ(std::string(p_.folder), programFiles_ + "\\Vontrel\\vqp");
    EXPECT_EQ(p_.choice, kChoiceProgramFiles);
}

TEST_F(ProposalTest, EachOperationSaysWhyItFailsOnlyWhenTold) {
    env_.shellFolders.erase(kCsidlProgramFiles);
    EXPECT_FALSE(ProposeProgramFiles(env_, p_, false));
    EXPECT_TRUE(messages_.Messages().empty());
    EXPECT_FALSE(ProposeProgramFiles(env_, p_, true));
    env_.shellFolders[kCsidlProgramFiles] = scratch_ / "Gone";
    EXPECT_FALSE(ProposeProgramFiles(env_, p_, true));
    env_.shellFolders[kCsidlLocalAppData] = scratch_ / "Gone";
    EXPECT_FALSE(ProposeLocalUser(env_, p_, true));
    EXPECT_EQ(p_.choice, kChoiceNone);
    ShortPathUnusable();
    EXPECT_FALSE(ProposeShortPath(env_, places_, p_, true));
    EXPECT_EQ(p_.choice, kChoiceNone);
    EXPECT_FALSE(ProposeUpgrade(env_, places_, p_, true));
    EXPECT_EQ(p_.choice, kChoiceLocalUser);
    EXPECT_EQ(messages_.Texts(),
              (std::vector<std::string>{kMsgNoProgramFiles, kMsgNoAccessProgramFiles,
                                        kMsgNoAccessLocalFolder,
                                        "Unable to read/write access " + scratch_ / "missing\\vqp",
                                        kMsgNoPreviousInstall}));
}

TEST_F(ProposalTest, RoamingAndMultiUserAreForLaterAndFallBack) {
    RunOptionChain(kChoiceRoaming, env_, places_, p_);
    EXPECT_EQ(p_.choice, kChoiceShortPath) << "upgrading finds nothing, the short path works";
    EXPECT_STREQ(p_.folder, places_.shortFolder);
    EXPECT_EQ(messages_.Texts(), std::vector<std::string>{kMsgRoamingLater});

    messages_.Clear();
    Recorded(scratch_ / "Old", true);
    RunOptionChain(kChoiceMultiUser, env_, places_, p_);
    EXPECT_EQ(p_.choice, kChoiceUpgrading);
    EXPECT_EQ(std::string(p_.folder), scratch_ / "Old");
    EXPECT_EQ(messages_.Texts(), std::vector<std::string>{kMsgMultiUserLater});
}

TEST_F(ProposalTest, UpgradingWithoutAnEarlierInstallationTellsAndFallsBack) {
    RunOptionChain(kChoiceUpgrading, env_, places_, p_);
    EXPECT_EQ(p_.choice, kChoiceShortPath);
    EXPECT_EQ(messages_.Texts(), std::vector<std::string>{kMsgNoPreviousInstall});

    messages_.Clear();
    ShortPathUnusable();
    RunOptionChain(kChoiceUpgrading, env_, places_, p_);
    EXPECT_EQ(p_.choice, kChoiceLocalUser);
    EXPECT_EQ(std::string(p_.folder), LocalProposal());
    EXPECT_EQ(messages_.Texts(), std::vector<std::string>{kMsgNoPreviousInstall})
        << "the middle operation is silent";
}

TEST_F(ProposalTest, ShortPathChainSkipsTheShortPathWhenItCannotBeMade) {
    ShortPathUnusable();
    RunOptionChain(kChoiceShortPath, env_, places_, p_);
    EXPECT_EQ(p_.choice, kChoiceLocalUser);
    ASSERT_EQ(messages_.Messages().size(), 1u);
    EXPECT_EQ(messages_.Messages()[0].text,
              "Unable to read/write access " + scratch_ / "missing\\vqp");
    EXPECT_EQ(messages_.Messages()[0].caption, "Tessaro");
}

TEST_F(ProposalTest, ProgramFilesChainProposesTheVendorFolder) {
    RunOptionChain(kChoiceProgramFiles, env_, places_, p_);
    EXPECT_EQ(p_.choice, kChoiceProgramFiles);
    EXPECT_EQ(std::string(p_.folder), programFiles_ + "\\Vontrel\\vqp");
    EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(ProposalTest, AChainThatFindsNothingTellsFirstAndLastAndLeavesNoChoice) {
    env_.shellFolders.clear();
    ShortPathUnusable();
    RunOptionChain(kChoiceProgramFiles, env_, places_, p_);
    EXPECT_EQ(p_.choice, kChoiceNone);
    EXPECT_EQ(messages_.Texts(), (std::vector<std::string>{kMsgNoProgramFiles, kMsgNoLocalFolder}));

    messages_.Clear();
    RunOptionChain(kChoiceLocalUser, env_, places_, p_);
    EXPECT_EQ(p_.choice, kChoiceNone);
    EXPECT_EQ(messages_.Texts(), std::vector<std::string>{kMsgNoLocalFolder});
}
