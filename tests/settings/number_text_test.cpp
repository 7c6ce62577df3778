// Numbers read from settings text, without the registry.
#include <gtest/gtest.h>

#include <climits>

#include "settings/number_text.h"

using settings::NumberFromText;
using settings::UnsignedFromText;

TEST(NumberText, TheBoardReadsLeadingDecimalDigitsWithinInt) {
    EXPECT_EQ(NumberFromText("1"), 1);
    EXPECT_EQ(NumberFromText("  -12abc"), -12);
    EXPECT_EQ(NumberFromText("+7"), 7);
    EXPECT_EQ(NumberFromText("off"), 0);
    EXPECT_EQ(NumberFromText("- 5"), 0);
    EXPECT_EQ(NumberFromText("0x1A"), 0) << "decimal only";
    EXPECT_EQ(NumberFromText("-2147483648"), INT_MIN);
    EXPECT_EQ(NumberFromText("99999999999999999999"), INT_MAX);
    EXPECT_EQ(NumberFromText("-99999999999999999999"), INT_MIN);
}

TEST(NumberText, TheInstallerReadsUnsignedWithAutomaticBase) {
    EXPECT_EQ(UnsignedFromText("0x1A"), 26ul);
    EXPECT_EQ(UnsignedFromText("010"), 8ul);
    EXPECT_EQ(UnsignedFromText("09"), 0ul) << "9 is no octal digit";
    EXPECT_EQ(UnsignedFromText("0x"), 0ul);
    EXPECT_EQ(UnsignedFromText("4294967295"), 4294967295ul);
    EXPECT_EQ(UnsignedFromText("99999999999999999999999"), ULONG_MAX);
    // A handle the board wrote as a negative number keeps its bits.
    EXPECT_EQ((unsigned)UnsignedFromText("-2"), 0xFFFFFFFEu);
}
