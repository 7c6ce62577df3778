// Closing a running board before files are replaced: the posted close request, the message,
// and the wait for the board's window handle to be cleared.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "installer/close_board.h"
#include "resources/kestrum_ids.h"
#include "settings/settings.h"
#include "support.h"

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
    // The board's window is a window of this process here, so the fake environment is told
    // that it counts as a board (the real check refuses this process's windows).
    void Publish(HWND window) {
        env_.boardWindows.insert(window);
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

// A handle that names no board window (a stale one, another program's window, the
// broadcast handle) gets no close request, and nobody is told or kept waiting for it.
TEST_F(CloseBoardTest, AHandleThatNamesNoBoardIsIgnored) {
    env_.SetSetting(settings::kHandles, settings::kTransHandle,
                    std::to_string((int)(INT_PTR)board_));
    EXPECT_TRUE(CloseRunningBoard(env_, test::RecordWait));
    env_.SetSetting(settings::kHandles, settings::kTransHandle, "65535");
    env_.boardWindows.insert(HWND_BROADCAST);
    EXPECT_TRUE(CloseRunningBoard(env_, test::RecordWait)) << "never a broadcast";
    EXPECT_EQ(g_closeRequests, 0);
    EXPECT_TRUE(messages_.Messages().empty());
    EXPECT_TRUE(test::g_waits.empty());
}

TEST(BoardWindowValue, ZeroAndTheBroadcastHandleNameNoWindow) {
    EXPECT_EQ(BoardWindowFromSetting(0), nullptr);
    EXPECT_EQ(BoardWindowFromSetting(0xFFFF), nullptr);
    EXPECT_EQ(BoardWindowFromSetting(0x10042), (HWND)(LONG_PTR)0x10042);
    // Read back from "%i" text of a handle with the top bit set: sign-extended as the
    // system does for 32-bit handle values.
    EXPECT_EQ(BoardWindowFromSetting(0xFFFFFFF0ul), (HWND)(LONG_PTR)-16);
}

namespace {

WindowFacts BoardFacts(const char* title) {
    WindowFacts facts;
    facts.exists = true;
    facts.topLevel = true;
    facts.ownProcess = false;
    strcpy(facts.className, "#32770");
    strcpy(facts.title, title);
    return facts;
}

} // namespace

TEST(BoardWindowRule, OnlyATopLevelDialogOfAnotherProcessWithABoardTitle) {
    EXPECT_TRUE(LooksLikeBoard(BoardFacts("Tessaro >C:\\vqp\\SAMPLE.VQP")));
    EXPECT_TRUE(LooksLikeBoard(BoardFacts("Tessaro >"))) << "a board without a project";
    EXPECT_TRUE(LooksLikeBoard(BoardFacts("Saving settings..."))) << "a board that closes";

    EXPECT_FALSE(LooksLikeBoard(BoardFacts("Tessaro Installation")));
    EXPECT_FALSE(LooksLikeBoard(BoardFacts("Tessaro")));
    EXPECT_FALSE(LooksLikeBoard(BoardFacts("Saving settings... done")));
    EXPECT_FALSE(LooksLikeBoard(BoardFacts("tessaro >C:\\x.vqp")))
        << "the title as the board sets it";
    EXPECT_FALSE(LooksLikeBoard(BoardFacts("")));

    WindowFacts facts = BoardFacts("Tessaro >C:\\x.vqp");
    facts.exists = false;
    EXPECT_FALSE(LooksLikeBoard(facts));
    facts = BoardFacts("Tessaro >C:\\x.vqp");
    facts.topLevel = false;
    EXPECT_FALSE(LooksLikeBoard(facts)) << "a control of some window";
    facts = BoardFacts("Tessaro >C:\\x.vqp");
    facts.ownProcess = true;
    EXPECT_FALSE(LooksLikeBoard(facts)) << "the installer's own window";
    facts = BoardFacts("Tessaro >C:\\x.vqp");
    strcpy(facts.className, "Notepad");
    EXPECT_FALSE(LooksLikeBoard(facts)) << "another program's main window";
}

TEST(BoardWindowRule, TheFactsOfRealWindows) {
    EXPECT_FALSE(FactsOf(nullptr).exists);
    HWND dialog = CreateWindowExA(0, "#32770", "Tessaro >C:\\vqp\\SAMPLE.VQP", WS_POPUP, 0, 0, 10,
                                  10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(dialog);
    HWND child = CreateWindowA("BUTTON", "Tessaro >child", WS_CHILD, 0, 0, 5, 5, dialog, nullptr,
                               nullptr, nullptr);
    ASSERT_TRUE(child);

    WindowFacts facts = FactsOf(dialog);
    EXPECT_TRUE(facts.exists);
    EXPECT_TRUE(facts.topLevel);
    EXPECT_TRUE(facts.ownProcess);
    EXPECT_STREQ(facts.className, "#32770");
    EXPECT_STREQ(facts.title, "Tessaro >C:\\vqp\\SAMPLE.VQP");
    EXPECT_FALSE(LooksLikeBoard(facts)) << "this process is never the board";
    EXPECT_FALSE(SystemEnvironment().IsBoardWindow(dialog));

    facts = FactsOf(child);
    EXPECT_TRUE(facts.exists);
    EXPECT_FALSE(facts.topLevel);

    DestroyWindow(dialog);
    EXPECT_FALSE(FactsOf(dialog).exists) << "a stale handle";
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
