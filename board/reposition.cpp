#include "board/reposition.h"

#include <cstring>

#include "board/board.h"
#include "board/board_image.h"
#include "resources/kestrum_ids.h"
#include "ui/message.h"

namespace {

const char kConfirmText[] =
    "[Configure], [Reposition Buttons and Text Fields]\r\n\r\nClick all 33 copy buttons in the "
    "order that you want them to be. When all 33 buttons have been clicked, the buttons and "
    "their associated text fields will be repositioned to reflect your selections. Once you "
    "begin this procedure, you must select all 33 copy buttons before Tessaro will once again "
    "become functional.\r\n\r\n\r\n";

// Everything that would write, replace or edit the project while its order is half built.
const int kLockedCommands[] = {IDM_NEW_PROJECT,    IDM_SAVE_PROJECT,   IDM_SAVE_PROJECT_AS,
                               IDM_DELETE_PROJECT, IDM_RENAME_BUTTONS, IDM_EDIT_TEXT_FIELD,
                               IDM_REPOSITION,     IDM_CONSOLIDATE};

// The new order is built apart, so that the board image keeps the project as last read or
// gathered (a search of the current project reads it) until the last click hands it over.
ProjectImage g_workImage;

void EnableControl(int id, bool enabled) {
    EnableWindow(GetDlgItem(g_board.window, id), enabled);
}

void ShowControl(int id, bool shown) {
    ShowWindow(GetDlgItem(g_board.window, id), shown ? SW_SHOW : SW_HIDE);
}

void LockCommands(bool locked) {
    for (int id : kLockedCommands)
        EnableMenuItem(g_board.menu, id, MF_BYCOMMAND | (locked ? MF_GRAYED : MF_ENABLED));
}

void EnableOptionsAndSelector(bool enabled) {
    EnableControl(IDX_MIN_ON_COPY, enabled);
    EnableControl(IDX_TOPMOST, enabled);
    EnableControl(IDC_PROJECTS, enabled);
}

// Takes the clicked slot's name and text as they stand now into position.
void TakeSlot(int slot, int position) {
    char name[kNameSize] = "";
    GetDlgItemTextA(g_board.window, CopyButtonId(slot), name, sizeof name);
    SetSlotName(g_workImage, position, name);
    g_textBuffer[0] = '\0';
    GetDlgItemTextA(g_board.window, FieldId(slot), g_textBuffer, kTextSize);
    SetSlotText(g_workImage, position, g_textBuffer);
}

void FinishReposition() {
    memcpy(&g_boardImage, &g_workImage, sizeof g_boardImage);
    ScatterBoard();
    LockCommands(false);
    EnableOptionsAndSelector(true);
    for (int slot = 0; slot < kSlotCount; ++slot)
        ShowControl(LabelId(slot), false);
    for (int id = IDE_FIELD_LAST; id >= IDB_COPY_FIRST; --id)
        EnableControl(id, true);
    g_board.repositioning = false;
    RedrawBoard();
}

} // namespace

void StartReposition() {
    if (g_board.repositioning)
        return;
    if (ui::ShowMessage(MB_OKCANCEL | MB_ICONINFORMATION | MB_DEFBUTTON2, "%s", kConfirmText) !=
        IDOK)
        return;
    LockCommands(true);
    EnableOptionsAndSelector(false);
    for (int slot = 0; slot < kSlotCount; ++slot)
        EnableControl(FieldId(slot), false);
    g_board.repositionCount = 0;
    ShowControl(MarkerId(0), true);
    g_board.repositioning = true;
    ClearImage(g_workImage);
}

void RepositionStep(int copyButtonId) {
    const int slot = (copyButtonId - IDB_COPY_FIRST) / 2;
    const int position = g_board.repositionCount;
    // A taken slot's button is disabled, but a click on it may still be queued or posted.
    if (!g_board.repositioning || position >= kSlotCount || slot < 0 || slot >= kSlotCount ||
        !IsWindowEnabled(GetDlgItem(g_board.window, copyButtonId)))
        return;
    ShowControl(MarkerId(position), false);
    if (position + 1 < kSlotCount)
        ShowControl(MarkerId(position + 1), true);
    g_board.repositionCount = position + 1;
    TakeSlot(slot, position);
    EnableControl(copyButtonId, false);
    ShowControl(LabelId(slot), true);
    SetDlgItemInt(g_board.window, LabelId(slot), position + 1, FALSE);
    if (g_board.repositionCount == kSlotCount)
        FinishReposition();
}

bool RefusedWhileRepositioning(int id) {
    if (!g_board.repositioning)
        return false;
    for (int locked : kLockedCommands)
        if (id == locked)
            return true;
    // The selector is disabled; a switch posted from outside would put another project
    // under the half-built order.
    return id == IDC_PROJECTS;
}
