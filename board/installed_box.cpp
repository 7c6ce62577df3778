#include "board/installed_box.h"

#include "resources/kestrum_ids.h"
#include "ui/dialog.h"

namespace {

class InstalledBox : public ui::Dialog {
  public:
    InstalledBox() : ui::Dialog(IDD_INSTALLED) {}
    const char* caption = "";
    const char* text = "";

  protected:
    BOOL OnInit() override {
        SetWindowTextA(Handle(), caption);
        SetItemText(IDT_INSTALLED_TEXT, text);
        CentreOnDesktop();
        SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW | SWP_NOACTIVATE);
        SetFocusTo(IDB_INSTALLED_OK);
        return FALSE;
    }
    bool OnCommand(int id, int, HWND) override {
        if (id != IDB_INSTALLED_OK)
            return false;
        EndModal(IDOK);
        return true;
    }
};

InstalledBox g_installedBox;

} // namespace

void RunInstalledBox(HWND owner, const char* caption, const char* text) {
    g_installedBox.caption = caption;
    g_installedBox.text = text;
    g_installedBox.RunModal(owner);
}
