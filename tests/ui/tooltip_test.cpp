// The tooltip helper: one control per owner, tools by window handle, the timing given.
#include <windows.h>
#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>

#include "ui/tooltip.h"

namespace {

class TooltipTest : public ::testing::Test {
  protected:
    void SetUp() override {
        owner_ = CreateWindowA("STATIC", "owner", WS_POPUP | WS_VISIBLE, 10, 10, 300, 100, nullptr,
                               nullptr, nullptr, nullptr);
        ASSERT_TRUE(owner_);
        first_ = CreateWindowA("BUTTON", "first", WS_CHILD | WS_VISIBLE, 0, 0, 100, 30, owner_,
                               (HMENU)1001, nullptr, nullptr);
        second_ = CreateWindowA("STATIC", "second", WS_CHILD | WS_VISIBLE | WS_DISABLED, 120, 0,
                                100, 30, owner_, (HMENU)1002, nullptr, nullptr);
        ASSERT_TRUE(first_ && second_);
    }
    void TearDown() override { DestroyWindow(owner_); }

    std::string ToolText(const ui::Tooltip& tips, HWND tool) {
        char text[512] = "";
        TTTOOLINFOA info;
        ZeroMemory(&info, sizeof info);
        info.cbSize = TTTOOLINFOA_V2_SIZE;
        info.uFlags = TTF_IDISHWND;
        info.hwnd = owner_;
        info.uId = (UINT_PTR)tool;
        info.lpszText = text;
        SendMessageA(tips.Handle(), TTM_GETTEXTA, sizeof text, (LPARAM)&info);
        return text;
    }

    HWND owner_ = nullptr, first_ = nullptr, second_ = nullptr;
};

} // namespace

TEST_F(TooltipTest, CreatesOneControlWithTheTimingAndWidth) {
    ui::Tooltip tips;
    EXPECT_FALSE(tips.Exists());
    EXPECT_EQ(tips.ToolCount(), 0);
    ui::TooltipTiming timing;
    timing.maxWidth = 1500; // the installer's path tip
    ASSERT_TRUE(tips.Create(owner_, timing));
    char name[32] = "";
    GetClassNameA(tips.Handle(), name, sizeof name);
    EXPECT_STREQ(name, TOOLTIPS_CLASSA);
    EXPECT_EQ(GetWindow(tips.Handle(), GW_OWNER), owner_);
    EXPECT_EQ(SendMessageA(tips.Handle(), TTM_GETDELAYTIME, TTDT_INITIAL, 0), 100);
    EXPECT_EQ(SendMessageA(tips.Handle(), TTM_GETDELAYTIME, TTDT_RESHOW, 0), 100);
    EXPECT_EQ(SendMessageA(tips.Handle(), TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), 30000);
    EXPECT_EQ(SendMessageA(tips.Handle(), TTM_GETMAXTIPWIDTH, 0, 0), 1500);

    HWND old = tips.Handle();
    ASSERT_TRUE(tips.Create(owner_)) << "creating again replaces the control";
    EXPECT_FALSE(IsWindow(old));
    EXPECT_EQ(SendMessageA(tips.Handle(), TTM_GETMAXTIPWIDTH, 0, 0), 300);
}

TEST_F(TooltipTest, RegistersToolsByHandleWithTheirTexts) {
    ui::Tooltip tips;
    EXPECT_FALSE(tips.AddTool(first_, "no control yet"));
    ASSERT_TRUE(tips.Create(owner_));
    std::string text = "Upgrade using the same paths as before.";
    EXPECT_TRUE(tips.AddTool(first_, text.c_str()));
    text = "changed afterwards"; // the control keeps its own copy
    EXPECT_TRUE(tips.AddTool(second_, "A disabled static text has a tip too."));
    EXPECT_FALSE(tips.AddTool(nullptr, "no window"));
    EXPECT_EQ(tips.ToolCount(), 2);
    EXPECT_EQ(ToolText(tips, first_), "Upgrade using the same paths as before.");
    EXPECT_EQ(ToolText(tips, second_), "A disabled static text has a tip too.");

    // Relaying a mouse message over a tool must be harmless, whatever the point.
    MSG msg = {};
    msg.hwnd = first_;
    msg.message = WM_MOUSEMOVE;
    GetCursorPos(&msg.pt);
    tips.Relay(msg);
    msg.message = WM_KEYDOWN;
    tips.Relay(msg);

    HWND control = tips.Handle();
    tips.Destroy();
    EXPECT_FALSE(tips.Exists());
    EXPECT_FALSE(IsWindow(control));
    EXPECT_EQ(tips.ToolCount(), 0);
    tips.Relay(msg); // without a control: nothing
}

TEST_F(TooltipTest, TheControlGoesWithItsHolder) {
    HWND control;
    {
        ui::Tooltip tips;
        ASSERT_TRUE(tips.Create(owner_));
        control = tips.Handle();
    }
    EXPECT_FALSE(IsWindow(control));
}

// The control's own search for the window under a point counts disabled controls of the
// owner, so their tips show; elsewhere it is the system's search.
TEST(TooltipWindowUnder, ADisabledControlOfTheOwnerCounts) {
    HWND owner = CreateWindowExA(WS_EX_TOPMOST, "#32770", "owner", WS_POPUP | WS_VISIBLE, 20, 20,
                                 300, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(owner);
    HWND enabled = CreateWindowA("BUTTON", "on", WS_CHILD | WS_VISIBLE, 0, 0, 100, 30, owner,
                                 (HMENU)1, nullptr, nullptr);
    HWND disabled = CreateWindowA("EDIT", "", WS_CHILD | WS_VISIBLE | WS_DISABLED, 120, 0, 100, 30,
                                  owner, (HMENU)2, nullptr, nullptr);
    HWND hidden = CreateWindowA("BUTTON", "hidden", WS_CHILD, 0, 50, 100, 30, owner, (HMENU)3,
                                nullptr, nullptr);
    ui::Tooltip tips;
    ASSERT_TRUE(tips.Create(owner));
    auto centre = [](HWND w) {
        RECT r;
        GetWindowRect(w, &r);
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    };
    POINT over = centre(disabled);
    EXPECT_EQ(tips.WindowUnder(over), disabled);
    EXPECT_EQ((HWND)SendMessageA(tips.Handle(), TTM_WINDOWFROMPOINT, 0, (LPARAM)&over), disabled)
        << "the control asks the same question of itself";
    over = centre(enabled);
    EXPECT_EQ(tips.WindowUnder(over), enabled);
    over = centre(hidden);
    EXPECT_EQ(tips.WindowUnder(over), owner) << "a hidden control has no tip";
    over = POINT{5, 400}; // beside the owner: what the system finds
    EXPECT_EQ(tips.WindowUnder(over), WindowFromPoint(over));

    HWND control = tips.Handle();
    DestroyWindow(owner); // takes its owned control along
    EXPECT_FALSE(IsWindow(control));
    tips.Destroy();
    EXPECT_FALSE(tips.Exists());
}
