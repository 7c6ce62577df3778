#include "ui/dialog.h"

#include "ui/window_stack.h"

namespace ui {

namespace {

MessageFilter g_filter = nullptr;

// The open modeless dialogs; a program has a handful at most.
constexpr int kModelessCapacity = 16;
HWND g_modeless[kModelessCapacity];

void AddModeless(HWND hwnd) {
    for (HWND& slot : g_modeless)
        if (!slot) {
            slot = hwnd;
            return;
        }
}

void RemoveModeless(HWND hwnd) {
    for (HWND& slot : g_modeless)
        if (slot == hwnd)
            slot = nullptr;
}

} // namespace

void SetMessageFilter(MessageFilter filter) {
    g_filter = filter;
}

bool HandToModelessDialog(MSG& msg) {
    for (HWND dialog : g_modeless)
        if (dialog && IsDialogMessageA(dialog, &msg))
            return true;
    return false;
}

Dialog::Dialog(int templateId, bool stacked) : templateId_(templateId), stacked_(stacked) {}

Dialog::~Dialog() {
    Destroy();
}

HWND Dialog::Create(HWND owner, bool modal) {
    modal_ = modal;
    ended_ = false;
    result_ = IDCANCEL;
    return CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), owner,
                              Procedure, (LPARAM)this);
}

bool Dialog::CreateModeless(HWND owner) {
    if (handle_)
        return true;
    return Create(owner, false) != nullptr;
}

void Dialog::Destroy() {
    if (handle_)
        DestroyWindow(handle_);
}

INT_PTR Dialog::RunModal(HWND owner) {
    if (handle_)
        return -1; // already shown; one window per dialog object
    HWND hwnd = Create(owner, true);
    if (!hwnd)
        return -1;
    const bool disableOwner = owner && IsWindowEnabled(owner);
    if (disableOwner)
        EnableWindow(owner, FALSE);

    bool idleSeen = false;
    MSG msg;
    while (!ended_) {
        if (!idleSeen && !PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            idleSeen = true;
            OnFirstIdle();
            continue;
        }
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0)
                PostQuitMessage((int)msg.wParam); // let the outer loops see it too
            break;
        }
        if (g_filter && g_filter(msg))
            continue;
        if (PreTranslate(msg))
            continue;
        if (IsDialogMessageA(hwnd, &msg) || HandToModelessDialog(msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    // The owner comes back before the dialog goes, so activation returns to it.
    if (disableOwner)
        EnableWindow(owner, TRUE);
    Destroy();
    return result_;
}

void Dialog::End(INT_PTR result) {
    result_ = result;
    ended_ = true;
    if (!handle_)
        return;
    if (modal_)
        PostMessageA(handle_, WM_NULL, 0, 0); // wakes the loop if it sleeps in GetMessage
    else
        DestroyWindow(handle_);
}

int Dialog::ItemText(int id, char* out, int size) const {
    if (size <= 0)
        return 0;
    out[0] = '\0';
    int n = GetDlgItemTextA(handle_, id, out, size);
    out[size - 1] = '\0';
    return n;
}

void Dialog::CheckItem(int id, bool checked) const {
    CheckDlgButton(handle_, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool Dialog::IsItemChecked(int id) const {
    return IsDlgButtonChecked(handle_, id) == BST_CHECKED;
}

void CentreOnDesktop(HWND window) {
    RECT desk, own;
    GetWindowRect(GetDesktopWindow(), &desk);
    GetWindowRect(window, &own);
    int w = own.right - own.left;
    int h = own.bottom - own.top;
    int x = desk.left + (desk.right - desk.left - w) / 2;
    int y = desk.top + (desk.bottom - desk.top - h) / 2;
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool Dialog::OnCommand(int, int, HWND) {
    return false;
}

bool Dialog::OnNotify(int, NMHDR*, LRESULT&) {
    return false;
}

void Dialog::OnTimer(UINT_PTR) {}

bool Dialog::PreTranslate(MSG&) {
    return false;
}

void Dialog::OnFirstIdle() {
    if (handle_ && !IsWindowVisible(handle_)) {
        ShowWindow(handle_, SW_SHOWNORMAL);
        UpdateWindow(handle_);
    }
}

INT_PTR Dialog::OnMessage(UINT, WPARAM, LPARAM, bool& handled) {
    handled = false;
    return 0;
}

INT_PTR Dialog::Dispatch(UINT msg, WPARAM w, LPARAM l) {
    bool handled = false;
    INT_PTR result = OnMessage(msg, w, l, handled);
    if (handled)
        return result;
    switch (msg) {
    case WM_COMMAND: {
        int id = LOWORD(w);
        if (OnCommand(id, HIWORD(w), (HWND)l))
            return TRUE;
        if (id == IDOK && HIWORD(w) == BN_CLICKED) {
            OnOk();
            return TRUE;
        }
        if (id == IDCANCEL) {
            OnCancel();
            return TRUE;
        }
        return FALSE;
    }
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(l);
        LRESULT reply = 0;
        if (!header || !OnNotify((int)header->idFrom, header, reply))
            return FALSE;
        SetWindowLongPtrA(handle_, DWLP_MSGRESULT, reply);
        return TRUE;
    }
    case WM_TIMER: OnTimer(w); return TRUE;
    case WM_DESTROY:
        OnDestroy();
        if (stacked_)
            PopWindow();
        return FALSE;
    }
    return FALSE;
}

INT_PTR Dialog::Receive(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    if (msg == WM_INITDIALOG) {
        auto* self = reinterpret_cast<Dialog*>(l);
        SetWindowLongPtrA(hwnd, DWLP_USER, l);
        self->handle_ = hwnd;
        if (!self->modal_)
            AddModeless(hwnd);
        if (self->stacked_)
            PushWindow(self, hwnd);
        return self->OnInit();
    }
    auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    if (!self)
        return FALSE;
    INT_PTR result = self->Dispatch(msg, w, l);
    if (msg == WM_NCDESTROY) {
        RemoveModeless(hwnd);
        SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        self->handle_ = nullptr;
    }
    return result;
}

INT_PTR CALLBACK Dialog::Procedure(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
#if defined(__cpp_exceptions)
    // No exception may cross into the system's code.
    try {
        return Receive(hwnd, msg, w, l);
    } catch (...) {
        return FALSE;
    }
#else
    return Receive(hwnd, msg, w, l);
#endif
}

} // namespace ui
