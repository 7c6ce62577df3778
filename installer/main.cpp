// Start-up of the installer: its names, its command line, and the backdrop that runs it.
#include <windows.h>
#include <commctrl.h>

#include "base/text.h"
#include "installer/backdrop.h"
#include "installer/command_line.h"
#include "installer/messages.h"
#include "ui/message.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    ui::SetProgramNames(installer::kProductName, installer::kProductName);

    char commandLine[installer::kCommandLineSize];
    base::CopyText(commandLine, sizeof commandLine, arguments);
    const int result = installer::RunBackdrop(installer::SystemEnvironment(), commandLine,
                                              installer::InstallerRuns());
    return result == IDOK ? 0 : 1;
}
