// The yardstick of the start-up benchmark (bench/startup.cpp): a plain dialog of 100
// controls (33 buttons, 33 fields, 33 number labels and a selector) that reads one
// project file and shows it, with the board's field font and the board's control ids.
// It does nothing else, so the board's start-up is measured against what its controls
// and its project cost on this system.
// Usage: startup_baseline [--system-parts] PROJECT [OTHER_PROJECT]
//   --system-parts adds what the board takes from the system besides its dialog: a tooltip
//   control with a tool for each control, and a notification-area icon. The libraries are
//   loaded by name, so that the plain baseline does not load them.
//   A click on a copy button copies its field, as the board's copy does without options.
//   Command kLoadOther reads OTHER_PROJECT; command kShowOther then shows the other of the
//   two projects each time: the 66 texts of a switch, set in-process.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "bench/startup_ids.h"
#include "store/project_image.h"

namespace {

ProjectImage g_images[2];
int g_shown = 0;
const char* g_paths[2] = {"", ""};
HFONT g_font = nullptr;
bool g_systemParts = false;

// The same trace as the board's trace build writes (board/startup_trace.h), when the
// environment variable TESSARO_STARTUP_TRACE names a file.
struct Note {
    const char* step;
    LONGLONG counter;
};
Note g_notes[16];
int g_noteCount = 0;

void Trace(const char* step) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    if (g_noteCount < 16)
        g_notes[g_noteCount++] = {step, now.QuadPart};
}

void WriteTrace() {
    char path[MAX_PATH];
    DWORD n = GetEnvironmentVariableA("TESSARO_STARTUP_TRACE", path, sizeof path);
    FILE* file = n > 0 && n < sizeof path ? fopen(path, "w") : nullptr;
    if (!file)
        return;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    fprintf(file, "frequency\t%lld\n", (long long)frequency.QuadPart);
    for (int i = 0; i < g_noteCount; ++i)
        fprintf(file, "%s\t%lld\n", g_notes[i].step, (long long)g_notes[i].counter);
    fclose(file);
}

// ---- the template ----------------------------------------------------------------

// A dialog template in memory: a header, then each item DWORD-aligned.
class Template {
  public:
    void Header(DWORD style, int items, short cx, short cy) {
        Dword(style);
        Dword(0);
        Word(WORD(items));
        Word(0), Word(0), Word(WORD(cx)), Word(WORD(cy));
        Word(0); // no menu
        Word(0); // the dialog class
        Text("Baseline");
        Word(8);
        Text("MS Sans Serif");
    }
    void Item(WORD atom, DWORD style, DWORD exStyle, short x, short y, short cx, short cy, int id,
              const char* text) {
        while (words_.size() % 2)
            Word(0);
        Dword(style | WS_CHILD | WS_VISIBLE);
        Dword(exStyle);
        Word(WORD(x)), Word(WORD(y)), Word(WORD(cx)), Word(WORD(cy));
        Word(WORD(id));
        Word(0xFFFF), Word(atom);
        Text(text);
        Word(0); // no creation data
    }
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

  private:
    void Word(WORD w) { words_.push_back(w); }
    void Dword(DWORD d) { Word(LOWORD(d)), Word(HIWORD(d)); }
    void Text(const char* text) {
        while (*text)
            Word(WORD(static_cast<unsigned char>(*text++)));
        Word(0);
    }
    std::vector<WORD> words_;
};

constexpr WORD kButton = 0x0080, kEdit = 0x0081, kStatic = 0x0082, kComboBox = 0x0085;

// The board's geometry: three columns of eleven slots.
short SlotX(int s) {
    return short(4 + 130 * (s / 11));
}
short SlotY(int s) {
    return short(18 + 14 * (s % 11));
}

void BuildTemplate(Template& t) {
    t.Header(DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
             3 * kSlots + 1, 395, 175);
    t.Item(kComboBox, CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | WS_TABSTOP, 0, 195, 0, 197, 173,
           kSelectorId, "");
    for (int s = 0; s < kSlots; ++s) {
        char number[4];
        snprintf(number, sizeof number, "%d", s + 1);
        t.Item(kStatic, SS_CENTER, 0, short(SlotX(s) + 129 - 4), SlotY(s), 4, 11, kLabelId + s,
               number);
        t.Item(kEdit, ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN | WS_TABSTOP,
               0, short(SlotX(s) + 86), SlotY(s), 42, 14, kFieldId + 2 * s, "");
        t.Item(kButton, BS_PUSHBUTTON | BS_LEFT | WS_TABSTOP, 0, SlotX(s), SlotY(s), 87, 14,
               kCopyId + 2 * s, "");
    }
}

// ---- the project -------------------------------------------------------------------

bool ReadImage(const char* path, ProjectImage& image) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD got = 0;
    bool ok = ReadFile(file, &image, sizeof image, &got, nullptr) && got == sizeof image;
    CloseHandle(file);
    return ok;
}

void Show(HWND dialog, const ProjectImage& image) {
    static char text[kTextSize + 1];
    char name[kNameSize + 1];
    for (int s = 0; s < kSlots; ++s) {
        SlotName(image, s, name, sizeof name);
        SetDlgItemTextA(dialog, kCopyId + 2 * s, name);
    }
    for (int s = 0; s < kSlots; ++s) {
        SlotText(image, s, text, sizeof text);
        SetDlgItemTextA(dialog, kFieldId + 2 * s, text);
    }
}

// ---- the system parts ---------------------------------------------------------------

constexpr UINT kTrayMessage = WM_APP + 100;

// A tip as long as the board's longest, for each of the dialog's controls.
void AddTooltip(HWND dialog) {
    HMODULE controls = LoadLibraryA("comctl32.dll");
    using InitFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    auto init =
        controls ? (InitFn)(void*)GetProcAddress(controls, "InitCommonControlsEx") : nullptr;
    INITCOMMONCONTROLSEX which = {sizeof which, ICC_WIN95_CLASSES};
    if (!init || !init(&which))
        return;
    HWND tips = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!tips)
        return;
    static char text[] =
        "Select this button to copy text into the clipboard. Then you can go into any program "
        "and paste the text. A tip of about the length of the board's longest tip, so that the "
        "tooltip control keeps as much text as it does for the board, wrapping over lines.";
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        TOOLINFOA tool = {};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = dialog;
        tool.uId = (UINT_PTR)child;
        tool.lpszText = text;
        SendMessageA(tips, TTM_ADDTOOLA, 0, (LPARAM)&tool);
    }
    SendMessageA(tips, TTM_SETMAXTIPWIDTH, 0, 300);
    SendMessageA(tips, TTM_ACTIVATE, TRUE, 0);
}

using NotifyFn = BOOL(WINAPI*)(DWORD, NOTIFYICONDATAA*);

NotifyFn TrayCall() {
    HMODULE shell = LoadLibraryA("shell32.dll");
    return shell ? (NotifyFn)(void*)GetProcAddress(shell, "Shell_NotifyIconA") : nullptr;
}

void TrayIcon(HWND dialog, DWORD what) {
    NotifyFn notify = TrayCall();
    if (!notify)
        return;
    NOTIFYICONDATAA icon = {};
    icon.cbSize = sizeof icon;
    icon.hWnd = dialog;
    icon.uID = 1;
    icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    icon.uCallbackMessage = kTrayMessage;
    icon.hIcon = LoadIconA(nullptr, (LPCSTR)IDI_APPLICATION);
    lstrcpynA(icon.szTip, "Baseline", sizeof icon.szTip);
    notify(what, &icon);
}

void Initialise(HWND dialog) {
    Trace("dialog created");
    SetWindowTextA(dialog, g_paths[0]);
    g_font =
        CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Courier New");
    SendDlgItemMessageA(dialog, kSelectorId, WM_SETFONT, (WPARAM)g_font, TRUE);
    for (int s = 0; s < kSlots; ++s)
        SendDlgItemMessageA(dialog, kFieldId + 2 * s, WM_SETFONT, (WPARAM)g_font, TRUE);
    Trace("field font");
    const char* name = strrchr(g_paths[0], '\\');
    SendDlgItemMessageA(dialog, kSelectorId, CB_ADDSTRING, 0, (LPARAM)(name ? name + 1 : ""));
    SendDlgItemMessageA(dialog, kSelectorId, CB_SETCURSEL, 0, 0);
    if (ReadImage(g_paths[0], g_images[0])) {
        Trace("project read");
        Show(dialog, g_images[0]);
    }
    Trace("project read and shown");
    if (g_systemParts) {
        AddTooltip(dialog);
        TrayIcon(dialog, NIM_ADD);
        Trace("system parts");
    }
    // Shown and painted here, as the board is once its initialisation is done, so that
    // both are ready at the same point.
    ShowWindow(dialog, SW_SHOWNORMAL);
    UpdateWindow(dialog);
    Trace("shown and painted");
    WriteTrace();
}

void End(HWND dialog) {
    if (g_systemParts)
        TrayIcon(dialog, NIM_DELETE);
    EndDialog(dialog, 0);
}

void Copy(HWND dialog, int copyId) {
    HWND field = GetDlgItem(dialog, copyId + 1);
    SendMessageA(field, EM_SETSEL, 0, -1);
    SendMessageA(field, WM_COPY, 0, 0);
}

INT_PTR CALLBACK Procedure(HWND dialog, UINT msg, WPARAM w, LPARAM) {
    switch (msg) {
    case WM_INITDIALOG: Initialise(dialog); return TRUE;
    case WM_COMMAND: {
        const int id = LOWORD(w);
        if (id >= kCopyId && id < kCopyId + 2 * kSlots && (id - kCopyId) % 2 == 0) {
            Copy(dialog, id);
        } else if (id == kLoadOther) {
            return SetWindowLongPtrA(dialog, DWLP_MSGRESULT, ReadImage(g_paths[1], g_images[1])),
                   TRUE;
        } else if (id == kShowOther) {
            g_shown = 1 - g_shown;
            Show(dialog, g_images[g_shown]);
        } else if (id == IDCANCEL) {
            End(dialog);
        }
        return TRUE;
    }
    case WM_CLOSE: End(dialog); return TRUE;
    }
    return FALSE;
}

} // namespace

// Built as a windows-subsystem program, as the board is: no console.
int main(int argc, char** argv) {
    int first = 1;
    if (argc > 1 && strcmp(argv[1], "--system-parts") == 0) {
        g_systemParts = true;
        first = 2;
    }
    if (argc <= first) {
        fprintf(stderr, "usage: %s [--system-parts] PROJECT [OTHER_PROJECT]\n", argv[0]);
        return 2;
    }
    Trace("main entered");
    g_paths[0] = argv[first];
    g_paths[1] = argc > first + 1 ? argv[first + 1] : "";
    Template t;
    BuildTemplate(t);
    DialogBoxIndirectParamA(GetModuleHandleA(nullptr), t.Get(), nullptr, Procedure, 0);
    if (g_font)
        DeleteObject(g_font);
    return 0;
}
