// What the campaign's parts do with a running board beyond the common fixture.
#pragma once
#include <string>
#include <vector>

#include "e2e/board_fixture.h"

namespace campaign {

// The texts of the message boxes a board of pid showed until it was quiet for quietMs,
// each answered: a question with its given answer, a notice with OK; a name prompt is
// cancelled. Stops early when the process ends.
std::vector<std::string> AnswerUntilQuiet(DWORD pid, DWORD quietMs, int questionAnswer = IDCANCEL);

// Asks the board to close and answers what it asks as above; true with exit code 0.
bool CloseAndWait(driver::Process& board, HWND window, int questionAnswer = IDCANCEL);

// Whether one of the texts starts with start.
bool AnyStartsWith(const std::vector<std::string>& texts, const std::string& start);

} // namespace campaign
