#include "installer/folder_check.h"

#include <windows.h>

#include <cstring>

#include "installer/create_path.h"
#include "installer/environment.h"
#include "installer/messages.h"
#include "installer/path_text.h"
#include "ui/message.h"

namespace installer {

FolderCheck CheckInstallFolder(Environment& env, const char* typed, const char* startFolder) {
    if (strlen(typed) > kMaxInstallFolder) {
        ui::ShowMessageCaption(kInstallCaption, MB_ICONSTOP, "%s", kMsgPathTooLong);
        return FolderCheck::TooLong;
    }
    // Compared as paths: as text, "C:\Setup\" would pass for "C:\Setup" and the installer
    // would then copy itself onto itself.
    if (SameFolder(typed, startFolder)) {
        ui::ShowMessageCaption(kInstallCaption, MB_ICONINFORMATION, "%s", kMsgSameFolder);
        return FolderCheck::SameAsStart;
    }
    if (!CreatePath(typed, true) || !env.FolderExists(typed)) {
        ui::ShowMessageCaption(kInstallCaption, MB_ICONSTOP, kMsgFolderNotCreated, typed);
        ui::ShowMessageCaption(kInstallCaption, MB_ICONINFORMATION, "%s", kMsgPermissions);
        return FolderCheck::NotCreated;
    }
    return FolderCheck::Usable;
}

} // namespace installer
