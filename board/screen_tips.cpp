#include "board/screen_tips.h"

// Screen tips are not built yet: switching them on shows nothing.
void ShowScreenTips(bool) {}

void RelayToScreenTips(const MSG&) {}
