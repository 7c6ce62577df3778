#include "installer/uninstall_dialog.h"

#include "base/text.h"
#include "installer/look.h"
#include "installer/messages.h"
#include "installer/path_text.h"
#include "resources/vqpsx_ids.h"
#include "ui/dialog.h"

namespace installer {

namespace {

const char kTitleFormat[] = "%s UnInstall";

class UninstallDialog : public ui::Dialog {
  public:
    UninstallDialog(Environment& env, const char* folder)
        : ui::Dialog(IDD_UNINSTALL), env_(env), folder_(folder) {}

    FolderRemoval removal = FolderRemoval::NotFound;

  protected:
    BOOL OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    // Only the two buttons end the dialog: Enter reaches the focused one as its click.
    void OnOk() override {}
    INT_PTR OnMessage(UINT msg, WPARAM w, LPARAM l, bool& handled) override;

  private:
    void Finish();

    Environment& env_;
    const char* folder_;
};

BOOL UninstallDialog::OnInit() {
    char text[1024];
    base::FormatText(text, sizeof text, kTitleFormat, kProductName);
    SetWindowTextA(Handle(), text);
    CentreOnDesktop();
    base::FormatText(text, sizeof text, kMsgUninstallWarning, kProductName, folder_, folder_);
    SetItemText(IDT_UNINSTALL_WARNING, text);
    // Cancel first: a stray Enter must not delete anything.
    SetFocusTo(IDB_UNINSTALL_CANCEL);
    return FALSE;
}

bool UninstallDialog::OnCommand(int id, int code, HWND) {
    if (code != BN_CLICKED)
        return false;
    if (id == IDB_UNINSTALL_CANCEL) {
        End(IDCANCEL);
        return true;
    }
    if (id == IDB_FINISH) {
        Finish();
        return true;
    }
    return false;
}

void UninstallDialog::Finish() {
    ShowWaitCursor(true);
    removal = RemoveInstallFolder(env_, folder_);
    End(IDOK);
}

INT_PTR UninstallDialog::OnMessage(UINT msg, WPARAM w, LPARAM, bool& handled) {
    return ClassicDialogMessage(Handle(), msg, w, handled);
}

} // namespace

INT_PTR RunUninstallDialog(HWND owner, Environment& env, const char* folder,
                           FolderRemoval& removal) {
    UninstallDialog dialog(env, folder);
    const INT_PTR result = dialog.RunModal(owner);
    removal = dialog.removal;
    return result;
}

} // namespace installer
