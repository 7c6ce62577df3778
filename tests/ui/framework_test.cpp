// The framework both programs stand on: the window stack, pumped waits, the modal loop
// with its hooks and the program's names.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "ui/dialog.h"
#include "ui/message.h"
#include "ui/pumped_wait.h"
#include "ui/window_stack.h"
#include "ui_test_ids.h"

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

ULONGLONG TimeWait(unsigned ms, const ui::WaitRule& rule = ui::WaitRule()) {
    ULONGLONG start = GetTickCount64();
    ui::PumpedWait(ms, rule);
    return GetTickCount64() - start;
}

} // namespace

TEST(PumpedWait, DispatchesMessagesWhileItWaits) {
    HWND window = MakeCountingWindow();
    ASSERT_TRUE(window);
    g_received = 0;
    PostMessageA(window, WM_APP, 0, 0);
    PostMessageA(window, WM_APP, 0, 0);
    EXPECT_GE(TimeWait(150), 150u);
    EXPECT_EQ(g_received, 2);
    DestroyWindow(window);
}

namespace {

HWND g_workWindow = nullptr;
int g_workDone = 0;
int g_receivedBeforeWork = -1;

// Takes 40 ms of a longer wait, as the board's start does in the splash's wait.
void WorkMeanwhile() {
    ++g_workDone;
    g_receivedBeforeWork = g_received;
    PostMessageA(g_workWindow, WM_APP, 0, 0);
    Sleep(40);
}

} // namespace

TEST(PumpedWait, DoesItsWorkOnceAfterTheFirstDispatchAndKeepsItsLength) {
    g_workWindow = MakeCountingWindow();
    ASSERT_TRUE(g_workWindow);
    g_received = g_workDone = 0;
    PostMessageA(g_workWindow, WM_APP, 0, 0);
    PostMessageA(g_workWindow, WM_APP, 0, 0);
    ui::WaitRule rule;
    rule.meanwhile = WorkMeanwhile;
    EXPECT_GE(TimeWait(150, rule), 150u) << "the work does not shorten the wait";
    EXPECT_EQ(g_workDone, 1);
    EXPECT_EQ(g_receivedBeforeWork, 2) << "what waited was dispatched before the work";
    EXPECT_EQ(g_received, 3) << "what arrived during the work was dispatched too";

    g_workDone = 0;
    EXPECT_GE(TimeWait(10, rule), 40u) << "a wait shorter than its work lasts as long as the work";
    EXPECT_EQ(g_workDone, 1);
    DestroyWindow(g_workWindow);
    g_workWindow = nullptr;
}

TEST(PumpedWait, BothProgramsNapBrieflyInShortWaitsOnly) {
    EXPECT_EQ(ui::StandardNap(1), 1u);
    EXPECT_EQ(ui::StandardNap(1000), 1u);
    EXPECT_EQ(ui::StandardNap(1001), 100u);
}

namespace {

struct EarlyEnd {
    int asked = 0;
    int endAt = 0; // the question that ends the wait
};

bool CountAndEnd(void* context) {
    auto* early = static_cast<EarlyEnd*>(context);
    return ++early->asked == early->endAt;
}

} // namespace

TEST(PumpedWait, TheProgramsRuleCanEndItEarly) {
    EarlyEnd early;
    early.endAt = 3;
    ui::WaitRule rule;
    rule.endsEarly = CountAndEnd;
    rule.context = &early;
    EXPECT_LT(TimeWait(5000, rule), 1000u);
    EXPECT_EQ(early.asked, 3) << "asked after every nap until it said so";

    early = EarlyEnd(); // never says so: the wait runs its course
    EXPECT_GE(TimeWait(120, rule), 120u);
    EXPECT_GT(early.asked, 0);

    // A rule's own nap is used instead of the standard one.
    ui::WaitRule slow;
    slow.nap = [](unsigned) -> DWORD { return 60; };
    slow.endsEarly = CountAndEnd;
    early = EarlyEnd();
    slow.context = &early;
    EXPECT_GE(TimeWait(200, slow), 200u);
    EXPECT_LE(early.asked, 5) << "60 ms naps: only a few rounds in 200 ms";
}

namespace {

class ProbeDialog : public ui::Dialog {
  public:
    ProbeDialog() : ui::Dialog(IDD_PROBE) {}
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
        PostMessageA(Handle(), WM_COMMAND, IDB_PROBE_DONE, 0);
    }
    bool OnCommand(int id, int, HWND) override {
        if (id != IDB_PROBE_DONE)
            return false;
        End(42);
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

namespace {

std::string g_caption;
int RecordCaption(const char*, const char* caption, UINT) {
    g_caption = caption;
    return IDOK;
}

} // namespace

TEST(ProgramNames, EachProgramNamesItsProductAndItsMessageCaption) {
    ui::SetMessageHook(RecordCaption);
    ui::SetProgramNames("Product", "Product Installation");
    EXPECT_STREQ(ui::ProductName(), "Product");
    EXPECT_STREQ(ui::MessageCaption(), "Product Installation");
    ui::ShowMessage(MB_OK, "text");
    EXPECT_EQ(g_caption, "Product Installation");
    ui::ShowMessageCaption("Other", MB_OK, "text");
    EXPECT_EQ(g_caption, "Other");
    ui::SetProgramNames(std::string(100, 'n').c_str(), "");
    EXPECT_EQ(std::string(ui::ProductName()), std::string(63, 'n')) << "kept, cut to its buffer";
    ui::SetMessageHook(nullptr);
    ui::SetProgramNames("", "");
}

std::string ProgramNamesg_caption;
