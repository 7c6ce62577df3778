#include "board/board.h"

#include "base/text.h"
#include "resources/kestrum_ids.h"
#include "ui/pumped_wait.h"

BoardState g_board;
StartState g_start;
ProjectImage g_boardImage;
char g_textBuffer[kTextSize];

const char kProductName[] = "Tessaro";
const char kSampleFileName[] = "SAMPLE.VQP";

namespace {

// A time-change credit is used up even by a forced wait; closing only ends the others.
bool BoardWaitEndsEarly(void* context) {
    if (g_start.timeChangeCredits > 0) {
        --g_start.timeChangeCredits;
        return true;
    }
    const bool forced = *static_cast<bool*>(context);
    return g_start.closing && !forced;
}

} // namespace

void BoardWait(unsigned milliseconds, bool forced, void (*meanwhile)()) {
    ui::WaitRule rule;
    rule.endsEarly = BoardWaitEndsEarly;
    rule.context = &forced;
    rule.meanwhile = meanwhile;
    ui::PumpedWait(milliseconds, rule);
}

void PrepareFieldFont() {
    if (g_board.fieldFont)
        return;
    g_board.fieldFont =
        CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Courier New");
    if (!g_board.fieldFont)
        return;
    // The first use of a font finds and loads the face; done here, it is not done again
    // when the controls first measure their text.
    HDC dc = GetDC(nullptr);
    if (!dc)
        return;
    HGDIOBJ old = SelectObject(dc, g_board.fieldFont);
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
}

void SetBoardTitle(const char* path) {
    char title[kPathSize + 32];
    base::FormatText(title, sizeof title, "%s >%s", kProductName, path);
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
