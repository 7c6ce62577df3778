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
    {IDM_TOPIC_MIN_ON_COPY, 525, 0x744bbeddu},
    {IDM_TOPIC_TOPMOST, 302, 0x9850e8b0u},
    {IDM_TOPIC_CHANGE_PROJECT, 173, 0x6c2add7cu},
    {IDM_TOPIC_RENAME_ONE, 103, 0xdef27b13u},
    {IDM_TOPIC_NEW_PROJECT, 109, 0x9e683289u},
    {IDM_TOPIC_OPEN_PROJECT, 223, 0xa1076443u},
    {IDM_TOPIC_SAVE_PROJECT, 80, 0x50871fb7u},
    {IDM_TOPIC_SAVE_AS, 280, 0x4775f2bfu},
    {IDM_TOPIC_EXIT, 37, 0xa196c61du},
    {IDM_TOPIC_RENAME_BUTTONS, 246, 0x79d5d186u},
    {IDM_TOPIC_EDIT_TEXT_FIELD, 214, 0x92948106u},
    {IDM_TOPIC_FIND, 813, 0xeb546eceu},
    {IDM_TOPIC_REPOSITION, 373, 0x42ef4dafu},
    {IDM_TOPIC_CONSOLIDATE, 327, 0x0c4b61a1u},
    {IDM_TOPIC_USE_TRAY, 266, 0x3772129au},
    {IDM_TOPIC_HIDE_AT_STARTUP, 303, 0xc7756c3cu},
    {IDM_TOPIC_AUTO_PASTE, 183, 0x327d5cdau},
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
    EXPECT_NE(strstr(HelpTopicText(IDM_TOPIC_USE_TRAY),
                     "anytime Tessaro in minimized. One click on the tray "
                     "ICON with the the left mouse button"),
              nullptr);
    EXPECT_NE(strstr(HelpTopicText(IDM_TOPIC_HIDE_AT_STARTUP), "will reactivated it."), nullptr);
    EXPECT_NE(strstr(HelpTopicText(IDM_TOPIC_FIND), "click on the on the [Copy and Close] button"),
              nullptr);
}

TEST(HelpTextsTest, OnlyHelpTopicCommandsHaveATopic) {
    EXPECT_EQ(HelpTopicText(IDM_HELP_OVERVIEW), nullptr); // the Overview is composed
    EXPECT_EQ(HelpTopicText(IDM_PHONE), nullptr);
    EXPECT_EQ(HelpTopicText(IDM_ABOUT), nullptr);
    EXPECT_EQ(HelpTopicText(0), nullptr);
    // The Rename Buttons dialog's help item shows the board's Rename Buttons topic.
    EXPECT_EQ(HelpTopicText(IDM_RENAME_HELP), HelpTopicText(IDM_TOPIC_RENAME_BUTTONS));
    for (int a = IDM_HELP_FIRST_TOPIC; a <= IDM_HELP_LAST_TOPIC; ++a)
        for (int b = a + 1; b <= IDM_HELP_LAST_TOPIC; ++b)
            EXPECT_STRNE(HelpTopicText(a), HelpTopicText(b)) << a << " and " << b;
}

TEST(HelpTextsTest, OverviewIsTheOverviewTextThenSixteenTopicsInOrder) {
    // The Help menu commands of the topics, in the order the Overview shows them.
    const int kOrder[] = {IDM_TOPIC_RENAME_BUTTONS,
                          IDM_TOPIC_EDIT_TEXT_FIELD,
                          IDM_TOPIC_FIND,
                          IDM_TOPIC_MIN_ON_COPY,
                          IDM_TOPIC_TOPMOST,
                          IDM_TOPIC_CHANGE_PROJECT,
                          IDM_TOPIC_NEW_PROJECT,
                          IDM_TOPIC_OPEN_PROJECT,
                          IDM_TOPIC_SAVE_PROJECT,
                          IDM_TOPIC_SAVE_AS,
                          IDM_TOPIC_EXIT,
                          IDM_TOPIC_REPOSITION,
                          IDM_TOPIC_CONSOLIDATE,
                          IDM_TOPIC_USE_TRAY,
                          IDM_TOPIC_HIDE_AT_STARTUP,
                          IDM_TOPIC_AUTO_PASTE};
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
