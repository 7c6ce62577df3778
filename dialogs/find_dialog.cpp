#include "dialogs/find_dialog.h"

#include "base/text.h"
#include "dialogs/long_run.h"
#include "resources/kestrum_ids.h"
#include "store/disk_file.h"
#include "store/heap_block.h"
#include "ui/dialog.h"
#include "ui/message.h"

namespace {

void CentreOver(HWND window, HWND over) {
    RECT outer, own;
    if (!over || !GetWindowRect(over, &outer)) {
        ui::CentreOnDesktop(window);
        return;
    }
    GetWindowRect(window, &own);
    const int x = outer.left + ((outer.right - outer.left) - (own.right - own.left)) / 2;
    const int y = outer.top + ((outer.bottom - outer.top) - (own.bottom - own.top)) / 2;
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void KeepPaintedBetweenFiles(void* context) {
    auto* run = static_cast<LongRun*>(context);
    if (run->Due())
        run->KeepPainted();
}

class FindDialog : public ui::Dialog {
  public:
    explicit FindDialog(const FindContext& context)
        : ui::Dialog(IDD_FIND), context_(context), state_(*context.state) {}

  protected:
    BOOL OnInit() override {
        CentreOver(Handle(), GetWindow(Handle(), GW_OWNER));
        SendMessageA(Item(IDE_FIND_WHAT), EM_LIMITTEXT, kSearchTextSize - 1, 0);
        SetItemText(IDE_FIND_WHAT, state_.text);
        EnableItem(IDB_FIND_FIRST, state_.text[0] != '\0');
        EnableItem(IDB_FIND_NEXT, false);
        EnableCopying(false);
        CheckItem(IDX_FIND_MATCH_CASE, state_.matchCase);
        const bool current = state_.scope == FindScope::CurrentProject;
        CheckRadioButton(Handle(), IDX_FIND_ALL_PROJECTS, IDX_FIND_CURRENT_PROJECT,
                         current ? IDX_FIND_CURRENT_PROJECT : IDX_FIND_ALL_PROJECTS);
        CheckRadioButton(Handle(), IDX_FIND_BOTH, IDX_FIND_BUTTONS, TargetButton());
        state_.last = LastSearch::None;
        work_ = AllocateBlock<ProjectImage>();
        if (!work_) {
            ui::ShowMessage(MB_ICONERROR,
                            "Not enough local memory to finish task. Close some "
                            "programs or reboot.");
            End(IDCANCEL);
        }
        return TRUE;
    }

    bool OnCommand(int id, int, HWND) override {
        switch (id) {
        case IDE_FIND_WHAT: TakeSearchText(); return true;
        case IDB_FIND_FIRST: Search(false); return true;
        case IDB_FIND_NEXT: Search(true); return true;
        case IDB_FIND_COPY: CopyShownText(); return true;
        case IDB_FIND_COPY_CLOSE:
            CopyShownText();
            End(IDOK);
            return true;
        case IDB_FIND_JUST_CLOSE: End(IDCANCEL); return true;
        }
        return false;
    }

    // Enter presses the default button; a bare IDOK must not close the search.
    void OnOk() override {}

    void OnDestroy() override { work_.reset(); }

  private:
    int TargetButton() const {
        switch (state_.target) {
        case FindTarget::Buttons: return IDX_FIND_BUTTONS;
        case FindTarget::Texts: return IDX_FIND_TEXTS;
        default: return IDX_FIND_BOTH;
        }
    }

    void TakeSearchText() {
        ItemText(IDE_FIND_WHAT, state_.text, kSearchTextSize);
        EnableItem(IDB_FIND_FIRST, state_.text[0] != '\0');
    }

    void TakeOptions() {
        state_.matchCase = IsItemChecked(IDX_FIND_MATCH_CASE);
        state_.scope = IsItemChecked(IDX_FIND_CURRENT_PROJECT) ? FindScope::CurrentProject
                                                               : FindScope::AllProjects;
        state_.target = IsItemChecked(IDX_FIND_BUTTONS) ? FindTarget::Buttons
                        : IsItemChecked(IDX_FIND_TEXTS) ? FindTarget::Texts
                                                        : FindTarget::ButtonsAndTexts;
    }

    void Search(bool next) {
        TakeSearchText();
        if (state_.text[0] == '\0') {
            ui::ShowMessage(MB_ICONINFORMATION, "Please type in text to search for.");
            SetFocusTo(IDE_FIND_WHAT);
            return;
        }
        TakeOptions();
        FindHit hit;
        if (!Step(next, hit)) {
            ui::ShowMessage(MB_ICONINFORMATION, "Search Complete.");
            EnableItem(IDB_FIND_NEXT, false);
            return;
        }
        ShowHit(hit);
        SetFocusTo(IDB_FIND_NEXT);
    }

    bool Step(bool next, FindHit& hit) {
        FindSources sources;
        sources.programFolder = context_.programFolder;
        sources.currentPath = context_.currentPath;
        sources.boardImage = context_.boardImage;
        sources.projects = context_.projects;
        sources.work = work_.get();
        sources.readImage = ReadImageForSearch;
        if (state_.scope == FindScope::CurrentProject)
            return FindStep(state_, next, sources, hit);
        LongRun run;
        sources.beforeFile = KeepPaintedBetweenFiles;
        sources.context = &run;
        return FindStep(state_, next, sources, hit);
    }

    void ShowHit(const FindHit& hit) {
        char name[kNameSize + 1];
        char number[16];
        base::CopyField(name, sizeof name, hit.image->names[hit.slot], kNameSize);
        base::FormatText(number, sizeof number, "%d", hit.slot + 1);
        base::CopyField(shownText_, sizeof shownText_, hit.image->texts[hit.slot], kTextSize);
        SetItemText(IDE_FIND_PROJECT, hit.projectName);
        SetItemText(IDE_FIND_BUTTON_NAME, name);
        SetItemText(IDE_FIND_BUTTON_NUMBER, number);
        SetItemText(IDE_FIND_TEXT, shownText_);
        EnableCopying(shownText_[0] != '\0');
        EnableItem(IDB_FIND_NEXT, true);
    }

    void EnableCopying(bool enabled) const {
        EnableItem(IDB_FIND_COPY, enabled);
        EnableItem(IDB_FIND_COPY_CLOSE, enabled);
    }

    // The edit control's own copy puts the text on the clipboard as shown.
    void CopyShownText() const {
        HWND text = Item(IDE_FIND_TEXT);
        SendMessageA(text, EM_SETSEL, 0, -1);
        SendMessageA(text, WM_COPY, 0, 0);
        SendMessageA(text, EM_SETSEL, (WPARAM)-1, 0);
    }

    const FindContext& context_;
    FindState& state_;
    HeapBlock<ProjectImage> work_;
    char shownText_[kTextSize + 1] = "";
};

} // namespace

void RunFindDialog(HWND owner, const FindContext& context) {
    if (!context.state || !context.boardImage || !context.projects)
        return;
    FindDialog dialog(context);
    dialog.RunModal(owner);
}
