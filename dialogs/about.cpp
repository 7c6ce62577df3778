#include "dialogs/about.h"

#include "dialogs/os_description.h"
#include "resources/kestrum_ids.h"
#include "ui/dialog.h"
#include "ui/message.h"
#include "ui/text.h"

namespace {

// Product name, version and the operating-system description built at start-up.
class AboutBox : public ui::Dialog {
  public:
    AboutBox() : ui::Dialog(IDD_ABOUT) {}

  protected:
    BOOL OnInit() override {
        char caption[64];
        ui::FormatText(caption, sizeof caption, "About %s", ui::kProductName);
        SetWindowTextA(Handle(), caption);
        char lines[256];
        FormatVersionLines(StartupOsVersion(), StartupOsDescription(), lines, sizeof lines);
        SetItemText(IDT_ABOUT_VERSION, lines);
        CentreOnDesktop();
        return TRUE;
    }
};

AboutBox g_aboutBox;

} // namespace

void ShowAbout(HWND owner) {
    g_aboutBox.RunModal(owner);
}
