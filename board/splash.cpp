#include "board/splash.h"

#include <windows.h>

#include "base/scoped.h"
#include "board/board.h"
#include "board/startup_trace.h"
#include "resources/kestrum_ids.h"
#include "ui/bitmap.h"
#include "ui/dialog.h"

namespace {

constexpr UINT_PTR kSplashTimer = 1;
constexpr UINT kSplashMs = 4500;
constexpr int kWidth = 488, kHeight = 352; // the window; the picture leaves a grey border

class Splash : public ui::Dialog {
  public:
    Splash() : ui::Dialog(IDD_SPLASH, false) {}
    bool timerSet = false;

  protected:
    BOOL OnInit() override {
        MoveWindow(Handle(), 0, 0, kWidth, kHeight, FALSE);
        CentreOnDesktop();
        SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW | SWP_NOACTIVATE);
        return TRUE;
    }
    INT_PTR OnMessage(UINT msg, WPARAM, LPARAM, bool& handled) override {
        handled = msg == WM_PAINT;
        if (handled)
            Paint();
        return handled;
    }
    void OnTimer(UINT_PTR id) override {
        if (id != kSplashTimer)
            return;
        KillTimer(Handle(), kSplashTimer);
        timerSet = false;
        ShowWindow(Handle(), SW_HIDE);
    }

  private:
    void Paint() {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(Handle(), &ps);
        RECT all = {0, 0, kWidth, kHeight};
        base::ScopedBrush grey(CreateSolidBrush(RGB(194, 194, 194)));
        FillRect(dc, &all, grey.Get());
        RECT client;
        GetClientRect(Handle(), &client);
        ui::DrawBitmapCentred(dc, client, IDBMP_SPLASH);
        EndPaint(Handle(), &ps);
        TraceStartup("splash painted");
    }
};

Splash g_splash;

} // namespace

void SplashShow(void (*meanwhile)()) {
    if (!g_splash.CreateModeless(nullptr)) {
        if (meanwhile)
            meanwhile();
        return;
    }
    HWND hwnd = g_splash.Handle();
    if (!g_splash.timerSet && SetTimer(hwnd, kSplashTimer, kSplashMs, nullptr))
        g_splash.timerSet = true;
    if (g_splash.timerSet) {
        ShowWindow(hwnd, SW_SHOW);
        BoardWait(100, false, meanwhile);
    } else {
        ShowWindow(hwnd, SW_HIDE);
        if (meanwhile)
            meanwhile();
    }
}

void SplashHide() {
    HWND hwnd = g_splash.Handle();
    if (!hwnd)
        return;
    if (g_splash.timerSet) {
        KillTimer(hwnd, kSplashTimer);
        g_splash.timerSet = false;
    }
    ShowWindow(hwnd, SW_HIDE);
}
