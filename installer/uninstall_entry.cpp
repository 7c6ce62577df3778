#include "installer/uninstall_entry.h"

#include <cstring>

#include "base/scoped.h"
#include "base/text.h"
#include "installer/messages.h"
#include "installer/path_text.h"
#include "ui/message.h"

namespace installer {

const char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tessaro";

namespace {

const char kPublisher[] = "Vontrel";
const char kAboutPage[] = "http://www.vontrel.example/tessaro/";
const char kDownloadPage[] = "http://www.vontrel.example/tessaro/download.html";

void Set(RegistryText& text, const char* name, const char* value) {
    text.name = name;
    base::CopyText(text.value, sizeof text.value, value);
}

} // namespace

void BuildUninstallEntry(const char* installFolder, UninstallEntry& entry) {
    char folder[kPathSize];
    base::CopyText(folder, sizeof folder, installFolder);
    TrimTrailing(folder, kFolderTrim);

    char command[kUninstallValueSize];
    base::FormatText(command, sizeof command, "\"%s\\%s\" %s", folder, kInstallerFile,
                     kRelaunchWord);

    Set(entry.values[0], "DisplayName", kProductName);
    Set(entry.values[1], "UninstallString", command);
    // The misspelt name is the one earlier installations wrote; keep it.
    Set(entry.values[2], "InstallLoaction", folder);
    Set(entry.values[3], "Publisher", kPublisher);
    Set(entry.values[4], "URLInfoAbout", kAboutPage);
    Set(entry.values[5], "URLUpdateInfo", kDownloadPage);
}

bool WriteRegistryTexts(HKEY root, const char* keyPath, const UninstallEntry& entry) {
    base::ScopedKey key;
    if (RegCreateKeyExA(root, keyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Out(),
                        nullptr) != ERROR_SUCCESS)
        return false;
    for (const RegistryText& text : entry.values)
        RegSetValueExA(key.Get(), text.name, 0, REG_SZ, (const BYTE*)text.value,
                       (DWORD)(strlen(text.value) + 1));
    return true;
}

} // namespace installer
