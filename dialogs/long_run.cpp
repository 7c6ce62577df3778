#include "dialogs/long_run.h"

namespace {

constexpr ULONGLONG kIntervalMs = 30;
constexpr int kMostPaints = 64; // a window that never validates cannot hold the work up

} // namespace

LongRun::LongRun() : previous_(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {}

LongRun::~LongRun() {
    SetCursor(previous_);
}

bool LongRun::Due() {
    const ULONGLONG now = GetTickCount64();
    if (started_ && now - last_ < kIntervalMs)
        return false;
    started_ = true;
    last_ = now;
    return true;
}

void LongRun::KeepPainted() {
    MSG msg;
    for (int i = 0; i < kMostPaints && PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE);
         ++i)
        DispatchMessageA(&msg);
}
