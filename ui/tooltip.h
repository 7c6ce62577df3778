// One tooltip control for an owner window, its tools registered by window handle. Used by
// the board's screen tips and the installer's option and path tips.
#pragma once
#include <windows.h>

namespace ui {

struct TooltipTiming {
    int initialMs = 100;
    int reshowMs = 100;
    int autoPopMs = 30000;
    int maxWidth = 300; // pixels; longer tips wrap
};

// Loads the common controls library and registers the tooltip class, once; Create calls it.
// A program may call it earlier, at a moment when it would otherwise wait.
bool PrepareTooltipClass();

class Tooltip {
  public:
    Tooltip() = default;
    ~Tooltip() { Destroy(); }
    Tooltip(const Tooltip&) = delete;
    Tooltip& operator=(const Tooltip&) = delete;

    // Creates the control, sets its delays and width and activates it. False when the
    // control cannot be created (then nothing exists).
    bool Create(HWND owner, const TooltipTiming& timing = TooltipTiming());
    // Registers tool (a control of the owner, known by its handle) with its text; the
    // control keeps a copy of the text. False when it cannot be registered.
    bool AddTool(HWND tool, const char* text);
    int ToolCount() const;
    void Activate(bool active) const;
    // Hands a message of the owner's message loop to the control. The tool is the window
    // under the message's point, not the message's window, so tips also show over
    // controls that do not get mouse messages (disabled ones, static texts).
    void Relay(const MSG& msg) const;
    // The window under a screen point as the control sees it: a disabled control of the
    // owner counts, where the system's own search would give the owner instead.
    HWND WindowUnder(POINT screen) const;
    void Destroy();

    HWND Handle() const { return control_; }
    bool Exists() const { return control_ != nullptr; }

  private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM w, LPARAM l);

    HWND control_ = nullptr;
    HWND owner_ = nullptr;
    WNDPROC original_ = nullptr; // the control's own procedure, under ours
};

} // namespace ui
