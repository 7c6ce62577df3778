#include "installer/legacy_ini.h"

#include <windows.h>

#include <cstdio>

#include "base/text.h"
#include "installer/ini_lines.h"
#include "installer/path_text.h"

namespace installer {

namespace {

const char kIniName[] = "kestrum.ini";
constexpr size_t kWindowsFolderRoom = 245;

// Writes every key of the open file; false when any write failed.
bool TakeOver(Environment& env, FILE* file) {
    bool allWritten = true;
    IniState state;
    IniKey key;
    char line[kIniReadSize];
    while (fgets(line, sizeof line, file)) {
        if (ReadIniLine(line, state, key) == IniLine::Key &&
            !env.WriteSetting(state.section, key.name, key.value))
            allWritten = false;
    }
    return allWritten;
}

} // namespace

void LegacyIniPath(const char* windowsFolder, char* out, size_t size) {
    char folder[kWindowsFolderRoom + 1];
    base::CopyText(folder, sizeof folder, windowsFolder);
    TrimTrailing(folder, kFolderTrimAll);
    JoinPath(out, size, folder, kIniName);
}

Migration MigrateLegacyIni(Environment& env, const char* iniPath) {
    if (!env.FileExists(iniPath))
        return Migration::NoFile;
    if (env.SettingsStoreExists())
        return Migration::StoreExists;
    FILE* file = fopen(iniPath, "r+");
    if (!file)
        return Migration::NotOpened;
    const bool allWritten = TakeOver(env, file);
    fclose(file);
    // Settings that did not reach the store would be lost with the file.
    if (!allWritten)
        return Migration::WriteFailed;
    DeleteFileA(iniPath);
    return Migration::Done;
}

Migration MigrateLegacyIni(Environment& env) {
    char windows[kPathSize] = "";
    if (!env.WindowsFolder(windows, sizeof windows))
        return Migration::NoFile;
    char path[kPathSize];
    LegacyIniPath(windows, path, sizeof path);
    return MigrateLegacyIni(env, path);
}

} // namespace installer
