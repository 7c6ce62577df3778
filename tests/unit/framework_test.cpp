// The framework both programs stand on: bounded text, the window stack, pumped waits and
// the modal loop with its hooks.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "resources/kestrum_ids.h"
#include "ui/dialog.h"
#include "ui/pumped_wait.h"
#include "ui/text.h"
#include "ui/window_stack.h"

TEST(Text, CopiesAreBoundedAndTerminated) {
    char out[6];
    memset(out, 'x', sizeof out);
    EXPECT_EQ(ui::CopyText(out, sizeof out, "Tessaro"), 5u);
    EXPECT_STREQ(out, "Tessa");
    EXPECT_EQ(ui::CopyText(out, sizeof out, nullptr), 0u);
    EXPECT_STREQ(out, "");
    EXPECT_EQ(ui::CopyText(out, 0, "x"), 0u);

    char field[4] = {'a', 'b', 'c', 'd'}; // no terminator inside the width
    char wide[8];
    EXPECT_EQ(ui::CopyField(wide, sizeof wide, field, sizeof field), 4u);
    EXPECT_STREQ(wide, "abcd");

    EXPECT_EQ(ui::FormatText(out, sizeof out, "%s >%s", "Tessaro", "C:\\x"), 5u);
    EXPECT_STREQ(out, "Tessa");
}

TEST(Text, CaseFoldsOnlyAsciiLetters) {
    EXPECT_TRUE(ui::EqualsNoCase("InstallingTheProgram", "installingtheprogram"));
    EXPECT_FALSE(ui::EqualsNoCase("NewSession", "NewSession "));
    EXPECT_FALSE(ui::EqualsNoCase("\xe9", "\xc9")) << "bytes above 127 are compared as they are";
    EXPECT_TRUE(ui::StartsWithNoCase("c:\\tessaro\\a.vqp", "C:\\TESSARO", 10));
    EXPECT_FALSE(ui::StartsWithNoCase("c:\\tess", "C:\\TESSARO", 10));
}

TEST(WindowStack, NeverWritesOutsideItsArrays) {
    ui::ClearWindowStack();
    EXPECT_EQ(ui::TopWindowHandle(), nullptr);
    for (int i = 1; i <= 300; ++i)
        ui::PushWindow(nullptr, (HWND)(INT_PTR)i);
    EXPECT_EQ(ui::WindowStackCount(), 300);
    EXPECT_EQ(ui::TopWindowHandle(), (HWND)(INT_PTR)(ui::kWindowStackSize - 1));
    for (int i = 0; i < 300 - 5; ++i)
        ui::PopWindow();
    EXPECT_EQ(ui::TopWindowHandle(), (HWND)(INT_PTR)5) << "pops past the capacity stay balanced";
    for (int i = 0; i < 10; ++i)
        ui::PopWindow();
    EXPECT_EQ(ui::WindowStackCount(), 0);
    EXPECT_EQ(ui::TopWindowHandle(), nullptr);
}

namespace {

int g_received = 0;

LRESULT CALLBACK CountingProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    if (msg == WM_APP)
        ++g_received;
    return DefWindowProcA(hwnd, msg, w, l);
}

HWND MakeCountingWindow() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = CountingProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TessaroWaitTest";
    RegisterClassA(&wc);
    return CreateWindowA("TessaroWaitTest", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
}

ULONGLONG TimeWait(unsigned ms, bool forced) {
    ULONGLONG start = GetTickCount64();
    ui::PumpedWait(ms, forced);
    return GetTickCount64() - start;
}

} // namespace

TEST(PumpedWait, DispatchesMessagesWhileItWaits) {
    HWND window = MakeCountingWindow();
    ASSERT_TRUE(window);
    g_received = 0;
    PostMessageA(window, WM_APP, 0, 0);
    PostMessageA(window, WM_APP, 0, 0);
    EXPECT_GE(TimeWait(150, false), 150u);
    EXPECT_EQ(g_received, 2);
    DestroyWindow(window);
}

TEST(PumpedWait, ClosingAndTimeChangesEndItAtOnce) {
    ui::g_timeChangeCredits = 2;
    EXPECT_LT(TimeWait(2000, true), 500u);
    EXPECT_EQ(ui::g_timeChangeCredits, 1);
    EXPECT_LT(TimeWait(2000, false), 500u);
    EXPECT_EQ(ui::g_timeChangeCredits, 0);

    ui::g_closing = 1;
    EXPECT_LT(TimeWait(2000, false), 500u) << "a wait that is not forced ends when closing";
    EXPECT_GE(TimeWait(300, true), 300u) << "a forced wait runs its course";
    ui::g_closing = 0;
}

namespace {

// Uses the installed-message template: any template serves the loop.
class ProbeDialog : public ui::Dialog {
  public:
    ProbeDialog() : ui::Dialog(IDD_INSTALLED) {}
    int initialised = 0, idles = 0, pretranslated = 0, stackOnInit = 0;
    bool visibleAtIdle = false;

  protected:
    BOOL OnInit() override {
        ++initialised;
        stackOnInit = ui::WindowStackCount();
        PostMessageA(Handle(), WM_APP, 0, 0);
        return TRUE;
    }
    bool PreTranslate(MSG& msg) override {
        if (msg.message == WM_APP) {
            ++pretranslated;
            return true;
        }
        return false;
    }
    void OnFirstIdle() override {
        ++idles;
        ui::Dialog::OnFirstIdle();
        visibleAtIdle = IsWindowVisible(Handle()) != 0;
        PostMessageA(Handle(), WM_COMMAND, IDB_INSTALLED_OK, 0);
    }
    bool OnCommand(int id, int, HWND) override {
        if (id != IDB_INSTALLED_OK)
            return false;
        EndModal(42);
        return true;
    }
};

} // namespace

TEST(Dialog, ModalLoopRunsItsHooksAndReturnsTheResult) {
    ui::ClearWindowStack();
    ProbeDialog dialog;
    EXPECT_EQ(dialog.RunModal(nullptr), 42);
    EXPECT_EQ(dialog.initialised, 1);
    EXPECT_EQ(dialog.pretranslated, 1) << "the hook sees the loop's messages";
    EXPECT_EQ(dialog.idles, 1) << "the first-idle hook runs once";
    EXPECT_TRUE(dialog.visibleAtIdle) << "an invisible dialog is shown at the first idle";
    EXPECT_EQ(dialog.stackOnInit, 1) << "a dialog pushes itself when it initialises";
    EXPECT_EQ(ui::WindowStackCount(), 0) << "and pops itself when it is destroyed";
    EXPECT_EQ(dialog.Handle(), nullptr);
    EXPECT_EQ(dialog.RunModal(nullptr), 42) << "the object can show its window again";
}

TEST(Dialog, OwnerIsDisabledWhileTheDialogRuns) {
    HWND owner = CreateWindowA("STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                               nullptr);
    ASSERT_TRUE(owner);
    struct OwnerProbe : ProbeDialog {
        HWND owner = nullptr;
        bool ownerEnabledInside = true;
        void OnFirstIdle() override {
            ownerEnabledInside = IsWindowEnabled(owner) != 0;
            ProbeDialog::OnFirstIdle();
        }
    } dialog;
    dialog.owner = owner;
    dialog.RunModal(owner);
    EXPECT_FALSE(dialog.ownerEnabledInside);
    EXPECT_TRUE(IsWindowEnabled(owner)) << "the owner comes back when the dialog ends";
    DestroyWindow(owner);
}
