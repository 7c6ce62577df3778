// The installer's main window run for real inside the test process, with stand-ins for the
// install, uninstall and relaunch runs: what the backdrop does before a run starts, and how
// the run's result ends it.
#include <gtest/gtest.h>

#include <string>

#include "installer/backdrop.h"
#include "installer/messages.h"
#include "resources/kestrum_ids.h"
#include "resources/vqpsx_ids.h"
#include "settings/settings.h"
#include "support.h"
#include "ui/pumped_wait.h"
#include "ui/window_stack.h"

using namespace installer;

namespace {

// What a run saw of the backdrop when it started.
struct Seen {
    int installs = 0, uninstalls = 0, relaunches = 0;
    bool visible = false, maximised = false;
    std::string title, className;
    HICON bigIcon = nullptr, smallIcon = nullptr, dragIcon = nullptr;
    HWND stackTop = nullptr;
    HWND backdrop = nullptr;
    bool survivedClose = false;
    COLORREF centre = CLR_INVALID;
    std::string legacyValue;
    size_t messagesBefore = 0;
    int result = IDOK;
};
Seen g_seen;
test::FakeEnvironment* g_env = nullptr;
test::MessageLog* g_log = nullptr;

void Look(HWND backdrop) {
    g_seen.backdrop = backdrop;
    g_seen.visible = IsWindowVisible(backdrop) != 0;
    g_seen.maximised = IsZoomed(backdrop) != 0;
    char text[128] = "";
    GetWindowTextA(backdrop, text, sizeof text);
    g_seen.title = text;
    GetClassNameA(backdrop, text, sizeof text);
    g_seen.className = text;
    g_seen.bigIcon = (HICON)SendMessageA(backdrop, WM_GETICON, ICON_BIG, 0);
    g_seen.smallIcon = (HICON)SendMessageA(backdrop, WM_GETICON, ICON_SMALL, 0);
    g_seen.dragIcon = (HICON)SendMessageA(backdrop, WM_QUERYDRAGICON, 0, 0);
    g_seen.stackTop = ui::TopWindowHandle();
    g_seen.legacyValue = g_env->Setting(settings::kConfigure, settings::kThisProgramDir);
    g_seen.messagesBefore = g_log->Messages().size();
}

// The colour in the middle of the backdrop's client area, as painted.
COLORREF CentrePixel(HWND backdrop) {
    RedrawWindow(backdrop, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    RECT client;
    GetClientRect(backdrop, &client);
    HDC dc = GetDC(backdrop);
    COLORREF colour = GetPixel(dc, client.right / 2, client.bottom / 2);
    ReleaseDC(backdrop, dc);
    return colour;
}

int FakeInstall(HWND backdrop, Environment&, const InstallPlaces&) {
    ++g_seen.installs;
    Look(backdrop);
    g_seen.centre = CentrePixel(backdrop);
    // Closing the backdrop while a run goes must not end it under the run.
    PostMessageA(backdrop, WM_CLOSE, 0, 0);
    ui::DispatchPendingMessages();
    g_seen.survivedClose = IsWindow(backdrop) != 0;
    // A second install command is ignored.
    PostMessageA(backdrop, WM_COMMAND, IDM_RUN_INSTALL, 0);
    ui::DispatchPendingMessages();
    return g_seen.result;
}

int FakeUninstall(HWND backdrop, Environment&) {
    ++g_seen.uninstalls;
    Look(backdrop);
    return g_seen.result;
}

int FakeRelaunch(HWND backdrop, Environment&) {
    ++g_seen.relaunches;
    Look(backdrop);
    return g_seen.result;
}

void NoWait(unsigned) {}

// The board program's stand-in: a close request clears TransHandle.
LRESULT CALLBACK BoardProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    if (msg == WM_COMMAND && LOWORD(w) == IDM_CLOSE_REQUEST && g_env)
        g_env->SetSetting(settings::kHandles, settings::kTransHandle, "0");
    return DefWindowProcA(hwnd, msg, w, l);
}

class BackdropTest : public ::testing::Test {
  protected:
    void SetUp() override {
        g_seen = Seen();
        g_env = &env_;
        g_log = &messages_;
        runs_.install = FakeInstall;
        runs_.uninstall = FakeUninstall;
        runs_.relaunch = FakeRelaunch;
        runs_.wait = NoWait;
        env_.windowsFolder = scratch_.Path();
        stack_ = ui::WindowStackCount();
    }
    void TearDown() override {
        EXPECT_EQ(ui::WindowStackCount(), stack_) << "the backdrop leaves the window stack";
        g_env = nullptr;
        g_log = nullptr;
    }

    test::ScratchFolder scratch_{"backdrop"};
    test::FakeEnvironment env_;
    test::MessageLog messages_;
    BackdropRuns runs_;
    int stack_ = 0;
};

COLORREF BitmapCentre() {
    HBITMAP picture = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDBMP_BACKDROP));
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(memory, picture);
    COLORREF colour = GetPixel(memory, 240, 172);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(picture);
    return colour;
}

} // namespace

TEST_F(BackdropTest, AnInstallRunsOnceFromTheShownMaximisedBackdrop) {
    EXPECT_EQ(RunBackdrop(env_, "", runs_), IDOK);
    EXPECT_EQ(g_seen.installs, 1) << "posted once, run once";
    EXPECT_EQ(g_seen.uninstalls + g_seen.relaunches, 0);
    EXPECT_TRUE(g_seen.visible);
    EXPECT_TRUE(g_seen.maximised);
    EXPECT_EQ(g_seen.title, "Tessaro Installation");
    EXPECT_EQ(g_seen.className, "TessaroBackdrop");
    EXPECT_TRUE(g_seen.bigIcon);
    EXPECT_EQ(g_seen.bigIcon, g_seen.smallIcon) << "one small icon for both";
    EXPECT_EQ(g_seen.dragIcon, g_seen.bigIcon);
    EXPECT_EQ(g_seen.stackTop, g_seen.backdrop) << "message boxes belong to the backdrop";
    EXPECT_TRUE(g_seen.survivedClose);
    EXPECT_FALSE(IsWindow(g_seen.backdrop)) << "the run's end ends the backdrop";
    EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(BackdropTest, ThePictureIsPaintedInTheMiddle) {
    RunBackdrop(env_, "", runs_);
    const COLORREF expected = BitmapCentre();
    ASSERT_NE(expected, CLR_INVALID);
    EXPECT_EQ(g_seen.centre, expected);
}

TEST_F(BackdropTest, TheRunsResultIsTheBackdrops) {
    g_seen.result = IDCANCEL;
    EXPECT_EQ(RunBackdrop(env_, "anything else", runs_), IDCANCEL);
    EXPECT_EQ(g_seen.installs, 1);
}

TEST_F(BackdropTest, UnInstall2RunsTheUninstallFromTheShownBackdrop) {
    EXPECT_EQ(RunBackdrop(env_, "uninstall2", runs_), IDOK);
    EXPECT_EQ(g_seen.uninstalls, 1);
    EXPECT_EQ(g_seen.installs + g_seen.relaunches, 0);
    EXPECT_EQ(g_seen.title, "Tessaro UnInstalling");
    EXPECT_TRUE(g_seen.visible);
    EXPECT_TRUE(g_seen.maximised);
}

TEST_F(BackdropTest, UnInstallRelaunchesWithoutShowingTheBackdrop) {
    g_seen.result = IDCANCEL;
    EXPECT_EQ(RunBackdrop(env_, "UnInstall", runs_), IDCANCEL);
    EXPECT_EQ(g_seen.relaunches, 1);
    EXPECT_EQ(g_seen.installs + g_seen.uninstalls, 0);
    EXPECT_FALSE(g_seen.visible);
    EXPECT_FALSE(IsWindow(g_seen.backdrop));
}

TEST_F(BackdropTest, TheInstallersOwnUninstallRunsAskBeforeTheyAct) {
    // With nothing recorded, the relaunch has no folder to copy from and says so; the
    // uninstall asks first and a No ends it.
    const BackdropRuns own = InstallerRuns();
    EXPECT_EQ(own.relaunch(nullptr, env_), IDCANCEL);
    EXPECT_EQ(messages_.Texts(), std::vector<std::string>{"Unable to create an uninstall path."});
    messages_.Clear();
    test::MessageLog no(IDNO);
    EXPECT_EQ(own.uninstall(nullptr, env_), IDCANCEL);
    EXPECT_EQ(no.Texts(), std::vector<std::string>{"Do you really want to UnInstall Tessaro?"});
}

TEST_F(BackdropTest, ARunningBoardIsClosedAndTheLegacyFileTakenOverFirst) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = BoardProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "BackdropTestBoard";
    RegisterClassA(&wc);
    HWND board =
        CreateWindowA("BackdropTestBoard", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(board);
    env_.boardWindows.insert(board);
    env_.SetSetting(settings::kHandles, settings::kTransHandle,
                    std::to_string((int)(INT_PTR)board));
    scratch_.Write("kestrum.ini", "[Configure]\r\nThisProgramDir=C:\\Legacy Place\r\n");
    test::g_waits.clear();
    runs_.wait = test::RecordWait; // dispatches, so the stand-in sees the close request

    EXPECT_EQ(RunBackdrop(env_, "", runs_), IDOK);
    DestroyWindow(board);
    EXPECT_EQ(g_seen.messagesBefore, 1u) << "the closing message came before the run";
    EXPECT_EQ(messages_.Texts(),
              std::vector<std::string>{
                  "Closing [Tessaro] as it can not be running while doing this operation..."});
    EXPECT_EQ(env_.Setting(settings::kHandles, settings::kTransHandle), "0");
    EXPECT_EQ(test::g_waits, std::vector<unsigned>{500u}) << "one pass, then the board was gone";
    EXPECT_EQ(g_seen.legacyValue, "C:\\Legacy Place") << "taken over before the run";
    EXPECT_FALSE(test::Exists(scratch_ / "kestrum.ini"));
}
