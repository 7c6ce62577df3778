#include "board/shell_library.h"

#include "base/system_library.h"
#include "base/text.h"

namespace {

using NotifyIconFunction = BOOL(WINAPI*)(DWORD, NOTIFYICONDATAA*);
using ExecuteFunction = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);

NotifyIconFunction g_notifyIcon = nullptr;
ExecuteFunction g_execute = nullptr;
bool g_tried = false;

} // namespace

bool LoadShellLibrary() {
    if (g_tried)
        return g_notifyIcon && g_execute;
    g_tried = true;
    HMODULE library = base::LoadSystemLibrary("shell32.dll");
    if (!library)
        return false;
    g_notifyIcon = (NotifyIconFunction)(void*)GetProcAddress(library, "Shell_NotifyIconA");
    g_execute = (ExecuteFunction)(void*)GetProcAddress(library, "ShellExecuteA");
    return g_notifyIcon && g_execute;
}

BOOL ShellNotifyIcon(DWORD message, NOTIFYICONDATAA* record) {
    return LoadShellLibrary() ? g_notifyIcon(message, record) : FALSE;
}

HINSTANCE ShellOpen(HWND owner, const char* file, const char* folder, int show) {
    if (!LoadShellLibrary())
        return (HINSTANCE)(INT_PTR)SE_ERR_DLLNOTFOUND;
    return g_execute(owner, "open", file, nullptr, folder, show);
}
