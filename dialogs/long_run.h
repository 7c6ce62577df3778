// A long piece of work on the user-interface thread (a search over thousands of projects,
// a large consolidation): the wait cursor while it lasts, and the windows kept painted
// between its steps, so the program never looks hung.
#pragma once
#include <windows.h>

class LongRun {
  public:
    LongRun();
    ~LongRun();
    LongRun(const LongRun&) = delete;
    LongRun& operator=(const LongRun&) = delete;

    // True on the first call and then at most every 30 ms: the time to show progress.
    // Setting a static thousands of times would cost more than the work itself.
    bool Due();
    // Paints what waits to be painted. Nothing else is dispatched, so no click or key
    // can start anything in the middle of the work.
    void KeepPainted();

  private:
    HCURSOR previous_;
    ULONGLONG last_ = 0;
    bool started_ = false;
};
