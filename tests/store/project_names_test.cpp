// Cleaning typed project names and forming project paths, without windows or files.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "store/project_names.h"

namespace {

const char kFolder[] = "C:\\Boards";

// The cleaned name for a typed one, or "<none>" when nothing usable remains.
std::string Cleaned(const char* typed) {
    char out[300];
    memset(out, 'x', sizeof out);
    size_t n = CleanProjectName(typed, out, sizeof out);
    if (n == 0)
        return "<none>";
    EXPECT_EQ(n, strlen(out));
    return out;
}

// The project path for a typed name, or "<refused>".
std::string PathFor(const std::string& typed, const char* folder = kFolder) {
    char buffer[256];
    memset(buffer, 'x', sizeof buffer);
    strncpy(buffer, typed.c_str(), sizeof buffer - 1);
    buffer[sizeof buffer - 1] = '\0';
    if (!TypedNameToProjectPath(folder, buffer, sizeof buffer)) {
        EXPECT_EQ(typed.substr(0, 255), std::string(buffer)) << "a refusal leaves the buffer";
        return "<refused>";
    }
    return buffer;
}

TEST(ProjectNameCleaning, KnownExamples) {
    EXPECT_EQ("C:\\Boards\\My Project.vqp", PathFor("My Project.old"));
    EXPECT_EQ("C:\\Boards\\ a b.vqp", PathFor("  a  b  "));
    EXPECT_EQ("C:\\Boards\\abc.vqp", PathFor("a/b:c"));
    EXPECT_EQ("<refused>", PathFor("???"));
}

TEST(ProjectNameCleaning, CutsAtTheFirstDot) {
    EXPECT_EQ("name", Cleaned("name.tar.gz"));
    EXPECT_EQ("<none>", Cleaned(".hidden"));
    EXPECT_EQ("a", Cleaned("a .b"));
}

TEST(ProjectNameCleaning, BlanksShrinkAndTrailingOnesVanish) {
    EXPECT_EQ(" x", Cleaned(" x"));
    EXPECT_EQ(" x", Cleaned("     x"));
    EXPECT_EQ("x y z", Cleaned("x   y    z     "));
    EXPECT_EQ("<none>", Cleaned(" "));
    EXPECT_EQ("<none>", Cleaned("    "));
    EXPECT_EQ("<none>", Cleaned(""));
}

TEST(ProjectNameCleaning, BlanksAreJudgedByTheCharacterThatFollowsAsTyped) {
    // Only a blank or the end behind a blank drops it; a dropped character does not.
    EXPECT_EQ("a  b", Cleaned("a | b"));
    EXPECT_EQ("a ", Cleaned("a ?"));
    EXPECT_EQ(" ", Cleaned(" ?"));
    EXPECT_EQ("a", Cleaned("a  .txt")) << "blanks before the cut are trailing";
}

TEST(ProjectNameCleaning, EveryDroppedCharacterGoesAndEveryOtherStays) {
    const std::string dropped = "\n\r\"#%'()*+,/:;<=>?[\\]^`{|}~";
    for (char c : dropped) {
        EXPECT_TRUE(IsDroppedNameCharacter(c)) << int(c);
        std::string typed = std::string("a") + c + "b";
        EXPECT_EQ("ab", Cleaned(typed.c_str())) << "character " << int(c);
    }
    // Every other byte but the terminator, the dot and the blank is kept where it stands.
    for (int value = 1; value < 256; ++value) {
        const char c = char(value);
        if (c == '.' || c == ' ' || dropped.find(c) != std::string::npos)
            continue;
        EXPECT_FALSE(IsDroppedNameCharacter(c)) << value;
        std::string typed = std::string("a") + c + "b";
        EXPECT_EQ(typed, Cleaned(typed.c_str())) << "character " << value;
    }
    EXPECT_EQ("!$&-@_09AZaz\xe9", Cleaned("!$&-@_09AZaz\xe9"));
}

TEST(ProjectNameCleaning, LooksAtTheFirst260CharactersOnly) {
    std::string typed(300, 'n');
    EXPECT_EQ(std::string(260, 'n'), Cleaned(typed.c_str()));
    // Dropped characters count towards the 260 looked at.
    std::string mixed = std::string(259, '?') + "ab";
    EXPECT_EQ("a", Cleaned(mixed.c_str()));
}

TEST(ProjectNameCleaning, ACleanedNameThatDoesNotFitIsRefused) {
    char small[4];
    EXPECT_EQ(3u, CleanProjectName("abc", small, sizeof small));
    EXPECT_STREQ("abc", small);
    EXPECT_EQ(0u, CleanProjectName("abcd", small, sizeof small));
    EXPECT_STREQ("", small);
}

TEST(ProjectNameDevices, ReservedNamesInAnyCaseAreDevices) {
    for (const char* name : {"CON", "con", "Prn", "aUx", "NUL", "COM1", "com9", "LPT1", "lpt9"})
        EXPECT_TRUE(IsDeviceName(name)) << name;
}

TEST(ProjectNameDevices, NamesThatOnlyLookLikeDevicesAreNot) {
    for (const char* name :
         {"CONS", "CO", "NULL", "COM", "COM0", "COM10", "LPT", "LPTX", " CON", "AUX1", "console"})
        EXPECT_FALSE(IsDeviceName(name)) << name;
}

TEST(ProjectNameDevices, ADeviceNameIsRefusedEvenWhenItOnlyAppearsAfterCleaning) {
    EXPECT_EQ("<refused>", PathFor("con"));
    EXPECT_EQ("<refused>", PathFor("Com3.vqp"));
    EXPECT_EQ("<refused>", PathFor("N?U*L"));
    EXPECT_EQ("<refused>", PathFor("LPT2   "));
    EXPECT_EQ("C:\\Boards\\CONTACTS.vqp", PathFor("CONTACTS"));
}

TEST(ProjectNameDevices, APathIsJudgedByItsLastPartWhateverItsExtension) {
    for (const char* path : {"C:\\Boards\\COM1.vqp", "C:\\Boards\\nul.txt", "C:\\Boards\\Con .x",
                             "lpt9", "D:aux.vqp", "C:/Boards/prn.a.b", "C:\\com3.", "\\CON"})
        EXPECT_TRUE(PathNamesDevice(path)) << path;
    for (const char* path : {"C:\\Boards\\COM10.vqp", "C:\\COM1\\Sample.vqp", "C:\\Boards\\", "",
                             "C:\\Boards\\console.vqp", "C:\\Boards\\.con", "xCOM1.vqp",
                             "C:\\Boards\\COM1x.vqp", "C:\\Boards\\ NUL.vqp"})
        EXPECT_FALSE(PathNamesDevice(path)) << path;
}

TEST(ProjectPathLength, AJoinedPathOf255CharactersFitsAndOneMoreIsRefused) {
    // folder (200) + "\" + name + ".vqp": 205 + name length.
    const std::string folder = "C:\\" + std::string(197, 'f');
    ASSERT_EQ(200u, folder.size());
    std::string fits(50, 'n');
    std::string path = PathFor(fits, folder.c_str());
    EXPECT_EQ(255u, path.size());
    EXPECT_EQ(folder + "\\" + fits + ".vqp", path);
    EXPECT_EQ("<refused>", PathFor(std::string(51, 'n'), folder.c_str()));
}

TEST(ProjectPathLength, ALongFolderAndALongTypedNameNeverOverrunTheBuffer) {
    const std::string folder = "C:\\" + std::string(227, 'f'); // 230, the longest folder
    char buffer[256 + 16];
    memset(buffer, 0x5A, sizeof buffer);
    std::string typed(255, 'n');
    memcpy(buffer, typed.c_str(), typed.size() + 1);
    EXPECT_EQ(0, TypedNameToProjectPath(folder.c_str(), buffer, 256));
    for (size_t i = 256; i < sizeof buffer; ++i)
        ASSERT_EQ(0x5A, (unsigned char)buffer[i]) << "byte " << i << " written";
}

TEST(ProjectPathLength, TheBufferSizeLimitsTooNotJust255) {
    char small[20] = "abcdefgh";
    EXPECT_EQ(0, JoinProjectPath("C:\\Boards", "abcdefgh", small, sizeof small));
    EXPECT_STREQ("abcdefgh", small);
    char exact[20];
    EXPECT_EQ(1, JoinProjectPath("C:\\B", "abcdefgh", exact, sizeof exact)); // 17 characters
    EXPECT_STREQ("C:\\B\\abcdefgh.vqp", exact);
}

TEST(ProjectPathLength, AnEmptyFolderGivesARootedPath) {
    EXPECT_EQ("\\x.vqp", PathFor("x", ""));
}

TEST(ProjectNameSuggestion, FileNameWithoutFolderAndExtension) {
    char out[256];
    SuggestedProjectName("C:\\Boards\\SAMPLE.VQP", out, sizeof out);
    EXPECT_STREQ("SAMPLE", out);
    SuggestedProjectName("C:\\My.Boards\\two.dots.vqp", out, sizeof out);
    EXPECT_STREQ("two", out);
    SuggestedProjectName("noslash.vqp", out, sizeof out);
    EXPECT_STREQ("noslash", out);
    SuggestedProjectName("", out, sizeof out);
    EXPECT_STREQ("", out);
    SuggestedProjectName("C:\\Boards\\", out, sizeof out);
    EXPECT_STREQ("", out);
}

TEST(ProjectNameSuggestion, CutToTheCallersBuffer) {
    char out[5];
    SuggestedProjectName("C:\\Boards\\Longname.vqp", out, sizeof out);
    EXPECT_STREQ("Long", out);
    EXPECT_STREQ("b.vqp", FileNamePart("a\\b.vqp"));
    EXPECT_STREQ("b.vqp", FileNamePart("b.vqp"));
}

} // namespace
