#include "installer/close_board.h"

#include <cstring>

#include "base/text.h"
#include "installer/messages.h"
#include "resources/kestrum_ids.h"
#include "ui/message.h"

namespace installer {

namespace {

const char kDialogClass[] = "#32770";
const char kBoardTitleStart[] = "Tessaro >";
const char kClosingBoardTitle[] = "Saving settings...";
constexpr unsigned long kBroadcastHandle = 0xFFFF;

// The last value read is the default of the next read.
unsigned long g_boardValue = 0;

unsigned long ReadBoardValue(Environment& env) {
    g_boardValue =
        env.ReadSettingUnsigned(settings::kHandles, settings::kTransHandle, g_boardValue);
    return g_boardValue;
}

// A title of another process, read without sending it a message.
void TitleOf(HWND window, char* out, size_t size) {
    WCHAR wide[64] = L"";
    GetWindowTextW(window, wide, 64);
    if (!WideCharToMultiByte(CP_ACP, 0, wide, -1, out, (int)size, nullptr, nullptr))
        base::CopyText(out, size, "");
    out[size - 1] = '\0';
}

} // namespace

WindowFacts FactsOf(HWND window) {
    WindowFacts facts;
    if (!window || !IsWindow(window))
        return facts;
    facts.exists = true;
    facts.topLevel = (GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD) == 0 &&
                     GetAncestor(window, GA_PARENT) == GetDesktopWindow();
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    facts.ownProcess = process == GetCurrentProcessId();
    if (!GetClassNameA(window, facts.className, sizeof facts.className))
        facts.className[0] = '\0';
    TitleOf(window, facts.title, sizeof facts.title);
    return facts;
}

bool LooksLikeBoard(const WindowFacts& facts) {
    if (!facts.exists || !facts.topLevel || facts.ownProcess)
        return false;
    if (strcmp(facts.className, kDialogClass) != 0)
        return false;
    return strncmp(facts.title, kBoardTitleStart, sizeof kBoardTitleStart - 1) == 0 ||
           strcmp(facts.title, kClosingBoardTitle) == 0;
}

HWND BoardWindowFromSetting(unsigned long value) {
    if (value == 0 || value == kBroadcastHandle)
        return nullptr;
    return (HWND)(LONG_PTR)(LONG)value;
}

bool CloseRunningBoard(Environment& env, WaitFunction wait) {
    HWND window = BoardWindowFromSetting(ReadBoardValue(env));
    if (!window || !env.IsBoardWindow(window))
        return true;
    PostMessageA(window, WM_COMMAND, IDM_CLOSE_REQUEST, 0);
    ui::ShowMessage(MB_OK, kMsgClosingBoard, kProductName);
    for (int pass = 0; pass < kCloseWaitPasses; ++pass) {
        if (wait)
            wait(kCloseWaitMs);
        if (ReadBoardValue(env) == 0)
            return true;
    }
    return false;
}

} // namespace installer
