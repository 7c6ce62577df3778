// Timing of the board's start-up steps, for the start-up benchmark (bench/startup.sh).
// Only a build configured with TESSARO_STARTUP_TRACE records anything; in every other
// build the calls compile to nothing.
#pragma once

#ifdef TESSARO_STARTUP_TRACE
// Notes that the step named has just ended, with the time of the performance counter.
void TraceStartup(const char* step);
// Writes the notes to the file named by the environment variable TESSARO_STARTUP_TRACE
// ("step<TAB>counter" lines, the counter's frequency first), once.
void WriteStartupTrace();
#else
inline void TraceStartup(const char*) {}
inline void WriteStartupTrace() {}
#endif
