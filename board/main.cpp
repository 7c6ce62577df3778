// Start-up of the board program: the splash, then the board window's modal run, which is
// the whole life of the process.
#include <windows.h>

#include "base/text.h"
#include "board/board.h"
#include "board/board_window.h"
#include "board/commands.h"
#include "board/shell_library.h"
#include "board/splash.h"
#include "board/startup_trace.h"
#include "resources/kestrum_ids.h"
#include "ui/dialog.h"
#include "ui/message.h"
#include "ui/tooltip.h"

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

// Work of the start that the splash's wait can take, as it would be done later anyway:
// loading the shell's library for the tray icon and the common controls for the screen
// tips, and the field font.
void PrepareWhileSplashWaits() {
    LoadShellLibrary();
    ui::PrepareTooltipClass();
    PrepareFieldFont();
    TraceStartup("libraries, field font (in the splash wait)");
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    TraceStartup("WinMain entered");
    ui::SetProgramNames(kProductName, kProductName);

    base::CopyText(g_start.commandLine, sizeof g_start.commandLine, Arguments(GetCommandLineA()));
    g_start.firstRun = base::EqualsNoCase(g_start.commandLine, "InstallingTheProgram");
    SplashShow(PrepareWhileSplashWaits);
    TraceStartup("splash shown and waited");
    g_start.trayIcon =
        (HICON)LoadImageA(instance, MAKEINTRESOURCEA(IDI_TRAY), IMAGE_ICON,
                          GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0);
    TraceStartup("tray icon image");
    g_start.freshStart = base::EqualsNoCase(g_start.commandLine, "NewSession");
    ui::SetMessageFilter(ShortcutFilter);

    settings::Store store;
    store.root = settings::kRoot;
    BoardWindow board(store);
    board.RunModal(nullptr);
    return 0;
}
