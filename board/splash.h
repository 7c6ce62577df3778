// The splash window shown while the board starts.
#pragma once

// meanwhile, when given, is done while the splash waits (or at once if it cannot show).
void SplashShow(void (*meanwhile)() = nullptr);
void SplashHide();
