#include "board/board.h"

namespace {

constexpr int kPasteChecks = 50;
constexpr unsigned kPasteStepMs = 100;
constexpr int kCopyTries = 25;
constexpr unsigned kCopyRetryMs = 20;

// The edit control copies only while no other program has the clipboard open (a clipboard
// manager, or a program reading it), and says nothing when it could not: a copy that left
// the clipboard unchanged is tried again for a moment.
void CopySelection(HWND field) {
    if (GetWindowTextLengthA(field) == 0)
        return; // an empty selection leaves the clipboard alone
    for (int attempt = 1; attempt <= kCopyTries; ++attempt) {
        const DWORD before = GetClipboardSequenceNumber();
        SendMessageA(field, WM_COPY, 0, 0);
        if (GetClipboardSequenceNumber() != before)
            return;
        Sleep(kCopyRetryMs);
    }
}

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
    // The edit control fills the clipboard itself.
    SendMessageA(field, EM_SETSEL, 0, -1);
    CopySelection(field);

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
