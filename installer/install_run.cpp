#include "installer/install_run.h"

#include "base/text.h"
#include "installer/look.h"
#include "installer/messages.h"
#include "installer/path_text.h"
#include "installer/payload.h"
#include "installer/uninstall_entry.h"
#include "settings/settings.h"
#include "ui/message.h"

namespace installer {

namespace {

const char kPayloadSource[] = "RCDATA";
constexpr unsigned kStepPauseMs = 128;

// The installer's own file: a copy that keeps its time first, then a plain copy over a
// destination made writable.
bool CopyOwnFile(Environment& env, const InstallRun& run, const char* destination,
                 InstallView& view) {
    if (CopyFileKeepTime(run.ownFile, destination, true, run.wait) == 1)
        return true;
    view.ShowFiles(run.ownFile, destination);
    if (!env.FileExists(run.ownFile)) {
        ui::ShowMessageCaption(kInstallCaption, MB_ICONSTOP, kMsgSourceMissing, run.ownFile);
        return false;
    }
    const DWORD attributes = GetFileAttributesA(destination);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesA(destination, attributes & ~FILE_ATTRIBUTE_READONLY);
    DeleteFileA(destination);
    if (CopyFileA(run.ownFile, destination, FALSE))
        return true;
    ui::ShowMessageCaption(kInstallCaption, MB_ICONSTOP, kMsgFileNotCopied, run.ownFile,
                           destination, destination);
    return false;
}

bool WriteFileStep(Environment& env, const InstallRun& run, const FileStep& step,
                   InstallView& view) {
    char destination[kPathSize];
    if (!InstallFilePath(run.installFolder, step.fileName, destination, sizeof destination)) {
        ui::ShowMessageCaption(kInstallCaption, MB_ICONSTOP, kMsgPayloadNotCopied, destination,
                               destination);
        return false;
    }
    if (step.resourceId == kOwnFile)
        return CopyOwnFile(env, run, destination, view);
    view.ShowFiles(kPayloadSource, destination);
    if (ExtractPayload(run.payload, step.resourceId, destination))
        return true;
    ui::ShowMessageCaption(kInstallCaption, MB_ICONSTOP, kMsgPayloadNotCopied, destination,
                           destination);
    return false;
}

// The drive the installer was started from, at its root: the run holds no folder open.
void LeaveStartFolder(const char* startFolder) {
    if (startFolder[0] == '\0' || startFolder[1] != ':')
        return;
    const char root[] = {startFolder[0], ':', '\\', '\0'};
    SetCurrentDirectoryA(root);
}

} // namespace

bool InstallFilePath(const char* installFolder, const char* name, char* out, size_t size) {
    char folder[kPathSize];
    base::CopyText(folder, sizeof folder, installFolder);
    TrimTrailing(folder, kFolderTrim);
    return JoinPath(out, size, folder, name);
}

bool RunInstall(Environment& env, const InstallRun& run, InstallView& view) {
    env.WriteSetting(settings::kConfigure, settings::kThisProgramDir, run.installFolder);
    ShowWaitCursor(true);
    LeaveStartFolder(run.startFolder);

    for (int i = 0; i < kFileStepCount; ++i) {
        view.ShowStep(i + 1);
        if (run.wait)
            run.wait(kStepPauseMs);
        if (!WriteFileStep(env, run, kFileSteps[i], view)) {
            ui::ShowMessageCaption(kInstallCaption, MB_ICONINFORMATION, "%s", kMsgPermissions);
            return false;
        }
    }

    char folder[kPathSize];
    base::CopyText(folder, sizeof folder, run.installFolder);
    TrimTrailing(folder, kFolderTrim);
    CarryOverProjects(env, run.legacyFolder, folder);

    UninstallEntry entry;
    BuildUninstallEntry(run.installFolder, entry);
    env.WriteUninstallEntry(entry);
    return true;
}

} // namespace installer
