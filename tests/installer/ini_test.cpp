// The legacy settings file: its lines, and its one-time move into the settings store.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/text.h"
#include "installer/ini_lines.h"
#include "installer/legacy_ini.h"
#include "settings/settings.h"
#include "support.h"

using namespace installer;

namespace {

struct Read {
    IniLine kind;
    std::string section, name, value;
};

std::vector<Read> ReadLines(const std::vector<std::string>& lines) {
    IniState state;
    std::vector<Read> out;
    for (const std::string& text : lines) {
        char line[kIniReadSize];
        base::CopyText(line, sizeof line, text.c_str());
        IniKey key = {};
        IniLine kind = ReadIniLine(line, state, key);
        out.push_back({kind, state.section, kind == IniLine::Key ? key.name : "",
                       kind == IniLine::Key ? key.value : ""});
    }
    return out;
}

} // namespace

TEST(IniLines, SectionsNameTheKeysThatFollow) {
    auto r = ReadLines({"[Configure]\r\n", "ThisProgramDir=C:\\vqp\r\n", "[Options]", "TopMost=0"});
    EXPECT_EQ(r[0].kind, IniLine::Section);
    EXPECT_EQ(r[0].section, "Configure");
    EXPECT_EQ(r[1].kind, IniLine::Key);
    EXPECT_EQ(r[1].section, "Configure");
    EXPECT_EQ(r[1].name, "ThisProgramDir");
    EXPECT_EQ(r[1].value, "C:\\vqp");
    EXPECT_EQ(r[3].section, "Options");
    EXPECT_EQ(r[3].value, "0");
}

TEST(IniLines, ASectionEndsAtTheLastBracketOrTakesTheWholeRest) {
    auto r = ReadLines({"[Files] ; old", "[a]b]c", "[No close", "[]"});
    EXPECT_EQ(r[0].section, "Files");
    EXPECT_EQ(r[1].section, "a]b");
    EXPECT_EQ(r[2].section, "No close");
    EXPECT_EQ(r[3].section, "");
}

TEST(IniLines, TheNameEndsAtTheFirstEqualsSign) {
    auto r = ReadLines({"[S]", "Name=a=b", "NoEquals", "=value", "Name=", "Blank = x  "});
    EXPECT_EQ(r[1].name, "Name");
    EXPECT_EQ(r[1].value, "a=b") << "the value keeps the second '='";
    EXPECT_EQ(r[2].kind, IniLine::Key);
    EXPECT_EQ(r[2].name, "NoEquals");
    EXPECT_EQ(r[2].value, "");
    EXPECT_EQ(r[3].name, "");
    EXPECT_EQ(r[3].value, "value");
    EXPECT_EQ(r[4].value, "");
    EXPECT_EQ(r[5].name, "Blank ") << "only the line's end is trimmed";
    EXPECT_EQ(r[5].value, " x");
}

TEST(IniLines, CommentsBlankLinesAndLineEndsAreIgnored) {
    auto r = ReadLines({"; a comment", "", "   \r\n", "\n", "[S]", ";Key=1", "Key=1 \r\n"});
    for (int i : {0, 1, 2, 3, 5})
        EXPECT_EQ(r[i].kind, IniLine::Ignored) << i;
    EXPECT_EQ(r[6].value, "1");
    EXPECT_EQ(r[2].section, "") << "ignored lines name no section";
}

TEST(IniLines, KeysBeforeAnySectionOrInAnUnnamedOneAreNotTakenOver) {
    auto r = ReadLines({"Early=1", "[]", "Unnamed=2", "[S]", "Late=3"});
    EXPECT_EQ(r[0].kind, IniLine::OutsideSection);
    EXPECT_EQ(r[2].kind, IniLine::OutsideSection);
    EXPECT_EQ(r[4].kind, IniLine::Key);
}

TEST(IniLines, LongTextIsCutNeverOverrun) {
    std::string longName(300, 'n');
    IniState state;
    IniKey key;
    char line[kIniReadSize];
    base::CopyText(line, sizeof line, ("[" + longName + "]").c_str());
    EXPECT_EQ(ReadIniLine(line, state, key), IniLine::Section);
    EXPECT_EQ(std::string(state.section), std::string(257, 'n')) << "258 characters were read";
    base::CopyText(line, sizeof line, (longName + "=v").c_str());
    EXPECT_EQ(ReadIniLine(line, state, key), IniLine::Key);
    EXPECT_EQ(std::string(key.name), std::string(258, 'n'));
}

TEST(LegacyIniPath, TheWindowsFolderLosesItsTrailingSeparators) {
    char path[300];
    LegacyIniPath("C:\\windows", path, sizeof path);
    EXPECT_STREQ(path, "C:\\windows\\kestrum.ini");
    LegacyIniPath("C:\\windows\\/ \r\n", path, sizeof path);
    EXPECT_STREQ(path, "C:\\windows\\kestrum.ini");
}

namespace {

class MigrationTest : public ::testing::Test {
  protected:
    std::string WriteIni(const std::string& text) { return scratch_.Write("kestrum.ini", text); }

    test::ScratchFolder scratch_{"legacy-ini"};
    test::FakeEnvironment env_;
    const std::string ini_ = scratch_ / "kestrum.ini";
};

} // namespace

TEST_F(MigrationTest, EveryKeyIsWrittenInOrderAndTheFileDeleted) {
    WriteIni(
        "Stray=1\r\n[Configure]\r\nThisProgramDir=C:\\vqp \r\n; note\r\n\r\n"
        "[Options]\r\nTopMost=0\r\nAutoPaste=1\r\n[Files]\r\nCurrent=C:\\vqp\\a=b.VQP");
    EXPECT_EQ(MigrateLegacyIni(env_, ini_.c_str()), Migration::Done);
    EXPECT_EQ(env_.writes, (std::vector<std::string>{"Configure\\ThisProgramDir=C:\\vqp",
                                                     "Options\\TopMost=0", "Options\\AutoPaste=1",
                                                     "Files\\Current=C:\\vqp\\a=b.VQP"}));
    EXPECT_FALSE(test::Exists(ini_));
}

TEST_F(MigrationTest, AnExistingStoreLeavesTheFileAlone) {
    WriteIni("[Configure]\nThisProgramDir=C:\\old\n");
    env_.storeExists = true;
    EXPECT_EQ(MigrateLegacyIni(env_, ini_.c_str()), Migration::StoreExists);
    EXPECT_TRUE(env_.writes.empty());
    EXPECT_TRUE(test::Exists(ini_));
}

TEST_F(MigrationTest, NoFileNoWork) {
    EXPECT_EQ(MigrateLegacyIni(env_, ini_.c_str()), Migration::NoFile);
    EXPECT_TRUE(env_.writes.empty());
}

TEST_F(MigrationTest, AFailedWriteKeepsTheFileForTheNextStart) {
    WriteIni("[Configure]\nThisProgramDir=C:\\vqp\n[Options]\nTopMost=0\n");
    env_.unwritable.insert("Configure\\ThisProgramDir");
    EXPECT_EQ(MigrateLegacyIni(env_, ini_.c_str()), Migration::WriteFailed);
    EXPECT_EQ(env_.writes.size(), 2u) << "the other keys are still written";
    EXPECT_EQ(env_.Setting("Options", "TopMost"), "0");
    EXPECT_TRUE(test::Exists(ini_)) << "its settings would be lost with the file";
}

TEST_F(MigrationTest, AFileThatCannotBeOpenedStays) {
    WriteIni("[Configure]\nThisProgramDir=C:\\vqp\n");
    test::HeldOpen held(ini_);
    ASSERT_TRUE(held.IsOpen());
    EXPECT_EQ(MigrateLegacyIni(env_, ini_.c_str()), Migration::NotOpened);
    held.Close();
    EXPECT_TRUE(test::Exists(ini_));
    EXPECT_TRUE(env_.writes.empty());
}

TEST_F(MigrationTest, TheFileIsFoundInTheWindowsFolder) {
    WriteIni("[Handles]\nTransHandle=0\n");
    env_.windowsFolder = scratch_.Path() + "\\";
    EXPECT_EQ(MigrateLegacyIni(env_), Migration::Done);
    EXPECT_EQ(env_.writes, std::vector<std::string>{"Handles\\TransHandle=0"});
}

// The same through the system's settings store, at a scratch root.
TEST_F(MigrationTest, TheSystemEnvironmentWritesTheStoreItIsGiven) {
    test::DeleteScratchKey();
    const settings::Store store{test::kScratchKey};
    Environment system(store);
    ASSERT_FALSE(system.SettingsStoreExists());
    WriteIni("[Configure]\r\nThisProgramDir=C:\\Legacy Place\r\n[Options]\r\nTopMost=0\r\n");
    EXPECT_EQ(MigrateLegacyIni(system, ini_.c_str()), Migration::Done);
    EXPECT_TRUE(system.SettingsStoreExists());
    char value[260];
    settings::ReadSettingText(store, settings::kConfigure, settings::kThisProgramDir, "", value,
                              sizeof value);
    EXPECT_STREQ(value, "C:\\Legacy Place");
    EXPECT_EQ(settings::ReadSettingNumber(store, settings::kOptions, settings::kTopMost, 1), 0);
    EXPECT_FALSE(test::Exists(ini_));

    WriteIni("[Configure]\nThisProgramDir=C:\\Other\n");
    EXPECT_EQ(MigrateLegacyIni(system, ini_.c_str()), Migration::StoreExists);
    settings::ReadSettingText(store, settings::kConfigure, settings::kThisProgramDir, "", value,
                              sizeof value);
    EXPECT_STREQ(value, "C:\\Legacy Place") << "a second file is not taken over";
    test::DeleteScratchKey();
}
