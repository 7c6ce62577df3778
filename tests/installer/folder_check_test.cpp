// The checks of Next on the folder the user typed: its length, the folder the installer was
// started from, and whether it can be made.
#include <gtest/gtest.h>

#include <string>

#include "installer/folder_check.h"
#include "installer/messages.h"
#include "support.h"

using installer::CheckInstallFolder;
using installer::FolderCheck;

namespace {

class FolderCheckTest : public ::testing::Test {
  protected:
    test::ScratchFolder scratch_{"folder-check"};
    test::MessageLog messages_;
    test::FakeEnvironment env_;
    std::string start_ = scratch_.MakeFolder("Setup");
};

std::string Deep(const std::string& base, size_t length) {
    std::string path = base;
    while (path.size() + 1 < length) {
        size_t room = length - path.size() - 1;
        path += "\\" + std::string(room > 60 ? 50 : room, 'x');
    }
    return path;
}

} // namespace

TEST_F(FolderCheckTest, AUsableFolderIsMadeAndPassesSilently) {
    const std::string typed = scratch_ / "Vontrel\\vqp";
    EXPECT_EQ(CheckInstallFolder(env_, typed.c_str(), start_.c_str()), FolderCheck::Usable);
    EXPECT_TRUE(test::IsFolder(typed));
    EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(FolderCheckTest, MoreThan236CharactersIsTooLong) {
    const std::string path237 = Deep(scratch_.Path(), 237);
    ASSERT_EQ(path237.size(), 237u);
    EXPECT_EQ(CheckInstallFolder(env_, path237.c_str(), start_.c_str()), FolderCheck::TooLong);
    ASSERT_EQ(messages_.Messages().size(), 1u);
    EXPECT_EQ(messages_.Messages()[0].text, "The Path you Specified is to long.");
    EXPECT_EQ(messages_.Messages()[0].caption, "Tessaro Installation");
    EXPECT_EQ(messages_.Messages()[0].type, UINT(MB_ICONSTOP));
    EXPECT_FALSE(test::Exists(scratch_ / "x")) << "nothing made for a refused path";

    // 236 characters pass the length check; the walk leaves the last folder to exist.
    const std::string path236 = Deep(scratch_.Path(), 236);
    ASSERT_EQ(path236.size(), 236u);
    ASSERT_TRUE(test::IsFolder(scratch_.MakeFolder(path236.substr(scratch_.Path().size() + 1))));
    messages_.Clear();
    EXPECT_EQ(CheckInstallFolder(env_, path236.c_str(), start_.c_str()), FolderCheck::Usable);
    EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(FolderCheckTest, TheStartFolderInAnyFormIsRefused) {
    std::string upper = start_;
    for (char& c : upper)
        c = (char)toupper((unsigned char)c);
    for (const std::string& typed :
         {start_, start_ + "\\", upper, start_ + "\\.\\", scratch_ / "Setup\\..\\Setup"}) {
        messages_.Clear();
        EXPECT_EQ(CheckInstallFolder(env_, typed.c_str(), start_.c_str()), FolderCheck::SameAsStart)
            << typed;
        ASSERT_EQ(messages_.Messages().size(), 1u) << typed;
        EXPECT_EQ(messages_.Messages()[0].text,
                  "You can not install from the same directory that you are installing to.\n\n"
                  "Please select a different directory.");
        EXPECT_EQ(messages_.Messages()[0].caption, "Tessaro Installation");
        EXPECT_EQ(messages_.Messages()[0].type, UINT(MB_ICONINFORMATION));
    }
    EXPECT_EQ(CheckInstallFolder(env_, (start_ + "\\Sub").c_str(), start_.c_str()),
              FolderCheck::Usable)
        << "a folder inside the start folder is another folder";
}

TEST_F(FolderCheckTest, AFolderThatCannotBeMadeIsExplainedThreeTimes) {
    scratch_.Write("Blocker", "x");
    const std::string typed = scratch_ / "Blocker\\vqp";
    EXPECT_EQ(CheckInstallFolder(env_, typed.c_str(), start_.c_str()), FolderCheck::NotCreated);
    const auto& shown = messages_.Messages();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].text,
              "The Path you Specified:\n" + scratch_ / "Blocker" + "\ncould not be created.");
    EXPECT_EQ(shown[0].caption, "Tessaro");
    EXPECT_EQ(shown[1].text,
              "The Path to the Folder you Specified:\n" + typed + "\ncould not be created.\n");
    EXPECT_EQ(shown[1].caption, "Tessaro Installation");
    EXPECT_EQ(shown[1].type, UINT(MB_ICONSTOP));
    EXPECT_EQ(shown[2].text, installer::kMsgPermissions);
    EXPECT_EQ(shown[2].type, UINT(MB_ICONINFORMATION));
    EXPECT_EQ(shown[2].text.rfind("Permissions Problems\n\n", 0), 0u);
}

TEST_F(FolderCheckTest, APathWithoutADriveIsExplainedThenRefused) {
    EXPECT_EQ(CheckInstallFolder(env_, "\\vqp", start_.c_str()), FolderCheck::NotCreated);
    ASSERT_EQ(messages_.Messages().size(), 3u);
    EXPECT_NE(messages_.Messages()[0].text.find("valid drive letter"), std::string::npos);
}
