// The installer's grey dialogs and its wait cursor.
#include <gtest/gtest.h>

#include "installer/look.h"

using namespace installer;

TEST(InstallerLook, DialogsStaticsAndButtonsAreGreyWithBlackText) {
    HDC dc = CreateCompatibleDC(nullptr);
    SetTextColor(dc, RGB(255, 0, 0));
    for (UINT msg : {WM_CTLCOLORDLG, WM_CTLCOLORSTATIC, WM_CTLCOLORBTN}) {
        SetBkColor(dc, RGB(0, 0, 255));
        HBRUSH brush = ClassicColour(msg, (WPARAM)dc);
        ASSERT_TRUE(brush) << msg;
        LOGBRUSH seen;
        ASSERT_TRUE(GetObjectA(brush, sizeof seen, &seen));
        EXPECT_EQ(seen.lbColor, RGB(192, 192, 192)) << msg;
        EXPECT_EQ(GetBkColor(dc), RGB(192, 192, 192)) << msg;
        EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0)) << msg;
    }
    EXPECT_EQ(ClassicColour(WM_CTLCOLOREDIT, (WPARAM)dc), nullptr) << "the path field stays white";
    EXPECT_EQ(ClassicColour(WM_PAINT, (WPARAM)dc), nullptr);
    DeleteDC(dc);
}

TEST(InstallerLook, TheWaitCursorIsKeptOnlyWhileWaiting) {
    ShowWaitCursor(true);
    EXPECT_TRUE(WaitCursorShown());
    EXPECT_TRUE(KeepWaitCursor());
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_WAIT));
    ShowWaitCursor(false);
    EXPECT_FALSE(WaitCursorShown());
    EXPECT_FALSE(KeepWaitCursor()) << "the window's own cursor comes back";
}
