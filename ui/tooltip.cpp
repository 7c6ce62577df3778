#include "ui/tooltip.h"

#include <commctrl.h>

#include "base/system_library.h"

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

const char kSelfProperty[] = "ui.Tooltip";

} // namespace

bool PrepareTooltipClass() {
    static bool tried = false, ready = false;
    if (tried)
        return ready;
    tried = true;
    using InitFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    HMODULE library = base::LoadSystemLibrary("comctl32.dll");
    auto init =
        library ? (InitFunction)(void*)GetProcAddress(library, "InitCommonControlsEx") : nullptr;
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_BAR_CLASSES}; // the tooltip class
    ready = init && init(&classes);
    return ready;
}

// The control asks itself for the window under a point (TTM_WINDOWFROMPOINT), both for a
// relayed message and when its timer decides whether to show the tip; answering here
// lets the tips of disabled controls show.
LRESULT CALLBACK Tooltip::Procedure(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    auto* self = static_cast<Tooltip*>(GetPropA(hwnd, kSelfProperty));
    if (!self)
        return DefWindowProcA(hwnd, msg, w, l);
    if (msg == TTM_WINDOWFROMPOINT && l)
        return (LRESULT)self->WindowUnder(*reinterpret_cast<const POINT*>(l));
    WNDPROC original = self->original_;
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, (LONG_PTR)original);
        RemovePropA(hwnd, kSelfProperty);
    }
    return CallWindowProcA(original, hwnd, msg, w, l);
}

HWND Tooltip::WindowUnder(POINT screen) const {
    HWND found = WindowFromPoint(screen);
    if (!owner_ || found != owner_)
        return found;
    POINT client = screen;
    ScreenToClient(owner_, &client);
    HWND child = ChildWindowFromPointEx(owner_, client, CWP_SKIPINVISIBLE);
    return child ? child : found;
}

bool Tooltip::Create(HWND owner, const TooltipTiming& timing) {
    Destroy();
    PrepareTooltipClass(); // whether the class is there, creating the control tells
    control_ =
        CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, 0, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, owner, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!control_)
        return false;
    owner_ = owner;
    SetPropA(control_, kSelfProperty, this);
    original_ = (WNDPROC)SetWindowLongPtrA(control_, GWLP_WNDPROC, (LONG_PTR)Procedure);
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
    // Client mouse messages carry a client point; the wheel and everything else the screen
    // point.
    if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MBUTTONDBLCLK && copy.hwnd)
        ScreenToClient(copy.hwnd, &at);
    copy.lParam = MAKELPARAM(at.x, at.y);
    SendMessageA(control_, TTM_RELAYEVENT, 0, (LPARAM)&copy);
}

void Tooltip::Destroy() {
    // The owner's destruction takes its owned control first; a later Destroy then only
    // forgets the handle.
    if (control_ && IsWindow(control_))
        DestroyWindow(control_);
    control_ = nullptr;
    owner_ = nullptr;
    original_ = nullptr;
}

} // namespace ui
