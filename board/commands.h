// The board window's one command handler and the shortcut filter.
#pragma once
#include <windows.h>

// Copy buttons first, then the dispatch table. Returns true when the command was taken.
bool HandleBoardCommand(int id, int code, HWND control);
// Posts the command to the board window, as commands from outside the handler are.
void PostBoardCommand(int id, LPARAM second = 0);
// The message filter of the board program: Ctrl shortcuts of the main keyboard.
bool ShortcutFilter(MSG& msg);
// Returns the command of a Ctrl+key shortcut, or 0.
int ShortcutCommand(WPARAM virtualKey);
// Turns a right-click or an icon callback into the context-menu command.
void ContextRequestStep(UINT msg, WPARAM w, LPARAM l);
// Sets the screen-tips menu item to its text and check mark for the flag.
void SetScreenTipsItem(bool enabled);
void RedrawMenuBar();
