#include "installer/uninstall_sequence.h"

#include <shellapi.h>

#include <cstring>

#include "base/text.h"
#include "installer/create_path.h"
#include "installer/delete_tree.h"
#include "installer/look.h"
#include "installer/messages.h"
#include "installer/path_text.h"
#include "installer/shortcuts.h"
#include "installer/uninstall_dialog.h"
#include "ui/message.h"

namespace installer {

namespace {

// Named literally under the local application data rather than asked of the system, so
// the copy lands in the same place however the temporary folder is set.
const char kUninstallerSubFolder[] = "TEMP\\vqp";
constexpr unsigned kBeforeRelaunchMs = 128;
constexpr unsigned kBeforeDialogMs = 1000;

void Wait(const UninstallHooks& hooks, unsigned milliseconds) {
    if (hooks.wait)
        hooks.wait(milliseconds);
}

void OpenWithShell(HWND owner, const char* file, const char* arguments, const char* folder) {
    // Whether the copy starts is not examined: there is nothing left to do here either way.
    ShellExecuteA(owner, "open", file, arguments, folder, SW_SHOW);
}

// An earlier uninstall's copy may be read-only; it is replaced all the same.
bool CopyUninstaller(const char* source, const char* target) {
    SetFileAttributesA(target, FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(target);
    return CopyFileA(source, target, FALSE) != 0;
}

void TellUninstalled(FolderRemoval removal, const char* folder) {
    switch (removal) {
    case FolderRemoval::Removed:
        ui::ShowMessage(MB_ICONINFORMATION, kMsgUninstalled, kProductName);
        return;
    case FolderRemoval::Remains:
        // Never "has been UnInstalled" while files of it are still there.
        ui::ShowMessage(MB_ICONWARNING, kMsgFolderNotAllRemoved, folder);
        return;
    case FolderRemoval::NotFound:
        ui::ShowMessage(MB_ICONINFORMATION, kMsgInstallNotFound, kProductName, folder);
        return;
    }
}

} // namespace

void RecordedInstallFolder(Environment& env, bool slashes, char* out, size_t size) {
    char text[kMaxInstallFolder]; // at most 235 characters, as the install dialog allows
    env.ReadSetting(settings::kConfigure, settings::kThisProgramDir, nullptr, text, sizeof text);
    TrimTrailing(text, slashes ? kFolderTrimAll : kFolderTrim);
    base::CopyText(out, size, text);
}

bool UninstallerFolder(Environment& env, char* out, size_t size) {
    char local[kPathSize];
    if (!env.ShellFolder(kCsidlLocalAppData, local, sizeof local))
        return false;
    TrimTrailing(local, kFolderTrim);
    // Room for the copy's name too: a cut path would name some other file.
    return local[0] != '\0' && JoinPath(out, size, local, kUninstallerSubFolder) &&
           strlen(out) + 1 + strlen(kInstallerFile) < kPathSize;
}

int RunRelaunch(HWND backdrop, Environment& env, const UninstallHooks& hooks) {
    Wait(hooks, kBeforeRelaunchMs);
    char folder[kPathSize];
    RecordedInstallFolder(env, true, folder, sizeof folder);
    // A drive root ("C:\" trimmed to "C:") or a bare name is no install folder.
    if (!strchr(folder, '\\')) {
        ui::ShowMessageCaption(kInstallCaption, MB_ICONSTOP, "%s", kMsgNoUninstallPath);
        return IDCANCEL;
    }
    char temp[kPathSize];
    if (!UninstallerFolder(env, temp, sizeof temp)) {
        ui::ShowMessage(MB_ICONINFORMATION, "%s", kMsgNoFolderToInstallInto);
        return IDCANCEL;
    }
    CreatePath(temp, true); // a folder that cannot be made fails the copy below

    char source[kPathSize], target[kPathSize];
    JoinPath(source, sizeof source, folder, kInstallerFile); // 235 + 10 characters fit
    JoinPath(target, sizeof target, temp, kInstallerFile);   // checked above
    if (!env.FileExists(source)) {
        ui::ShowMessageCaption(kInstallCaption, MB_ICONSTOP, kMsgSourceMissing, source);
        return IDCANCEL;
    }
    if (!CopyUninstaller(source, target)) {
        ui::ShowMessageCaption(kInstallCaption, MB_ICONSTOP, kMsgFileNotCopied, source, target,
                               target);
        return IDCANCEL;
    }
    (hooks.start ? hooks.start : OpenWithShell)(backdrop, target, kUninstallWord, temp);
    return IDCANCEL;
}

int RunRelaunch(HWND backdrop, Environment& env) {
    return RunRelaunch(backdrop, env, UninstallHooks());
}

int RunUninstallSequence(HWND backdrop, Environment& env, const UninstallHooks& hooks) {
    if (ui::ShowMessage(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, kMsgConfirmUninstall,
                        kProductName) != IDYES)
        return IDCANCEL;
    Wait(hooks, kBeforeDialogMs);

    char folder[kPathSize];
    RecordedInstallFolder(env, false, folder, sizeof folder);
    // Only a folder holding the board program is deleted: the recorded folder may come
    // from a legacy settings file or an old installation and name any folder at all.
    if (!IsInstallFolder(env, folder)) {
        ui::ShowMessage(MB_ICONINFORMATION, kMsgInstallNotFound, kProductName, folder);
        return IDCANCEL;
    }
    FolderRemoval removal = FolderRemoval::NotFound;
    if (RunUninstallDialog(backdrop, env, folder, removal) != IDOK)
        return IDCANCEL;

    ShowWaitCursor(true);
    RemoveShortcutSet(env, hooks.wait);
    ShowWaitCursor(false);
    TellUninstalled(removal, folder);
    return removal == FolderRemoval::Removed ? IDOK : IDCANCEL;
}

int RunUninstallSequence(HWND backdrop, Environment& env) {
    return RunUninstallSequence(backdrop, env, UninstallHooks());
}

} // namespace installer
