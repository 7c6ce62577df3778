#include "dialogs/help.h"

#include "dialogs/help_texts.h"
#include "resources/kestrum_ids.h"
#include "ui/dialog.h"

namespace {

// The end of any text the help box can hold; selecting there puts the caret at the end.
constexpr LPARAM kTextEnd = 65535;

// Shows one topic, or all topics one after another for the Overview.
class HelpDialog : public ui::Dialog {
  public:
    explicit HelpDialog(const char* topic) : ui::Dialog(IDD_HELP), topic_(topic) {}

  protected:
    BOOL OnInit() override {
        CentreOnDesktop();
        SetFocusTo(IDE_HELP_TEXT);
        if (topic_)
            SetItemText(IDE_HELP_TEXT, topic_);
        else
            ComposeOverview();
        ReadFromTop();
        return FALSE;
    }

    bool OnCommand(int id, int, HWND) override {
        if (id != IDB_HELP_DONE)
            return false;
        End(IDOK);
        return true;
    }

  private:
    void ComposeOverview() const {
        HWND edit = Item(IDE_HELP_TEXT);
        for (int i = 0; i < kOverviewPartCount; ++i) {
            SendMessageA(edit, EM_SETSEL, kTextEnd, kTextEnd);
            SendMessageA(edit, EM_REPLACESEL, FALSE, (LPARAM)OverviewPart(i));
        }
    }

    // The text is for reading: view at the top and no blinking cursor in it.
    void ReadFromTop() const {
        HWND edit = Item(IDE_HELP_TEXT);
        SendMessageA(edit, EM_SETSEL, 0, 0);
        SendMessageA(edit, EM_SCROLLCARET, 0, 0);
        HideCaret(edit);
    }

    const char* topic_;
};

} // namespace

void ShowHelp(HWND owner, const char* topic) {
    HelpDialog dialog(topic);
    dialog.RunModal(owner);
}
