#include "board/board.h"

namespace {

constexpr int kPasteChecks = 50;
constexpr unsigned kPasteStepMs = 100;

void SendPasteKeystroke() {
    keybd_event(VK_CONTROL, 0, 0, 0);
    keybd_event('V', 0, 0, 0);
    Sleep(100); // held, without pumping, so the target sees a real key press
    keybd_event('V', 0, KEYEVENTF_KEYUP, 0);
    keybd_event(VK_CONTROL, 0, KEYEVENTF_KEYUP, 0);
}

// Waits until some other window is in front, then types Ctrl+V into it.
void PasteIntoForegroundApplication() {
    for (int check = 0; check < kPasteChecks; ++check) {
        BoardWait(kPasteStepMs, false);
        g_board.afterPaste = GetForegroundWindow();
        if (g_board.afterPaste != g_board.beforePaste && g_board.afterPaste != g_board.window) {
            BoardWait(kPasteStepMs, false);
            SendPasteKeystroke();
            break;
        }
    }
}

} // namespace

void CopyAction(int copyButtonId) {
    const int fieldId = copyButtonId + 1;
    g_board.selectedField = fieldId;
    HWND field = GetDlgItem(g_board.window, fieldId);
    // The edit control fills the clipboard itself; an empty selection leaves it alone.
    SendMessageA(field, EM_SETSEL, 0, -1);
    SendMessageA(field, WM_COPY, 0, 0);

    if (g_board.autoPaste)
        g_board.beforePaste = GetForegroundWindow();
    if (g_board.minOnEachCopy || g_board.autoPaste)
        ShowWindow(g_board.window, SW_MINIMIZE);
    if (g_board.autoPaste) {
        PasteIntoForegroundApplication();
        if (!g_board.minOnEachCopy && g_board.window)
            ShowWindow(g_board.window, SW_RESTORE);
    }
    FocusSelector();
}
