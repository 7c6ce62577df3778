#include "installer/look.h"

namespace installer {

namespace {

bool g_waiting = false;

} // namespace

HBRUSH ClassicColour(UINT msg, WPARAM w) {
    if (msg != WM_CTLCOLORDLG && msg != WM_CTLCOLORSTATIC && msg != WM_CTLCOLORBTN)
        return nullptr;
    HDC dc = (HDC)w;
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(192, 192, 192));
    return (HBRUSH)GetStockObject(LTGRAY_BRUSH); // RGB(192, 192, 192); never deleted
}

void ShowWaitCursor(bool waiting) {
    g_waiting = waiting;
    SetCursor(LoadCursorA(nullptr, waiting ? IDC_WAIT : IDC_ARROW));
}

bool WaitCursorShown() {
    return g_waiting;
}

bool KeepWaitCursor() {
    if (!g_waiting)
        return false;
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    return true;
}

INT_PTR ClassicDialogMessage(HWND dialog, UINT msg, WPARAM w, bool& handled) {
    if (msg == WM_SETCURSOR && KeepWaitCursor()) {
        handled = true;
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT, TRUE);
        return TRUE;
    }
    HBRUSH brush = ClassicColour(msg, w);
    handled = brush != nullptr;
    return (INT_PTR)brush;
}

} // namespace installer
