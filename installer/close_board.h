// A running board program must not hold the files the installer replaces or removes.
#pragma once
#include <windows.h>

#include <cstddef>

#include "installer/environment.h"

namespace installer {

constexpr int kCloseWaitPasses = 11;
constexpr unsigned kCloseWaitMs = 500;

// What the installer knows of the window a TransHandle value names.
struct WindowFacts {
    bool exists = false;
    bool topLevel = false;
    bool ownProcess = false;
    char className[64] = "";
    char title[64] = ""; // the start of the title is enough
};

WindowFacts FactsOf(HWND window);

// Whether the facts describe a board window: an existing top-level dialog of another
// process titled "Tessaro >..." (a board showing a project) or "Saving settings..." (a
// board closing). The handle comes from the settings store, which anyone may have written:
// a broadcast handle or some other program's window must never get the close request.
bool LooksLikeBoard(const WindowFacts& facts);

// The window a TransHandle value names. Handles are 32-bit values, sign-extended in a
// 64-bit program; 0 and the broadcast handle name none.
HWND BoardWindowFromSetting(unsigned long value);

// When the settings name a running board: asks it to close with a posted command, tells
// the user, then waits up to 11 x 500 ms for TransHandle to read 0. A value that names no
// board window counts as no board. Goes on regardless. Returns whether no board is known
// to run afterwards.
bool CloseRunningBoard(Environment& env, WaitFunction wait);

} // namespace installer
