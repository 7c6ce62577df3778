// Recognising a running board across processes for the single-instance hand-over. The
// handle comes from the settings store or a posted message, so it may name anything: a
// window that is gone, a window of another program, or HWND_BROADCAST.
#pragma once
#include <windows.h>

// Marks window as a board, so that another instance can recognise it; and removes the mark.
void MarkAsBoard(HWND window);
void UnmarkBoard(HWND window);

// Whether window is a board of another process: an existing top-level dialog window with
// the board's mark whose process is not ownProcess.
bool IsOtherBoardWindow(HWND window, DWORD ownProcess);
