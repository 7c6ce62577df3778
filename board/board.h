// The board window's state: one instance, owned by the board window, read by the other
// parts of the board program.
#pragma once
#include <windows.h>

#include "dialogs/about.h"
#include "settings/settings.h"
#include "store/file_stamp.h"
#include "store/project_image.h"

constexpr int kPathSize = 256; // paths of the board program, terminator included

extern const char kProductName[]; // "Tessaro"
extern const char kSampleFileName[];

// What minimising the board does: leave a taskbar button, or hide into the notification
// area. The values are the show commands that do it.
enum class MinimiseMode { kToTaskbar = SW_MINIMIZE, kIntoTray = SW_HIDE };

struct ContextRequest {
    UINT message = 0;
    WPARAM first = 0;
    LPARAM second = 0;
};

struct BoardState {
    HWND window = nullptr;    // recorded at initialisation, cleared on destruction
    settings::Store settings; // set by the board window; tests give a scratch root
    int selectedField = 0;    // field id that Edit Text Field works on, 0 for none
    HFONT fieldFont = nullptr;
    HICON boardIcon = nullptr;
    HWND beforePaste = nullptr;
    HWND afterPaste = nullptr;

    // Option flags; their defaults are the values used before loading.
    bool minOnEachCopy = false;
    bool topMost = true;
    bool useSystemTray = true;
    bool wantToolTip = true;
    bool hideInTrayOnStartup = false;
    bool autoPaste = true;

    char currentPath[kPathSize] = ""; // empty when no project is current
    // Whether the board shows what the current project file held when it was last read or
    // written; only then may a save write over that file without asking for a name. The
    // stamp tells whether another program has changed the file since.
    bool showsCurrentFile = false;
    FileStamp currentStamp;
    char programFolder[kPathSize] = "";

    HWND copyButtons[kSlotCount] = {};
    HWND rememberedButton = nullptr; // copy button whose context menu is in use
    ContextRequest lastContextRequest;
    bool contextMenusEnabled = false;
    HMENU menu = nullptr;
    bool repositioning = false; // reposition mode: copy-button clicks reorder the slots
    int repositionCount = 0;    // copy buttons clicked so far in the mode
    AboutFacts about;           // what the About box shows, built at initialisation
};

// Start-up state of the board program.
struct StartState {
    char commandLine[1024] = "";
    bool firstRun = false;       // started by the installer with "InstallingTheProgram"
    bool freshStart = false;     // started with "NewSession"
    bool primaryInstance = true; // false once this instance has handed over to a running board
    HWND otherInstance = nullptr;
    bool answerReceived = false;
    bool endingAllowed = false;
    bool closing = false;      // waits that are not forced end at once
    int timeChangeCredits = 0; // each wait that sees one uses it up and ends at once
    HICON trayIcon = nullptr;
    bool hideAtStartPending = false;
    MinimiseMode minimiseMode = MinimiseMode::kToTaskbar;
};

extern BoardState g_board;
extern StartState g_start;
extern ProjectImage g_boardImage;

// One text buffer of the board program for moving a field's text around.
extern char g_textBuffer[kTextSize];

// The board's pumped wait: ends early while closing (unless forced) and once per
// time-change credit.
// meanwhile, when given, is done once during the wait (see ui::WaitRule).
void BoardWait(unsigned milliseconds, bool forced, void (*meanwhile)() = nullptr);

// Makes the field font ("Courier New", height -11) ready, unless it is already made.
void PrepareFieldFont();
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
// The current project's path as the settings hold it (kPathSize bytes), the sample project
// of programFolder when none is stored.
void ReadCurrentPath(const char* programFolder, char* path);
void SaveSettings();
