#include "driver.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace driver {
namespace {

const DWORD kPollMs = 50;
const DWORD kMessageTimeoutMs = 2000;
const DWORD kKeyGapMs = 30;
const DWORD kClipboardRetryMs = 1000;
const LRESULT kMaxTextChars = 1 << 20;
const DWORD kMaxRegBytes = 1 << 20;
const size_t kMaxListedWindows = 20;
const int kMessageBoxTextId = 0xFFFF;

// ---- failure reason ----

std::string& FailureText() {
    static std::string text;
    return text;
}

void Fail(const std::string& why) {
    FailureText() = why;
}

std::string Quote(const std::string& s) {
    return "'" + s + "'";
}

std::string ErrorText(DWORD code) {
    char buffer[256] = {};
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             code, 0, buffer, sizeof(buffer), nullptr);
    while (n > 0 && (buffer[n - 1] == '\r' || buffer[n - 1] == '\n' || buffer[n - 1] == ' '))
        buffer[--n] = '\0';
    return std::string(buffer, n) + " (error " + std::to_string(code) + ")";
}

std::string HandleText(const void* h) {
    char buffer[32];
    std::snprintf(buffer, sizeof(buffer), "%p", h);
    return buffer;
}

// ---- scoped holders ----

class ScopedHandle {
  public:
    explicit ScopedHandle(HANDLE h = nullptr) : h_(h) {}
    ~ScopedHandle() {
        if (valid())
            CloseHandle(h_);
    }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    HANDLE get() const { return h_; }
    bool valid() const { return h_ != nullptr && h_ != INVALID_HANDLE_VALUE; }

  private:
    HANDLE h_;
};

class ScopedFind {
  public:
    explicit ScopedFind(HANDLE h) : h_(h) {}
    ~ScopedFind() {
        if (valid())
            FindClose(h_);
    }
    ScopedFind(const ScopedFind&) = delete;
    ScopedFind& operator=(const ScopedFind&) = delete;
    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return h_; }

  private:
    HANDLE h_;
};

class ScopedKey {
  public:
    ScopedKey() = default;
    ~ScopedKey() {
        if (key_)
            RegCloseKey(key_);
    }
    ScopedKey(const ScopedKey&) = delete;
    ScopedKey& operator=(const ScopedKey&) = delete;
    HKEY get() const { return key_; }
    HKEY* out() { return &key_; }

  private:
    HKEY key_ = nullptr;
};

// ---- text conversion (ANSI code page <-> UTF-16) ----

std::string Narrow(const wchar_t* text, int length) {
    if (length <= 0)
        return {};
    int bytes = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return {};
    std::string out(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, length, &out[0], bytes, nullptr, nullptr);
    return out;
}

std::wstring Widen(const std::string& text) {
    if (text.empty())
        return {};
    int length = static_cast<int>(text.size());
    int chars = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    if (chars <= 0)
        return {};
    std::wstring out(static_cast<size_t>(chars), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), length, &out[0], chars);
    return out;
}

// ---- waiting ----

// Sleeps up to ms but wakes for (and handles) messages sent to this thread,
// so a program that sends to one of our windows is not left hanging.
void PumpFor(DWORD ms) {
    MsgWaitForMultipleObjectsEx(0, nullptr, ms, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Checks at least once, and once more at the deadline.
bool Poll(const std::function<bool()>& cond, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (cond())
            return true;
        ULONGLONG now = GetTickCount64();
        if (now >= deadline)
            return false;
        ULONGLONG left = deadline - now;
        PumpFor(static_cast<DWORD>(left < kPollMs ? left : kPollMs));
    }
}

// ---- messages to other processes ----

bool Send(HWND window, UINT msg, WPARAM w, LPARAM l, LRESULT* result) {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(window, msg, w, l, SMTO_NORMAL | SMTO_ABORTIFHUNG, kMessageTimeoutMs,
                             &answer))
        return false;
    if (result)
        *result = static_cast<LRESULT>(answer);
    return true;
}

bool ReadText(HWND window, std::string* text) {
    LRESULT length = 0;
    if (!Send(window, WM_GETTEXTLENGTH, 0, 0, &length) || length < 0)
        return false;
    if (length > kMaxTextChars)
        length = kMaxTextChars;
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
    LRESULT copied = 0;
    if (!Send(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()), &copied))
        return false;
    if (copied < 0)
        copied = 0;
    if (copied > length)
        copied = length;
    *text = Narrow(buffer.data(), static_cast<int>(copied));
    return true;
}

// Caption without sending a message: for other processes' windows the system
// keeps the caption itself, so a busy program cannot stall a window scan.
std::string CaptionOf(HWND window) {
    wchar_t buffer[512] = {};
    int n = GetWindowTextW(window, buffer, static_cast<int>(sizeof(buffer) / sizeof(buffer[0])));
    return Narrow(buffer, n);
}

std::string ClassOf(HWND window) {
    char buffer[256] = {};
    int n = GetClassNameA(window, buffer, sizeof(buffer));
    return std::string(buffer, n > 0 ? static_cast<size_t>(n) : 0);
}

DWORD PidOf(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}

std::string Describe(HWND window) {
    std::string text = Quote(CaptionOf(window)) + " [" + ClassOf(window) + "]";
    if (!IsWindowVisible(window))
        text += " hidden";
    if (!IsWindowEnabled(window))
        text += " disabled";
    return text;
}

// ---- window lists ----

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

std::vector<HWND> AllTopWindows() {
    std::vector<HWND> windows;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::vector<HWND> ChildrenOf(HWND parent) {
    std::vector<HWND> windows;
    EnumChildWindows(parent, CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

// When pid is given, a process that already ended cannot show anything
// more; the wait stops early and says so.
bool ProcessEnded(DWORD pid, std::string* how) {
    if (pid == 0)
        return false;
    ScopedHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, pid));
    if (!process.valid()) {
        *how = "process " + std::to_string(pid) + " is not running";
        return true;
    }
    if (WaitForSingleObject(process.get(), 0) != WAIT_OBJECT_0)
        return false;
    DWORD code = 0;
    GetExitCodeProcess(process.get(), &code);
    *how = "process " + std::to_string(pid) + " exited with code " + std::to_string(code);
    return true;
}

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

HWND FindTopWindow(const std::string& titlePrefix, DWORD pid, bool mustBeVisible) {
    for (HWND window : AllTopWindows()) {
        if (pid != 0 && PidOf(window) != pid)
            continue;
        if (mustBeVisible && !IsWindowVisible(window))
            continue;
        if (StartsWith(CaptionOf(window), titlePrefix))
            return window;
    }
    return nullptr;
}

HWND WaitTopWindow(const std::string& titlePrefix, DWORD timeoutMs, DWORD pid, bool mustBeVisible) {
    HWND found = nullptr;
    std::string ended;
    Poll(
        [&] {
            found = FindTopWindow(titlePrefix, pid, mustBeVisible);
            return found != nullptr || ProcessEnded(pid, &ended);
        },
        timeoutMs);
    if (found)
        return found;

    std::string why = "waited " + std::to_string(timeoutMs) + " ms for a " +
                      (mustBeVisible ? "visible " : "") + "window titled " +
                      Quote(titlePrefix + "...");
    if (pid != 0)
        why += " of process " + std::to_string(pid);
    if (!ended.empty())
        why += "; " + ended;
    Fail(why + "; saw: " + DescribeWindows(pid));
    return nullptr;
}

HWND Control(HWND dialog, int id, const char* action) {
    HWND control = GetDlgItem(dialog, id);
    if (!control)
        Fail(std::string(action) + ": no control with id " + std::to_string(id) + " in window " +
             (IsWindow(dialog) ? Describe(dialog) : HandleText(dialog) + " (gone)"));
    return control;
}

bool SendToControl(HWND dialog, int id, const char* action, UINT msg, WPARAM w, LPARAM l,
                   LRESULT* result) {
    HWND control = Control(dialog, id, action);
    if (!control)
        return false;
    if (Send(control, msg, w, l, result))
        return true;
    Fail(std::string(action) + ": control " + std::to_string(id) + " of " + Describe(dialog) +
         " did not answer within " + std::to_string(kMessageTimeoutMs) + " ms");
    return false;
}

bool IsClass(HWND window, const char* name) {
    return lstrcmpiA(ClassOf(window).c_str(), name) == 0;
}

// A picture static (a dialog's icon) carries the same id as resource-script labels; its
// "text" is a resource name, not words.
bool IsTextStatic(HWND control) {
    const LONG_PTR type = GetWindowLongPtrW(control, GWL_STYLE) & SS_TYPEMASK;
    return IsClass(control, "Static") && type != SS_ICON && type != SS_BITMAP &&
           type != SS_ENHMETAFILE;
}

HWND MessageBoxStatic(HWND box) {
    for (HWND child : ChildrenOf(box))
        if ((GetDlgCtrlID(child) & 0xFFFF) == kMessageBoxTextId && IsTextStatic(child))
            return child;
    return nullptr;
}

// Dialogs made from resource scripts also carry statics with id 0xFFFF
// (IDC_STATIC), so the text static alone does not make a message box.
bool LooksLikeMessageBox(HWND window) {
    if (!IsClass(window, "#32770") || !IsWindowVisible(window) || !IsWindowEnabled(window))
        return false;
    for (HWND child : ChildrenOf(window))
        if (!IsClass(child, "Static") && !IsClass(child, "Button"))
            return false;
    HWND text = MessageBoxStatic(window);
    std::string content;
    return text && ReadText(text, &content) && !content.empty();
}

// ---- keyboard ----

bool IsExtendedKey(BYTE vk) {
    switch (vk) {
    case VK_INSERT:
    case VK_DELETE:
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_RCONTROL:
    case VK_RMENU:
    case VK_DIVIDE:
    case VK_NUMLOCK:
    case VK_LWIN:
    case VK_RWIN:
    case VK_APPS:
    case VK_SNAPSHOT: return true;
    default: return false;
    }
}

void SendKey(BYTE vk, bool up) {
    DWORD flags = (up ? KEYEVENTF_KEYUP : 0) | (IsExtendedKey(vk) ? KEYEVENTF_EXTENDEDKEY : 0);
    keybd_event(vk, static_cast<BYTE>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC)), flags, 0);
}

void PressAll(const std::vector<BYTE>& keys) {
    for (BYTE vk : keys) {
        SendKey(vk, false);
        Sleep(kKeyGapMs);
    }
    for (auto it = keys.rbegin(); it != keys.rend(); ++it) {
        SendKey(*it, true);
        Sleep(kKeyGapMs);
    }
}

// ---- clipboard ----

class ClipboardLock {
  public:
    // A NULL owner: no window of ours has to answer clipboard messages later,
    // which a test thread that is not pumping could not do.
    ClipboardLock() {
        open_ = Poll([] { return OpenClipboard(nullptr) != FALSE; }, kClipboardRetryMs);
        if (!open_)
            Fail("the clipboard stayed busy for " + std::to_string(kClipboardRetryMs) + " ms");
    }
    ~ClipboardLock() {
        if (open_)
            CloseClipboard();
    }
    ClipboardLock(const ClipboardLock&) = delete;
    ClipboardLock& operator=(const ClipboardLock&) = delete;
    bool open() const { return open_; }

  private:
    bool open_ = false;
};

// ---- files ----

std::string StripTrailingSlashes(std::string path) {
    while (!path.empty() && (path.back() == '\\' || path.back() == '/'))
        path.pop_back();
    return path;
}

// Guards against a bad argument wiping a drive.
bool IsTooBroadToRemove(const std::string& path) {
    std::string p = StripTrailingSlashes(path);
    return p.empty() || (p.size() == 2 && p[1] == ':');
}

bool PathExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void DeleteRecursive(const std::string& path) {
    DWORD attrs = GetFileAttributesA(path.c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES)
        return;
    if (attrs & FILE_ATTRIBUTE_READONLY)
        SetFileAttributesA(path.c_str(), attrs & ~FILE_ATTRIBUTE_READONLY);
    if (!(attrs & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileA(path.c_str());
        return;
    }
    // A junction is removed as a link; what it points at is not ours.
    if (!(attrs & FILE_ATTRIBUTE_REPARSE_POINT)) {
        WIN32_FIND_DATAA entry;
        ScopedFind find(FindFirstFileA((path + "\\*").c_str(), &entry));
        if (find.valid()) {
            do {
                if (std::strcmp(entry.cFileName, ".") == 0 ||
                    std::strcmp(entry.cFileName, "..") == 0)
                    continue;
                DeleteRecursive(path + "\\" + entry.cFileName);
            } while (FindNextFileA(find.get(), &entry));
        }
    }
    RemoveDirectoryA(path.c_str());
}

// Creates every missing folder of path.
bool CreateDirs(const std::string& path) {
    for (size_t pos = path.find_first_of("\\/", 3); pos != std::string::npos;
         pos = path.find_first_of("\\/", pos + 1))
        CreateDirectoryA(path.substr(0, pos).c_str(), nullptr);
    CreateDirectoryA(path.c_str(), nullptr);
    return DirExists(path);
}

std::string TempDir() {
    char buffer[MAX_PATH + 1] = {};
    DWORD n = GetTempPathA(sizeof(buffer), buffer);
    if (n == 0 || n >= sizeof(buffer))
        return {};
    return StripTrailingSlashes(std::string(buffer, n));
}

} // namespace

// =============================================================================

const char* LastFailure() {
    return FailureText().c_str();
}

void ClearFailure() {
    FailureText().clear();
}

std::string ExeDir() {
    char buffer[MAX_PATH * 4] = {};
    DWORD n = GetModuleFileNameA(nullptr, buffer, sizeof(buffer));
    if (n == 0 || n >= sizeof(buffer)) {
        Fail("GetModuleFileNameA failed: " + ErrorText(GetLastError()));
        return {};
    }
    std::string path(buffer, n);
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

// ---- processes ----

Process Start(const std::string& exePath, const std::string& args, const std::string& workDir) {
    Process p;
    std::string commandLine = "\"" + exePath + "\"";
    if (!args.empty())
        commandLine += " " + args;
    std::vector<char> mutableLine(commandLine.begin(), commandLine.end());
    mutableLine.push_back('\0');

    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    // Wine now and then refuses a start with ERROR_INTERNAL_ERROR while the previous
    // program is still going away; a missing file or folder is final at once.
    DWORD error = 0;
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (CreateProcessA(exePath.c_str(), mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           workDir.empty() ? nullptr : workDir.c_str(), &startup, &info)) {
            error = 0;
            break;
        }
        error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
            error == ERROR_DIRECTORY)
            break;
        Sleep(300);
    }
    if (error) {
        Fail("could not start " + commandLine + (workDir.empty() ? "" : " in " + workDir) + ": " +
             ErrorText(error));
        return p;
    }
    CloseHandle(info.hThread);
    p.process = info.hProcess;
    p.pid = info.dwProcessId;
    return p;
}

bool WaitExit(Process& p, DWORD timeoutMs, DWORD* exitCode) {
    if (!p.process) {
        Fail("WaitExit: no process (it was never started, or already closed)");
        return false;
    }
    DWORD result = WaitForSingleObject(p.process, timeoutMs);
    if (result != WAIT_OBJECT_0) {
        Fail("waited " + std::to_string(timeoutMs) + " ms for process " + std::to_string(p.pid) +
             " to exit; it is still running; its windows: " + DescribeWindows(p.pid));
        return false;
    }
    if (exitCode) {
        *exitCode = 0;
        GetExitCodeProcess(p.process, exitCode);
    }
    return true;
}

void Kill(Process& p) {
    if (p.process && WaitForSingleObject(p.process, 0) == WAIT_TIMEOUT) {
        TerminateProcess(p.process, 1);
        WaitForSingleObject(p.process, 5000);
    }
    CloseProcess(p);
}

void CloseProcess(Process& p) {
    if (p.process)
        CloseHandle(p.process);
    p.process = nullptr;
    p.pid = 0;
}

// ---- windows ----

HWND WaitWindow(const std::string& titlePrefix, DWORD timeoutMs, DWORD pid) {
    return WaitTopWindow(titlePrefix, timeoutMs, pid, false);
}

HWND WaitVisibleWindow(const std::string& titlePrefix, DWORD timeoutMs, DWORD pid) {
    return WaitTopWindow(titlePrefix, timeoutMs, pid, true);
}

bool WaitGone(HWND window, DWORD timeoutMs) {
    std::string described = IsWindow(window) ? Describe(window) : std::string();
    if (Poll([window] { return !IsWindow(window); }, timeoutMs))
        return true;
    Fail("waited " + std::to_string(timeoutMs) + " ms for window " + described +
         " to close; it is still there");
    return false;
}

bool WaitUntil(std::function<bool()> cond, DWORD timeoutMs, const std::string& what) {
    if (Poll(cond, timeoutMs))
        return true;
    Fail("waited " + std::to_string(timeoutMs) + " ms for " + what + "; it did not happen");
    return false;
}

std::string Title(HWND window) {
    std::string text;
    if (!ReadText(window, &text))
        Fail("could not read the title of window " + HandleText(window) + " within " +
             std::to_string(kMessageTimeoutMs) + " ms");
    return text;
}

std::string ItemText(HWND dialog, int id) {
    HWND control = Control(dialog, id, "ItemText");
    std::string text;
    if (control && !ReadText(control, &text))
        Fail("ItemText: control " + std::to_string(id) + " of " + Describe(dialog) +
             " did not answer within " + std::to_string(kMessageTimeoutMs) + " ms");
    return text;
}

bool SetItemText(HWND dialog, int id, const std::string& text) {
    std::wstring wide = Widen(text);
    LRESULT ok = 0;
    if (!SendToControl(dialog, id, "SetItemText", WM_SETTEXT, 0,
                       reinterpret_cast<LPARAM>(wide.c_str()), &ok))
        return false;
    if (!ok)
        Fail("SetItemText: control " + std::to_string(id) + " refused the text " + Quote(text));
    return ok != 0;
}

void Click(HWND dialog, int id) {
    HWND control = Control(dialog, id, "Click");
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
}

void PostCommand(HWND window, WPARAM w, LPARAM l) {
    PostMessageW(window, WM_COMMAND, w, l);
}

bool IsChecked(HWND dialog, int id) {
    LRESULT state = 0;
    return SendToControl(dialog, id, "IsChecked", BM_GETCHECK, 0, 0, &state) &&
           state == BST_CHECKED;
}

bool IsVisible(HWND window) {
    return IsWindowVisible(window) != FALSE;
}

bool IsIconic(HWND window) {
    return ::IsIconic(window) != FALSE;
}

bool IsEnabled(HWND dialog, int id) {
    HWND control = Control(dialog, id, "IsEnabled");
    return control && IsWindowEnabled(control);
}

std::string FocusedClassOrId(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) || !info.hwndFocus)
        return {};
    return ClassOf(info.hwndFocus) + ":" + std::to_string(GetDlgCtrlID(info.hwndFocus));
}

std::vector<std::string> ComboItems(HWND dialog, int id) {
    std::vector<std::string> items;
    LRESULT count = 0;
    if (!SendToControl(dialog, id, "ComboItems", CB_GETCOUNT, 0, 0, &count))
        return items;
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = 0;
        if (!SendToControl(dialog, id, "ComboItems", CB_GETLBTEXTLEN, i, 0, &length) || length < 0)
            break;
        if (length > kMaxTextChars)
            length = kMaxTextChars;
        std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
        LRESULT copied = 0;
        if (!SendToControl(dialog, id, "ComboItems", CB_GETLBTEXT, i,
                           reinterpret_cast<LPARAM>(buffer.data()), &copied))
            break;
        if (copied < 0)
            copied = 0;
        if (copied > length)
            copied = length;
        items.push_back(Narrow(buffer.data(), static_cast<int>(copied)));
    }
    return items;
}

int ComboSelection(HWND dialog, int id) {
    LRESULT selection = CB_ERR;
    if (!SendToControl(dialog, id, "ComboSelection", CB_GETCURSEL, 0, 0, &selection))
        return CB_ERR;
    return static_cast<int>(selection);
}

std::string ComboSelectedText(HWND dialog, int id) {
    int selection = ComboSelection(dialog, id);
    if (selection < 0)
        return {};
    std::vector<std::string> items = ComboItems(dialog, id);
    return static_cast<size_t>(selection) < items.size() ? items[static_cast<size_t>(selection)]
                                                         : std::string();
}

std::vector<HWND> TopWindowsOf(DWORD pid) {
    std::vector<HWND> mine;
    for (HWND window : AllTopWindows())
        if (PidOf(window) == pid)
            mine.push_back(window);
    return mine;
}

std::string DescribeWindows(DWORD pid) {
    std::vector<HWND> listed;
    for (HWND window : AllTopWindows()) {
        bool wanted = pid != 0 ? PidOf(window) == pid : IsWindowVisible(window) != FALSE;
        if (wanted)
            listed.push_back(window);
    }
    if (listed.empty())
        return "no windows";
    std::string text;
    for (size_t i = 0; i < listed.size() && i < kMaxListedWindows; ++i)
        text += (i ? ", " : "") + Describe(listed[i]);
    if (listed.size() > kMaxListedWindows)
        text += ", and " + std::to_string(listed.size() - kMaxListedWindows) + " more";
    return text;
}

HWND WaitMessageBox(DWORD pid, DWORD timeoutMs) {
    HWND found = nullptr;
    std::string ended;
    Poll(
        [&] {
            for (HWND window : TopWindowsOf(pid)) {
                if (LooksLikeMessageBox(window)) {
                    found = window;
                    return true;
                }
            }
            return ProcessEnded(pid, &ended);
        },
        timeoutMs);
    if (found)
        return found;
    Fail("waited " + std::to_string(timeoutMs) + " ms for a message box of process " +
         std::to_string(pid) + (ended.empty() ? "" : "; " + ended) +
         "; its windows: " + DescribeWindows(pid));
    return nullptr;
}

std::string MessageBoxText(HWND box) {
    HWND text = MessageBoxStatic(box);
    std::string content;
    if (!text)
        Fail("MessageBoxText: " + Describe(box) + " has no text static");
    else if (!ReadText(text, &content))
        Fail("MessageBoxText: " + Describe(box) + " did not answer within " +
             std::to_string(kMessageTimeoutMs) + " ms");
    return content;
}

void AnswerMessageBox(HWND box, int buttonId) {
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, buttonId)));
}

// ---- keyboard ----

void KeyCombo(std::initializer_list<BYTE> keysDown) {
    PressAll(std::vector<BYTE>(keysDown));
}

void TypeText(const std::string& text) {
    for (char c : text) {
        SHORT scan = VkKeyScanA(c);
        if (scan == -1) {
            Fail("TypeText: no key for character " + Quote(std::string(1, c)));
            continue;
        }
        std::vector<BYTE> keys;
        if (scan & 0x100)
            keys.push_back(VK_SHIFT);
        if (scan & 0x200)
            keys.push_back(VK_CONTROL);
        if (scan & 0x400)
            keys.push_back(VK_MENU);
        keys.push_back(static_cast<BYTE>(scan & 0xFF));
        PressAll(keys);
    }
}

bool BringToFront(HWND window) {
    if (!IsWindow(window)) {
        Fail("BringToFront: window " + HandleText(window) + " does not exist");
        return false;
    }
    if (::IsIconic(window))
        ShowWindowAsync(window, SW_RESTORE);

    // Joining the input queues of the current foreground thread and the
    // target lets SetForegroundWindow through the foreground lock.
    DWORD me = GetCurrentThreadId();
    DWORD target = GetWindowThreadProcessId(window, nullptr);
    HWND foreground = GetForegroundWindow();
    DWORD foregroundThread = foreground ? GetWindowThreadProcessId(foreground, nullptr) : 0;
    bool joinedForeground =
        foregroundThread && foregroundThread != me && AttachThreadInput(me, foregroundThread, TRUE);
    bool joinedTarget =
        target != me && target != foregroundThread && AttachThreadInput(me, target, TRUE);
    BringWindowToTop(window);
    SetForegroundWindow(window);
    if (joinedTarget)
        AttachThreadInput(me, target, FALSE);
    if (joinedForeground)
        AttachThreadInput(me, foregroundThread, FALSE);

    if (Poll([window] { return GetForegroundWindow() == window; }, 1000))
        return true;
    HWND now = GetForegroundWindow();
    Fail("BringToFront: " + Describe(window) + " did not become the foreground window; it is " +
         (now ? Describe(now) : std::string("none")));
    return false;
}

// ---- clipboard ----

std::string ClipboardText() {
    ClipboardLock lock;
    if (!lock.open())
        return {};
    HANDLE data = GetClipboardData(CF_TEXT);
    const char* bytes = data ? static_cast<const char*>(GlobalLock(data)) : nullptr;
    if (!bytes) {
        Fail("the clipboard holds no text");
        return {};
    }
    std::string text(bytes, strnlen(bytes, GlobalSize(data)));
    GlobalUnlock(data);
    return text;
}

bool SetClipboardText(const std::string& text) {
    ClipboardLock lock;
    if (!lock.open())
        return false;
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (!memory) {
        Fail("SetClipboardText: out of memory");
        return false;
    }
    char* bytes = static_cast<char*>(GlobalLock(memory));
    std::memcpy(bytes, text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    if (!SetClipboardData(CF_TEXT, memory)) {
        Fail("SetClipboardData failed: " + ErrorText(GetLastError()));
        GlobalFree(memory);
        return false;
    }
    return true; // the clipboard owns memory now
}

// ---- registry ----

bool RegSetText(const std::string& key, const std::string& name, const std::string& value) {
    ScopedKey k;
    LONG rc = RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                              k.out(), nullptr);
    if (rc == ERROR_SUCCESS)
        rc = RegSetValueExA(k.get(), name.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>(value.size() + 1));
    if (rc != ERROR_SUCCESS)
        Fail("could not set HKCU\\" + key + " " + Quote(name) + ": " + ErrorText(rc));
    return rc == ERROR_SUCCESS;
}

bool RegGetText(const std::string& key, const std::string& name, std::string* value) {
    const std::string where = "HKCU\\" + key + " " + Quote(name);
    ScopedKey k;
    LONG rc = RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_QUERY_VALUE, k.out());
    DWORD type = 0, size = 0;
    if (rc == ERROR_SUCCESS)
        rc = RegQueryValueExA(k.get(), name.c_str(), nullptr, &type, nullptr, &size);
    if (rc != ERROR_SUCCESS) {
        Fail(where + " is missing: " + ErrorText(rc));
        return false;
    }
    if ((type != REG_SZ && type != REG_EXPAND_SZ) || size > kMaxRegBytes) {
        Fail(where + " is not a string (type " + std::to_string(type) + ", " +
             std::to_string(size) + " bytes)");
        return false;
    }
    std::vector<char> buffer(size + 1, '\0');
    rc = RegQueryValueExA(k.get(), name.c_str(), nullptr, &type,
                          reinterpret_cast<BYTE*>(buffer.data()), &size);
    if (rc != ERROR_SUCCESS) {
        Fail("could not read " + where + ": " + ErrorText(rc));
        return false;
    }
    // Stored strings need not be terminated; never read past what came back.
    if (value)
        value->assign(buffer.data(), strnlen(buffer.data(), size));
    return true;
}

bool RegDeleteValue(const std::string& key, const std::string& name) {
    ScopedKey k;
    LONG rc = RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_SET_VALUE, k.out());
    if (rc == ERROR_FILE_NOT_FOUND)
        return true;
    if (rc == ERROR_SUCCESS)
        rc = ::RegDeleteValueA(k.get(), name.c_str());
    if (rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND)
        return true;
    Fail("could not delete HKCU\\" + key + " " + Quote(name) + ": " + ErrorText(rc));
    return false;
}

bool RegDeleteTree(const std::string& key) {
    if (StripTrailingSlashes(key).empty()) {
        Fail("RegDeleteTree: refusing to delete all of HKCU");
        return false;
    }
    LONG rc = ::RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
    ScopedKey k;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, k.out()) == ERROR_FILE_NOT_FOUND)
        return true;
    Fail("could not delete HKCU\\" + key + ": " + ErrorText(rc));
    return false;
}

// ---- files ----

std::string ReadFileBytes(const std::string& path) {
    ScopedHandle file(CreateFileA(path.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        Fail("could not open " + path + ": " + ErrorText(GetLastError()));
        return {};
    }
    std::string bytes;
    char chunk[64 * 1024];
    DWORD got = 0;
    while (ReadFile(file.get(), chunk, sizeof(chunk), &got, nullptr) && got > 0)
        bytes.append(chunk, got);
    return bytes;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    ScopedHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        Fail("could not create " + path + ": " + ErrorText(GetLastError()));
        return false;
    }
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk =
            static_cast<DWORD>(bytes.size() - done < (1u << 20) ? bytes.size() - done : (1u << 20));
        DWORD written = 0;
        if (!WriteFile(file.get(), bytes.data() + done, chunk, &written, nullptr) || written == 0) {
            Fail("could not write " + path + ": " + ErrorText(GetLastError()));
            return false;
        }
        done += written;
    }
    return true;
}

bool FileExists(const std::string& path) {
    DWORD attrs = GetFileAttributesA(path.c_str());
    return attrs != INVALID_FILE_ATTRIBUTES && !(attrs & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirExists(const std::string& path) {
    DWORD attrs = GetFileAttributesA(path.c_str());
    return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY);
}

FILETIME LastWriteTime(const std::string& path) {
    FILETIME time = {};
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        time = data.ftLastWriteTime;
    return time;
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::string name = entry.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

std::string MakeScratchDir(const std::string& name) {
    if (StripTrailingSlashes(name).empty() || name.find("..") != std::string::npos) {
        Fail("MakeScratchDir: bad name " + Quote(name));
        return {};
    }
    std::string temp = TempDir();
    if (temp.empty()) {
        Fail("MakeScratchDir: no temp folder: " + ErrorText(GetLastError()));
        return {};
    }
    std::string dir = temp + "\\tessaro-tests\\" + StripTrailingSlashes(name);
    if (!RemoveTree(dir))
        return {};
    if (!CreateDirs(dir)) {
        Fail("MakeScratchDir: could not create " + dir + ": " + ErrorText(GetLastError()));
        return {};
    }
    return dir;
}

bool RemoveTree(const std::string& path) {
    if (IsTooBroadToRemove(path)) {
        Fail("RemoveTree: refusing to remove " + Quote(path));
        return false;
    }
    std::string target = StripTrailingSlashes(path);
    // A program that just exited may hold a file open for a moment.
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (!PathExists(target))
            return true;
        DeleteRecursive(target);
        if (!PathExists(target))
            return true;
        Sleep(100);
    }
    Fail("could not remove " + target + ": " + ErrorText(GetLastError()));
    return false;
}

// ---- mouse ----

bool MoveMouseTo(POINT at) {
    // SetCursorPos moves the display's own pointer too, so the crossing events that follow
    // a window change report the new point; a move made by SendInput alone left the old one
    // there. The system queues the WM_MOUSEMOVE for it.
    SetCursorPos(at.x, at.y);
    POINT now = {};
    bool there =
        Poll([&] { return GetCursorPos(&now) && abs(now.x - at.x) <= 1 && abs(now.y - at.y) <= 1; },
             1000);
    if (!there)
        Fail("MoveMouseTo: the cursor stands at " + std::to_string(now.x) + "," +
             std::to_string(now.y) + ", not at " + std::to_string(at.x) + "," +
             std::to_string(at.y));
    return there;
}

POINT ControlCentre(HWND dialog, int id) {
    RECT r = {};
    GetWindowRect(GetDlgItem(dialog, id), &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// ---- tooltips ----

namespace {

struct TooltipSearch {
    HWND owner;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTooltip(HWND window, LPARAM l) {
    auto* search = reinterpret_cast<TooltipSearch*>(l);
    if (IsClass(window, "tooltips_class32") && GetWindow(window, GW_OWNER) == search->owner)
        search->found.push_back(window);
    return TRUE;
}

// Memory in the process of a window: a tool record followed by room for its text, so that
// messages that carry pointers can be sent to that window.
class LentMemory {
  public:
    static const int kTextChars = 4096;
    struct Block {
        TTTOOLINFOW info;
        wchar_t text[kTextChars];
    };

    explicit LentMemory(HWND window) {
        DWORD pid = PidOf(window);
        process_ =
            OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process_)
            remote_ = static_cast<Block*>(
                VirtualAllocEx(process_, nullptr, sizeof(Block), MEM_COMMIT, PAGE_READWRITE));
        if (!remote_)
            Fail("no memory in process " + std::to_string(pid) + ": " + ErrorText(GetLastError()));
    }
    ~LentMemory() {
        if (remote_)
            VirtualFreeEx(process_, remote_, 0, MEM_RELEASE);
        if (process_)
            CloseHandle(process_);
    }
    LentMemory(const LentMemory&) = delete;
    LentMemory& operator=(const LentMemory&) = delete;

    bool valid() const { return remote_ != nullptr; }
    // Sends msg with the lent record (pointing at the lent text) and reads both back.
    LRESULT SendTool(HWND window, UINT msg, WPARAM w, Tool* tool) {
        Block local = {};
        local.info.cbSize = TTTOOLINFOW_V2_SIZE;
        local.info.lpszText = remote_->text;
        SIZE_T done = 0;
        if (!WriteProcessMemory(process_, remote_, &local, sizeof local, &done))
            return 0;
        LRESULT result = 0;
        if (!Send(window, msg, w, reinterpret_cast<LPARAM>(remote_), &result))
            return 0;
        if (!ReadProcessMemory(process_, remote_, &local, sizeof local, &done))
            return 0;
        local.text[kTextChars - 1] = L'\0';
        tool->owner = local.info.hwnd;
        tool->window = reinterpret_cast<HWND>(local.info.uId);
        tool->flags = local.info.uFlags;
        tool->text = local.info.lpszText == remote_->text ? Narrow(local.text, lstrlenW(local.text))
                                                          : std::string();
        return result;
    }

  private:
    HANDLE process_ = nullptr;
    Block* remote_ = nullptr;
};

} // namespace

std::vector<HWND> TooltipsOf(HWND owner) {
    TooltipSearch search = {owner, {}};
    EnumWindows(CollectTooltip, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool ToolAt(HWND tooltip, int index, Tool* tool) {
    LentMemory memory(tooltip);
    if (!memory.valid())
        return false;
    if (!memory.SendTool(tooltip, TTM_ENUMTOOLSW, static_cast<WPARAM>(index), tool)) {
        Fail("ToolAt: " + Describe(tooltip) + " has no tool " + std::to_string(index));
        return false;
    }
    return true;
}

bool CurrentTool(HWND tooltip, Tool* tool) {
    LentMemory memory(tooltip);
    return memory.valid() && memory.SendTool(tooltip, TTM_GETCURRENTTOOLW, 0, tool) != 0;
}

} // namespace driver
