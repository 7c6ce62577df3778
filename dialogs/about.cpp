#include "dialogs/about.h"

#include "base/text.h"
#include "resources/kestrum_ids.h"
#include "ui/dialog.h"

namespace {

class AboutBox : public ui::Dialog {
  public:
    explicit AboutBox(const AboutFacts& facts) : ui::Dialog(IDD_ABOUT), facts_(facts) {}

  protected:
    BOOL OnInit() override {
        char caption[64];
        base::FormatText(caption, sizeof caption, "About %s", facts_.productName);
        SetWindowTextA(Handle(), caption);
        char lines[256];
        FormatVersionLines(facts_.version, facts_.os, facts_.osDescription, lines, sizeof lines);
        SetItemText(IDT_ABOUT_VERSION, lines);
        CentreOnDesktop();
        return TRUE;
    }

  private:
    const AboutFacts& facts_;
};

} // namespace

void DescribeThisSystem(AboutFacts& facts) {
    DescribeRunningWindows(facts.os, facts.osDescription, sizeof facts.osDescription);
}

void ShowAbout(HWND owner, const AboutFacts& facts) {
    AboutBox box(facts);
    box.RunModal(owner);
}
