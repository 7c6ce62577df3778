// Screen tips on the real board: one tooltip control while they are on and none while they
// are off, its tools, texts and timing read back from the control, tips over disabled
// controls, and the choice kept in the settings store.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/board_fixture.h"
#include "resources/kestrum_ids.h"

using namespace e2e;

namespace {

const char kCopyButtonTip[] =
    "Select this button to copy text into the Windows clipboard. Then you can go into any "
    "program and use the [Edit], [Paste] command or [Ctrl+V] to paste the text. o- To rename "
    "this button you can [Right Click] this button and select [Rename Button]. o- To edit the "
    "field just to the right you can [Right Click] this button and select [Edit Text Field]. "
    "o- To rename this button or edit the last slected text field from the main menu select "
    "[Edit], [Rename Button] or [Edit Text Field].";
const char kFieldTip[] =
    "This field holds up to 10240 text characters. To edit it you can: o- [Right Click] the "
    "button just to the left and select [Edit Text Field]. o- Type directly into it. o- [Right "
    "Click], and use the [Undo, Cut, Copy, Paste, Select All] menu.";

// The tip each control must carry, by id.
std::string ExpectedTip(int id) {
    if (id == IDX_MIN_ON_COPY)
        return "When this option is checked, Tessaro minimizes each time you select one of the "
               "Tessaro copy buttons. This is handy if you are filling in a form that takes the "
               "whole screen. Example: When you need some data, click the Tessaro button on the "
               "[Taskbar] and Tessaro will appear over the top of your form. Select the Tessaro "
               "copy button that you need. Tessaro will copy the data into the Windows clipboard "
               "and minimize until you need it again, leaving your form where you can get to it "
               "easily.";
    if (id == IDX_TOPMOST)
        return "When this option is checked, Tessaro becomes a TopMost Application. This is "
               "handy if you are filling in a form and want to move Tessaro around on top of the "
               "form. With Tessaro TopMost, it will not fall into the background even if you "
               "click on the form or other applications.";
    if (id == IDC_PROJECTS)
        return "Open a Tessaro project that you saved earlier, or one of the SAMPLE.VQP files "
               "that came with Tessaro.";
    if (id < IDT_LABEL_FIRST)
        return "The position where the next item will be put when you select it.";
    if (id < IDB_COPY_FIRST)
        return "The position that this item will be put after all selecting is completed.";
    return (id - IDB_COPY_FIRST) % 2 == 0 ? kCopyButtonTip : kFieldTip;
}

class ScreenTipsTest : public BoardTest {
  protected:
    std::vector<HWND> Tips() const { return driver::TooltipsOf(window_); }
    // Waits until the board owns exactly count tooltip controls.
    bool WaitTipControls(size_t count) {
        return driver::WaitUntil([&] { return Tips().size() == count; }, kWait,
                                 std::to_string(count) + " tooltip control(s) of the board");
    }
    int ToolCount(HWND tips) const { return (int)SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0); }

    // Enters reposition mode through its confirmation.
    void EnterReposition() {
        driver::PostCommand(window_, IDM_REPOSITION);
        AnswerBox(IDOK);
        ASSERT_TRUE(driver::WaitUntil([&] { return !driver::IsEnabled(window_, FieldId(32)); },
                                      kWait, "the fields disabled"));
    }
    // Rests the mouse on a control until its tip shows, moving it by a pixel now and then as
    // a hand does (the display may report a stale point once after a jump).
    bool RestOn(HWND tips, int id) { return RestOn(tips, id, driver::ControlCentre(window_, id)); }
    bool RestOn(HWND tips, int id, POINT centre) {
        HWND wanted = GetDlgItem(window_, id);
        for (int attempt = 0; attempt < 5; ++attempt) {
            POINT at = {centre.x + attempt % 2, centre.y};
            EXPECT_TRUE(driver::MoveMouseTo(at)) << driver::LastFailure();
            driver::Tool shown;
            if (driver::WaitUntil(
                    [&] {
                        return driver::IsVisible(tips) && driver::CurrentTool(tips, &shown) &&
                               shown.window == wanted;
                    },
                    1000, "the tip of control " + std::to_string(id)))
                return true;
        }
        return false;
    }
};

} // namespace

TEST_F(ScreenTipsTest, OneControlWithAllToolsWhileOnAndNoneWhileOffAfterEveryToggle) {
    SetOption("WantToolTip", "1");
    ASSERT_TRUE(StartBoard());
    ASSERT_TRUE(WaitTipControls(1));
    HWND previous = Tips()[0];
    EXPECT_EQ(ToolCount(previous), 135);

    for (int toggle = 1; toggle <= 5; ++toggle) {
        driver::PostCommand(window_, IDM_SCREEN_TIPS);
        const bool on = toggle % 2 == 0;
        ASSERT_TRUE(WaitTipControls(on ? 1 : 0)) << "after toggle " << toggle;
        if (on) {
            HWND tips = Tips()[0];
            EXPECT_EQ(ToolCount(tips), 135) << "after toggle " << toggle;
            EXPECT_FALSE(IsWindow(previous)) << "switching on makes a fresh control";
            previous = tips;
        }
    }
    // Three toggles in a row end on: still one control.
    for (int toggle = 0; toggle < 3; ++toggle)
        driver::PostCommand(window_, IDM_SCREEN_TIPS);
    ASSERT_TRUE(WaitTipControls(1));
    Sleep(300);
    EXPECT_EQ(Tips().size(), 1u);

    // Ctrl+T is the same command.
    driver::BringToFront(window_);
    driver::KeyCombo({VK_CONTROL, 'T'});
    EXPECT_TRUE(WaitTipControls(0)) << "Ctrl+T switched the tips off";
    driver::KeyCombo({VK_CONTROL, 'T'});
    EXPECT_TRUE(WaitTipControls(1)) << "Ctrl+T switched the tips on";
}

TEST_F(ScreenTipsTest, ToolsInIdOrderWithTheirTextsTimingAndWidth) {
    SetOption("WantToolTip", "1");
    ASSERT_TRUE(StartBoard());
    ASSERT_TRUE(WaitTipControls(1));
    HWND tips = Tips()[0];
    ASSERT_EQ(ToolCount(tips), 135);
    for (int index = 0; index < 135; ++index) {
        const int id = IDX_MIN_ON_COPY + index;
        driver::Tool tool;
        ASSERT_TRUE(driver::ToolAt(tips, index, &tool)) << driver::LastFailure();
        EXPECT_EQ(tool.window, GetDlgItem(window_, id)) << "tool " << index << " is control " << id;
        EXPECT_EQ(tool.owner, window_) << "tool " << index;
        EXPECT_TRUE(tool.flags & TTF_IDISHWND) << "tool " << index;
        EXPECT_EQ(tool.text, ExpectedTip(id)) << "tip of control " << id;
    }
    EXPECT_EQ(SendMessageW(tips, TTM_GETDELAYTIME, TTDT_INITIAL, 0), 100);
    EXPECT_EQ(SendMessageW(tips, TTM_GETDELAYTIME, TTDT_RESHOW, 0), 100);
    EXPECT_EQ(SendMessageW(tips, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), 30000);
    EXPECT_EQ(SendMessageW(tips, TTM_GETMAXTIPWIDTH, 0, 0), 300);
    EXPECT_EQ(GetWindowLongW(tips, GWL_STYLE) & (TTS_ALWAYSTIP | TTS_NOPREFIX | TTS_BALLOON), 0)
        << "no extra styles";
}

TEST_F(ScreenTipsTest, TipsShowOverDisabledFieldsAndTheMarkersAndGoWithTheTips) {
    SetOption("WantToolTip", "1");
    ASSERT_TRUE(StartBoard());
    ASSERT_TRUE(WaitTipControls(1));
    HWND tips = Tips()[0];
    EnterReposition();
    driver::Click(window_, CopyButtonId(2)); // slot 3 taken: its button is disabled too
    ASSERT_TRUE(driver::WaitUntil([&] { return !driver::IsEnabled(window_, CopyButtonId(2)); },
                                  kWait, "the clicked button disabled"));
    ASSERT_TRUE(driver::BringToFront(window_)) << driver::LastFailure();

    EXPECT_TRUE(RestOn(tips, FieldId(7))) << "a disabled field";
    // A marker lies under the left end of its copy button; its own part is left of it.
    RECT marker;
    GetWindowRect(GetDlgItem(window_, MarkerId(1)), &marker);
    EXPECT_TRUE(RestOn(tips, MarkerId(1), POINT{marker.left + 1, (marker.top + marker.bottom) / 2}))
        << "the marker at the next position";
    EXPECT_TRUE(RestOn(tips, CopyButtonId(2))) << "a disabled copy button";
    EXPECT_TRUE(RestOn(tips, LabelId(2))) << "the clicked slot's label";

    // Switching the tips off while one is shown removes it at once.
    ASSERT_TRUE(driver::IsVisible(tips));
    driver::PostCommand(window_, IDM_SCREEN_TIPS);
    EXPECT_TRUE(driver::WaitGone(tips, kWait)) << driver::LastFailure();
}

TEST_F(ScreenTipsTest, TheChoiceIsStoredAtTheNextSaveAndAppliedAtTheNextStart) {
    SetOption("WantToolTip", "1");
    ASSERT_TRUE(StartBoard());
    ASSERT_TRUE(WaitTipControls(1));
    driver::PostCommand(window_, IDM_SCREEN_TIPS);
    ASSERT_TRUE(WaitTipControls(0));
    EXPECT_EQ(Setting("Options", "WantToolTip"), "1") << "the toggle writes nothing itself";
    driver::PostCommand(window_, IDM_SAVE_PROJECT);
    ASSERT_TRUE(driver::WaitUntil([&] { return Setting("Options", "WantToolTip") == "0"; }, kWait,
                                  "WantToolTip 0 after Save"));
    CloseBoard();

    ASSERT_TRUE(StartBoard());
    Sleep(500);
    EXPECT_TRUE(Tips().empty()) << "off at the next start";
    driver::PostCommand(window_, IDM_SCREEN_TIPS);
    ASSERT_TRUE(WaitTipControls(1));
    CloseBoard(); // closing saves the settings too
    EXPECT_EQ(Setting("Options", "WantToolTip"), "1");

    ASSERT_TRUE(StartBoard());
    ASSERT_TRUE(WaitTipControls(1)) << "on at the next start";
    EXPECT_EQ(ToolCount(Tips()[0]), 135);
}
