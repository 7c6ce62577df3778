// Renaming all 33 copy buttons at once.
#pragma once
#include <windows.h>

#include "dialogs/about.h"
#include "store/project_image.h"

using ButtonNames = char[kSlotCount][kNameSize];

// Shows names in the 33 edit boxes. On Ok every name is replaced by its box's text (at
// most 31 characters, the rest of the name zero-filled) and the result is true; Cancel,
// Escape and the close box leave names alone. Its Help menu shows the Rename Buttons
// topic and the About box with about.
bool RunRenameButtons(HWND owner, const AboutFacts& about, ButtonNames& names);
