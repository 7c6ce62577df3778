// The help texts and the composition of the Overview.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "dialogs/help.h"
#include "dialogs/help_texts.h"
#include "resources/kestrum_ids.h"

namespace {

uint32_t Fnv1a(const char* text) {
    uint32_t hash = 0x811c9dc5u;
    for (const unsigned char* p = (const unsigned char*)text; *p; ++p)
        hash = (hash ^ *p) * 0x01000193u;
    return hash;
}

std::string FirstLine(const char* text) {
    return std::string(text, strcspn(text, "\r\n"));
}

// Length and FNV-1a hash of every topic as the product's text table gives it, worked out
// from that table and not from the code: one changed, lost or added character, typos
// included, changes them.
struct TopicCheck {
    int command;
    size_t length;
    uint32_t hash;
};
const TopicCheck kTopicChecks[] = {
    {32792, 525, 0x744bbeddu}, {32793, 302, 0x9850e8b0u}, {32794, 173, 0x6c2add7cu},
    {32795, 103, 0xdef27b13u}, {32796, 109, 0x9e683289u}, {32797, 223, 0xa1076443u},
    {32798, 80, 0x50871fb7u},  {32799, 280, 0x4775f2bfu}, {32800, 37, 0xa196c61du},
    {32801, 246, 0x79d5d186u}, {32802, 214, 0x92948106u}, {32803, 813, 0xeb546eceu},
    {32804, 373, 0x42ef4dafu}, {32805, 327, 0x0c4b61a1u}, {32806, 266, 0x3772129au},
    {32807, 303, 0xc7756c3cu}, {32808, 183, 0x327d5cdau},
};
const size_t kOverviewLength = 1366;
const uint32_t kOverviewHash = 0x217dbb7fu;

TEST(HelpTextsTest, EveryTopicIsExactlyTheProductsText) {
    for (const TopicCheck& check : kTopicChecks) {
        const char* text = HelpTopicText(check.command);
        ASSERT_NE(text, nullptr) << check.command;
        EXPECT_EQ(strlen(text), check.length) << check.command << ": " << FirstLine(text);
        EXPECT_EQ(Fnv1a(text), check.hash) << check.command << ": " << FirstLine(text);
    }
    const char* overview = OverviewPart(0);
    ASSERT_NE(overview, nullptr);
    EXPECT_EQ(strlen(overview), kOverviewLength);
    EXPECT_EQ(Fnv1a(overview), kOverviewHash);
}

TEST(HelpTextsTest, TyposOfTheTextsAreKept) {
    EXPECT_NE(strstr(HelpTopicText(32806),
                     "anytime Tessaro in minimized. One click on the tray "
                     "ICON with the the left mouse button"),
              nullptr);
    EXPECT_NE(strstr(HelpTopicText(32807), "will reactivated it."), nullptr);
    EXPECT_NE(strstr(HelpTopicText(32803), "click on the on the [Copy and Close] button"), nullptr);
}

TEST(HelpTextsTest, OnlyHelpTopicCommandsHaveATopic) {
    EXPECT_EQ(HelpTopicText(IDM_HELP_OVERVIEW), nullptr); // the Overview is composed
    EXPECT_EQ(HelpTopicText(IDM_PHONE), nullptr);
    EXPECT_EQ(HelpTopicText(IDM_ABOUT), nullptr);
    EXPECT_EQ(HelpTopicText(0), nullptr);
    // The Rename Buttons dialog's help item shows the board's Rename Buttons topic.
    EXPECT_EQ(HelpTopicText(IDM_RENAME_HELP), HelpTopicText(32801));
    for (int a = IDM_HELP_FIRST_TOPIC; a <= IDM_HELP_LAST_TOPIC; ++a)
        for (int b = a + 1; b <= IDM_HELP_LAST_TOPIC; ++b)
            EXPECT_STRNE(HelpTopicText(a), HelpTopicText(b)) << a << " and " << b;
}

TEST(HelpTextsTest, OverviewIsTheOverviewTextThenSixteenTopicsInOrder) {
    // The Help menu commands of the topics, in the order the Overview shows them.
    const int kOrder[] = {32801, 32802, 32803, 32792, 32793, 32794, 32796, 32797,
                          32798, 32799, 32800, 32804, 32805, 32806, 32807, 32808};
    ASSERT_EQ(kOverviewPartCount, 17);
    EXPECT_EQ(FirstLine(OverviewPart(0)), "Tessaro Overview");
    std::string composed = OverviewPart(0);
    std::string expected = OverviewPart(0);
    for (int i = 1; i < kOverviewPartCount; ++i) {
        EXPECT_EQ(OverviewPart(i), HelpTopicText(kOrder[i - 1])) << "part " << i;
        EXPECT_NE(OverviewPart(i), HelpTopicText(IDM_HELP_FIRST_TOPIC + 3)) << "part " << i;
        composed += OverviewPart(i);
        expected += HelpTopicText(kOrder[i - 1]);
    }
    EXPECT_EQ(composed, expected);
    EXPECT_EQ(OverviewPart(kOverviewPartCount), nullptr);
    EXPECT_EQ(OverviewPart(-1), nullptr);
}

TEST(HelpTextsTest, OverviewPartsStartWithTheirNames) {
    // The names by which the Overview lists its texts; "[Open Project]" twice.
    const char* const kNames[] = {"Tessaro Overview",
                                  "[Edit], [Rename Buttons]",
                                  "[Edit], [Edit Text Field]",
                                  "[Edit], [Find]",
                                  "[X]Minimize On Each Copy",
                                  "[X]Tessaro TopMost",
                                  "[Open Project]",
                                  "[File], [New Project]",
                                  "[Open Project]",
                                  "[File], [Save Project]",
                                  "[File], [SaveAs Project]",
                                  "[File], [Exit]",
                                  "[Configure], [Reposition Buttons and Text Fields]",
                                  "[Configure], [Consolidate Projects]",
                                  "[Options], [Use Tray instead of Taskbar]",
                                  "[Options], [Hide in Tray at Startup if Use Tray is Checked]",
                                  "[Options], [Auto Paste into Application]"};
    for (int i = 0; i < kOverviewPartCount; ++i)
        EXPECT_EQ(FirstLine(OverviewPart(i)), kNames[i]) << "part " << i;
    // The first "[Open Project]" is the Change Project topic, the second Open Project's.
    EXPECT_NE(strstr(OverviewPart(6), "Rather than selecting"), nullptr);
    EXPECT_NE(strstr(OverviewPart(8), "Open a Tessaro project"), nullptr);
}

} // namespace
