// The large editor for one field's text.
#pragma once
#include <windows.h>

#include <cstddef>

// Shows text in the editor, in font when one is given. On OK the editor's text (at most
// size - 1 characters) replaces text and the result is true; on Cancel, Escape or the
// close box text is unchanged and the result is false.
bool RunEditText(HWND owner, HFONT font, char* text, size_t size);
