// The two counts of a running consolidation, slots examined and slots still to be placed,
// in the dialog's statics: shown at most every 30 ms, with the windows kept painted
// between, under the wait cursor.
#pragma once
#include <windows.h>

#include "dialogs/long_run.h"
#include "store/consolidate.h"

void ShowCount(HWND control, long number);

class ConsolidationCounts {
  public:
    ConsolidationCounts(HWND examined, HWND remaining)
        : examined_(examined), remaining_(remaining) {}
    ConsolidationCounts(const ConsolidationCounts&) = delete;
    ConsolidationCounts& operator=(const ConsolidationCounts&) = delete;

    // What the run is told to show with; valid while this lives.
    ConsolidationProgress Progress();
    // The counts where the run ended, whenever it last showed them.
    void ShowWhereItEnded() const;

  private:
    static void Show(void* context, long examined, long remaining);

    HWND examined_;
    HWND remaining_;
    LongRun run_;
    long lastExamined_ = 0;
    long lastRemaining_ = 0;
};
