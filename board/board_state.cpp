#include "board/board.h"

#include "resources/kestrum_ids.h"
#include "ui/message.h"
#include "ui/text.h"

BoardState g_board;
StartState g_start;
ProjectImage g_boardImage;
char g_textBuffer[kTextSize];

const char kSampleFileName[] = "SAMPLE.VQP";

void SetBoardTitle(const char* path) {
    char title[kPathSize + 32];
    ui::FormatText(title, sizeof title, "%s >%s", ui::kProductName, path);
    SetWindowTextA(g_board.window, title);
}

void FocusSelector() {
    if (g_board.window)
        SendMessageA(g_board.window, WM_NEXTDLGCTL,
                     (WPARAM)GetDlgItem(g_board.window, IDC_PROJECTS), 1);
}

void SelectField(int fieldId) {
    HWND field = GetDlgItem(g_board.window, fieldId);
    SendMessageA(field, EM_SETSEL, 0, 0);
    SendMessageA(field, EM_SCROLLCARET, 0, 0);
    SendMessageA(field, EM_SETSEL, 0, -1);
    g_board.selectedField = fieldId;
}

void RedrawBoard() {
    RedrawWindow(g_board.window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_UPDATENOW);
}

void SetBoardTopMost(bool topMost) {
    SetWindowPos(g_board.window, topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW | SWP_NOACTIVATE);
}
