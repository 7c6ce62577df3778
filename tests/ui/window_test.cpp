// The plain window class: its object sees the creation messages, its hooks run, and the
// handle goes when the window does.
#include <windows.h>
#include <gtest/gtest.h>

#include <vector>

#include "ui/pumped_wait.h"
#include "ui/window.h"

namespace {

class ProbeWindow : public ui::Window {
  public:
    std::vector<UINT> seen;
    bool handleKnownAtNcCreate = false;
    bool handleKnownAtCreate = false;
    int paints = 0, timers = 0, destroyed = 0, commands = 0;
    UINT_PTR lastTimer = 0;

  protected:
    LRESULT OnMessage(UINT msg, WPARAM, LPARAM, bool& handled) override {
        seen.push_back(msg);
        if (msg == WM_NCCREATE)
            handleKnownAtNcCreate = Handle() != nullptr;
        if (msg == WM_CREATE)
            handleKnownAtCreate = Handle() != nullptr;
        handled = false;
        return 0;
    }
    void OnPaint(HDC dc) override { paints += dc != nullptr; }
    void OnTimer(UINT_PTR id) override {
        ++timers;
        lastTimer = id;
        KillTimer(Handle(), id);
    }
    bool OnCommand(int id, int, HWND) override {
        commands += id == 7;
        return id == 7;
    }
    void OnDestroy() override { ++destroyed; }
};

bool Saw(const ProbeWindow& window, UINT msg) {
    for (UINT m : window.seen)
        if (m == msg)
            return true;
    return false;
}

} // namespace

TEST(Window, TheObjectIsKnownFromTheFirstCreationMessage) {
    ProbeWindow window;
    ui::WindowSpec shape;
    shape.className = "TessaroProbeWindow";
    shape.title = "Probe";
    shape.width = 300;
    shape.height = 200;
    ASSERT_TRUE(window.Create(shape));
    EXPECT_TRUE(Saw(window, WM_NCCREATE));
    EXPECT_TRUE(window.handleKnownAtNcCreate);
    EXPECT_TRUE(window.handleKnownAtCreate);
    char title[16] = "";
    GetWindowTextA(window.Handle(), title, sizeof title);
    EXPECT_STREQ(title, "Probe");
    EXPECT_FALSE(window.Create(shape)) << "one window per object";

    ProbeWindow second; // the class is registered once and serves both
    ASSERT_TRUE(second.Create(shape));
    EXPECT_NE(second.Handle(), window.Handle());
}

TEST(Window, PaintTimerAndCommandHooksRunAndDestroyClearsTheHandle) {
    ProbeWindow window;
    ui::WindowSpec shape;
    shape.className = "TessaroProbeWindow";
    shape.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    shape.width = 300;
    shape.height = 200;
    ASSERT_TRUE(window.Create(shape));
    HWND hwnd = window.Handle();
    UpdateWindow(hwnd);
    EXPECT_GE(window.paints, 1);
    SetTimer(hwnd, 5, 10, nullptr);
    ui::PumpedWait(150);
    EXPECT_EQ(window.timers, 1);
    EXPECT_EQ(window.lastTimer, 5u);
    EXPECT_EQ(SendMessageA(hwnd, WM_COMMAND, 7, 0), 0);
    EXPECT_EQ(window.commands, 1);

    DestroyWindow(hwnd); // destroyed from outside: the object notices
    EXPECT_EQ(window.destroyed, 1);
    EXPECT_EQ(window.Handle(), nullptr);
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST(Window, AMaximisedBackdropFillsTheWorkArea) {
    ProbeWindow backdrop;
    ui::WindowSpec shape;
    shape.className = "TessaroProbeBackdrop";
    shape.style = WS_OVERLAPPEDWINDOW | WS_MAXIMIZE | WS_VISIBLE;
    shape.background = (HBRUSH)GetStockObject(GRAY_BRUSH);
    ASSERT_TRUE(backdrop.Create(shape));
    EXPECT_TRUE(IsZoomed(backdrop.Handle()));
    RECT client;
    GetClientRect(backdrop.Handle(), &client);
    EXPECT_GT(client.right, 480);
    EXPECT_GT(client.bottom, 344);
    HWND hwnd = backdrop.Handle();
    {
        ProbeWindow temporary;
        ASSERT_TRUE(temporary.Create(shape));
        hwnd = temporary.Handle();
    }
    EXPECT_FALSE(IsWindow(hwnd)) << "the object takes its window with it";
}
