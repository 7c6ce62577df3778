#include "dialogs/rename_buttons.h"

#include <cstring>

#include "base/text.h"
#include "dialogs/help.h"
#include "resources/kestrum_ids.h"
#include "ui/dialog.h"

namespace {

// One edit box over each copy button; the edit boxes carry the ids of the board's fields.
class RenameButtonsDialog : public ui::Dialog {
  public:
    RenameButtonsDialog(const AboutFacts& about, ButtonNames& names)
        : ui::Dialog(IDD_RENAME_BUTTONS), about_(about), names_(names) {}

  protected:
    BOOL OnInit() override {
        CentreOnDesktop();
        char name[kNameSize + 1];
        for (int slot = 0; slot < kSlotCount; ++slot) {
            base::CopyField(name, sizeof name, names_[slot], kNameSize);
            SetItemText(FieldId(slot), name);
        }
        SetFocusTo(FieldId(0));
        return FALSE;
    }

    bool OnCommand(int id, int, HWND) override {
        switch (id) {
        case IDB_RENAME_OK:
            for (int slot = 0; slot < kSlotCount; ++slot)
                StoreName(slot);
            End(IDOK);
            return true;
        case IDB_RENAME_CANCEL: End(IDCANCEL); return true;
        case IDM_RENAME_HELP: ShowHelp(Handle(), HelpTopicText(IDM_RENAME_HELP)); return true;
        case IDM_ABOUT: ShowAbout(Handle(), about_); return true;
        }
        return false;
    }

  private:
    // A name holds at most 31 characters: the buffer's size cuts longer ones.
    void StoreName(int slot) const {
        char name[kNameSize];
        ItemText(FieldId(slot), name, sizeof name);
        memset(names_[slot], 0, kNameSize);
        base::CopyText(names_[slot], kNameSize, name);
    }

    const AboutFacts& about_;
    ButtonNames& names_;
};

} // namespace

bool RunRenameButtons(HWND owner, const AboutFacts& about, ButtonNames& names) {
    RenameButtonsDialog dialog(about, names);
    return dialog.RunModal(owner) == IDOK;
}
