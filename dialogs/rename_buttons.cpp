#include "dialogs/rename_buttons.h"

#include "board/board.h"
#include "dialogs/about.h"
#include "dialogs/help.h"
#include "resources/kestrum_ids.h"
#include "ui/dialog.h"

namespace {

// One edit box over each copy button; the edit boxes carry the ids of the board's fields.
class RenameButtonsDialog : public ui::Dialog {
  public:
    RenameButtonsDialog() : ui::Dialog(IDD_RENAME_BUTTONS) {}

  protected:
    BOOL OnInit() override {
        CentreOnDesktop();
        for (int slot = 0; slot < kSlotCount; ++slot)
            LoadName(slot);
        SetFocusTo(FieldId(0));
        return FALSE;
    }

    bool OnCommand(int id, int, HWND) override {
        switch (id) {
        case IDB_RENAME_OK:
            for (int slot = 0; slot < kSlotCount; ++slot)
                StoreName(slot);
            EndModal(IDOK);
            return true;
        case IDB_RENAME_CANCEL: EndModal(IDCANCEL); return true;
        case IDM_RENAME_HELP:
            g_board.helpTopic = HelpTopicText(IDM_RENAME_HELP);
            ShowHelp(Handle());
            return true;
        case IDM_ABOUT: ShowAbout(Handle()); return true;
        }
        return false;
    }

  private:
    // The caption as it stands also goes into the board image, which changes nothing
    // visible even when the dialog is cancelled.
    void LoadName(int slot) const {
        char name[kNameSize];
        name[0] = '\0';
        GetDlgItemTextA(g_board.window, CopyButtonId(slot), name, sizeof name);
        name[kNameSize - 1] = '\0';
        SetSlotName(g_boardImage, slot, name);
        SetItemText(FieldId(slot), name);
    }

    // A name holds at most 31 characters: the buffer's size cuts longer ones.
    void StoreName(int slot) const {
        char name[kNameSize];
        ItemText(FieldId(slot), name, sizeof name);
        SetSlotName(g_boardImage, slot, name);
        SetDlgItemTextA(g_board.window, CopyButtonId(slot), name);
    }
};

RenameButtonsDialog g_renameButtonsDialog;

} // namespace

void RunRenameButtons(HWND owner) {
    g_renameButtonsDialog.RunModal(owner);
}
