// CreatePath over a scratch folder: every folder of a path is made, the current drive and
// folder come back, and each failure names what went wrong.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "installer/create_path.h"
#include "installer/messages.h"
#include "support.h"

using installer::CreatePath;

namespace {

class CreatePathTest : public ::testing::Test {
  protected:
    void SetUp() override {
        before_ = test::CurrentFolder();
        // The current folder on another drive: the walk must bring drive and folder back.
        ASSERT_TRUE(SetCurrentDirectoryA("Z:\\"));
    }
    void TearDown() override {
        EXPECT_EQ(test::CurrentFolder(), "Z:\\") << "current drive and folder restored";
        SetCurrentDirectoryA(before_.c_str());
    }

    test::ScratchFolder scratch_{"create-path"};
    test::MessageLog messages_;
    std::string before_;
};

// A path of exactly `length` characters under the scratch folder, its last folder included.
std::string PathOfLength(const std::string& base, size_t length) {
    std::string path = base;
    while (path.size() + 1 < length) {
        size_t room = length - path.size() - 1;
        path += "\\" + std::string(room > 60 ? 50 : room, 'd');
    }
    return path;
}

} // namespace

TEST_F(CreatePathTest, MakesEveryFolderOfThePath) {
    const std::string path = scratch_ / "One\\Two\\Three";
    EXPECT_TRUE(CreatePath(path.c_str(), true));
    EXPECT_TRUE(test::IsFolder(path));
    EXPECT_TRUE(messages_.Messages().empty());
    EXPECT_TRUE(CreatePath(path.c_str(), true)) << "existing folders are fine";
}

TEST_F(CreatePathTest, TrailingSeparatorsAndBlanksAreIgnoredAndTheDriveMayBeLowerCase) {
    std::string path = scratch_ / "Lower\\Case";
    path[0] = (char)tolower((unsigned char)path[0]);
    EXPECT_TRUE(CreatePath((path + "\\\\ \r\n").c_str(), true));
    EXPECT_TRUE(test::IsFolder(scratch_ / "Lower\\Case"));
    EXPECT_EQ(test::FolderEntries(scratch_ / "Lower"), std::vector<std::string>{"Case"});
}

TEST_F(CreatePathTest, APathWithoutADriveLetterIsRefused) {
    for (const std::string& path :
         {std::string("\\vqp\\Tessaro"), std::string("1:\\vqp"), std::string("vqp\\Tessaro"),
          std::string("C"), std::string("")}) {
        messages_.Clear();
        EXPECT_FALSE(CreatePath(path.c_str(), true)) << path;
        ASSERT_EQ(messages_.Messages().size(), 1u) << path;
        std::string shown = path;
        if (!shown.empty())
            shown[0] = (char)toupper((unsigned char)shown[0]); // the first letter in upper case
        EXPECT_EQ(messages_.Messages()[0].text,
                  "The Path you Specified:\n" + shown +
                      "\ncould not be created because it does not include a valid drive "
                      "letter.");
        EXPECT_EQ(messages_.Messages()[0].caption, "Tessaro");
        EXPECT_EQ(messages_.Messages()[0].type, UINT(MB_ICONSTOP));
    }
    messages_.Clear();
    EXPECT_FALSE(CreatePath("\\vqp", false));
    EXPECT_TRUE(messages_.Messages().empty()) << "silent when not telling";
}

TEST_F(CreatePathTest, AFileWhereAFolderMustBeStopsTheWalkAndNamesTheFolderSoFar) {
    scratch_.Write("Blocker", "not a folder");
    const std::string path = scratch_ / "Blocker\\Inner\\Deeper";
    EXPECT_FALSE(CreatePath(path.c_str(), true));
    ASSERT_EQ(messages_.Messages().size(), 1u);
    EXPECT_EQ(messages_.Messages()[0].text,
              "The Path you Specified:\n" + scratch_ / "Blocker" + "\ncould not be created.");
    EXPECT_EQ(messages_.Messages()[0].type, UINT(MB_ICONSTOP));
    EXPECT_FALSE(test::Exists(scratch_ / "Blocker\\Inner"));
}

TEST_F(CreatePathTest, ADriveThatDoesNotExistCannotBeCreated) {
    const DWORD drives = GetLogicalDrives();
    char letter = 0;
    for (char c = 'Y'; c > 'D'; --c)
        if (!(drives & (1u << (c - 'A')))) {
            letter = c;
            break;
        }
    ASSERT_NE(letter, 0) << "no free drive letter";
    const std::string path = std::string(1, letter) + ":\\vqp";
    EXPECT_FALSE(CreatePath(path.c_str(), true));
    ASSERT_EQ(messages_.Messages().size(), 1u);
    EXPECT_EQ(messages_.Messages()[0].text,
              "The Path you Specified:\n" + path + "\ncould not be created.");
}

TEST_F(CreatePathTest, TheWalkCoversTheFirst234Characters) {
    const std::string base = scratch_.Path();
    ASSERT_LT(base.size(), 120u);
    const std::string fits = PathOfLength(base + "\\a", 234);
    ASSERT_EQ(fits.size(), 234u);
    EXPECT_TRUE(CreatePath(fits.c_str(), true));
    EXPECT_TRUE(test::IsFolder(fits)) << "a 234-character path is made whole";

    for (size_t length : {235u, 236u}) {
        const std::string beyond = PathOfLength(base + "\\b" + std::to_string(length), length);
        ASSERT_EQ(beyond.size(), length);
        EXPECT_TRUE(CreatePath(beyond.c_str(), true));
        EXPECT_FALSE(test::Exists(beyond)) << length << ": its last folder is beyond the walk";
        const std::string parent = beyond.substr(0, beyond.rfind('\\'));
        EXPECT_TRUE(test::IsFolder(parent)) << length << ": the folders before it are made";
    }
    EXPECT_TRUE(messages_.Messages().empty());
}
