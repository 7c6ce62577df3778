#include "installer/install_dialog.h"

#include "installer/folder_check.h"
#include "installer/install_run.h"
#include "installer/progress.h"
#include "resources/vqpsx_ids.h"
#include "ui/dialog.h"
#include "ui/message.h"
#include "ui/text.h"

namespace installer {

namespace {

const char kIntroFormat[] =
    "Select a Drive and a Path to the Folder where you want %s to be "
    "Installed. If you a not an Admin and/or you are not sure what to "
    "select, just click the [Next] button...";
const char kHeadingFormat[] = "Installing %s to the following Folder . . . ";
const char kTitleFormat[] = "%s Installation";
constexpr WPARAM kCaretAtEnd = 260;

class InstallDialog : public ui::Dialog, private InstallView {
  public:
    InstallDialog(Environment& env, const InstallPlaces& places)
        : ui::Dialog(IDD_INSTALL), env_(env), places_(places) {}

    char installFolder[kPathSize] = "";

  protected:
    BOOL OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    // Enter and Escape act as Next and Exit, so that neither can end the dialog while the
    // install runs, nor end it with IDOK before the files are in place.
    void OnOk() override { Next(); }
    void OnCancel() override { Exit(); }

  private:
    void ShowStep(int step) override;
    void ShowFiles(const char* source, const char* destination) override;
    void SetPathField(const char* text);
    void ShowProposal();
    void OptionClicked(int id);
    void Next();
    void Exit();

    Environment& env_;
    const InstallPlaces& places_;
    Proposal proposal_;
    char startFolder_[kMaxInstallFolder + 1] = "";
    // Set while the install runs: its waits dispatch clicks, and a second run must not
    // start inside the first.
    bool running_ = false;
};

BOOL InstallDialog::OnInit() {
    char text[512];
    ui::FormatText(text, sizeof text, kTitleFormat, ui::kProductName);
    SetWindowTextA(Handle(), text);
    ui::FormatText(text, sizeof text, kIntroFormat, ui::kProductName);
    SetItemText(IDT_INSTALL_INTRO, text);
    ui::FormatText(text, sizeof text, kHeadingFormat, ui::kProductName);
    SetItemText(IDT_PATH_HEADING, text);
    CentreOnDesktop();

    DWORD n = GetCurrentDirectoryA(sizeof startFolder_, startFolder_);
    if (n == 0 || n >= sizeof startFolder_)
        startFolder_[0] = '\0';
    SetItemText(IDT_SOURCE_FILE, startFolder_);

    if (!FirstProposal(env_, places_, proposal_)) {
        EndModal(IDCANCEL);
        return TRUE;
    }
    SendDlgItemMessageA(Handle(), IDE_INSTALL_PATH, EM_LIMITTEXT, kMaxInstallFolder, 0);
    ShowProposal();
    return FALSE;
}

void InstallDialog::ShowProposal() {
    CheckRadioButton(Handle(), IDO_SHORT_PATH, IDO_UPGRADING, proposal_.choice);
    SetPathField(proposal_.folder);
    SetFocusTo(IDB_NEXT);
}

void InstallDialog::SetPathField(const char* text) {
    SetItemText(IDE_INSTALL_PATH, text);
    SendDlgItemMessageA(Handle(), IDE_INSTALL_PATH, EM_SETSEL, kCaretAtEnd, kCaretAtEnd);
}

bool InstallDialog::OnCommand(int id, int code, HWND) {
    if (id >= IDO_SHORT_PATH && id <= IDO_UPGRADING) {
        if (code == BN_CLICKED && IsItemChecked(id))
            OptionClicked(id);
        return true;
    }
    if (id == IDB_NEXT && code == BN_CLICKED) {
        Next();
        return true;
    }
    if (id == IDB_EXIT && code == BN_CLICKED) {
        Exit();
        return true;
    }
    return false;
}

void InstallDialog::OptionClicked(int id) {
    if (running_)
        return;
    RunOptionChain(id, env_, places_, proposal_);
    if (proposal_.choice == kChoiceNone) {
        EndModal(IDCANCEL);
        return;
    }
    ShowProposal();
}

void InstallDialog::Next() {
    if (running_)
        return;
    char typed[kPathSize];
    ItemText(IDE_INSTALL_PATH, typed, sizeof typed);
    if (CheckInstallFolder(env_, typed, startFolder_) != FolderCheck::Usable)
        return;

    char ownFile[kPathSize] = "";
    GetModuleFileNameA(nullptr, ownFile, sizeof ownFile - 1);
    InstallRun run;
    run.installFolder = typed;
    run.startFolder = startFolder_;
    run.legacyFolder = places_.legacyFolder;
    run.payload = GetModuleHandleA(nullptr);
    run.ownFile = ownFile;

    running_ = true;
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    const bool installed = RunInstall(env_, run, *this);
    running_ = false;
    ui::CopyText(installFolder, sizeof installFolder, typed);
    EndModal(installed ? IDOK : IDCANCEL);
}

void InstallDialog::Exit() {
    if (!running_)
        EndModal(IDCANCEL);
}

void InstallDialog::ShowStep(int step) {
    ShowFiles("", "");
    char bars[kProgressFullLength + 1];
    ProgressText(step, bars, sizeof bars);
    SetItemText(IDT_PROGRESS, bars);
    UpdateWindow(Handle());
}

void InstallDialog::ShowFiles(const char* source, const char* destination) {
    SetItemText(IDT_SOURCE_FILE, source);
    SetItemText(IDT_DESTINATION_FILE, destination);
}

} // namespace

INT_PTR RunInstallDialog(HWND owner, Environment& env, const InstallPlaces& places,
                         char* installFolder, size_t size) {
    InstallDialog dialog(env, places);
    INT_PTR result = dialog.RunModal(owner);
    ui::CopyText(installFolder, size, result == IDOK ? dialog.installFolder : "");
    return result;
}

} // namespace installer
