// The board image into the slot controls: a start fills some slots ahead from the project
// it expects, then shows what it really read, setting only the controls that differ.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "board/board.h"
#include "board/board_image.h"
#include "resources/kestrum_ids.h"

namespace {

class BoardImageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        g_board = BoardState();
        g_board.window = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 400, 400, nullptr, nullptr,
                                       nullptr, nullptr);
        ASSERT_TRUE(g_board.window);
        for (int slot = 0; slot < kSlotCount; ++slot) {
            Child("BUTTON", CopyButtonId(slot), 0);
            Child("EDIT", FieldId(slot), ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL);
        }
        ClearImage(g_boardImage);
    }
    void TearDown() override {
        DestroyWindow(g_board.window);
        g_board = BoardState();
        ClearImage(g_boardImage);
    }
    void Child(const char* kind, int id, DWORD style) {
        HWND child = CreateWindowA(kind, "", WS_CHILD | style, 0, 0, 100, 20, g_board.window,
                                   (HMENU)(INT_PTR)id, nullptr, nullptr);
        ASSERT_TRUE(child);
        SendMessageA(child, EM_SETLIMITTEXT, 0, 0); // room for texts longer than a slot's
    }
    static std::string Shown(int id) {
        static char text[2 * kTextSize];
        text[0] = '\0';
        GetDlgItemTextA(g_board.window, id, text, sizeof text);
        return text;
    }
    // Setting a field's text clears its modified mark: a field still marked was not set.
    static void MarkAllFields() {
        for (int slot = 0; slot < kSlotCount; ++slot)
            SendDlgItemMessageA(g_board.window, FieldId(slot), EM_SETMODIFY, TRUE, 0);
    }
    static bool WasSet(int slot) {
        return !SendDlgItemMessageA(g_board.window, FieldId(slot), EM_GETMODIFY, 0, 0);
    }
    static void FillImage(const char* tag) {
        for (int slot = 0; slot < kSlotCount; ++slot) {
            SetSlotName(g_boardImage, slot, (tag + std::to_string(slot)).c_str());
            std::string text = tag + std::to_string(slot);
            text.resize(kTextSize - 1, 'x'); // as long as a text can be
            SetSlotText(g_boardImage, slot, text.c_str());
        }
    }
};

} // namespace

TEST_F(BoardImageTest, SlotsFilledAheadAndThenTheProjectReadShowTheProjectRead) {
    FillImage("a");
    ScatterSlots(0, 11);
    ScatterSlots(11, 22);
    EXPECT_EQ(Shown(CopyButtonId(21)), "a21");
    EXPECT_EQ(Shown(CopyButtonId(22)), "") << "slots after the range are left alone";

    // The project read differs from the one filled ahead in one filled slot.
    SetSlotName(g_boardImage, 5, "changed");
    SetSlotText(g_boardImage, 7, "changed text");
    MarkAllFields();
    ScatterBoardChanges();
    for (int slot = 0; slot < kSlotCount; ++slot) {
        char name[kNameSize + 1], text[kTextSize + 1];
        SlotName(g_boardImage, slot, name, sizeof name);
        SlotText(g_boardImage, slot, text, sizeof text);
        EXPECT_EQ(Shown(CopyButtonId(slot)), name) << "slot " << slot;
        EXPECT_EQ(Shown(FieldId(slot)), text) << "slot " << slot;
    }
    EXPECT_TRUE(WasSet(7));
    EXPECT_TRUE(WasSet(22)) << "a slot not filled ahead";
    EXPECT_FALSE(WasSet(0)) << "a field filled right is not set again";
    EXPECT_FALSE(WasSet(21));

    // The project could not be read after all: every slot shows empty.
    ClearImage(g_boardImage);
    ScatterBoardChanges();
    for (int slot = 0; slot < kSlotCount; ++slot) {
        EXPECT_EQ(Shown(CopyButtonId(slot)), "") << "slot " << slot;
        EXPECT_EQ(Shown(FieldId(slot)), "") << "slot " << slot;
    }
}

TEST_F(BoardImageTest, AFieldHoldingMoreThanTheSlotsTextIsSetEvenWhereItBeginsTheSame) {
    FillImage("b");
    // A foreign file's text fills the whole field, without a terminator.
    memset(g_boardImage.texts[0], 'y', kTextSize);
    char text[kTextSize + 1];
    SlotText(g_boardImage, 0, text, sizeof text);
    const std::string longer = std::string(text) + "tail";
    SetDlgItemTextA(g_board.window, FieldId(0), longer.c_str());
    ASSERT_EQ(Shown(FieldId(0)), longer);
    MarkAllFields();
    ScatterBoardChanges();
    EXPECT_EQ(Shown(FieldId(0)), text);
    EXPECT_TRUE(WasSet(0));
}
