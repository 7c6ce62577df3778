// Start-up of the board program: the splash, then the board window's modal run, which is
// the whole life of the process.
#include <windows.h>
#include <commctrl.h>

#include "board/board.h"
#include "board/board_window.h"
#include "board/commands.h"
#include "board/splash.h"
#include "resources/kestrum_ids.h"
#include "store/project_file.h"
#include "ui/text.h"

namespace {

// The command line without the program's own name.
const char* Arguments(const char* line) {
    if (*line == '"') {
        ++line;
        while (*line && *line != '"')
            ++line;
        if (*line == '"')
            ++line;
    } else {
        while (*line && *line != ' ' && *line != '\t')
            ++line;
    }
    while (*line == ' ' || *line == '\t')
        ++line;
    return line;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    ui::CopyText(g_start.commandLine, sizeof g_start.commandLine, Arguments(GetCommandLineA()));
    g_start.firstRun = ui::EqualsNoCase(g_start.commandLine, "InstallingTheProgram");
    SplashShow();
    g_start.trayIcon =
        (HICON)LoadImageA(instance, MAKEINTRESOURCEA(IDI_TRAY), IMAGE_ICON,
                          GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0);
    g_start.freshStart = ui::EqualsNoCase(g_start.commandLine, "NewSession");

    CurrentProjectHooks hooks;
    hooks.setTitle = SetBoardTitle;
    hooks.saveSettings = SaveSettings;
    SetCurrentProjectHooks(hooks);
    ui::SetMessageFilter(ShortcutFilter);

    BoardWindow board;
    board.RunModal(nullptr);
    return 0;
}
