// Start-up speed of the board program against a plain dialog that reads and shows the
// same full project (bench/startup_baseline.cpp), both started from here and measured in
// the same run, each figure the median of repeated runs:
//   - time to ready: from just before CreateProcess until the window is visible, painted,
//     holds the project's last text and answers messages;
//   - the working set 300 ms after ready, also against the baseline with the system parts
//     the board uses (a tooltip control and a notification-area icon), which tells the
//     board's own share;
//   - with a trace build of the board, the time of each start-up step;
//   - a copy (a copy button's click, sent and answered) and a switch between two full
//     projects, against the baseline's copy and its setting of the same 66 texts.
// Usage: startup FOLDER RUNS BOARD BASELINE [TRACE_BOARD [EARLIER_BOARD]]
//   FOLDER is made afresh with two full projects and is the board's program folder; the
//   board's settings are written to its own key of this (benchmark) Wine prefix.
//   EARLIER_BOARD, another build of the board, takes its turn in the start-up runs too, so
//   that a change is measured before and after under the same load.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "bench/startup_ids.h"

namespace {

const char kSettingsKey[] = "Software\\Vontrel\\Applications\\vqp";
const char* const kProjects[2] = {"FIRST.VQP", "SECOND.VQP"};
constexpr DWORD kReadyTimeoutMs = 30000;
constexpr DWORD kSettleMs = 300;

double g_tick = 0; // milliseconds per counter tick

double Now() {
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return double(c.QuadPart) * g_tick;
}

double Median(std::vector<double> v) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

[[noreturn]] void Fail(const char* what) {
    fprintf(stderr, "startup bench: %s (error %lu)\n", what, GetLastError());
    exit(1);
}

// ---- data and settings -------------------------------------------------------------

// A full project: 33 names of 31 characters and 33 texts of 10,239 characters in lines
// of 40 to 100 characters, from a fixed seed.
void MakeProject(ProjectImage& image, unsigned seed) {
    std::mt19937 random(seed);
    const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 ";
    auto letter = [&] { return letters[random() % (sizeof letters - 1)]; };
    memset(&image, 0, sizeof image);
    for (int s = 0; s < kSlots; ++s) {
        for (int i = 0; i < kNameSize - 1; ++i)
            image.names[s][i] = letter();
        char* text = image.texts[s];
        int line = 0, lineLength = 40 + int(random() % 61);
        for (int i = 0; i < kTextSize - 1; ++i) {
            if (line == lineLength && i + 2 < kTextSize - 1) {
                text[i++] = '\r';
                text[i] = '\n';
                line = 0;
                lineLength = 40 + int(random() % 61);
            } else {
                text[i] = letter();
                ++line;
            }
        }
    }
}

void WriteFileWhole(const std::string& path, const void* data, DWORD size) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD done = 0;
    bool ok =
        file != INVALID_HANDLE_VALUE && WriteFile(file, data, size, &done, nullptr) && done == size;
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    if (!ok)
        Fail(("cannot write " + path).c_str());
}

void SetSetting(const char* section, const char* name, const std::string& value) {
    std::string key = std::string(kSettingsKey) + "\\" + section;
    HKEY h;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &h,
                        nullptr) != ERROR_SUCCESS)
        Fail("cannot open the settings key");
    RegSetValueExA(h, name, 0, REG_SZ, (const BYTE*)value.c_str(), DWORD(value.size() + 1));
    RegCloseKey(h);
}

// The settings of a user who installed the board and changed nothing, showing the first
// project; autoPaste off lets a copy return at once.
void SetBoardSettings(const std::string& folder, bool autoPaste) {
    SetSetting("Configure", "ThisProgramDir", folder);
    SetSetting("Files", "Current", folder + "\\" + kProjects[0]);
    SetSetting("Handles", "TransHandle", "0");
    const char* defaults[][2] = {{"MinOnEachCopy", "0"},
                                 {"TopMost", "1"},
                                 {"UseSystemTray", "1"},
                                 {"WantToolTip", "1"},
                                 {"HideInTrayOnStartup", "0"}};
    for (auto& d : defaults)
        SetSetting("Options", d[0], d[1]);
    SetSetting("Options", "AutoPaste", autoPaste ? "1" : "0");
}

// ---- one started program -----------------------------------------------------------

struct Started {
    PROCESS_INFORMATION process = {};
    HWND window = nullptr;
    double readyMs = 0;
    double workingSetMiB = 0;
    double peakWorkingSetMiB = 0;
};

struct Search {
    DWORD process;
    HWND found;
};

BOOL CALLBACK FindReadyWindow(HWND w, LPARAM l) {
    auto* search = reinterpret_cast<Search*>(l);
    DWORD process = 0;
    GetWindowThreadProcessId(w, &process);
    if (process != search->process || !IsWindowVisible(w) ||
        !GetDlgItem(w, kFieldId + 2 * (kSlots - 1)))
        return TRUE;
    search->found = w;
    return FALSE;
}

// Starts the command and waits until its window shows the whole last text and answers.
Started Start(const std::string& command, size_t lastTextLength) {
    Started s;
    STARTUPINFOA info = {};
    info.cb = sizeof info;
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    const double start = Now();
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &info,
                        &s.process))
        Fail(("cannot start " + command).c_str());
    for (;;) {
        Search search = {s.process.dwProcessId, nullptr};
        EnumWindows(FindReadyWindow, (LPARAM)&search);
        DWORD_PTR length = 0;
        if (search.found &&
            SendMessageTimeoutW(GetDlgItem(search.found, kFieldId + 2 * (kSlots - 1)),
                                WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, kReadyTimeoutMs, &length) &&
            length == lastTextLength) {
            s.readyMs = Now() - start;
            s.window = search.found;
            break;
        }
        if (Now() - start > kReadyTimeoutMs)
            Fail(("never ready: " + command).c_str());
        Sleep(1);
    }
    Sleep(kSettleMs);
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(s.process.hProcess, &memory, sizeof memory)) {
        s.workingSetMiB = double(memory.WorkingSetSize) / (1024 * 1024);
        s.peakWorkingSetMiB = double(memory.PeakWorkingSetSize) / (1024 * 1024);
    }
    return s;
}

// Closes the window as the user does and waits for the process to end.
void Stop(Started& s) {
    PostMessageA(s.window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(s.process.hProcess, 20000) != WAIT_OBJECT_0) {
        TerminateProcess(s.process.hProcess, 1);
        Fail("a program did not end when closed");
    }
    CloseHandle(s.process.hProcess);
    CloseHandle(s.process.hThread);
    Sleep(100); // let the desktop settle before the next start
}

// Sends a command and returns how long the program took to handle it.
double TimedCommand(HWND window, int id, int code, HWND control) {
    DWORD_PTR result = 0;
    const double start = Now();
    if (!SendMessageTimeoutA(window, WM_COMMAND, MAKEWPARAM(id, code), (LPARAM)control, SMTO_NORMAL,
                             20000, &result))
        Fail("a command was not answered");
    return Now() - start;
}

// ---- the figures -------------------------------------------------------------------

void PrintRow(const char* what, const std::vector<double>& v, const char* unit) {
    printf("  %-44s median %8.2f %s  (min %.2f, max %.2f, %zu runs)\n", what, Median(v), unit,
           *std::min_element(v.begin(), v.end()), *std::max_element(v.begin(), v.end()), v.size());
}

// The trace file of one start of the trace build: each step's time since the start.
std::vector<std::pair<std::string, double>> ReadTrace(const char* path, double startMs) {
    std::vector<std::pair<std::string, double>> steps;
    FILE* file = fopen(path, "r");
    if (!file)
        return steps;
    char step[128];
    long long value;
    double msPerTick = 0;
    while (fscanf(file, " %127[^\t]\t%lld", step, &value) == 2) {
        if (strcmp(step, "frequency") == 0)
            msPerTick = 1000.0 / double(value);
        else
            steps.emplace_back(step, double(value) * msPerTick - startMs);
    }
    fclose(file);
    return steps;
}

struct TraceFigures {
    std::vector<std::string> order;
    std::map<std::string, std::vector<double>> at, took;
};

void AddTrace(TraceFigures& f, const std::string& trace, double start) {
    double previous = 0;
    for (auto& step : ReadTrace(trace.c_str(), start)) {
        if (!f.at.count(step.first))
            f.order.push_back(step.first);
        f.at[step.first].push_back(step.second);
        f.took[step.first].push_back(step.second - previous);
        previous = step.second;
    }
}

void PrintTrace(const char* title, TraceFigures& f, int runs) {
    printf("\n== %s (medians of %d starts, ms)\n", title, runs);
    printf("  %-44s %11s %10s\n", "step ended", "since start", "step took");
    for (auto& name : f.order)
        printf("  %-44s %11.1f %10.1f\n", name.c_str(), Median(f.at[name]), Median(f.took[name]));
}

// The trace build of the board and the baseline, taking turns.
void MeasureTrace(const std::string& traceBoard, const std::string& baseline,
                  const std::string& folder, int runs, size_t lastLength) {
    const std::string trace = folder + "\\startup-trace.txt";
    SetEnvironmentVariableA("TESSARO_STARTUP_TRACE", trace.c_str());
    TraceFigures board, base;
    for (int r = 0; r < runs; ++r) {
        for (TraceFigures* f : {&base, &board}) {
            DeleteFileA(trace.c_str());
            const double start = Now();
            Started s = Start(f == &board ? traceBoard : baseline, lastLength);
            Stop(s);
            AddTrace(*f, trace, start);
        }
    }
    SetEnvironmentVariableA("TESSARO_STARTUP_TRACE", nullptr);
    DeleteFileA(trace.c_str());
    PrintTrace("start-up steps of the baseline", base, runs);
    PrintTrace("start-up steps of the board's trace build", board, runs);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        fprintf(stderr, "usage: %s FOLDER RUNS BOARD BASELINE [TRACE_BOARD [EARLIER_BOARD]]\n",
                argv[0]);
        return 2;
    }
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    g_tick = 1000.0 / double(frequency.QuadPart);
    const std::string folder = argv[1];
    const int runs = std::max(1, atoi(argv[2]));
    const std::string board = std::string("\"") + argv[3] + "\"";
    const std::string traceBoard = argc > 5 ? std::string("\"") + argv[5] + "\"" : "";
    const std::string earlier = argc > 6 ? std::string("\"") + argv[6] + "\"" : "";

    CreateDirectoryA(folder.c_str(), nullptr);
    static ProjectImage images[2];
    for (int i = 0; i < 2; ++i) {
        MakeProject(images[i], 1000u + unsigned(i));
        WriteFileWhole(folder + "\\" + kProjects[i], &images[i], sizeof images[i]);
    }
    const size_t lastLength = strlen(images[0].texts[kSlots - 1]);
    const std::string projectArgs =
        " \"" + folder + "\\" + kProjects[0] + "\" \"" + folder + "\\" + kProjects[1] + "\"";
    const std::string baseline = std::string("\"") + argv[4] + "\"" + projectArgs;
    const std::string baselineParts =
        std::string("\"") + argv[4] + "\" --system-parts" + projectArgs;

    // Start-up, the two programs taking turns so that both meet the same load.
    SetBoardSettings(folder, true);
    std::vector<double> readyBase, readyBoard, wsBase, wsBoard, peakBase, peakBoard;
    std::vector<double> readyEarlier, wsEarlier, wsBaseParts;
    // One start of each first: the file cache and the prefix are warm for both.
    for (const std::string* command : {&baseline, &baselineParts, &board}) {
        Started warm = Start(*command, lastLength);
        Stop(warm);
    }
    for (int r = 0; r < runs; ++r) {
        Started b = Start(baseline, lastLength);
        readyBase.push_back(b.readyMs);
        wsBase.push_back(b.workingSetMiB);
        peakBase.push_back(b.peakWorkingSetMiB);
        Stop(b);
        Started k = Start(board, lastLength);
        readyBoard.push_back(k.readyMs);
        wsBoard.push_back(k.workingSetMiB);
        peakBoard.push_back(k.peakWorkingSetMiB);
        Stop(k);
        Started p = Start(baselineParts, lastLength);
        wsBaseParts.push_back(p.workingSetMiB);
        Stop(p);
        if (!earlier.empty()) {
            Started e = Start(earlier, lastLength);
            readyEarlier.push_back(e.readyMs);
            wsEarlier.push_back(e.workingSetMiB);
            Stop(e);
        }
    }
    const double base = Median(readyBase), ours = Median(readyBoard);
    printf("== time to ready, a full project (33 names of 31 characters, texts of 10,239)\n");
    PrintRow("baseline: plain 100-control dialog", readyBase, "ms");
    PrintRow("board", readyBoard, "ms");
    printf("  board / baseline: %.2fx; goal: board <= 1.3 x baseline + 100 ms = %.1f ms: %s\n",
           ours / base, 1.3 * base + 100, ours <= 1.3 * base + 100 ? "met" : "NOT met");
    if (!earlier.empty()) {
        PrintRow("earlier board", readyEarlier, "ms");
        printf("  earlier board / baseline: %.2fx; board - earlier board: %.1f ms\n",
               Median(readyEarlier) / base, ours - Median(readyEarlier));
    }
    printf("\n== working set 300 ms after ready\n");
    PrintRow("baseline", wsBase, "MiB");
    PrintRow("board", wsBoard, "MiB");
    if (!earlier.empty())
        PrintRow("earlier board", wsEarlier, "MiB");
    PrintRow("baseline, peak", peakBase, "MiB");
    PrintRow("board, peak", peakBoard, "MiB");
    printf("  board - baseline: %.2f MiB (goal: within 3 MiB: %s)\n",
           Median(wsBoard) - Median(wsBase),
           Median(wsBoard) - Median(wsBase) <= 3 ? "met" : "NOT met");
    PrintRow("baseline with tooltip control and tray icon", wsBaseParts, "MiB");
    printf("  of the board's difference, the system parts: %.2f MiB; the board's own: %.2f MiB\n",
           Median(wsBaseParts) - Median(wsBase), Median(wsBoard) - Median(wsBaseParts));

    if (!traceBoard.empty())
        MeasureTrace(traceBoard, baseline, folder, runs, lastLength);

    // Copy and switch: both programs open at once, commands taking turns.
    const int commands = 2 * runs + 1;
    std::vector<double> copyBase, copyBoard, switchBase, switchBoard;
    SetBoardSettings(folder, false);
    Started k = Start(board, lastLength);
    Started b = Start(baseline, lastLength);
    DWORD_PTR loaded = 0;
    SendMessageTimeoutA(b.window, WM_COMMAND, kLoadOther, 0, SMTO_NORMAL, 20000, &loaded);
    if (!loaded)
        Fail("the baseline could not read the second project");
    HWND selector = GetDlgItem(k.window, kSelectorId);
    for (int i = 0; i < commands; ++i) {
        const int copyId = kCopyId + 2 * (i % kSlots);
        copyBase.push_back(
            TimedCommand(b.window, copyId, BN_CLICKED, GetDlgItem(b.window, copyId)));
        copyBoard.push_back(
            TimedCommand(k.window, copyId, BN_CLICKED, GetDlgItem(k.window, copyId)));
        switchBase.push_back(TimedCommand(b.window, kShowOther, 0, nullptr));
        // The selector lists the two projects in order; pick the one not shown.
        const LRESULT shown = SendMessageA(selector, CB_GETCURSEL, 0, 0);
        SendMessageA(selector, CB_SETCURSEL, shown == 0 ? 1 : 0, 0);
        switchBoard.push_back(TimedCommand(k.window, kSelectorId, CBN_SELCHANGE, selector));
        if (SendMessageA(selector, CB_GETCURSEL, 0, 0) == shown)
            Fail("the board did not switch projects");
    }
    Stop(b);
    Stop(k);
    SetBoardSettings(folder, true);
    printf("\n== copy (a copy button's click, sent and answered; AutoPaste off)\n");
    PrintRow("baseline: select all, WM_COPY", copyBase, "ms");
    PrintRow("board", copyBoard, "ms");
    printf("  board / baseline: %.2fx; goal: board under 5 ms: %s\n",
           Median(copyBoard) / Median(copyBase), Median(copyBoard) < 5 ? "met" : "NOT met");
    printf("\n== switch between two full projects\n");
    PrintRow("baseline: set the same 66 texts", switchBase, "ms");
    PrintRow("board: pick the other project", switchBoard, "ms");
    printf("  board / baseline: %.2fx; goal: within 1.1x: %s\n",
           Median(switchBoard) / Median(switchBase),
           Median(switchBoard) <= 1.1 * Median(switchBase) ? "met" : "NOT met");
    for (auto name : kProjects)
        DeleteFileA((folder + "\\" + name).c_str());
    return 0;
}
