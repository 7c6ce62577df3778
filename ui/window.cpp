#include "ui/window.h"

namespace ui {

namespace {

bool RegisterClassOnce(const WindowSpec& shape, WNDPROC procedure) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA known;
    known.cbSize = sizeof known;
    if (GetClassInfoExA(instance, shape.className, &known))
        return true;
    WNDCLASSEXA wc;
    ZeroMemory(&wc, sizeof wc);
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hIcon = shape.icon;
    wc.hIconSm = shape.icon;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = shape.background ? shape.background : (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = shape.className;
    return RegisterClassExA(&wc) != 0;
}

} // namespace

Window::~Window() {
    Destroy();
}

bool Window::Create(const WindowSpec& shape) {
    if (handle_ || !RegisterClassOnce(shape, Procedure))
        return false;
    return CreateWindowExA(shape.exStyle, shape.className, shape.title, shape.style, shape.x,
                           shape.y, shape.width, shape.height, shape.parent, nullptr,
                           GetModuleHandleA(nullptr), this) != nullptr;
}

void Window::Destroy() {
    if (handle_)
        DestroyWindow(handle_);
}

LRESULT Window::OnMessage(UINT, WPARAM, LPARAM, bool& handled) {
    handled = false;
    return 0;
}

void Window::OnPaint(HDC) {}

bool Window::OnCommand(int, int, HWND) {
    return false;
}

bool Window::OnNotify(int, NMHDR*, LRESULT&) {
    return false;
}

void Window::OnTimer(UINT_PTR) {}

LRESULT Window::Dispatch(UINT msg, WPARAM w, LPARAM l) {
    bool handled = false;
    LRESULT result = OnMessage(msg, w, l, handled);
    if (handled)
        return result;
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(handle_, &ps);
        OnPaint(dc);
        EndPaint(handle_, &ps);
        return 0;
    }
    case WM_COMMAND:
        if (OnCommand(LOWORD(w), HIWORD(w), (HWND)l))
            return 0;
        break;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(l);
        LRESULT reply = 0;
        if (header && OnNotify((int)header->idFrom, header, reply))
            return reply;
        break;
    }
    case WM_TIMER: OnTimer(w); return 0;
    case WM_DESTROY: OnDestroy(); break;
    }
    return DefWindowProcA(handle_, msg, w, l);
}

LRESULT Window::Receive(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(l);
        auto* self = static_cast<Window*>(create->lpCreateParams);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, (LONG_PTR)self);
        self->handle_ = hwnd;
    }
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self) // the few messages before WM_NCCREATE (WM_GETMINMAXINFO)
        return DefWindowProcA(hwnd, msg, w, l);
    LRESULT result = self->Dispatch(msg, w, l);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->handle_ = nullptr;
    }
    return result;
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
#if defined(__cpp_exceptions)
    // No exception may cross into the system's code.
    try {
        return Receive(hwnd, msg, w, l);
    } catch (...) {
        return DefWindowProcA(hwnd, msg, w, l);
    }
#else
    return Receive(hwnd, msg, w, l);
#endif
}

} // namespace ui
