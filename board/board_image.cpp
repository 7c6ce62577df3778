#include "board/board_image.h"

#include <cstring>

#include "board/board.h"
#include "resources/kestrum_ids.h"

void GatherBoard() {
    ClearImage(g_boardImage);
    char name[kNameSize];
    for (int slot = 0; slot < kSlotCount; ++slot) {
        name[0] = '\0';
        GetDlgItemTextA(g_board.window, CopyButtonId(slot), name, kNameSize);
        SetSlotName(g_boardImage, slot, name);
    }
    for (int slot = 0; slot < kSlotCount; ++slot) {
        g_textBuffer[0] = '\0';
        GetDlgItemTextA(g_board.window, FieldId(slot), g_textBuffer, kTextSize);
        SetSlotText(g_boardImage, slot, g_textBuffer);
    }
}

namespace {

// One more byte than a field: a foreign file may fill a field without a terminator.
char g_name[kNameSize + 1];
char g_text[kTextSize + 1];
// A control's text, one byte longer than any slot's, so that a longer text never compares
// equal.
char g_shown[kTextSize + 2];

// Sets the control's text unless it already is exactly that text.
void SetIfDifferent(int id, const char* text) {
    g_shown[0] = '\0';
    GetDlgItemTextA(g_board.window, id, g_shown, sizeof g_shown);
    if (strcmp(g_shown, text) != 0)
        SetDlgItemTextA(g_board.window, id, text);
}

} // namespace

void ScatterBoard() {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        SlotName(g_boardImage, slot, g_name, sizeof g_name);
        SetDlgItemTextA(g_board.window, CopyButtonId(slot), g_name);
    }
    for (int slot = 0; slot < kSlotCount; ++slot) {
        SlotText(g_boardImage, slot, g_text, sizeof g_text);
        SetDlgItemTextA(g_board.window, FieldId(slot), g_text);
    }
}

void ScatterBoardChanges() {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        SlotName(g_boardImage, slot, g_name, sizeof g_name);
        SetIfDifferent(CopyButtonId(slot), g_name);
    }
    for (int slot = 0; slot < kSlotCount; ++slot) {
        SlotText(g_boardImage, slot, g_text, sizeof g_text);
        SetIfDifferent(FieldId(slot), g_text);
    }
}

void ScatterSlots(int first, int end) {
    for (int slot = first; slot < end && slot < kSlotCount; ++slot) {
        SlotName(g_boardImage, slot, g_name, sizeof g_name);
        SetDlgItemTextA(g_board.window, CopyButtonId(slot), g_name);
        SlotText(g_boardImage, slot, g_text, sizeof g_text);
        SetDlgItemTextA(g_board.window, FieldId(slot), g_text);
    }
}
