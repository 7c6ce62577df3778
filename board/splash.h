// The splash window shown while the board starts.
#pragma once

void SplashShow();
void SplashHide();
