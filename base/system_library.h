// Libraries that a program loads when it first needs them rather than at its start.
#pragma once
#include <windows.h>

namespace base {

// Loads name (for example "shell32.dll") from the system folder by its full path, never a
// library of that name found elsewhere. Kept for the life of the process; null on failure.
HMODULE LoadSystemLibrary(const char* name);

} // namespace base
