// Path text of the installer: trimming, joining, the comparison of folders that keeps the
// installer from installing onto itself, and the progress line.
#include <gtest/gtest.h>

#include <string>

#include "installer/path_text.h"
#include "installer/progress.h"
#include "support.h"

using namespace installer;

TEST(InstallerPathText, TrimRemovesOnlyTheGivenTrailingCharacters) {
    char text[64] = "C:\\vqp\\ \\\r\n";
    EXPECT_EQ(TrimTrailing(text, kFolderTrim), 6u);
    EXPECT_STREQ(text, "C:\\vqp");
    char slashes[64] = "C:\\Windows/\\/";
    EXPECT_EQ(TrimTrailing(slashes, kFolderTrim), 13u) << "a slash stops the folder trim";
    EXPECT_EQ(TrimTrailing(slashes, kFolderTrimAll), 10u);
    EXPECT_STREQ(slashes, "C:\\Windows");
    char line[64] = "Key=a value \\ \r\n";
    TrimTrailing(line, kLineTrim);
    EXPECT_STREQ(line, "Key=a value \\") << "a line keeps its backslash";
    char all[8] = "\\\\ ";
    EXPECT_EQ(TrimTrailing(all, kFolderTrim), 0u);
}

TEST(InstallerPathText, JoinReportsWhetherThePathFits) {
    char out[16];
    EXPECT_TRUE(JoinPath(out, sizeof out, "C:\\vqp", "a.txt"));
    EXPECT_STREQ(out, "C:\\vqp\\a.txt");
    EXPECT_TRUE(JoinPath(out, sizeof out, "C:\\abcdefgh", "ijk")) << "15 characters fit in 16";
    EXPECT_FALSE(JoinPath(out, sizeof out, "C:\\abcdefgh", "ijkl"));
    EXPECT_EQ(std::string(out).size(), 15u) << "cut but terminated";
}

TEST(InstallerPathText, SameFolderComparesPathsNotTexts) {
    test::ScratchFolder scratch("same-folder");
    const std::string setup = scratch.MakeFolder("Setup");
    scratch.MakeFolder("Setup2");
    std::string lower = setup;
    for (char& c : lower)
        c = (char)tolower((unsigned char)c);

    EXPECT_TRUE(SameFolder(setup.c_str(), setup.c_str()));
    EXPECT_TRUE(SameFolder((setup + "\\").c_str(), setup.c_str())) << "trailing backslash";
    EXPECT_TRUE(SameFolder((setup + "\\\\").c_str(), setup.c_str()));
    EXPECT_TRUE(SameFolder(lower.c_str(), setup.c_str())) << "case";
    EXPECT_TRUE(SameFolder((setup + "\\.").c_str(), setup.c_str()));
    EXPECT_TRUE(SameFolder((setup + "\\..\\Setup").c_str(), setup.c_str()));
    EXPECT_TRUE(SameFolder((setup + "/").c_str(), setup.c_str())) << "forward slash";

    EXPECT_FALSE(SameFolder((setup + "2").c_str(), setup.c_str())) << "a longer name";
    EXPECT_FALSE(SameFolder(scratch.Path().c_str(), setup.c_str())) << "the parent";
    EXPECT_FALSE(SameFolder((setup + "\\Sub").c_str(), setup.c_str())) << "a child";

    // A relative text is taken from the current folder, as the system would.
    const std::string before = test::CurrentFolder();
    ASSERT_TRUE(SetCurrentDirectoryA(setup.c_str()));
    EXPECT_TRUE(SameFolder(".", setup.c_str()));
    EXPECT_TRUE(SameFolder("..\\Setup\\", setup.c_str()));
    SetCurrentDirectoryA(before.c_str());
}

TEST(InstallerProgress, LineGrowsByASixthOf136PerFileStep) {
    const int expected[] = {0, 22, 45, 68, 90, 113, 136};
    for (int step = 0; step <= 6; ++step) {
        EXPECT_EQ(ProgressLength(step), expected[step]) << "step " << step;
        char line[200];
        ProgressText(step, line, sizeof line);
        EXPECT_EQ(std::string(line), std::string((size_t)expected[step], '|')) << step;
    }
    EXPECT_EQ(ProgressLength(7), 136) << "never longer than the full line";
    EXPECT_EQ(ProgressLength(-1), 0);
    char small[10];
    ProgressText(6, small, sizeof small);
    EXPECT_EQ(std::string(small), std::string(9, '|')) << "cut to the buffer";
}
