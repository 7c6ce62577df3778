// The hand-over's trust in window handles: a handle from the settings store or from a
// posted command is taken only when it names a running board of another process, and an
// answer only from the board that was asked.
#include <windows.h>
#include <gtest/gtest.h>

#include "board/board.h"
#include "board/commands.h"
#include "board/handover.h"
#include "resources/kestrum_ids.h"

namespace {

// Another process's id as far as the predicate can tell: any id but this process's.
const DWORD kOtherProcess = GetCurrentProcessId() + 4;

HWND MakeWindow(const char* className, DWORD style = WS_POPUP, HWND parent = nullptr) {
    return CreateWindowExA(0, className, "probe", style, 0, 0, 10, 10, parent, nullptr, nullptr,
                           nullptr);
}

// Whether a WM_COMMAND with id waits in window's queue; removes what it looks at.
bool CommandPosted(HWND window, int id, LPARAM* second = nullptr) {
    MSG msg;
    bool found = false;
    while (PeekMessageA(&msg, window, WM_COMMAND, WM_COMMAND, PM_REMOVE))
        if (LOWORD(msg.wParam) == id) {
            found = true;
            if (second)
                *second = msg.lParam;
        }
    return found;
}

} // namespace

TEST(HandOverTrust, AMarkedTopLevelDialogOfAnotherProcessIsABoard) {
    HWND board = MakeWindow(WC_DIALOG);
    ASSERT_TRUE(board);
    EXPECT_FALSE(IsOtherBoardWindow(board, kOtherProcess)) << "not marked yet";
    MarkAsBoard(board);
    EXPECT_TRUE(IsOtherBoardWindow(board, kOtherProcess));
    EXPECT_FALSE(IsOtherBoardWindow(board, GetCurrentProcessId())) << "this process's own window";
    UnmarkBoard(board);
    EXPECT_FALSE(IsOtherBoardWindow(board, kOtherProcess)) << "the mark is gone";
    MarkAsBoard(board);
    DestroyWindow(board);
    EXPECT_FALSE(IsOtherBoardWindow(board, kOtherProcess)) << "a destroyed window";
}

TEST(HandOverTrust, NothingElseIsABoard) {
    EXPECT_FALSE(IsOtherBoardWindow(nullptr, kOtherProcess));
    EXPECT_FALSE(IsOtherBoardWindow(HWND_BROADCAST, kOtherProcess));
    EXPECT_FALSE(IsOtherBoardWindow((HWND)(INT_PTR)65535, kOtherProcess)) << "as read from text";
    EXPECT_FALSE(IsOtherBoardWindow(GetDesktopWindow(), kOtherProcess));

    HWND notADialog = MakeWindow("STATIC");
    MarkAsBoard(notADialog);
    EXPECT_FALSE(IsOtherBoardWindow(notADialog, kOtherProcess)) << "marked, but no dialog";

    HWND parent = MakeWindow(WC_DIALOG);
    MarkAsBoard(parent);
    HWND child = MakeWindow(WC_DIALOG, WS_CHILD, parent);
    ASSERT_TRUE(child);
    MarkAsBoard(child);
    EXPECT_FALSE(IsOtherBoardWindow(child, kOtherProcess)) << "a child window";
    EXPECT_TRUE(IsOtherBoardWindow(parent, kOtherProcess));
    DestroyWindow(parent);
    DestroyWindow(notADialog);
}

// The running board's side: 32814 is answered only when its second parameter is a board,
// and the answer carries the answering board's own handle.
TEST(HandOverTrust, ARequestFromAnythingButABoardIsNotAnswered) {
    g_board = BoardState();
    g_start = StartState();
    g_board.window = MakeWindow(WC_DIALOG);
    HWND asker = MakeWindow(WC_DIALOG);
    ASSERT_TRUE(g_board.window && asker);
    HandleBoardCommand(IDM_HANDOVER_ASK, 0, asker);
    EXPECT_FALSE(CommandPosted(asker, IDM_HANDOVER_ANSWER)) << "an unmarked window";
    MarkAsBoard(asker);
    HandleBoardCommand(IDM_HANDOVER_ASK, 0, asker);
    EXPECT_FALSE(CommandPosted(asker, IDM_HANDOVER_ANSWER)) << "a window of this very process";
    DestroyWindow(asker);
    DestroyWindow(g_board.window);
    g_board = BoardState();
}

// The waiting instance's side: only the board it asked can end its wait.
TEST(HandOverTrust, AnAnswerCountsOnlyFromTheBoardThatWasAsked) {
    g_start = StartState();
    HWND asked = MakeWindow(WC_DIALOG);
    HWND stranger = MakeWindow(WC_DIALOG);
    g_start.otherInstance = asked;
    HandleBoardCommand(IDM_HANDOVER_ANSWER, 0, nullptr);
    EXPECT_FALSE(g_start.answerReceived) << "an answer without a sender";
    HandleBoardCommand(IDM_HANDOVER_ANSWER, 0, stranger);
    EXPECT_FALSE(g_start.answerReceived) << "an answer from another window";
    HandleBoardCommand(IDM_HANDOVER_ANSWER, 0, asked);
    EXPECT_TRUE(g_start.answerReceived);
    DestroyWindow(asked);
    DestroyWindow(stranger);
    g_start = StartState();
}
