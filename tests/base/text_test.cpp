// Bounded text: every copy terminates and nothing is written past a buffer.
#include <gtest/gtest.h>

#include <cstring>

#include "base/text.h"

TEST(Text, CopiesAreBoundedAndTerminated) {
    char out[6];
    memset(out, 'x', sizeof out);
    EXPECT_EQ(base::CopyText(out, sizeof out, "Tessaro"), 5u);
    EXPECT_STREQ(out, "Tessa");
    EXPECT_EQ(base::CopyText(out, sizeof out, nullptr), 0u);
    EXPECT_STREQ(out, "");
    EXPECT_EQ(base::CopyText(out, 0, "x"), 0u);

    char field[4] = {'a', 'b', 'c', 'd'}; // no terminator inside the width
    char wide[8];
    EXPECT_EQ(base::CopyField(wide, sizeof wide, field, sizeof field), 4u);
    EXPECT_STREQ(wide, "abcd");

    EXPECT_EQ(base::FormatText(out, sizeof out, "%s >%s", "Tessaro", "C:\\x"), 5u);
    EXPECT_STREQ(out, "Tessa");
}

TEST(Text, CaseFoldsOnlyAsciiLetters) {
    EXPECT_TRUE(base::EqualsNoCase("InstallingTheProgram", "installingtheprogram"));
    EXPECT_FALSE(base::EqualsNoCase("NewSession", "NewSession "));
    EXPECT_FALSE(base::EqualsNoCase("\xe9", "\xc9")) << "bytes above 127 are compared as they are";
    EXPECT_TRUE(base::StartsWithNoCase("c:\\tessaro\\a.vqp", "C:\\TESSARO", 10));
    EXPECT_FALSE(base::StartsWithNoCase("c:\\tess", "C:\\TESSARO", 10));
}
