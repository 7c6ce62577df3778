// The board window's state: one instance, owned by the board window, read by the other
// parts of the board program.
#pragma once
#include <windows.h>

#include "store/project_image.h"

constexpr int kPathSize = 256; // paths of the board program, terminator included

struct ContextRequest {
    UINT message = 0;
    WPARAM first = 0;
    LPARAM second = 0;
};

struct BoardState {
    HWND window = nullptr; // recorded at initialisation, cleared on destruction
    int selectedField = 0; // field id that Edit Text Field works on, 0 for none
    HFONT fieldFont = nullptr;
    HICON boardIcon = nullptr;
    HWND beforePaste = nullptr;
    HWND afterPaste = nullptr;

    // Option flags, 0 or 1; their defaults are the values used before loading.
    int minOnEachCopy = 0;
    int topMost = 1;
    int useSystemTray = 1;
    int wantToolTip = 1;
    int hideInTrayOnStartup = 0;
    int autoPaste = 1;

    char currentPath[kPathSize] = ""; // empty when no project is current
    char programFolder[kPathSize] = "";

    HWND copyButtons[kSlotCount] = {};
    HWND rememberedButton = nullptr; // copy button whose context menu is in use
    const char* helpTopic = nullptr; // none: the Overview
    ContextRequest lastContextRequest;
    int contextMenusEnabled = 0;
    HMENU menu = nullptr;
};

// Start-up state of the board program.
struct StartState {
    char commandLine[1024] = "";
    int firstRun = 0;        // started by the installer with "InstallingTheProgram"
    int freshStart = 0;      // started with "NewSession"
    int primaryInstance = 1; // 0 once this instance has handed over to a running board
    HWND otherInstance = nullptr;
    int answerReceived = 0;
    int endingAllowed = 0;
    HICON trayIcon = nullptr;
    int hideAtStartPending = 0;
    int minimiseMode = SW_MINIMIZE; // SW_HIDE while the board lives in the notification area
};

extern BoardState g_board;
extern StartState g_start;
extern ProjectImage g_boardImage;

// One text buffer of the board program for moving a field's text around.
extern char g_textBuffer[kTextSize];

extern const char kSampleFileName[];

// "Tessaro >" followed by the path.
void SetBoardTitle(const char* path);
// Moves the keyboard focus to the project selector the way the dialog manager does.
void FocusSelector();
// Scrolls the field to its start, selects its whole text and makes it the selected field.
void SelectField(int fieldId);
// Puts the slot's text on the clipboard and, by option, minimises or pastes.
void CopyAction(int copyButtonId);
// Redraws the whole board window at once.
void RedrawBoard();
void SetBoardTopMost(bool topMost);

// Settings of the board, through the settings store.
void LoadSettings();
void SaveSettings();
