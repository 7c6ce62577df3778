#include "board/splash.h"

#include <windows.h>

#include "resources/kestrum_ids.h"
#include "ui/dialog.h"
#include "ui/pumped_wait.h"

namespace {

constexpr UINT_PTR kSplashTimer = 1;
constexpr UINT kSplashMs = 4500;
constexpr int kWidth = 488, kHeight = 352;      // the window
constexpr int kPictureW = 480, kPictureH = 344; // bitmap 144, leaving a grey border

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
    INT_PTR OnMessage(UINT msg, WPARAM w, LPARAM, bool& handled) override {
        if (msg == WM_PAINT) {
            Paint();
            handled = true;
            return TRUE;
        }
        if (msg == WM_TIMER && w == kSplashTimer) {
            KillTimer(Handle(), kSplashTimer);
            timerSet = false;
            ShowWindow(Handle(), SW_HIDE);
            handled = true;
            return TRUE;
        }
        handled = false;
        return 0;
    }

  private:
    void Paint() {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(Handle(), &ps);
        RECT all = {0, 0, kWidth, kHeight};
        HBRUSH grey = CreateSolidBrush(RGB(194, 194, 194));
        FillRect(dc, &all, grey);
        DeleteObject(grey);
        HBITMAP picture = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDBMP_SPLASH));
        if (picture) {
            RECT client;
            GetClientRect(Handle(), &client);
            HDC memory = CreateCompatibleDC(dc);
            HGDIOBJ old = SelectObject(memory, picture);
            BitBlt(dc, client.right / 2 - kPictureW / 2, client.bottom / 2 - kPictureH / 2,
                   kPictureW, kPictureH, memory, 0, 0, SRCCOPY);
            SelectObject(memory, old);
            DeleteDC(memory);
            DeleteObject(picture);
        }
        EndPaint(Handle(), &ps);
    }
};

Splash g_splash;

} // namespace

void SplashShow() {
    if (!g_splash.CreateModeless(nullptr))
        return;
    HWND hwnd = g_splash.Handle();
    if (!g_splash.timerSet && SetTimer(hwnd, kSplashTimer, kSplashMs, nullptr))
        g_splash.timerSet = true;
    if (g_splash.timerSet) {
        ShowWindow(hwnd, SW_SHOW);
        ui::PumpedWait(100, false);
    } else {
        ShowWindow(hwnd, SW_HIDE);
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
