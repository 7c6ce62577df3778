// The shell's two functions that the board uses, from the shell's library loaded when first
// needed instead of at process start: with the libraries it pulls in, loading it is a good
// share of a start, which the splash's wait can take instead (see PrepareWhileSplashWaits).
#pragma once
#include <windows.h>

#include <shellapi.h>

// Loads the library now; later calls do nothing. False when it cannot be had.
bool LoadShellLibrary();
// Shell_NotifyIconA; FALSE without the library.
BOOL ShellNotifyIcon(DWORD message, NOTIFYICONDATAA* record);
// ShellExecuteA with the verb "open"; a value of 32 or less is a failure, as there.
HINSTANCE ShellOpen(HWND owner, const char* file, const char* folder, int show);
