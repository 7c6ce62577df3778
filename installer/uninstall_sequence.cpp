#include "installer/uninstall_sequence.h"

namespace installer {

int RunRelaunch(HWND, Environment&) {
    return IDCANCEL;
}

int RunUninstallSequence(HWND, Environment&) {
    return IDCANCEL;
}

} // namespace installer
