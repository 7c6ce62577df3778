#include "board/screen_tips.h"

// Screen tips are not built yet: switching them on shows nothing.
void ShowScreenTips(int) {}

void RelayToScreenTips(const MSG&) {}
