#include "installer/command_line.h"

#include "installer/messages.h"
#include "ui/text.h"

namespace installer {

Mode ChooseMode(const char* arguments) {
    char line[kCommandLineSize];
    ui::CopyText(line, sizeof line, arguments);
    if (ui::EqualsNoCase(line, kRelaunchWord))
        return Mode::Relaunch;
    if (ui::EqualsNoCase(line, kUninstallWord))
        return Mode::Uninstall;
    return Mode::Install;
}

} // namespace installer
