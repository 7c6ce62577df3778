// A running board program must not hold the files the installer replaces or removes.
#pragma once
#include "installer/environment.h"

namespace installer {

constexpr int kCloseWaitPasses = 11;
constexpr unsigned kCloseWaitMs = 500;

// When the settings name a board window (TransHandle not 0): asks it to close with a
// posted command, tells the user, then waits up to 11 x 500 ms for TransHandle to read 0.
// Goes on regardless. Returns whether no board is known to run afterwards.
bool CloseRunningBoard(Environment& env, WaitFunction wait);

} // namespace installer
