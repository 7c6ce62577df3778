#include "campaign/board_helpers.h"

#include "resources/kestrum_ids.h"

namespace campaign {

namespace {

const char* const kPrompts[] = {"Save Current Tessaro Project As", "Name of New Tessaro Project"};

// A message box offers Cancel only with more than one button; then it is a question.
bool IsQuestion(HWND box) {
    return GetDlgItem(box, IDYES) != nullptr;
}

} // namespace

std::vector<std::string> AnswerUntilQuiet(DWORD pid, DWORD quietMs, int questionAnswer) {
    std::vector<std::string> texts;
    DWORD quietSince = GetTickCount();
    while (GetTickCount() - quietSince < quietMs) {
        HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
        const bool ended = !process || WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
        if (process)
            CloseHandle(process);
        if (ended)
            break;
        if (HWND box = driver::WaitMessageBox(pid, 50)) {
            texts.push_back(driver::MessageBoxText(box));
            driver::AnswerMessageBox(box, IsQuestion(box) ? questionAnswer : IDOK);
            driver::WaitGone(box, e2e::kWait);
            quietSince = GetTickCount();
            continue;
        }
        for (const char* caption : kPrompts)
            if (HWND prompt = driver::WaitVisibleWindow(caption, 0, pid)) {
                texts.push_back(std::string("prompt: ") + caption);
                driver::PostCommand(prompt, IDCANCEL);
                driver::WaitGone(prompt, e2e::kWait);
                quietSince = GetTickCount();
            }
    }
    return texts;
}

bool CloseAndWait(driver::Process& board, HWND window, int questionAnswer) {
    if (!board.pid)
        return true;
    driver::PostCommand(window, IDM_CLOSE_REQUEST);
    DWORD code = 1;
    bool ended = false;
    for (int round = 0; round < 20 && !ended; ++round) {
        AnswerUntilQuiet(board.pid, 300, questionAnswer);
        ended = driver::WaitExit(board, 200, &code);
    }
    if (!ended)
        driver::Kill(board);
    driver::CloseProcess(board);
    board = {};
    return ended && code == 0;
}

bool AnyStartsWith(const std::vector<std::string>& texts, const std::string& start) {
    for (const std::string& text : texts)
        if (text.compare(0, start.size(), start) == 0)
            return true;
    return false;
}

} // namespace campaign
