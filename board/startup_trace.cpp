#include "board/startup_trace.h"

#ifdef TESSARO_STARTUP_TRACE
#include <windows.h>

#include <cstdio>

namespace {

struct Note {
    const char* step; // a literal
    LONGLONG counter;
};

// Kept in memory: writing a file at every step would cost more than some steps.
Note g_notes[64];
int g_count = 0;
bool g_written = false;

} // namespace

void TraceStartup(const char* step) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    if (g_count < (int)(sizeof g_notes / sizeof g_notes[0]))
        g_notes[g_count++] = {step, now.QuadPart};
}

void WriteStartupTrace() {
    char path[MAX_PATH];
    DWORD n = GetEnvironmentVariableA("TESSARO_STARTUP_TRACE", path, sizeof path);
    if (g_written || n == 0 || n >= sizeof path)
        return;
    g_written = true;
    FILE* file = fopen(path, "w");
    if (!file)
        return;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    fprintf(file, "frequency\t%lld\n", (long long)frequency.QuadPart);
    for (int i = 0; i < g_count; ++i)
        fprintf(file, "%s\t%lld\n", g_notes[i].step, (long long)g_notes[i].counter);
    fclose(file);
}

#endif
