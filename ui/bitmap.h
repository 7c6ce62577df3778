// Painting a bitmap resource of the program, as the splash and the installer's backdrop do.
#pragma once
#include <windows.h>

namespace ui {

// Draws bitmap resource bitmapId unscaled and unchanged (SRCCOPY), centred in client: its
// top left corner at (width / 2 - bitmap width / 2, height / 2 - bitmap height / 2), so a
// client smaller than the picture cuts its edges evenly. False when the resource cannot
// be loaded.
bool DrawBitmapCentred(HDC dc, const RECT& client, int bitmapId);

} // namespace ui
