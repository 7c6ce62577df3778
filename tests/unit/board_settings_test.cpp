// The board's load and save of its settings, on a scratch store.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "board/board.h"
#include "settings/settings.h"
#include "version.h"

using namespace settings;

namespace {

const char kScratchRoot[] = "Software\\Tessaro Tests\\board settings";

std::string Stored(const char* section, const char* name) {
    char out[300];
    ReadSettingText(g_board.settings, section, name, "<missing>", out, sizeof out);
    return out;
}

class BoardSettingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, kScratchRoot);
        g_board = BoardState();
        g_start = StartState();
        g_board.settings.root = kScratchRoot;
    }
    void TearDown() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, kScratchRoot);
        g_board = BoardState();
        g_start = StartState();
    }
};

} // namespace

TEST_F(BoardSettingsTest, LoadsDefaultsAndSavesAllSevenValuesAsZeroOrOne) {
    strcpy(g_board.programFolder, "C:\\Tessaro");
    WriteSettingText(g_board.settings, kOptions, kAutoPaste, "2"); // only 1 counts as on
    WriteSettingText(g_board.settings, kFiles, kCurrent, "");      // empty counts as missing
    LoadSettings();
    EXPECT_STREQ(g_board.currentPath, "C:\\Tessaro\\SAMPLE.VQP");
    EXPECT_FALSE(g_board.autoPaste);
    EXPECT_TRUE(g_board.topMost);
    EXPECT_TRUE(g_board.useSystemTray);
    EXPECT_TRUE(g_board.wantToolTip);
    EXPECT_FALSE(g_board.minOnEachCopy);
    EXPECT_FALSE(g_board.hideInTrayOnStartup);

    g_board.minOnEachCopy = true;
    g_board.topMost = false;
    SaveSettings();
    EXPECT_EQ(Stored(kFiles, kCurrent), "C:\\Tessaro\\SAMPLE.VQP");
    EXPECT_EQ(Stored(kOptions, kUseSystemTray), "1");
    EXPECT_EQ(Stored(kOptions, kWantToolTip), "1");
    EXPECT_EQ(Stored(kOptions, kHideInTrayOnStartup), "0");
    EXPECT_EQ(Stored(kOptions, kAutoPaste), "0");
    EXPECT_EQ(Stored(kOptions, kMinOnEachCopy), "1");
    EXPECT_EQ(Stored(kOptions, kTopMost), "0");

    g_start.freshStart = true;
    LoadSettings();
    EXPECT_STREQ(g_board.currentPath, "") << "a fresh start has no current project";
    EXPECT_TRUE(g_board.minOnEachCopy) << "loaded back as saved";
    EXPECT_FALSE(g_board.topMost);
}

TEST_F(BoardSettingsTest, AMissingValueKeepsTheFlagAsItIs) {
    g_board.autoPaste = false;
    g_board.hideInTrayOnStartup = true;
    LoadSettings();
    EXPECT_FALSE(g_board.autoPaste);
    EXPECT_TRUE(g_board.hideInTrayOnStartup);
    WriteSettingText(g_board.settings, kOptions, kHideInTrayOnStartup, "0");
    LoadSettings();
    EXPECT_FALSE(g_board.hideInTrayOnStartup);
}

TEST(ProgramVersion, OnePlaceGivesEveryReader18_06_01) {
    EXPECT_STREQ(TESSARO_VERSION_TEXT, "18.06.01");
    EXPECT_EQ(TESSARO_VERSION_MAJOR, 18);
    EXPECT_EQ(TESSARO_VERSION_MINOR, 6);
    EXPECT_EQ(TESSARO_VERSION_PATCH, 1);
}
