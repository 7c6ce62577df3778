#include "installer/create_path.h"

#include <windows.h>

#include "base/text.h"
#include "installer/messages.h"
#include "installer/path_text.h"
#include "ui/message.h"

namespace installer {

namespace {

// Only a full path names one folder: a relative one would depend on the current folder and
// would be recorded as a program folder that the board program cannot find.
bool HasDrive(const char* path) {
    return path[0] >= 'A' && path[0] <= 'Z' && path[1] == ':' &&
           (path[2] == '\\' || path[2] == '/');
}

class CurrentFolderKeeper {
  public:
    CurrentFolderKeeper() {
        DWORD n = GetCurrentDirectoryA(sizeof saved_, saved_);
        if (n == 0 || n >= sizeof saved_)
            saved_[0] = '\0';
    }
    ~CurrentFolderKeeper() {
        if (saved_[0])
            SetCurrentDirectoryA(saved_);
    }
    CurrentFolderKeeper(const CurrentFolderKeeper&) = delete;
    CurrentFolderKeeper& operator=(const CurrentFolderKeeper&) = delete;

  private:
    char saved_[MAX_PATH + 1];
};

} // namespace

bool CreatePath(const char* path, bool tell) {
    char text[kPathSize - 1]; // 259 characters and the terminator
    base::CopyText(text, sizeof text, path);
    text[0] = base::FoldCase(text[0]);
    if (!HasDrive(text)) {
        if (tell)
            ui::ShowMessage(MB_ICONSTOP, kMsgNoDriveLetter, text);
        return false;
    }

    CurrentFolderKeeper keeper;
    const char root[] = {text[0], ':', '\\', '\0'};
    SetCurrentDirectoryA(root);
    TrimTrailing(text, kFolderTrim);

    for (int i = 1; i <= kCreatePathWalk; ++i) {
        const char c = text[i];
        if ((c == '\\' || c == '\0') && text[i - 1] != ':') {
            char folder[kPathSize];
            base::CopyText(folder, (size_t)i + 1, text);
            CreateDirectoryA(folder, nullptr);
            if (!SetCurrentDirectoryA(folder)) {
                if (tell)
                    ui::ShowMessage(MB_ICONSTOP, kMsgPathNotCreated, folder);
                return false;
            }
        }
        if (c == '\0')
            break;
    }
    return true;
}

} // namespace installer
