// A plain window (no dialog template) whose messages reach a C++ object: the object is
// known from WM_NCCREATE on, so even the creation messages find it. The installer's
// maximised backdrop is one.
#pragma once
#include <windows.h>

namespace ui {

struct WindowSpec {
    const char* className = "TessaroWindow"; // registered once per process
    const char* title = "";
    DWORD style = WS_OVERLAPPEDWINDOW;
    DWORD exStyle = 0;
    int x = CW_USEDEFAULT, y = CW_USEDEFAULT;
    int width = CW_USEDEFAULT, height = CW_USEDEFAULT;
    HWND parent = nullptr;
    HICON icon = nullptr;        // the class's big and small icon
    HBRUSH background = nullptr; // none: the 3-D face colour of dialogs
};

class Window {
  public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Registers the class if need be and creates the window; false if either fails.
    // One window per object.
    bool Create(const WindowSpec& shape);
    void Destroy();
    HWND Handle() const { return handle_; }

  protected:
    // Sees every message first; set handled to stop it there.
    virtual LRESULT OnMessage(UINT msg, WPARAM w, LPARAM l, bool& handled);
    // WM_PAINT between BeginPaint and EndPaint.
    virtual void OnPaint(HDC dc);
    // WM_COMMAND; true when handled.
    virtual bool OnCommand(int id, int code, HWND control);
    // WM_NOTIFY from control id; true when handled, with the reply in result.
    virtual bool OnNotify(int id, NMHDR* header, LRESULT& result);
    virtual void OnTimer(UINT_PTR id);
    virtual void OnDestroy() {}

  private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM w, LPARAM l);
    static LRESULT Receive(HWND hwnd, UINT msg, WPARAM w, LPARAM l);
    LRESULT Dispatch(UINT msg, WPARAM w, LPARAM l);

    HWND handle_ = nullptr;
};

} // namespace ui
