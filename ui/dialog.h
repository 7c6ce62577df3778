// The dialog base class of both programs: a template-based dialog, run modally in its own
// loop or shown modeless, with a pre-translate hook, a first-idle hook and id-keyed
// control helpers.
#pragma once
#include <windows.h>

namespace ui {

// Runs before any dialog sees a message of its modal loop; returns true when it has
// consumed the message. The board's shortcut filter is one.
using MessageFilter = bool (*)(MSG& msg);
void SetMessageFilter(MessageFilter filter);

// Gives the message to the open modeless dialog it belongs to (IsDialogMessage), so Tab,
// Enter and Escape work there; true when a dialog took it. Every message loop of the
// framework (the modal loop and the pumped wait) calls this before dispatching.
bool HandToModelessDialog(MSG& msg);

void CentreOnDesktop(HWND window);

class Dialog {
  public:
    // stacked: whether the dialog pushes itself onto the window stack while it exists.
    explicit Dialog(int templateId, bool stacked = true);
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Creates the window, disables the owner and runs the modal loop until End.
    // Returns the value given to End, or -1 if the window could not be created.
    INT_PTR RunModal(HWND owner);
    // Creates the window and returns at once. It lives until End or Destroy; OK, Cancel
    // and Escape end it. True also when it is already open.
    bool CreateModeless(HWND owner);
    void Destroy();
    // Ends the dialog: a modal run returns result; a modeless dialog is destroyed and
    // keeps result for Result().
    void End(INT_PTR result);
    INT_PTR Result() const { return result_; }

    HWND Handle() const { return handle_; }
    HWND Item(int id) const { return GetDlgItem(handle_, id); }
    void SetItemText(int id, const char* text) const { SetDlgItemTextA(handle_, id, text); }
    // Reads at most size - 1 characters; the result is always terminated.
    int ItemText(int id, char* out, int size) const;
    void CheckItem(int id, bool checked) const;
    bool IsItemChecked(int id) const;
    void EnableItem(int id, bool enabled) const { EnableWindow(Item(id), enabled); }
    void ShowItem(int id, bool shown) const { ShowWindow(Item(id), shown ? SW_SHOW : SW_HIDE); }
    void CentreOnDesktop() const { ui::CentreOnDesktop(handle_); }
    void SetFocusTo(int id) const { SendMessageA(handle_, WM_NEXTDLGCTL, (WPARAM)Item(id), 1); }

  protected:
    // WM_INITDIALOG; return FALSE when the focus was set here.
    virtual BOOL OnInit() { return TRUE; }
    // WM_COMMAND; return true when handled. Unhandled IDOK and IDCANCEL go to OnOk/OnCancel.
    virtual bool OnCommand(int id, int code, HWND control);
    virtual void OnOk() { End(IDOK); }
    virtual void OnCancel() { End(IDCANCEL); }
    // WM_NOTIFY from control id; return true when handled, with the reply in result.
    virtual bool OnNotify(int id, NMHDR* header, LRESULT& result);
    // WM_TIMER of a timer of this dialog.
    virtual void OnTimer(UINT_PTR id);
    virtual void OnDestroy() {}
    // Sees every message of its modal loop before the dialog manager; true consumes it.
    virtual bool PreTranslate(MSG& msg);
    // Runs once, when the modal loop first finds no message waiting. The default shows a
    // window that is still invisible, as a modal dialog box does.
    virtual void OnFirstIdle();
    // Sees every message before the handling above; set handled to stop it there.
    virtual INT_PTR OnMessage(UINT msg, WPARAM w, LPARAM l, bool& handled);

  private:
    static INT_PTR CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM w, LPARAM l);
    static INT_PTR Receive(HWND hwnd, UINT msg, WPARAM w, LPARAM l);
    INT_PTR Dispatch(UINT msg, WPARAM w, LPARAM l);
    HWND Create(HWND owner, bool modal);

    int templateId_;
    bool stacked_;
    bool modal_ = false;
    HWND handle_ = nullptr;
    bool ended_ = false;
    INT_PTR result_ = IDCANCEL;
};

} // namespace ui
