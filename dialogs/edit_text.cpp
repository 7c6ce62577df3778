#include "dialogs/edit_text.h"

#include "board/board.h"
#include "resources/kestrum_ids.h"
#include "ui/dialog.h"

namespace {

// The selected field of the board in a large editor; OK writes it back into the field
// only, the project file takes it up at the next gather.
class EditTextDialog : public ui::Dialog {
  public:
    EditTextDialog() : ui::Dialog(IDD_EDIT_TEXT) {}

  protected:
    BOOL OnInit() override {
        CentreOnDesktop();
        if (g_board.fieldFont)
            SendMessageA(Item(IDE_EDIT_TEXT), WM_SETFONT, (WPARAM)g_board.fieldFont, TRUE);
        ReadSelectedField();
        SetItemText(IDE_EDIT_TEXT, g_textBuffer);
        CaretToStart();
        return FALSE;
    }

    bool OnCommand(int id, int, HWND) override {
        if (id == IDB_EDIT_OK) {
            Accept();
            return true;
        }
        if (id == IDB_EDIT_CANCEL) {
            EndModal(IDCANCEL);
            return true;
        }
        return false;
    }

    void OnOk() override { Accept(); }

  private:
    // A field holds at most 10,239 characters: the buffer's size cuts longer text.
    static void ReadSelectedField() {
        g_textBuffer[0] = '\0';
        GetDlgItemTextA(g_board.window, g_board.selectedField, g_textBuffer, kTextSize);
        g_textBuffer[kTextSize - 1] = '\0';
    }

    void CaretToStart() const {
        SetFocusTo(IDE_EDIT_TEXT);
        HWND edit = Item(IDE_EDIT_TEXT);
        SendMessageA(edit, EM_SETSEL, 0, 0);
        SendMessageA(edit, EM_SCROLLCARET, 0, 0);
    }

    void Accept() {
        ItemText(IDE_EDIT_TEXT, g_textBuffer, kTextSize);
        SetDlgItemTextA(g_board.window, g_board.selectedField, g_textBuffer);
        EndModal(IDOK);
    }
};

EditTextDialog g_editTextDialog;

} // namespace

void RunEditTextDialog(HWND owner) {
    g_editTextDialog.RunModal(owner);
}
