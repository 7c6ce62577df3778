#include "ui/bitmap.h"

#include "base/scoped.h"

namespace ui {

bool DrawBitmapCentred(HDC dc, const RECT& client, int bitmapId) {
    base::ScopedBitmap picture(LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(bitmapId)));
    if (!picture.Valid())
        return false;
    BITMAP size;
    if (!GetObjectA(picture.Get(), sizeof size, &size))
        return false;
    base::ScopedMemoryDc memory(CreateCompatibleDC(dc));
    if (!memory.Valid())
        return false;
    HGDIOBJ old = SelectObject(memory.Get(), picture.Get());
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    BitBlt(dc, client.left + width / 2 - size.bmWidth / 2,
           client.top + height / 2 - size.bmHeight / 2, size.bmWidth, size.bmHeight, memory.Get(),
           0, 0, SRCCOPY);
    SelectObject(memory.Get(), old);
    return true;
}

} // namespace ui
