// Start-up of the installer: the mode comes from the whole command line.
#include <windows.h>
#include <commctrl.h>

#include "installer/close_board.h"
#include "installer/command_line.h"
#include "installer/install_sequence.h"
#include "installer/legacy_ini.h"
#include "installer/proposals.h"
#include "ui/text.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    char commandLine[installer::kCommandLineSize];
    ui::CopyText(commandLine, sizeof commandLine, arguments);
    const installer::Mode mode = installer::ChooseMode(commandLine);
    // The relaunch and the uninstall follow with the uninstaller.
    if (mode != installer::Mode::Install)
        return 1;

    installer::Environment& env = installer::SystemEnvironment();
    installer::InstallPlaces places;
    installer::LoadInstallPlaces(env, places);
    installer::CloseRunningBoard(env, installer::InstallerWait);
    installer::MigrateLegacyIni(env);
    return installer::RunInstallSequence(nullptr, env, places) == IDOK ? 0 : 1;
}
