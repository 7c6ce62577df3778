#include "ui/tooltip.h"

#include <commctrl.h>

namespace ui {

namespace {

// The record of the oldest common controls that know all the fields used here; the
// larger records of newer versions are refused by older ones.
TTTOOLINFOA ToolRecord(HWND owner, HWND tool) {
    TTTOOLINFOA info;
    ZeroMemory(&info, sizeof info);
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.uFlags = TTF_IDISHWND;
    info.hwnd = owner;
    info.uId = (UINT_PTR)tool;
    return info;
}

} // namespace

bool Tooltip::Create(HWND owner, const TooltipTiming& timing) {
    Destroy();
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_BAR_CLASSES}; // the tooltip class
    InitCommonControlsEx(&classes);
    control_ =
        CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, 0, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, owner, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!control_)
        return false;
    owner_ = owner;
    SendMessageA(control_, TTM_SETDELAYTIME, TTDT_RESHOW, timing.reshowMs);
    SendMessageA(control_, TTM_SETDELAYTIME, TTDT_INITIAL, timing.initialMs);
    SendMessageA(control_, TTM_SETDELAYTIME, TTDT_AUTOPOP, timing.autoPopMs);
    SendMessageA(control_, TTM_SETMAXTIPWIDTH, 0, timing.maxWidth);
    Activate(true);
    return true;
}

bool Tooltip::AddTool(HWND tool, const char* text) {
    if (!control_ || !tool)
        return false;
    TTTOOLINFOA info = ToolRecord(owner_, tool);
    info.lpszText = const_cast<char*>(text ? text : "");
    return SendMessageA(control_, TTM_ADDTOOLA, 0, (LPARAM)&info) != 0;
}

int Tooltip::ToolCount() const {
    return control_ ? (int)SendMessageA(control_, TTM_GETTOOLCOUNT, 0, 0) : 0;
}

void Tooltip::Activate(bool active) const {
    if (control_)
        SendMessageA(control_, TTM_ACTIVATE, active, 0);
}

void Tooltip::Relay(const MSG& msg) const {
    if (!control_)
        return;
    POINT at = msg.pt;
    MSG copy = msg;
    copy.hwnd = (HWND)SendMessageA(control_, TTM_WINDOWFROMPOINT, 0, (LPARAM)&at);
    if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSEWHEEL && copy.hwnd)
        ScreenToClient(copy.hwnd, &at);
    copy.lParam = MAKELPARAM(at.x, at.y);
    SendMessageA(control_, TTM_RELAYEVENT, 0, (LPARAM)&copy);
}

void Tooltip::Destroy() {
    if (control_)
        DestroyWindow(control_);
    control_ = nullptr;
    owner_ = nullptr;
}

} // namespace ui
