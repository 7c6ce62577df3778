#include "board/board_image.h"

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

void ScatterBoard() {
    // One more byte than a field: a foreign file may fill a field without a terminator.
    char name[kNameSize + 1];
    static char text[kTextSize + 1];
    for (int slot = 0; slot < kSlotCount; ++slot) {
        SlotName(g_boardImage, slot, name, sizeof name);
        SetDlgItemTextA(g_board.window, CopyButtonId(slot), name);
    }
    for (int slot = 0; slot < kSlotCount; ++slot) {
        SlotText(g_boardImage, slot, text, sizeof text);
        SetDlgItemTextA(g_board.window, FieldId(slot), text);
    }
}
