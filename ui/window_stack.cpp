#include "ui/window_stack.h"

namespace ui {

namespace {

Dialog* g_dialogs[kWindowStackSize];
HWND g_handles[kWindowStackSize];
int g_count = 0;
// Pushes that found the stack full; their pops must not remove real entries.
int g_overflow = 0;

} // namespace

void ClearWindowStack() {
    for (int i = 0; i < kWindowStackSize; ++i) {
        g_dialogs[i] = nullptr;
        g_handles[i] = nullptr;
    }
    g_count = 0;
    g_overflow = 0;
}

void PushWindow(Dialog* dialog, HWND handle) {
    if (g_count + 1 >= kWindowStackSize) {
        ++g_overflow;
        return;
    }
    ++g_count;
    g_dialogs[g_count] = dialog;
    g_handles[g_count] = handle;
}

void PopWindow() {
    if (g_overflow > 0) {
        --g_overflow;
        return;
    }
    if (g_count == 0)
        return;
    g_dialogs[g_count] = nullptr;
    g_handles[g_count] = nullptr;
    --g_count;
}

int WindowStackCount() {
    return g_count + g_overflow;
}

HWND TopWindowHandle() {
    return g_handles[g_count];
}

Dialog* TopWindowDialog() {
    return g_dialogs[g_count];
}

} // namespace ui
