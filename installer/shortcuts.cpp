#include "installer/shortcuts.h"

#include <objbase.h>
#include <shlobj.h>

#include <cstring>

#include "base/scoped.h"
#include "base/text.h"
#include "installer/install_run.h"
#include "installer/look.h"
#include "installer/messages.h"
#include "installer/path_text.h"
#include "ui/message.h"

namespace installer {

namespace {

const char kGroupName[] = "Tessaro";
const char kTempLinkName[] = "tmp";
const char kLinkExtension[] = ".lnk";
constexpr unsigned kShortcutPauseMs = 64;
constexpr unsigned kBeforeCreatingMs = 500;
// A fresh link may be held for a moment by another program; this many tries, this far apart.
constexpr unsigned kPlaceTries = 20;
constexpr unsigned kPlaceRetryMs = 50;

// Once; the installer has one thread and keeps OLE to its end.
bool g_oleTried = false;
HRESULT g_ole = E_FAIL;

bool EnsureOle() {
    if (!g_oleTried) {
        g_ole = OleInitialize(nullptr);
        g_oleTried = true;
    }
    return SUCCEEDED(g_ole) || g_ole == RPC_E_CHANGED_MODE;
}

const char* ShellFoldersName(int csidl) {
    if (csidl == kCsidlDesktop)
        return "Desktop";
    if (csidl == kCsidlPrograms)
        return "Programs";
    return "";
}

bool RegistryFolder(Environment& env, int csidl, char* out, size_t size) {
    const char* name = ShellFoldersName(csidl);
    if (env.ShellFoldersValue(name, out, size))
        return true;
    char common[64];
    base::FormatText(common, sizeof common, "Common %s", name);
    return env.ShellFoldersValue(common, out, size);
}

bool ContainsLinkExtension(const char* path) {
    char lower[2 * kPathSize];
    size_t n = base::CopyText(lower, sizeof lower, path);
    for (size_t i = 0; i < n; ++i)
        if (lower[i] >= 'A' && lower[i] <= 'Z')
            lower[i] = char(lower[i] - 'A' + 'a');
    return strstr(lower, kLinkExtension) != nullptr;
}

// Where a shortcut's file lies: the special folder, the group folder for the programs
// folder, the name.
bool ShortcutPath(const char* special, int csidl, const char* name, char* out, size_t size) {
    if (csidl != kCsidlPrograms)
        return JoinPath(out, size, special, name);
    char group[kPathSize];
    return JoinPath(group, sizeof group, special, kGroupName) && JoinPath(out, size, group, name);
}

bool Given(const char* text) {
    return text && text[0];
}

HRESULT SaveLink(const Shortcut& s, const char* linkFile) {
    base::ScopedCom<IShellLinkA> link;
    HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IShellLinkA, link.Out());
    if (FAILED(result))
        return result;
    if (Given(s.target))
        link->SetPath(s.target);
    if (Given(s.arguments))
        link->SetArguments(s.arguments);
    if (Given(s.workingFolder))
        link->SetWorkingDirectory(s.workingFolder);
    if (Given(s.iconFile))
        link->SetIconLocation(s.iconFile, 0);
    base::ScopedCom<IPersistFile> file;
    result = link->QueryInterface(IID_IPersistFile, file.Out());
    if (FAILED(result))
        return result;
    WCHAR wide[kPathSize];
    if (!MultiByteToWideChar(CP_ACP, 0, linkFile, -1, wide, kPathSize))
        return E_INVALIDARG;
    return file->Save(wide, TRUE);
}

// ERROR_SUCCESS once the link is saved to the temporary file and moved to its place, else
// the error of the step that failed.
DWORD PlaceLink(const Shortcut& s, const char* temporary, const char* destination) {
    const HRESULT saved = SaveLink(s, temporary);
    if (FAILED(saved))
        return HRESULT_FACILITY(saved) == FACILITY_WIN32 ? DWORD(HRESULT_CODE(saved))
                                                         : DWORD(ERROR_GEN_FAILURE);
    return MoveFileA(temporary, destination) ? DWORD(ERROR_SUCCESS) : GetLastError();
}

// The shell's link processor reads each saved link in a process of its own, and a virus
// scanner may read a fresh file: either can hold the temporary link for a moment.
bool HeldForAMoment(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

void Pause(WaitFunction wait, unsigned milliseconds) {
    if (wait)
        wait(milliseconds);
    else
        Sleep(milliseconds);
}

bool DeletePlainFiles(const char* folder) {
    char pattern[kPathSize];
    if (!JoinPath(pattern, sizeof pattern, folder, "*.*"))
        return false;
    WIN32_FIND_DATAA entry;
    base::ScopedFind search(FindFirstFileA(pattern, &entry));
    if (!search.Valid())
        return false;
    do {
        if (strcmp(entry.cFileName, ".") == 0 || strcmp(entry.cFileName, "..") == 0)
            continue;
        char path[kPathSize];
        // A sub-folder fails here and stays: only what the group itself holds goes.
        if (JoinPath(path, sizeof path, folder, entry.cFileName))
            DeleteFileA(path);
    } while (FindNextFileA(search.Get(), &entry));
    return true;
}

struct ShortcutRemoval {
    int csidl;
    bool wholeFolder;
};

constexpr ShortcutRemoval kRemovals[] = {
    {kCsidlStartup, false},       {kCsidlCommonStartup, false}, {kCsidlDesktop, false},
    {kCsidlCommonPrograms, true}, {kCsidlPrograms, true},
};

} // namespace

bool ResolveSpecialFolder(Environment& env, int csidl, char* out, size_t size) {
    if (!env.ShellFolder(csidl, out, size) && !RegistryFolder(env, csidl, out, size)) {
        char windows[kPathSize] = "";
        env.WindowsFolder(windows, sizeof windows);
        TrimTrailing(windows, kFolderTrim);
        base::FormatText(out, size, "%s\\Start Menu\\Programs", windows);
    }
    TrimTrailing(out, kFolderTrim);
    return env.FolderExists(out);
}

bool CreateShortcut(Environment& env, const Shortcut& s, const char* tempFolder,
                    WaitFunction wait) {
    char special[kPathSize];
    if (!EnsureOle() || !ResolveSpecialFolder(env, s.csidl, special, sizeof special))
        return false;
    if (s.makeFolder) {
        char folder[kPathSize];
        return JoinPath(folder, sizeof folder, special, s.name) && env.MakeFolder(folder);
    }
    char destination[kPathSize];
    if (!ShortcutPath(special, s.csidl, s.name, destination, sizeof destination - 4))
        return false;
    if (!ContainsLinkExtension(destination))
        strcat(destination, kLinkExtension);
    char temporary[kPathSize];
    if (!InstallFilePath(tempFolder, kTempLinkName, temporary, sizeof temporary))
        return false;
    // Saved beside the program first, then moved: the shortcut appears whole or not at all.
    for (unsigned attempt = 1;; ++attempt) {
        const DWORD error = PlaceLink(s, temporary, destination);
        if (error == ERROR_SUCCESS)
            return true;
        if (!HeldForAMoment(error) || attempt == kPlaceTries)
            return false;
        Pause(wait, kPlaceRetryMs);
    }
}

bool RemoveShortcut(Environment& env, int csidl, const char* name, bool wholeFolder) {
    char special[kPathSize];
    if (!EnsureOle() || !ResolveSpecialFolder(env, csidl, special, sizeof special))
        return false;
    if (wholeFolder) {
        char folder[kPathSize];
        if (!JoinPath(folder, sizeof folder, special, name))
            return false;
        DeletePlainFiles(folder);
        return RemoveDirectoryA(folder) != 0;
    }
    char file[kPathSize];
    char withExtension[kPathSize];
    if (!ShortcutPath(special, csidl, name, file, sizeof file))
        return false;
    base::FormatText(withExtension, sizeof withExtension, "%s%s", file, kLinkExtension);
    return DeleteFileA(withExtension) != 0;
}

void RemoveShortcutSet(Environment& env, WaitFunction wait) {
    for (const ShortcutRemoval& r : kRemovals) {
        RemoveShortcut(env, r.csidl, kGroupName, r.wholeFolder);
        if (wait)
            wait(kShortcutPauseMs);
    }
}

bool ReplaceShortcuts(Environment& env, const char* installFolder, WaitFunction wait) {
    char folder[kPathSize];
    base::CopyText(folder, sizeof folder, installFolder);
    TrimTrailing(folder, kFolderTrim);
    char board[kPathSize], readMe[kPathSize], readMeIcon[kPathSize];
    char uninstaller[kPathSize], uninstallIcon[kPathSize];
    InstallFilePath(folder, kBoardFile, board, sizeof board);
    InstallFilePath(folder, kReadMeFile, readMe, sizeof readMe);
    InstallFilePath(folder, kReadMeIconFile, readMeIcon, sizeof readMeIcon);
    InstallFilePath(folder, kInstallerFile, uninstaller, sizeof uninstaller);
    InstallFilePath(folder, kUninstallIconFile, uninstallIcon, sizeof uninstallIcon);

    const Shortcut set[] = {
        {kCsidlDesktop, kGroupName, board, "", folder, board, false},
        {kCsidlPrograms, kGroupName, "", "", "", "", true},
        {kCsidlPrograms, kGroupName, board, "", folder, board, false},
        {kCsidlPrograms, "Read Me", readMe, "", folder, readMeIcon, false},
        {kCsidlPrograms, "UnInstall", uninstaller, kRelaunchWord, folder, uninstallIcon, false},
    };

    ShowWaitCursor(true);
    RemoveShortcutSet(env, wait);
    if (wait)
        wait(kBeforeCreatingMs);
    bool made = false;
    for (size_t i = 0; i < sizeof set / sizeof set[0]; ++i) {
        made = CreateShortcut(env, set[i], folder, wait);
        if (wait)
            wait(kShortcutPauseMs);
        if (i == 0)
            ShowWaitCursor(false);
    }
    // Only the uninstaller's shortcut is reported: without it the user cannot uninstall.
    if (!made)
        ui::ShowMessageCaption(kInstallCaption, MB_ICONSTOP, "%s", kMsgGroupNotCreated);
    return made;
}

} // namespace installer
