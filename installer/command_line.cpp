#include "installer/command_line.h"

#include "base/text.h"
#include "installer/messages.h"

namespace installer {

Mode ChooseMode(const char* arguments) {
    char line[kCommandLineSize];
    base::CopyText(line, sizeof line, arguments);
    if (base::EqualsNoCase(line, kRelaunchWord))
        return Mode::Relaunch;
    if (base::EqualsNoCase(line, kUninstallWord))
        return Mode::Uninstall;
    return Mode::Install;
}

} // namespace installer
