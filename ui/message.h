// The one error path: every message the user must see goes through here.
#pragma once
#include <windows.h>

namespace ui {

// Each program names itself once at start: the product name it shows in titles and texts,
// and the caption of its message boxes. Both are empty until then.
void SetProgramNames(const char* productName, const char* messageCaption);
const char* ProductName();
const char* MessageCaption();

// Shows a message box with the program's caption, owned by the window at the top of the
// window stack. Returns the button pressed (IDOK, IDYES, ...).
int ShowMessage(UINT type, const char* format, ...) __attribute__((format(printf, 2, 3)));
int ShowMessageCaption(const char* caption, UINT type, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

// Lets a unit test see and answer message boxes instead of the user.
using MessageHook = int (*)(const char* text, const char* caption, UINT type);
void SetMessageHook(MessageHook hook);

// A system error code as text, for test logs.
void ErrorText(DWORD code, char* out, size_t size);

} // namespace ui
