// Closing a running board before files are replaced: the posted close request, the message,
// and the wait for the board's window handle to be cleared.
#include <gtest/gtest.h>

#include <string>

#include "installer/close_board.h"
#include "installer_support.h"
#include "resources/kestrum_ids.h"
#include "settings/settings.h"

using namespace installer;

namespace {

test::FakeEnvironment* g_env = nullptr;
int g_closeRequests = 0;
bool g_clearsHandle = true;

// Plays the board program: a close request clears TransHandle, as the board does.
LRESULT CALLBACK BoardProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    if (msg == WM_COMMAND && LOWORD(w) == IDM_CLOSE_REQUEST && l == 0) {
        ++g_closeRequests;
        if (g_clearsHandle && g_env)
            g_env->SetSetting(settings::kHandles, settings::kTransHandle, "0");
    }
    return DefWindowProcA(hwnd, msg, w, l);
}

class CloseBoardTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::g_waits.clear();
        g_env = &env_;
        g_closeRequests = 0;
        g_clearsHandle = true;
        WNDCLASSA wc = {};
        wc.lpfnWndProc = BoardProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TessaroBoardStandIn";
        RegisterClassA(&wc);
        board_ = CreateWindowA("TessaroBoardStandIn", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                               nullptr);
        ASSERT_NE(board_, nullptr);
        // The last value read is remembered: start every test from a board that is not running.
        env_.SetSetting(settings::kHandles, settings::kTransHandle, "0");
        CloseRunningBoard(env_, test::RecordWait);
        test::g_waits.clear();
    }
    void TearDown() override {
        DestroyWindow(board_);
        g_env = nullptr;
    }
    void Publish(HWND window) {
        env_.SetSetting(settings::kHandles, settings::kTransHandle,
                        std::to_string((int)(INT_PTR)window));
    }

    test::FakeEnvironment env_;
    test::MessageLog messages_;
    HWND board_ = nullptr;
};

} // namespace

TEST_F(CloseBoardTest, NoBoardNoMessageNoWait) {
    EXPECT_TRUE(CloseRunningBoard(env_, test::RecordWait));
    env_.settings.clear();
    EXPECT_TRUE(CloseRunningBoard(env_, test::RecordWait)) << "a missing value reads as 0";
    EXPECT_TRUE(messages_.Messages().empty());
    EXPECT_TRUE(test::g_waits.empty());
}

TEST_F(CloseBoardTest, ARunningBoardIsAskedToCloseAndAwaited) {
    Publish(board_);
    EXPECT_TRUE(CloseRunningBoard(env_, test::RecordWait));
    EXPECT_EQ(g_closeRequests, 1);
    ASSERT_EQ(messages_.Messages().size(), 1u);
    EXPECT_EQ(messages_.Messages()[0].text,
              "Closing [Tessaro] as it can not be running while doing this operation...");
    EXPECT_EQ(messages_.Messages()[0].caption, "Tessaro");
    EXPECT_EQ(messages_.Messages()[0].type, UINT(MB_OK)) << "no icon";
    EXPECT_EQ(test::g_waits, std::vector<unsigned>{500u}) << "one pass was enough";
}

TEST_F(CloseBoardTest, ABoardThatNeverClearsItsHandleIsAwaitedElevenTimes) {
    g_clearsHandle = false;
    Publish(board_);
    EXPECT_FALSE(CloseRunningBoard(env_, test::RecordWait));
    EXPECT_EQ(g_closeRequests, 1);
    EXPECT_EQ(test::g_waits, std::vector<unsigned>(11, 500u));
}

TEST_F(CloseBoardTest, AStaleHandleStillGivesTheMessageAndTheWait) {
    HWND gone =
        CreateWindowA("TessaroBoardStandIn", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    Publish(gone);
    EXPECT_FALSE(CloseRunningBoard(env_, test::RecordWait));
    EXPECT_EQ(g_closeRequests, 0);
    EXPECT_EQ(messages_.Messages().size(), 1u);
    EXPECT_EQ(test::g_waits.size(), 11u);
}

TEST_F(CloseBoardTest, AValueThatDisappearsKeepsTheLastOneRead) {
    g_clearsHandle = false;
    Publish(board_);
    EXPECT_FALSE(CloseRunningBoard(env_, test::RecordWait));
    env_.settings.clear();
    test::g_waits.clear();
    EXPECT_FALSE(CloseRunningBoard(env_, test::RecordWait))
        << "the missing value reads as the handle read before";
    EXPECT_EQ(g_closeRequests, 2);
}
