// The settings store on a scratch root of the current user; the real store is never
// touched.
#include <windows.h>
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "settings/settings.h"

using namespace settings;

namespace {

const char kScratchRoot[] = "Software\\Tessaro Tests\\settings";
const char kOtherRoot[] = "Software\\Tessaro Tests\\settings other";

Store Scratch() {
    Store store;
    store.root = kScratchRoot;
    return store;
}

std::string SectionKey(const char* section) {
    return std::string(kScratchRoot) + "\\" + section;
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

bool KeyExists(const std::string& path) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

bool RootExists() {
    return KeyExists(kScratchRoot);
}

std::string ReadText(const char* section, const char* name, const char* def, int size = 260) {
    char out[512];
    ReadSettingText(Scratch(), section, name, def, out, size);
    return out;
}

class SettingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, kScratchRoot);
        RegDeleteTreeA(HKEY_CURRENT_USER, kOtherRoot);
    }
    void TearDown() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, kScratchRoot);
        RegDeleteTreeA(HKEY_CURRENT_USER, kOtherRoot);
    }
    Store store_ = Scratch();
};

} // namespace

TEST_F(SettingsTest, MissingRootReadsDefaultsAndFirstWriteCreatesIt) {
    ASSERT_FALSE(RootExists());
    EXPECT_EQ(ReadText(kFiles, kCurrent, "C:\\x\\SAMPLE.VQP"), "C:\\x\\SAMPLE.VQP");
    EXPECT_EQ(ReadText(kFiles, kCurrent, nullptr), "");
    EXPECT_EQ(ReadSettingNumber(store_, kOptions, kTopMost, 1), 1);
    EXPECT_FALSE(RootExists()) << "reading must not create the store";

    EXPECT_EQ(WriteSettingText(store_, kConfigure, kThisProgramDir, "C:\\Tessaro"), 1);
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
    EXPECT_EQ(ReadSettingNumber(store_, kOptions, kTopMost, 1), 0);
    PutText(kOptions, kTopMost, "off");
    EXPECT_EQ(ReadSettingNumber(store_, kOptions, kTopMost, 1), 0) << "a word without digits is 0";
    PutText(kOptions, kTopMost, "");
    EXPECT_EQ(ReadSettingNumber(store_, kOptions, kTopMost, 1), 1) << "empty reads as the default";
    PutText(kOptions, kTopMost, "-12abc");
    EXPECT_EQ(ReadSettingNumber(store_, kOptions, kTopMost, 1), -12);
    PutText(kOptions, kTopMost, "99999999999999");
    EXPECT_EQ(ReadSettingNumber(store_, kOptions, kTopMost, 1), INT_MAX);
    WriteSettingNumber(store_, kOptions, kAutoPaste, -7);
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
    EXPECT_EQ(ReadSettingNumber(store_, kOptions, kTopMost, 1), 1) << "only text values count";

    // Stored without its terminator: still read, never past the data.
    PutRaw(kFiles, kCurrent, REG_SZ, "abc", 3);
    EXPECT_EQ(ReadText(kFiles, kCurrent, "def"), "abc");
}

TEST_F(SettingsTest, ReadsAreCutToTheCallersBuffer) {
    PutText(kFiles, kCurrent, "C:\\Programs\\Tessaro\\SAMPLE.VQP");
    char out[8];
    memset(out, 'x', sizeof out);
    EXPECT_EQ(ReadSettingText(store_, kFiles, kCurrent, "", out, sizeof out), 7);
    EXPECT_STREQ(out, "C:\\Prog");
}

TEST_F(SettingsTest, TransHandleRoundTripsThroughBothReaders) {
    HWND window =
        CreateWindowA("STATIC", "handle", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(window);
    WriteSettingNumber(store_, kHandles, kTransHandle, (int)(INT_PTR)window);
    EXPECT_EQ((HWND)(INT_PTR)ReadSettingNumber(store_, kHandles, kTransHandle, 0), window);
    EXPECT_EQ((HWND)(ULONG_PTR)ReadSettingUnsigned(store_, kHandles, kTransHandle, 0), window);
    DestroyWindow(window);
}

TEST_F(SettingsTest, InstallerReadsUnsignedWithAutomaticBase) {
    PutText(kHandles, kTransHandle, "0x1A");
    EXPECT_EQ(ReadSettingUnsigned(store_, kHandles, kTransHandle, 0), 26ul);
    PutText(kHandles, kTransHandle, "010");
    EXPECT_EQ(ReadSettingUnsigned(store_, kHandles, kTransHandle, 0), 8ul);
    EXPECT_EQ(ReadSettingNumber(store_, kHandles, kTransHandle, 0), 10)
        << "the board reads decimal";
    RegDeleteTreeA(HKEY_CURRENT_USER, kScratchRoot);
    EXPECT_EQ(ReadSettingUnsigned(store_, kHandles, kTransHandle, 4000000000ul), 4000000000ul);
}

TEST_F(SettingsTest, AStoreReadsAndWritesOnlyUnderItsOwnRoot) {
    Store other;
    other.root = kOtherRoot;
    const char unique[] = "C:\\only in the scratch store";
    ASSERT_EQ(WriteSettingText(store_, kConfigure, kThisProgramDir, unique), 1);
    EXPECT_FALSE(KeyExists(kOtherRoot)) << "the other store was not created";
    char out[260];
    ReadSettingText(other, kConfigure, kThisProgramDir, "default", out, sizeof out);
    EXPECT_STREQ(out, "default");
    ReadSettingText(store_, kConfigure, kThisProgramDir, "default", out, sizeof out);
    EXPECT_STREQ(out, unique);
}

TEST_F(SettingsTest, AStoreWithoutARootReadsDefaultsAndWritesNothing) {
    Store none;
    char out[32];
    EXPECT_EQ(ReadSettingText(none, kFiles, kCurrent, "def", out, sizeof out), 3);
    EXPECT_STREQ(out, "def");
    EXPECT_EQ(ReadSettingNumber(none, kOptions, kTopMost, 1), 1);
    EXPECT_EQ(WriteSettingText(none, kFiles, kCurrent, "x"), 0);
    EXPECT_EQ(WriteSettingNumber(none, kOptions, kTopMost, 0), 0);
}

TEST_F(SettingsTest, APrimitiveStartedWhileTheMarkIsHeldLeavesTheRegistryAlone) {
    PutText(kOptions, kTopMost, "0");
    {
        BusyMark outer;
        ASSERT_TRUE(outer.Acquired());
        {
            BusyMark inner;
            EXPECT_FALSE(inner.Acquired()) << "one primitive at a time";
        }
        EXPECT_EQ(ReadSettingNumber(store_, kOptions, kTopMost, 1), 1)
            << "a read inside another primitive gives its default";
        EXPECT_EQ(WriteSettingText(store_, kOptions, kAutoPaste, "1"), 0);
        EXPECT_EQ(ReadText(kOptions, kAutoPaste, "none"), "none") << "still held by outer";
    }
    EXPECT_EQ(ReadText(kOptions, kAutoPaste, "none"), "none") << "the write did not happen";
    EXPECT_EQ(ReadSettingNumber(store_, kOptions, kTopMost, 1), 0) << "released again";
    EXPECT_EQ(WriteSettingText(store_, kOptions, kAutoPaste, "1"), 1);
    EXPECT_EQ(ReadText(kOptions, kAutoPaste, "none"), "1");
}
