// The one error path: every message the user must see goes through here.
#pragma once
#include <windows.h>

namespace ui {

// Caption of message boxes unless a caller names another one.
extern const char kProductName[];

// Shows a message box owned by the window at the top of the window stack.
// Returns the button pressed (IDOK, IDYES, ...).
int ShowMessage(UINT type, const char* format, ...) __attribute__((format(printf, 2, 3)));
int ShowMessageCaption(const char* caption, UINT type, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

// Lets a unit test see and answer message boxes instead of the user.
using MessageHook = int (*)(const char* text, const char* caption, UINT type);
void SetMessageHook(MessageHook hook);

// A system error code as text, for test logs.
void ErrorText(DWORD code, char* out, size_t size);

} // namespace ui
