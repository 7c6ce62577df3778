// The install run end to end over a scratch folder set, with the payload this test program
// carries: the recorded folder, the six files in order with what the dialog is shown, the
// carry-over, the uninstall entry, and the stops of failed file steps.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "installer/install_run.h"
#include "installer/messages.h"
#include "installer/uninstall_entry.h"
#include "resources/vqpsx_ids.h"
#include "settings/settings.h"
#include "support.h"

using namespace installer;

namespace {

std::string Resource(int id) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10));
    return std::string((const char*)LockResource(LoadResource(module, found)),
                       SizeofResource(module, found));
}

class RecordingView : public InstallView {
  public:
    std::vector<std::string> events;
    void ShowStep(int step) override { events.push_back("step " + std::to_string(step)); }
    void ShowFiles(const char* source, const char* destination) override {
        events.push_back(std::string(source) + " -> " + destination);
    }
};

class InstallRunTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::g_waits.clear();
        start_ = scratch_.MakeFolder("Setup");
        own_ = scratch_.Write("Setup\\vqpsx.exe", "MZ the installer itself");
        ASSERT_TRUE(test::SetLastWriteTime(own_, test::MakeTime(2018, 6, 1)));
        legacy_ = scratch_ / "Legacy";
        folder_ = scratch_.MakeFolder("vqp");
        run_.installFolder = folder_.c_str();
        run_.startFolder = start_.c_str();
        run_.legacyFolder = legacy_.c_str();
        run_.payload = GetModuleHandleA(nullptr);
        run_.ownFile = own_.c_str();
        run_.wait = test::RecordWait;
        before_ = test::CurrentFolder();
    }
    void TearDown() override { SetCurrentDirectoryA(before_.c_str()); }

    test::ScratchFolder scratch_{"install-run"};
    test::FakeEnvironment env_;
    test::MessageLog messages_;
    RecordingView view_;
    InstallRun run_;
    std::string own_, start_, legacy_, folder_, before_;
};

} // namespace

TEST_F(InstallRunTest, WritesTheSixFilesRecordsTheFolderAndTheEntry) {
    scratch_.Write("vqp\\Mine.VQP", "my project");
    scratch_.Write("vqp\\SAMPLE.VQP", "changed by the user");
    const std::string typed = folder_ + "\\";
    run_.installFolder = typed.c_str();

    ASSERT_TRUE(RunInstall(env_, run_, view_));
    EXPECT_TRUE(messages_.Messages().empty());

    EXPECT_EQ(env_.Setting(settings::kConfigure, settings::kThisProgramDir), typed)
        << "the folder exactly as typed";
    EXPECT_EQ(env_.writes.size(), 1u);

    EXPECT_TRUE(test::ReadAll(folder_ + "\\KESTRUM.EXE") == Resource(IDR_PAYLOAD_BOARD));
    EXPECT_EQ(test::ReadAll(folder_ + "\\README.TXT"), Resource(IDR_PAYLOAD_README));
    EXPECT_EQ(test::ReadAll(folder_ + "\\README.ICO"), Resource(IDR_PAYLOAD_README_ICON));
    EXPECT_EQ(test::ReadAll(folder_ + "\\UNINSTL.ICO"), Resource(IDR_PAYLOAD_UNINSTALL_ICON));
    EXPECT_TRUE(test::ReadAll(folder_ + "\\SAMPLE.VQP") == Resource(IDR_PAYLOAD_SAMPLE))
        << "the sample is replaced on every install";
    EXPECT_EQ(test::ReadAll(folder_ + "\\vqpsx.exe"), "MZ the installer itself");
    const FILETIME own = test::LastWriteTime(own_);
    const FILETIME copied = test::LastWriteTime(folder_ + "\\vqpsx.exe");
    EXPECT_EQ(CompareFileTime(&own, &copied), 0) << "the uninstaller keeps the installer's time";
    EXPECT_EQ(test::ReadAll(folder_ + "\\Mine.VQP"), "my project") << "other files untouched";

    const std::string d = folder_ + "\\";
    EXPECT_EQ(view_.events,
              (std::vector<std::string>{"step 1", "RCDATA -> " + d + "KESTRUM.EXE", "step 2",
                                        "RCDATA -> " + d + "README.TXT", "step 3",
                                        "RCDATA -> " + d + "README.ICO", "step 4",
                                        "RCDATA -> " + d + "SAMPLE.VQP", "step 5",
                                        "RCDATA -> " + d + "UNINSTL.ICO", "step 6"}))
        << "the installer's own file shows no lines when its first copy works";
    EXPECT_EQ(test::g_waits, std::vector<unsigned>(6, 128u)) << "a pause before each step";

    ASSERT_EQ(env_.entries.size(), 1u);
    EXPECT_STREQ(env_.entries[0].values[1].value,
                 ("\"" + folder_ + "\\vqpsx.exe\" UnInstall").c_str());
    EXPECT_EQ(std::string(env_.entries[0].values[2].value), folder_);
}

TEST_F(InstallRunTest, ProjectsOfTheLegacyFolderComeAlong) {
    scratch_.MakeFolder("Legacy");
    scratch_.Write("Legacy\\SAMPLE.VQP", "legacy sample");
    scratch_.Write("Legacy\\Old.VQP", "old project");
    ASSERT_TRUE(RunInstall(env_, run_, view_));
    EXPECT_EQ(test::ReadAll(folder_ + "\\Old.VQP"), "old project");
    EXPECT_TRUE(test::ReadAll(folder_ + "\\SAMPLE.VQP") == Resource(IDR_PAYLOAD_SAMPLE))
        << "the fresh sample stays";
}

TEST_F(InstallRunTest, ABoardInUseStopsTheRunAtTheFirstStep) {
    const std::string board = scratch_.Write("vqp\\KESTRUM.EXE", "running board");
    test::HeldOpen held(board);
    ASSERT_TRUE(held.IsOpen());
    EXPECT_FALSE(RunInstall(env_, run_, view_));
    held.Close();

    ASSERT_EQ(messages_.Messages().size(), 2u);
    EXPECT_EQ(messages_.Messages()[0].text, "Copying to:\n" + board +
                                                "\nThe file could not be copied.\n\no Is " + board +
                                                " in use?\no Is your disk full?\n");
    EXPECT_EQ(messages_.Messages()[0].caption, "Tessaro Installation");
    EXPECT_EQ(messages_.Messages()[0].type, UINT(MB_ICONSTOP));
    EXPECT_EQ(messages_.Messages()[1].text, kMsgPermissions);
    EXPECT_EQ(messages_.Messages()[1].type, UINT(MB_ICONINFORMATION));

    EXPECT_EQ(test::ReadAll(board), "running board");
    EXPECT_EQ(test::FolderEntries(folder_), std::vector<std::string>{"KESTRUM.EXE"})
        << "no later step ran";
    EXPECT_TRUE(env_.entries.empty()) << "no uninstall entry for a failed run";
    EXPECT_EQ(env_.Setting(settings::kConfigure, settings::kThisProgramDir), folder_)
        << "the folder was recorded before the files";
}

TEST_F(InstallRunTest, AnInstallerInUseIsCopiedTheSecondWay) {
    // Held for writing with full sharing: the time-keeping copy cannot open it (it shares
    // only reading), the plain copy can.
    const std::string old = scratch_.Write("vqp\\vqpsx.exe", "old uninstaller");
    SetFileAttributesA(old.c_str(), FILE_ATTRIBUTE_READONLY);
    test::HeldOpen held(own_, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    ASSERT_TRUE(held.IsOpen());
    ASSERT_TRUE(RunInstall(env_, run_, view_));
    held.Close();

    EXPECT_TRUE(messages_.Messages().empty());
    EXPECT_EQ(test::ReadAll(old), "MZ the installer itself");
    EXPECT_FALSE(GetFileAttributesA(old.c_str()) & FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(test::g_waits.size(), 6u + 49u) << "the first copy tried 50 times";
    EXPECT_EQ(view_.events.back(), own_ + " -> " + old) << "the second copy shows its source";
    EXPECT_EQ(env_.entries.size(), 1u);
}

TEST_F(InstallRunTest, AMissingInstallerFileIsNamed) {
    DeleteFileA(own_.c_str());
    EXPECT_FALSE(RunInstall(env_, run_, view_));
    ASSERT_EQ(messages_.Messages().size(), 2u);
    EXPECT_EQ(messages_.Messages()[0].text, "Source File:\n" + own_ + "\nis missing!");
    EXPECT_EQ(messages_.Messages()[1].text, kMsgPermissions);
    EXPECT_TRUE(test::Exists(folder_ + "\\UNINSTL.ICO")) << "the files before it stay";
    EXPECT_FALSE(test::Exists(folder_ + "\\vqpsx.exe"));
    EXPECT_TRUE(env_.entries.empty());
}

TEST_F(InstallRunTest, AnUninstallerThatCannotBeReplacedIsNamedWithBothPaths) {
    const std::string old = scratch_.Write("vqp\\vqpsx.exe", "old uninstaller");
    test::HeldOpen held(old);
    ASSERT_TRUE(held.IsOpen());
    EXPECT_FALSE(RunInstall(env_, run_, view_));
    held.Close();
    ASSERT_EQ(messages_.Messages().size(), 2u);
    EXPECT_EQ(messages_.Messages()[0].text,
              "Copying from:\n" + own_ + "\nCopying to:\n" + old +
                  "\nThe file could not be copied.\n\no Is " + old +
                  " in use?\no Is your disk full?\no You may have specified an invalid "
                  "destination.\n");
    EXPECT_EQ(test::ReadAll(old), "old uninstaller");
}

TEST_F(InstallRunTest, TheRunLeavesTheStartFolder) {
    ASSERT_TRUE(SetCurrentDirectoryA(start_.c_str()));
    ASSERT_TRUE(RunInstall(env_, run_, view_));
    EXPECT_EQ(test::CurrentFolder(), start_.substr(0, 3)) << "the start drive's root";
}

TEST(InstallFilePath, JoinsTheFolderWithoutItsTrailingSeparators) {
    char path[300];
    EXPECT_TRUE(InstallFilePath("C:\\vqp\\ ", "KESTRUM.EXE", path, sizeof path));
    EXPECT_STREQ(path, "C:\\vqp\\KESTRUM.EXE");
    EXPECT_FALSE(InstallFilePath("C:\\vqp", "KESTRUM.EXE", path, 10));
}
