#include "installer/install_dialog.h"

#include "base/text.h"
#include "installer/folder_check.h"
#include "installer/install_run.h"
#include "installer/look.h"
#include "installer/messages.h"
#include "installer/progress.h"
#include "resources/vqpsx_ids.h"
#include "ui/dialog.h"
#include "ui/tooltip.h"

namespace installer {

namespace {

const char kIntroFormat[] =
    "Select a Drive and a Path to the Folder where you want %s to be "
    "Installed. If you a not an Admin and/or you are not sure what to "
    "select, just click the [Next] button...";
const char kHeadingFormat[] = "Installing %s to the following Folder . . . ";
const char kTitleFormat[] = "%s Installation";
const char kShortPathTip[] =
    "Because the path is short and global it is easier to maintain your data such as message "
    "files and email address list files. This is good if you only plan to run one instance of "
    "%s on this computer.";
const char kLocalUserTip[] = "%s will be available for this Username(%s) only.";
const char kProgramFilesTip[] = "%s will be installed here[%s%s%s%s%s]";
const char kUpgradeTip[] = "Upgrade using the same paths as before.";
constexpr WPARAM kCaretAtEnd = 260;
constexpr int kTippedOptions[] = {IDO_SHORT_PATH, IDO_LOCAL_USER, IDO_PROGRAM_FILES, IDO_UPGRADING};

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
    bool PreTranslate(MSG& msg) override;
    INT_PTR OnMessage(UINT msg, WPARAM w, LPARAM l, bool& handled) override;
    void OnDestroy() override;

  private:
    void ShowStep(int step) override;
    void ShowFiles(const char* source, const char* destination) override;
    void SetPathField(const char* text);
    void ShowProposal();
    void CreateOptionTips();
    void OptionClicked(int id);
    void Next();
    void Exit();

    Environment& env_;
    const InstallPlaces& places_;
    Proposal proposal_;
    char startFolder_[kMaxInstallFolder + 1] = "";
    ui::Tooltip optionTips_;
    ui::Tooltip pathTip_;
    // Set while the install runs: its waits dispatch clicks, and a second run must not
    // start inside the first.
    bool running_ = false;
};

BOOL InstallDialog::OnInit() {
    char text[512];
    base::FormatText(text, sizeof text, kTitleFormat, kProductName);
    SetWindowTextA(Handle(), text);
    base::FormatText(text, sizeof text, kIntroFormat, kProductName);
    SetItemText(IDT_INSTALL_INTRO, text);
    base::FormatText(text, sizeof text, kHeadingFormat, kProductName);
    SetItemText(IDT_PATH_HEADING, text);
    CentreOnDesktop();

    DWORD n = GetCurrentDirectoryA(sizeof startFolder_, startFolder_);
    if (n == 0 || n >= sizeof startFolder_)
        startFolder_[0] = '\0';
    SetItemText(IDT_SOURCE_FILE, startFolder_);

    if (!FirstProposal(env_, places_, proposal_)) {
        End(IDCANCEL);
        return TRUE;
    }
    SendDlgItemMessageA(Handle(), IDE_INSTALL_PATH, EM_LIMITTEXT, kMaxInstallFolder, 0);
    ShowProposal();
    CreateOptionTips();
    return FALSE;
}

void InstallDialog::CreateOptionTips() {
    ui::TooltipTiming timing;
    timing.maxWidth = kOptionTipWidth;
    if (!optionTips_.Create(Handle(), timing))
        return; // the dialog works without its tips
    char tip[512];
    for (int id : kTippedOptions)
        if (OptionTip(env_, id, tip, sizeof tip))
            optionTips_.AddTool(Item(id), tip);
}

void InstallDialog::ShowProposal() {
    CheckRadioButton(Handle(), IDO_SHORT_PATH, IDO_UPGRADING, proposal_.choice);
    SetPathField(proposal_.folder);
    SetFocusTo(IDB_NEXT);
}

// The one way the dialog fills the path field: the tip always shows what it put there.
void InstallDialog::SetPathField(const char* text) {
    SetItemText(IDE_INSTALL_PATH, text);
    SendDlgItemMessageA(Handle(), IDE_INSTALL_PATH, EM_SETSEL, kCaretAtEnd, kCaretAtEnd);
    ui::TooltipTiming timing;
    timing.maxWidth = kPathTipWidth;
    if (pathTip_.Create(Handle(), timing)) // replaces the old one
        pathTip_.AddTool(Item(IDE_INSTALL_PATH), text);
}

bool InstallDialog::PreTranslate(MSG& msg) {
    optionTips_.Relay(msg);
    pathTip_.Relay(msg);
    return false;
}

INT_PTR InstallDialog::OnMessage(UINT msg, WPARAM w, LPARAM, bool& handled) {
    return ClassicDialogMessage(Handle(), msg, w, handled);
}

void InstallDialog::OnDestroy() {
    optionTips_.Destroy();
    pathTip_.Destroy();
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
        End(IDCANCEL);
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
    const bool installed = RunInstall(env_, run, *this);
    running_ = false;
    // After a good run the wait cursor stays for the shortcuts that follow.
    if (!installed)
        ShowWaitCursor(false);
    base::CopyText(installFolder, sizeof installFolder, typed);
    End(installed ? IDOK : IDCANCEL);
}

void InstallDialog::Exit() {
    if (!running_)
        End(IDCANCEL);
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

bool OptionTip(Environment& env, int option, char* out, size_t size) {
    switch (option) {
    case IDO_SHORT_PATH: base::FormatText(out, size, kShortPathTip, kProductName); return true;
    case IDO_LOCAL_USER: {
        char user[kPathSize];
        env.UserName(user, sizeof user);
        base::FormatText(out, size, kLocalUserTip, kProductName, user);
        return true;
    }
    case IDO_PROGRAM_FILES: {
        char programFiles[kPathSize] = "";
        if (!TrimmedShellFolder(env, kCsidlProgramFiles, programFiles, sizeof programFiles))
            programFiles[0] = '\0';
        base::FormatText(out, size, kProgramFilesTip, kProductName, programFiles, "\\",
                         kVendorFolder, "\\", kProductFolder);
        return true;
    }
    case IDO_UPGRADING: base::CopyText(out, size, kUpgradeTip); return true;
    }
    if (size > 0)
        out[0] = '\0';
    return false;
}

INT_PTR RunInstallDialog(HWND owner, Environment& env, const InstallPlaces& places,
                         char* installFolder, size_t size) {
    InstallDialog dialog(env, places);
    INT_PTR result = dialog.RunModal(owner);
    base::CopyText(installFolder, size, result == IDOK ? dialog.installFolder : "");
    return result;
}

} // namespace installer
