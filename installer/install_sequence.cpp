#include "installer/install_sequence.h"

#include <shellapi.h>

#include "installer/install_dialog.h"
#include "installer/install_run.h"
#include "installer/look.h"
#include "installer/messages.h"
#include "installer/shortcuts.h"
#include "ui/message.h"

namespace installer {

namespace {

constexpr unsigned kBeforeDialogMs = 1000;
constexpr unsigned kBeforeStartMs = 512;

void StartBoard(HWND owner, const char* installFolder) {
    char board[kPathSize];
    InstallFilePath(installFolder, kBoardFile, board, sizeof board);
    SetCurrentDirectoryA(installFolder);
    // Whether the board starts is not examined: the files are in place either way.
    ShellExecuteA(owner, "open", board, kInstalledWord, installFolder, SW_SHOW);
}

} // namespace

int RunInstallSequence(HWND owner, Environment& env, const InstallPlaces& places) {
    InstallerWait(kBeforeDialogMs);
    char folder[kPathSize] = "";
    if (RunInstallDialog(owner, env, places, folder, sizeof folder) != IDOK) {
        ui::ShowMessageCaption(kInstallCaption, MB_ICONWARNING, "%s", kMsgInstallFailed);
        return IDCANCEL;
    }
    if (owner)
        UpdateWindow(owner);
    ShowWaitCursor(true);
    ReplaceShortcuts(env, folder, InstallerWait);
    InstallerWait(kBeforeStartMs);
    StartBoard(owner, folder);
    return IDOK;
}

} // namespace installer
