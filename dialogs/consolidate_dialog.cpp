#include "dialogs/consolidate_dialog.h"

#include <cstring>

#include "base/text.h"
#include "dialogs/consolidation_counts.h"
#include "dialogs/help.h"
#include "resources/kestrum_ids.h"
#include "store/consolidate_files.h"
#include "store/disk_file.h"
#include "store/project_list.h"
#include "ui/dialog.h"
#include "ui/message.h"

namespace {

constexpr int kMostListed = 4001;
const char kMemoryShortage[] = "Memory Shortage";

class ConsolidateDialog : public ui::Dialog {
  public:
    explicit ConsolidateDialog(const ConsolidateContext& context)
        : ui::Dialog(IDD_CONSOLIDATE), context_(context) {}

    bool consolidated = false;

  protected:
    BOOL OnInit() override {
        CentreOnDesktop();
        if (context_.listFont) {
            SendMessageA(Item(IDL_ALL_PROJECTS), WM_SETFONT, (WPARAM)context_.listFont, TRUE);
            SendMessageA(Item(IDL_CONSOLIDATE), WM_SETFONT, (WPARAM)context_.listFont, TRUE);
        }
        ListAllProjects();
        return TRUE;
    }

    bool OnCommand(int id, int code, HWND) override {
        switch (id) {
        case IDL_ALL_PROJECTS:
            if (code == LBN_SELCHANGE)
                OnAllProjectsSelection();
            else if (code == LBN_DBLCLK)
                OnAllProjectsDoubleClick();
            return true;
        case IDL_CONSOLIDATE:
            if (code == LBN_SELCHANGE)
                position_ = (int)SendMessageA(Item(IDL_CONSOLIDATE), LB_GETCURSEL, 0, 0);
            else if (code == LBN_DBLCLK)
                RemoveAtPosition();
            return true;
        case IDB_CONSOLIDATE_ADD: AddRemembered(); return true;
        case IDB_CONSOLIDATE_REMOVE: RemoveAtPosition(); return true;
        case IDB_CONSOLIDATE_HELP:
            ShowHelp(Handle(), HelpTopicText(IDM_TOPIC_CONSOLIDATE));
            return true;
        case IDB_CONSOLIDATE_CANCEL: End(IDCANCEL); return true;
        case IDB_CONSOLIDATE_OK:
            Run();
            End(IDOK);
            return true;
        }
        return false;
    }

    // Enter presses the default button (OK); a bare IDOK does nothing more.
    void OnOk() override {}

    // The list box reports a click's selection while it handles the button's release, when
    // the button no longer counts as down: the message it handles tells of the click.
    bool PreTranslate(MSG& msg) override {
        clicking_ = msg.hwnd == Item(IDL_ALL_PROJECTS) && msg.message >= WM_LBUTTONDOWN &&
                    msg.message <= WM_LBUTTONDBLCLK;
        return false;
    }

  private:
    void ListAllProjects() const {
        ProjectList projects;
        ListProjectFolder(context_.programFolder, kMostListed, projects);
        HWND list = Item(IDL_ALL_PROJECTS);
        for (int i = 0; i < projects.Count(); ++i)
            SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)projects.Name(i));
    }

    // Reads entry index of a list; an entry too long for out reads as empty.
    static void EntryText(HWND list, int index, char* out, size_t size) {
        out[0] = '\0';
        LRESULT length = SendMessageA(list, LB_GETTEXTLEN, (WPARAM)index, 0);
        if (length == LB_ERR || size_t(length) + 1 > size)
            return;
        SendMessageA(list, LB_GETTEXT, (WPARAM)index, (LPARAM)out);
        out[size - 1] = '\0';
    }

    void RememberSelection() {
        HWND list = Item(IDL_ALL_PROJECTS);
        LRESULT selected = SendMessageA(list, LB_GETCURSEL, 0, 0);
        if (selected != LB_ERR)
            EntryText(list, (int)selected, remembered_, sizeof remembered_);
    }

    // A click adds at once; so does a move with Shift held. The keyboard alone only
    // points at an entry for "->".
    void OnAllProjectsSelection() {
        RememberSelection();
        if (GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_LBUTTON) < 0 || clicking_)
            AddRemembered();
    }

    // The click before a double-click has added the entry and forgotten it: the
    // double-click takes the entry under it again rather than ask for a selection.
    void OnAllProjectsDoubleClick() {
        RememberSelection();
        AddRemembered();
    }

    bool IsChosen(const char* name) const {
        HWND list = Item(IDL_CONSOLIDATE);
        const int count = (int)SendMessageA(list, LB_GETCOUNT, 0, 0);
        char entry[MAX_PATH];
        for (int i = 0; i < count; ++i) {
            EntryText(list, i, entry, sizeof entry);
            if (strcmp(entry, name) == 0)
                return true;
        }
        return false;
    }

    void AddRemembered() {
        if (remembered_[0] == '\0') {
            ui::ShowMessage(MB_ICONINFORMATION, "Please select a Project");
            return;
        }
        if (!IsChosen(remembered_))
            SendMessageA(Item(IDL_CONSOLIDATE), LB_ADDSTRING, 0, (LPARAM)remembered_);
        remembered_[0] = '\0';
    }

    void RemoveAtPosition() {
        HWND list = Item(IDL_CONSOLIDATE);
        if (position_ >= 0 && position_ < (int)SendMessageA(list, LB_GETCOUNT, 0, 0))
            SendMessageA(list, LB_DELETESTRING, (WPARAM)position_, 0);
        position_ = 0;
    }

    void Run() {
        for (int id = IDL_ALL_PROJECTS; id <= IDB_CONSOLIDATE_HELP; ++id)
            EnableItem(id, false);
        if (context_.saveBoard)
            context_.saveBoard();
        ProjectList chosen;
        if (!ReadChosen(chosen)) {
            ui::ShowMessage(MB_ICONERROR, "%s 2", kMemoryShortage);
            return;
        }
        if (chosen.Count() == 0)
            return;
        DiskConsolidationFiles files(context_.programFolder, chosen);
        if (!files.Ready()) {
            ui::ShowMessage(MB_ICONERROR, "%s 2", kMemoryShortage);
            return;
        }
        ShowCount(Item(IDT_CONSOLIDATE_EXAMINED), 0);
        ShowCount(Item(IDT_CONSOLIDATE_REMAINING), long(chosen.Count()) * kSlotCount);
        ConsolidationResult result;
        {
            ConsolidationCounts counts(Item(IDT_CONSOLIDATE_EXAMINED),
                                       Item(IDT_CONSOLIDATE_REMAINING));
            result = Consolidate(chosen.Count(), files, counts.Progress());
            counts.ShowWhereItEnded();
        }
        consolidated = result.status == ConsolidationStatus::Done;
        Report(result, files);
    }

    bool ReadChosen(ProjectList& chosen) const {
        HWND list = Item(IDL_CONSOLIDATE);
        const int count = (int)SendMessageA(list, LB_GETCOUNT, 0, 0);
        char entry[MAX_PATH];
        for (int i = 0; i < count; ++i) {
            EntryText(list, i, entry, sizeof entry);
            if (!chosen.Add(entry))
                return false;
        }
        return true;
    }

    static void Report(const ConsolidationResult& result, const DiskConsolidationFiles& files) {
        char path[MAX_PATH] = "";
        if (result.entry >= 0)
            files.Path(result.entry, path, sizeof path);
        switch (result.status) {
        case ConsolidationStatus::Done: break;
        case ConsolidationStatus::NoMemoryForOutput:
            ui::ShowMessage(MB_ICONERROR, "%s 1", kMemoryShortage);
            break;
        case ConsolidationStatus::NoMemoryForKeys:
            ui::ShowMessage(MB_ICONERROR, "%s 2", kMemoryShortage);
            break;
        case ConsolidationStatus::Unreadable:
            ui::ShowMessage(MB_ICONERROR, "Unable to open project:\n%s", path);
            break;
        case ConsolidationStatus::NotWritten:
        case ConsolidationStatus::NotReplaceable:
            ui::ShowMessage(MB_ICONERROR, "Error saving:\n%s", path);
            break;
        case ConsolidationStatus::PartlyReplaced: {
            char temporary[MAX_PATH] = "";
            files.TemporaryPath(result.entry, temporary, sizeof temporary);
            ui::ShowMessage(MB_ICONERROR, "Error saving:\n%s\n\nIts new slots are kept in:\n%s",
                            path, temporary);
            break;
        }
        }
    }

    const ConsolidateContext& context_;
    char remembered_[MAX_PATH] = ""; // the All Projects entry "->" adds; "" for none
    int position_ = 0;               // the Consolidate entry "<-" removes
    bool clicking_ = false;          // the message at hand is a click into All Projects
};

} // namespace

bool RunConsolidateDialog(HWND owner, const ConsolidateContext& context) {
    ConsolidateDialog dialog(context);
    dialog.RunModal(owner);
    return dialog.consolidated;
}
