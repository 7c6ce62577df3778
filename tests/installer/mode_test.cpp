// The installer's mode comes from its whole command line.
#include <gtest/gtest.h>

#include <string>

#include "installer/command_line.h"

using installer::ChooseMode;
using installer::Mode;

TEST(InstallerMode, UnInstallInAnyCaseRelaunches) {
    for (const char* line : {"UnInstall", "uninstall", "UNINSTALL", "uNiNsTaLl"})
        EXPECT_EQ(ChooseMode(line), Mode::Relaunch) << line;
}

TEST(InstallerMode, UnInstall2InAnyCaseUninstalls) {
    for (const char* line : {"UnInstall2", "uninstall2", "UNINSTALL2"})
        EXPECT_EQ(ChooseMode(line), Mode::Uninstall) << line;
}

TEST(InstallerMode, EverythingElseInstalls) {
    for (const char* line :
         {"", "UnInstall ", " UnInstall", "/UnInstall", "-UnInstall", "UnInstall3", "UnInstal",
          "UnInstall2 ", "\"UnInstall\"", "InstallingTheProgram", "UnInstall\t"})
        EXPECT_EQ(ChooseMode(line), Mode::Install) << "[" << line << "]";
    EXPECT_EQ(ChooseMode(nullptr), Mode::Install);
}

TEST(InstallerMode, AnOverlongLineIsCutAndStillComparedWhole) {
    // Cut to 511 characters: what remains is not the word, so it installs.
    std::string line = "UnInstall" + std::string(600, ' ');
    EXPECT_EQ(ChooseMode(line.c_str()), Mode::Install);
    // A word followed by a NUL-terminated tail is only the word.
    EXPECT_EQ(ChooseMode(std::string("UnInstall2\0tail", 15).c_str()), Mode::Uninstall);
}
