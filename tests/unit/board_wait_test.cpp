// The board's pumped wait: closing ends the waits that are not forced, and a change of the
// system time ends the next waits at once.
#include <windows.h>
#include <gtest/gtest.h>

#include "board/board.h"
#include "board/tray.h"

namespace {

ULONGLONG TimeBoardWait(unsigned ms, bool forced) {
    ULONGLONG start = GetTickCount64();
    BoardWait(ms, forced);
    return GetTickCount64() - start;
}

} // namespace

TEST(BoardWait, ClosingAndTimeChangesEndItAtOnce) {
    g_start = StartState();
    EXPECT_GE(TimeBoardWait(150, false), 150u) << "an ordinary wait runs its course";

    g_start.timeChangeCredits = 2;
    EXPECT_LT(TimeBoardWait(2000, true), 500u) << "a credit ends even a forced wait";
    EXPECT_EQ(g_start.timeChangeCredits, 1);
    EXPECT_LT(TimeBoardWait(2000, false), 500u);
    EXPECT_EQ(g_start.timeChangeCredits, 0);

    g_start.closing = true;
    EXPECT_LT(TimeBoardWait(2000, false), 500u) << "a wait that is not forced ends when closing";
    EXPECT_GE(TimeBoardWait(300, true), 300u) << "a forced wait runs its course";
    g_start = StartState();
}

TEST(BoardWait, ATimeChangeMessageGivesTenCredits) {
    g_start = StartState();
    g_board = BoardState();
    HWND window = CreateWindowA("STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(window);
    g_board.window = window;
    TrayWindowProcedure(WM_TIMECHANGE, 0, 0);
    EXPECT_EQ(g_start.timeChangeCredits, 10);
    for (int i = 0; i < 10; ++i)
        EXPECT_LT(TimeBoardWait(1000, false), 500u) << "wait " << i;
    EXPECT_GE(TimeBoardWait(100, false), 100u) << "the eleventh wait runs its course";
    DestroyWindow(window);
    g_board = BoardState();
    g_start = StartState();
}
