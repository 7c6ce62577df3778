#include "board/installed_box.h"

#include "resources/kestrum_ids.h"
#include "ui/dialog.h"

namespace {

class InstalledBox : public ui::Dialog {
  public:
    InstalledBox(const char* caption, const char* text)
        : ui::Dialog(IDD_INSTALLED), caption_(caption), text_(text) {}

  protected:
    BOOL OnInit() override {
        SetWindowTextA(Handle(), caption_);
        SetItemText(IDT_INSTALLED_TEXT, text_);
        CentreOnDesktop();
        SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW | SWP_NOACTIVATE);
        SetFocusTo(IDB_INSTALLED_OK);
        return FALSE;
    }
    bool OnCommand(int id, int, HWND) override {
        if (id != IDB_INSTALLED_OK)
            return false;
        End(IDOK);
        return true;
    }

  private:
    const char* caption_;
    const char* text_;
};

} // namespace

void RunInstalledBox(HWND owner, const char* caption, const char* text) {
    InstalledBox box(caption, text);
    box.RunModal(owner);
}
