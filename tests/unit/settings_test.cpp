// The settings store against the real registry of the test prefix.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "board/board.h"
#include "settings/settings.h"

using namespace settings;

namespace {

std::string SectionKey(const char* section) {
    return std::string(kRoot) + "\\" + section;
}

void PutRaw(const char* section, const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, SectionKey(section).c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, name, 0, type, (const BYTE*)data, size);
    RegCloseKey(key);
}

void PutText(const char* section, const char* name, const std::string& text) {
    PutRaw(section, name, REG_SZ, text.c_str(), DWORD(text.size() + 1));
}

bool RootExists() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kRoot, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

std::string ReadText(const char* section, const char* name, const char* def, int size = 260) {
    char out[512];
    ReadSettingText(section, name, def, out, size);
    return out;
}

class SettingsTest : public ::testing::Test {
  protected:
    void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, kRoot); }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, kRoot); }
};

} // namespace

TEST_F(SettingsTest, MissingRootReadsDefaultsAndFirstWriteCreatesIt) {
    ASSERT_FALSE(RootExists());
    EXPECT_EQ(ReadText(kFiles, kCurrent, "C:\\x\\SAMPLE.VQP"), "C:\\x\\SAMPLE.VQP");
    EXPECT_EQ(ReadText(kFiles, kCurrent, nullptr), "");
    EXPECT_EQ(ReadSettingNumber(kOptions, kTopMost, 1), 1);
    EXPECT_FALSE(RootExists()) << "reading must not create the store";

    EXPECT_EQ(WriteSettingText(kConfigure, kThisProgramDir, "C:\\Tessaro"), 1);
    EXPECT_TRUE(RootExists());
    char data[64] = {};
    DWORD type = 0, size = sizeof data;
    ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, SectionKey(kConfigure).c_str(), kThisProgramDir,
                           RRF_RT_ANY, &type, data, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, DWORD(REG_SZ));
    EXPECT_EQ(size, DWORD(sizeof "C:\\Tessaro")) << "stored with its terminator";
    EXPECT_STREQ(data, "C:\\Tessaro");
}

TEST_F(SettingsTest, NumbersReadTheirLeadingDigits) {
    PutText(kOptions, kTopMost, "0");
    EXPECT_EQ(ReadSettingNumber(kOptions, kTopMost, 1), 0);
    PutText(kOptions, kTopMost, "off");
    EXPECT_EQ(ReadSettingNumber(kOptions, kTopMost, 1), 0) << "a word without digits is 0";
    PutText(kOptions, kTopMost, "");
    EXPECT_EQ(ReadSettingNumber(kOptions, kTopMost, 1), 1) << "empty reads as the default";
    PutText(kOptions, kTopMost, "-12abc");
    EXPECT_EQ(ReadSettingNumber(kOptions, kTopMost, 1), -12);
    PutText(kOptions, kTopMost, "99999999999999");
    EXPECT_EQ(ReadSettingNumber(kOptions, kTopMost, 1), INT_MAX);
    WriteSettingNumber(kOptions, kAutoPaste, -7);
    EXPECT_EQ(ReadText(kOptions, kAutoPaste, "x"), "-7");
}

TEST_F(SettingsTest, OverlongOrForeignValuesGiveTheDefault) {
    PutText(kFiles, kCurrent, std::string(259, 'a'));
    EXPECT_EQ(ReadText(kFiles, kCurrent, "def").size(), 259u);
    PutText(kFiles, kCurrent, std::string(260, 'a'));
    EXPECT_EQ(ReadText(kFiles, kCurrent, "def"), "def");
    PutText(kFiles, kCurrent, std::string(1000, 'a'));
    EXPECT_EQ(ReadText(kFiles, kCurrent, "def"), "def");

    DWORD number = 5;
    PutRaw(kOptions, kTopMost, REG_DWORD, &number, sizeof number);
    EXPECT_EQ(ReadSettingNumber(kOptions, kTopMost, 1), 1) << "only text values count";

    // Stored without its terminator: still read, never past the data.
    PutRaw(kFiles, kCurrent, REG_SZ, "abc", 3);
    EXPECT_EQ(ReadText(kFiles, kCurrent, "def"), "abc");
}

TEST_F(SettingsTest, ReadsAreCutToTheCallersBuffer) {
    PutText(kFiles, kCurrent, "C:\\Programs\\Tessaro\\SAMPLE.VQP");
    char out[8];
    memset(out, 'x', sizeof out);
    EXPECT_EQ(ReadSettingText(kFiles, kCurrent, "", out, sizeof out), 7);
    EXPECT_STREQ(out, "C:\\Prog");
}

TEST_F(SettingsTest, TransHandleRoundTripsThroughBothReaders) {
    HWND window =
        CreateWindowA("STATIC", "handle", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(window);
    WriteSettingNumber(kHandles, kTransHandle, (int)(INT_PTR)window);
    EXPECT_EQ((HWND)(INT_PTR)ReadSettingNumber(kHandles, kTransHandle, 0), window);
    EXPECT_EQ((HWND)(ULONG_PTR)ReadSettingUnsigned(kHandles, kTransHandle, 0), window);
    DestroyWindow(window);
}

TEST_F(SettingsTest, InstallerReadsUnsignedWithAutomaticBase) {
    PutText(kHandles, kTransHandle, "0x1A");
    EXPECT_EQ(ReadSettingUnsigned(kHandles, kTransHandle, 0), 26ul);
    PutText(kHandles, kTransHandle, "010");
    EXPECT_EQ(ReadSettingUnsigned(kHandles, kTransHandle, 0), 8ul);
    EXPECT_EQ(ReadSettingNumber(kHandles, kTransHandle, 0), 10) << "the board reads decimal";
    RegDeleteTreeA(HKEY_CURRENT_USER, kRoot);
    EXPECT_EQ(ReadSettingUnsigned(kHandles, kTransHandle, 4000000000ul), 4000000000ul);
}

TEST_F(SettingsTest, BoardLoadsDefaultsAndSavesAllSevenValues) {
    g_board = BoardState();
    g_start = StartState();
    strcpy(g_board.programFolder, "C:\\Tessaro");
    PutText(kOptions, kAutoPaste, "2"); // only 1 counts as on
    PutText(kFiles, kCurrent, "");      // empty counts as missing
    LoadSettings();
    EXPECT_STREQ(g_board.currentPath, "C:\\Tessaro\\SAMPLE.VQP");
    EXPECT_EQ(g_board.autoPaste, 0);
    EXPECT_EQ(g_board.topMost, 1);
    EXPECT_EQ(g_board.useSystemTray, 1);
    EXPECT_EQ(g_board.wantToolTip, 1);
    EXPECT_EQ(g_board.minOnEachCopy, 0);
    EXPECT_EQ(g_board.hideInTrayOnStartup, 0);

    g_board.minOnEachCopy = 1;
    g_board.topMost = 0;
    SaveSettings();
    EXPECT_EQ(ReadText(kFiles, kCurrent, "x"), "C:\\Tessaro\\SAMPLE.VQP");
    EXPECT_EQ(ReadText(kOptions, kUseSystemTray, "x"), "1");
    EXPECT_EQ(ReadText(kOptions, kWantToolTip, "x"), "1");
    EXPECT_EQ(ReadText(kOptions, kHideInTrayOnStartup, "x"), "0");
    EXPECT_EQ(ReadText(kOptions, kAutoPaste, "x"), "0");
    EXPECT_EQ(ReadText(kOptions, kMinOnEachCopy, "x"), "1");
    EXPECT_EQ(ReadText(kOptions, kTopMost, "x"), "0");

    g_start.freshStart = 1;
    LoadSettings();
    EXPECT_STREQ(g_board.currentPath, "") << "a fresh start has no current project";
    g_board = BoardState();
    g_start = StartState();
}
