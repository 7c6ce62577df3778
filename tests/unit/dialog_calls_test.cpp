// The board program's dialogs as calls: what goes in is shown, what comes out is what the
// user left in the controls, and Cancel gives nothing back.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "dialogs/edit_text.h"
#include "dialogs/rename_buttons.h"
#include "resources/kestrum_ids.h"
#include "ui/window_stack.h"

namespace {

// Plays the user once the dialog with control `marker` is on top of the window stack.
int g_marker = 0;
std::function<void(HWND)> g_play;

void CALLBACK PlayWhenOpen(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND top = ui::TopWindowHandle();
    if (!top || !GetDlgItem(top, g_marker) || !IsWindowVisible(top))
        return;
    KillTimer(nullptr, timer);
    g_play(top);
}

void PlayUser(int marker, std::function<void(HWND)> play) {
    g_marker = marker;
    g_play = std::move(play);
    SetTimer(nullptr, 0, 20, PlayWhenOpen);
}

std::string ItemText(HWND dialog, int id) {
    char text[11000] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

void Press(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dialog, id));
}

} // namespace

TEST(EditTextCall, ShowsTheTextInTheFontAndReturnsTheEditedText) {
    HFONT font = (HFONT)GetStockObject(ANSI_FIXED_FONT);
    char text[32] = "Springfield\r\nline two";
    std::string shown;
    HFONT shownFont = nullptr;
    PlayUser(IDE_EDIT_TEXT, [&](HWND dialog) {
        shown = ItemText(dialog, IDE_EDIT_TEXT);
        shownFont = (HFONT)SendDlgItemMessageA(dialog, IDE_EDIT_TEXT, WM_GETFONT, 0, 0);
        SetDlgItemTextA(dialog, IDE_EDIT_TEXT, std::string(40, 'e').c_str());
        Press(dialog, IDB_EDIT_OK);
    });
    EXPECT_TRUE(RunEditText(nullptr, font, text, sizeof text));
    EXPECT_EQ(shown, "Springfield\r\nline two");
    EXPECT_EQ(shownFont, font);
    EXPECT_EQ(std::string(text), std::string(31, 'e')) << "cut to the caller's buffer";
}

TEST(EditTextCall, CancelAndEscapeGiveNothingBack) {
    char text[32] = "kept";
    PlayUser(IDE_EDIT_TEXT, [](HWND dialog) {
        SetDlgItemTextA(dialog, IDE_EDIT_TEXT, "changed");
        Press(dialog, IDB_EDIT_CANCEL);
    });
    EXPECT_FALSE(RunEditText(nullptr, nullptr, text, sizeof text));
    EXPECT_STREQ(text, "kept");
    PlayUser(IDE_EDIT_TEXT, [](HWND dialog) {
        SetDlgItemTextA(dialog, IDE_EDIT_TEXT, "changed");
        PostMessageA(GetDlgItem(dialog, IDE_EDIT_TEXT), WM_KEYDOWN, VK_ESCAPE, 1);
    });
    EXPECT_FALSE(RunEditText(nullptr, nullptr, text, sizeof text));
    EXPECT_STREQ(text, "kept");
}

TEST(RenameButtonsCall, ShowsTheNamesAndReturnsTheEditedOnes) {
    ButtonNames names = {};
    strcpy(names[0], "First Name");
    strcpy(names[32], "Last slot");
    memset(names[5], 'F', kNameSize); // a foreign name without a terminator
    AboutFacts about;
    std::string shown0, shown5, shown32;
    PlayUser(IDB_RENAME_OK, [&](HWND dialog) {
        shown0 = ItemText(dialog, FieldId(0));
        shown5 = ItemText(dialog, FieldId(5));
        shown32 = ItemText(dialog, FieldId(32));
        SetDlgItemTextA(dialog, FieldId(0), "");
        SetDlgItemTextA(dialog, FieldId(1), std::string(40, 'n').c_str());
        Press(dialog, IDB_RENAME_OK);
    });
    EXPECT_TRUE(RunRenameButtons(nullptr, about, names));
    EXPECT_EQ(shown0, "First Name");
    EXPECT_EQ(shown5.substr(0, 31), std::string(31, 'F'));
    EXPECT_EQ(shown32, "Last slot");
    EXPECT_EQ(std::string(names[0], kNameSize), std::string(kNameSize, '\0'))
        << "an emptied box gives an empty, zero-filled name";
    EXPECT_EQ(std::string(names[1]), std::string(31, 'n')) << "cut to 31 characters";
    EXPECT_STREQ(names[32], "Last slot");
}

TEST(RenameButtonsCall, CancelLeavesTheNamesAlone) {
    ButtonNames names = {};
    strcpy(names[3], "City");
    AboutFacts about;
    PlayUser(IDB_RENAME_CANCEL, [](HWND dialog) {
        SetDlgItemTextA(dialog, FieldId(3), "Town");
        Press(dialog, IDB_RENAME_CANCEL);
    });
    EXPECT_FALSE(RunRenameButtons(nullptr, about, names));
    EXPECT_STREQ(names[3], "City");
}
