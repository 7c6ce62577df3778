#include "dialogs/edit_text.h"

#include "resources/kestrum_ids.h"
#include "ui/dialog.h"

namespace {

class EditTextDialog : public ui::Dialog {
  public:
    EditTextDialog(HFONT font, char* text, size_t size)
        : ui::Dialog(IDD_EDIT_TEXT), font_(font), text_(text), size_(size) {}

  protected:
    BOOL OnInit() override {
        CentreOnDesktop();
        if (font_)
            SendMessageA(Item(IDE_EDIT_TEXT), WM_SETFONT, (WPARAM)font_, TRUE);
        SetItemText(IDE_EDIT_TEXT, text_);
        CaretToStart();
        return FALSE;
    }

    bool OnCommand(int id, int, HWND) override {
        if (id == IDB_EDIT_OK) {
            Accept();
            return true;
        }
        if (id == IDB_EDIT_CANCEL) {
            End(IDCANCEL);
            return true;
        }
        return false;
    }

    void OnOk() override { Accept(); }

  private:
    void CaretToStart() const {
        SetFocusTo(IDE_EDIT_TEXT);
        HWND edit = Item(IDE_EDIT_TEXT);
        SendMessageA(edit, EM_SETSEL, 0, 0);
        SendMessageA(edit, EM_SCROLLCARET, 0, 0);
    }

    // The caller's size cuts longer text.
    void Accept() {
        ItemText(IDE_EDIT_TEXT, text_, (int)size_);
        End(IDOK);
    }

    HFONT font_;
    char* text_;
    size_t size_;
};

} // namespace

bool RunEditText(HWND owner, HFONT font, char* text, size_t size) {
    if (!text || size == 0)
        return false;
    EditTextDialog dialog(font, text, size);
    return dialog.RunModal(owner) == IDOK;
}
