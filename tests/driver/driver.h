// Black-box driver for the end-to-end tests: starts the real programs,
// finds their windows, reads and pokes controls, types keys, and tidies the
// clipboard, registry and files around them.
//
// Every wait has a timeout. A call that fails returns false / nullptr / an
// empty value and records why; driver::LastFailure() gives that reason, so
//   ASSERT_TRUE(hwnd) << driver::LastFailure();
// tells the reader what the test was waiting for and what it saw instead.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

// winreg.h maps these names to the A/W functions; the driver uses them for
// its own helpers, so the macros would only rename them behind our back.
#undef RegDeleteValue
#undef RegDeleteTree

namespace driver {

// Reason recorded by the most recent failing call ("" if none yet).
const char* LastFailure();
void ClearFailure();

// Folder of the running test exe, without trailing backslash.
std::string ExeDir();

// ---- Processes -------------------------------------------------------------

struct Process {
    HANDLE process = nullptr;
    DWORD pid = 0;
};

// Command line is "\"exePath\" args". An empty workDir inherits ours.
// On failure the returned Process has pid 0.
Process Start(const std::string& exePath, const std::string& args, const std::string& workDir);
bool WaitExit(Process& p, DWORD timeoutMs, DWORD* exitCode = nullptr);
// Terminates the process if it is still running, then closes the handle.
void Kill(Process& p);
void CloseProcess(Process& p);

// ---- Windows ---------------------------------------------------------------

// Top-level window whose title starts with titlePrefix; pid 0 means any process.
HWND WaitWindow(const std::string& titlePrefix, DWORD timeoutMs, DWORD pid = 0);
HWND WaitVisibleWindow(const std::string& titlePrefix, DWORD timeoutMs, DWORD pid = 0);
bool WaitGone(HWND window, DWORD timeoutMs);
// Polls cond every 50 ms while pumping this thread's messages; `what` names
// the condition in the failure reason.
bool WaitUntil(std::function<bool()> cond, DWORD timeoutMs, const std::string& what);

// Texts are read and written with the wide messages and converted from/to the
// ANSI code page (the ANSI messages truncate across processes on Wine).
std::string Title(HWND window);
std::string ItemText(HWND dialog, int id);
bool SetItemText(HWND dialog, int id, const std::string& text);

// Posts WM_COMMAND(id, BN_CLICKED) to the dialog, as a mouse click would.
// It does not toggle check boxes: the button itself does that on a real click.
void Click(HWND dialog, int id);
void PostCommand(HWND window, WPARAM w, LPARAM l = 0);
bool IsChecked(HWND dialog, int id);
bool IsVisible(HWND window);
bool IsIconic(HWND window);
bool IsEnabled(HWND dialog, int id);
// Keyboard focus inside window's thread, as "Class:id" (e.g. "Edit:101");
// empty if nothing there has focus.
std::string FocusedClassOrId(HWND window);

std::vector<std::string> ComboItems(HWND dialog, int id);
int ComboSelection(HWND dialog, int id); // CB_ERR (-1) if none
std::string ComboSelectedText(HWND dialog, int id);

std::vector<HWND> TopWindowsOf(DWORD pid);
// One line per top-level window of pid (all processes' visible ones if pid
// is 0); handy in assertion messages.
std::string DescribeWindows(DWORD pid);

// A message box of pid: an enabled, visible top-level dialog holding only
// statics and buttons, whose static 0xFFFF has text. A dialog that is merely
// disabled behind a message box does not count.
HWND WaitMessageBox(DWORD pid, DWORD timeoutMs);
std::string MessageBoxText(HWND box);
void AnswerMessageBox(HWND box, int buttonId); // IDOK, IDYES, ...

// ---- Keyboard --------------------------------------------------------------

// Presses the keys in order and releases them in reverse, 30 ms apart,
// e.g. KeyCombo({VK_CONTROL, 'S'}). Goes to whatever window has focus.
void KeyCombo(std::initializer_list<BYTE> keysDown);
// Letters, digits, space and other characters VkKeyScanA knows.
void TypeText(const std::string& text);
// Returns whether window is the foreground window afterwards.
bool BringToFront(HWND window);

// ---- Clipboard -------------------------------------------------------------

std::string ClipboardText(); // CF_TEXT; empty if none
bool SetClipboardText(const std::string& text);

// ---- Registry (HKEY_CURRENT_USER) ------------------------------------------

bool RegSetText(const std::string& key, const std::string& name, const std::string& value);
// False if the key or value is missing or not a string.
bool RegGetText(const std::string& key, const std::string& name, std::string* value);
// True if the value is gone afterwards (already missing counts).
bool RegDeleteValue(const std::string& key, const std::string& name);
// Recursive; true if the key is gone afterwards.
bool RegDeleteTree(const std::string& key);

// ---- Files -----------------------------------------------------------------

std::string ReadFileBytes(const std::string& path); // empty if missing
bool WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path); // a file, not a folder
bool DirExists(const std::string& path);
FILETIME LastWriteTime(const std::string& path);                   // zero if missing
std::vector<std::string> FolderEntries(const std::string& folder); // sorted, no dots
// %TEMP%\tessaro-tests\<name>, emptied and created; "" on failure.
std::string MakeScratchDir(const std::string& name);
// Deletes a folder and everything in it (read-only files too); true if gone.
bool RemoveTree(const std::string& path);

// ---- Mouse -----------------------------------------------------------------

// Moves the mouse to the screen point (the window under it gets WM_MOUSEMOVE);
// true if the cursor is there afterwards.
bool MoveMouseTo(POINT at);
// The centre of a control of dialog, in screen coordinates.
POINT ControlCentre(HWND dialog, int id);

// ---- Tooltips (also of another process) ------------------------------------

// Tooltip controls (class tooltips_class32) that window owns.
std::vector<HWND> TooltipsOf(HWND owner);

struct Tool {
    HWND owner = nullptr;  // the window the tool was registered for
    HWND window = nullptr; // the tool's window (tools known by handle)
    UINT flags = 0;
    std::string text;
};
// The index-th tool of a tooltip control, its text read in full with the wide
// message through memory lent in the control's process.
bool ToolAt(HWND tooltip, int index, Tool* tool);
// The tool whose tip the control shows now; false if none.
bool CurrentTool(HWND tooltip, Tool* tool);

} // namespace driver
