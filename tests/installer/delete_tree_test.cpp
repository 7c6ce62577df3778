// The uninstaller's deletion over a scratch tree: what it removes, where it stops, and the
// folders it never touches.
#include <gtest/gtest.h>

#include <string>

#include "installer/delete_tree.h"
#include "support.h"

using namespace installer;

namespace {

class DeleteTreeTest : public ::testing::Test {
  protected:
    std::string Installation() {
        const std::string folder = scratch_.MakeFolder("vqp");
        scratch_.Write("vqp\\KESTRUM.EXE", "board");
        scratch_.Write("vqp\\SAMPLE.VQP", "sample");
        scratch_.MakeFolder("vqp\\Backups\\2018");
        scratch_.Write("vqp\\Backups\\old.VQP", "old");
        scratch_.Write("vqp\\Backups\\2018\\june.VQP", "june");
        scratch_.Write("vqp\\.hidden-file", "a file whose name begins with a dot");
        return folder;
    }

    test::ScratchFolder scratch_{"delete-tree"};
    test::FakeEnvironment env_;
};

} // namespace

TEST_F(DeleteTreeTest, AnInstallationGoesWithItsSubFolders) {
    const std::string folder = Installation();
    EXPECT_EQ(RemoveInstallFolder(env_, folder.c_str()), FolderRemoval::Removed);
    EXPECT_FALSE(test::Exists(folder));
    EXPECT_TRUE(test::IsFolder(scratch_.Path())) << "nothing above it";
}

TEST_F(DeleteTreeTest, AFolderWithoutTheBoardIsNeverTouched) {
    const std::string documents = scratch_.MakeFolder("Documents");
    scratch_.Write("Documents\\letter.txt", "the user's letter");
    EXPECT_FALSE(IsInstallFolder(env_, documents.c_str()));
    EXPECT_EQ(RemoveInstallFolder(env_, documents.c_str()), FolderRemoval::NotFound);
    EXPECT_EQ(test::ReadAll(documents + "\\letter.txt"), "the user's letter");

    EXPECT_EQ(RemoveInstallFolder(env_, (scratch_ / "Gone").c_str()), FolderRemoval::NotFound);
    EXPECT_EQ(RemoveInstallFolder(env_, ""), FolderRemoval::NotFound);
    scratch_.MakeFolder("Odd\\KESTRUM.EXE");
    EXPECT_EQ(RemoveInstallFolder(env_, (scratch_ / "Odd").c_str()), FolderRemoval::NotFound)
        << "a folder named like the board is not the board";
}

TEST_F(DeleteTreeTest, AFileInUseStopsTheWalkAndTheFolderRemains) {
    const std::string folder = Installation();
    test::HeldOpen held(folder + "\\SAMPLE.VQP");
    ASSERT_TRUE(held.IsOpen());
    EXPECT_EQ(RemoveInstallFolder(env_, folder.c_str()), FolderRemoval::Remains);
    held.Close();
    EXPECT_TRUE(test::IsFolder(folder));
    EXPECT_TRUE(test::Exists(folder + "\\SAMPLE.VQP"));
    EXPECT_FALSE(DeleteFolderTree((folder + "\\Missing").c_str()));
}

TEST_F(DeleteTreeTest, DotFoldersAreSkippedSoTheirParentStays) {
    const std::string folder = Installation();
    scratch_.MakeFolder("vqp\\.git");
    scratch_.Write("vqp\\.git\\config", "kept");
    EXPECT_EQ(RemoveInstallFolder(env_, folder.c_str()), FolderRemoval::Remains);
    EXPECT_EQ(test::FolderEntries(folder), std::vector<std::string>{".git"})
        << "everything else went";
    EXPECT_EQ(test::ReadAll(folder + "\\.git\\config"), "kept");
}

TEST_F(DeleteTreeTest, TextWithoutABackslashDeletesNothing) {
    Installation();
    const std::string before = test::CurrentFolder();
    ASSERT_TRUE(SetCurrentDirectoryA(scratch_.Path().c_str()));
    EXPECT_TRUE(DeleteFolderTree("vqp")) << "reported as done";
    SetCurrentDirectoryA(before.c_str());
    EXPECT_TRUE(test::Exists(scratch_ / "vqp\\KESTRUM.EXE"));
    EXPECT_TRUE(test::Exists(scratch_ / "vqp\\Backups\\2018\\june.VQP"));
}
