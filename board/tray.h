// The notification-area icon and the window states that go with it.
#pragma once
#include <windows.h>

void AddTrayIcon();
void RemoveTrayIcon();
// The board window procedure's share: TaskbarCreated, time changes, icon clicks.
// Runs for every message before the board's own handling.
void TrayWindowProcedure(UINT msg, WPARAM w, LPARAM l);
// After the default size handling: minimising hides the board while Use Tray is on.
void OnBoardSize(WPARAM sizeType);
void RegisterTaskbarCreated();
