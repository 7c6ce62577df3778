#include "board/handover.h"

#include <cstring>

namespace {

// A window property: it lives with the window, and any process can read it.
const char kBoardMark[] = "Tessaro.Board";
const char kDialogClass[] = "#32770";

} // namespace

void MarkAsBoard(HWND window) {
    SetPropA(window, kBoardMark, (HANDLE)1);
}

void UnmarkBoard(HWND window) {
    RemovePropA(window, kBoardMark);
}

bool IsOtherBoardWindow(HWND window, DWORD ownProcess) {
    if (!window || window == HWND_BROADCAST || !IsWindow(window))
        return false;
    if ((GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD) ||
        GetAncestor(window, GA_PARENT) != GetDesktopWindow())
        return false;
    DWORD process = 0;
    if (!GetWindowThreadProcessId(window, &process) || process == ownProcess)
        return false;
    char className[sizeof kDialogClass + 1] = "";
    GetClassNameA(window, className, sizeof className);
    return strcmp(className, kDialogClass) == 0 && GetPropA(window, kBoardMark) != nullptr;
}
