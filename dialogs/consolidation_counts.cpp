#include "dialogs/consolidation_counts.h"

#include "base/text.h"

void ShowCount(HWND control, long number) {
    char text[24];
    base::FormatText(text, sizeof text, "%ld", number);
    SetWindowTextA(control, text);
}

ConsolidationProgress ConsolidationCounts::Progress() {
    ConsolidationProgress progress;
    progress.show = Show;
    progress.context = this;
    return progress;
}

void ConsolidationCounts::ShowWhereItEnded() const {
    ShowCount(examined_, lastExamined_);
    ShowCount(remaining_, lastRemaining_);
}

void ConsolidationCounts::Show(void* context, long examined, long remaining) {
    auto* counts = static_cast<ConsolidationCounts*>(context);
    counts->lastExamined_ = examined;
    counts->lastRemaining_ = remaining;
    // Setting a static tens of thousands of times would cost more than the work.
    if (!counts->run_.Due())
        return;
    counts->ShowWhereItEnded();
    counts->run_.KeepPainted();
}
