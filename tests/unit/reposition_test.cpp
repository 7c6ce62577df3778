// Reposition mode and screen tips in this process against a real board window: the
// confirmation, the menu items (menus cannot be read from another process), the board
// image while the mode runs, the refused commands, and the screen-tip control's life.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "board/board.h"
#include "board/board_image.h"
#include "board/board_window.h"
#include "board/commands.h"
#include "board/screen_tips.h"
#include "resources/kestrum_ids.h"
#include "settings/settings.h"
#include "ui/message.h"
#include "ui/window_stack.h"

namespace {

const char kScratchRoot[] = "Software\\Tessaro Tests\\reposition";

const int kLocked[] = {IDM_NEW_PROJECT,    IDM_SAVE_PROJECT,   IDM_SAVE_PROJECT_AS,
                       IDM_DELETE_PROJECT, IDM_RENAME_BUTTONS, IDM_EDIT_TEXT_FIELD,
                       IDM_REPOSITION,     IDM_CONSOLIDATE};
const int kStayAvailable[] = {IDM_EXIT,       IDM_FIND,          IDM_USE_TRAY, IDM_HIDE_AT_STARTUP,
                              IDM_AUTO_PASTE, IDM_HIDE,          IDM_README,   IDM_SCREEN_TIPS,
                              IDM_PHONE,      IDM_HELP_OVERVIEW, IDM_ABOUT};

struct Shown {
    std::string text, caption;
    UINT type = 0;
};
std::vector<Shown> g_shown;
int g_answer = IDOK;

int Answer(const char* text, const char* caption, UINT type) {
    g_shown.push_back({text, caption, type});
    return g_answer;
}

bool Grayed(int id) {
    return GetMenuState(g_board.menu, id, MF_BYCOMMAND) & MF_GRAYED;
}

bool Enabled(int id) {
    return IsWindowEnabled(GetDlgItem(g_board.window, id)) != FALSE;
}

bool Visible(int id) {
    return (GetWindowLongA(GetDlgItem(g_board.window, id), GWL_STYLE) & WS_VISIBLE) != 0;
}

// A project whose every slot is told apart by its name and text.
ProjectImage NumberedProject() {
    ProjectImage image;
    ClearImage(image);
    char text[64];
    for (int slot = 0; slot < kSlotCount; ++slot) {
        snprintf(text, sizeof text, "Name %d", slot + 1);
        SetSlotName(image, slot, text);
        snprintf(text, sizeof text, "Text %d\r\nof slot %d", slot + 1, slot + 1);
        SetSlotText(image, slot, text);
    }
    return image;
}

class RepositionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, kScratchRoot);
        settings::Store store;
        store.root = kScratchRoot;
        settings::WriteSettingText(store, settings::kOptions, settings::kUseSystemTray, "0");
        settings::WriteSettingText(store, settings::kOptions, settings::kWantToolTip, "1");
        settings::WriteSettingText(store, settings::kOptions, settings::kAutoPaste, "0");
        g_board = BoardState();
        g_start = StartState();
        g_start.freshStart = true; // no project: nothing to read or save
        board_ = new BoardWindow(store);
        ASSERT_TRUE(board_->CreateModeless(nullptr));
        g_shown.clear();
        g_answer = IDOK;
        ui::SetMessageHook(Answer);
        g_boardImage = NumberedProject();
        ScatterBoard();
    }
    void TearDown() override {
        ui::SetMessageHook(nullptr);
        board_->Destroy();
        delete board_;
        ui::ClearWindowStack();
        RegDeleteTreeA(HKEY_CURRENT_USER, kScratchRoot);
    }
    void Command(int id) { HandleBoardCommand(id, 0, nullptr); }
    void Click(int slot) { Command(CopyButtonId(slot)); }
    void Enter() {
        Command(IDM_REPOSITION);
        ASSERT_TRUE(g_board.repositioning);
        g_shown.clear();
    }

    BoardWindow* board_ = nullptr;
};

} // namespace

TEST_F(RepositionTest, TheConfirmationAsksWithOkAndCancelAndCancelChangesNothing) {
    g_answer = IDCANCEL;
    Command(IDM_REPOSITION);
    ASSERT_EQ(g_shown.size(), 1u);
    EXPECT_EQ(g_shown[0].text,
              "[Configure], [Reposition Buttons and Text Fields]\r\n\r\nClick all 33 copy buttons "
              "in the order that you want them to be. When all 33 buttons have been clicked, the "
              "buttons and their associated text fields will be repositioned to reflect your "
              "selections. Once you begin this procedure, you must select all 33 copy buttons "
              "before Tessaro will once again become functional.\r\n\r\n\r\n");
    EXPECT_EQ(g_shown[0].caption, "Tessaro");
    EXPECT_EQ(g_shown[0].type, UINT(MB_OKCANCEL | MB_ICONINFORMATION | MB_DEFBUTTON2));

    EXPECT_FALSE(g_board.repositioning);
    for (int id : kLocked)
        EXPECT_FALSE(Grayed(id)) << "item " << id;
    EXPECT_TRUE(Enabled(FieldId(0)));
    EXPECT_FALSE(Visible(MarkerId(0)));
}

TEST_F(RepositionTest, TheEightItemsAreGrayedOnlyWhileTheModeRuns) {
    Enter();
    for (int id : kLocked)
        EXPECT_TRUE(Grayed(id)) << "item " << id << " during the mode";
    for (int id : kStayAvailable)
        EXPECT_FALSE(Grayed(id)) << "item " << id << " during the mode";
    EXPECT_FALSE(Enabled(IDX_MIN_ON_COPY));
    EXPECT_FALSE(Enabled(IDX_TOPMOST));
    EXPECT_FALSE(Enabled(IDC_PROJECTS));
    EXPECT_TRUE(Visible(MarkerId(0)));

    for (int slot = 0; slot < kSlotCount; ++slot)
        Click(slot);
    EXPECT_FALSE(g_board.repositioning);
    for (int id : kLocked)
        EXPECT_FALSE(Grayed(id)) << "item " << id << " after the mode";
    for (int id = MarkerId(0); id <= LabelId(kSlotCount - 1); ++id)
        EXPECT_FALSE(Visible(id)) << "marker or label " << id;
    for (int id = IDX_MIN_ON_COPY; id <= IDC_PROJECTS; ++id)
        EXPECT_TRUE(Enabled(id)) << "control " << id;
    for (int id = IDB_COPY_FIRST; id <= IDE_FIELD_LAST; ++id)
        EXPECT_TRUE(Enabled(id)) << "control " << id;
}

TEST_F(RepositionTest, TheBoardImageKeepsTheProjectUntilTheLastClick) {
    const ProjectImage before = g_boardImage;
    Enter();
    EXPECT_EQ(memcmp(&g_boardImage, &before, sizeof before), 0) << "changed at the start";
    for (int slot = kSlotCount - 1; slot > 0; --slot)
        Click(slot);
    EXPECT_EQ(memcmp(&g_boardImage, &before, sizeof before), 0)
        << "changed with 32 of 33 clicks done: a search of the current project would miss it";

    Click(0);
    EXPECT_FALSE(g_board.repositioning);
    char text[64];
    for (int position = 0; position < kSlotCount; ++position) {
        SlotName(g_boardImage, position, text, sizeof text);
        EXPECT_EQ(std::string(text), "Name " + std::to_string(kSlotCount - position));
    }
    // The board shows what the image holds: a gather gives the same bytes.
    const ProjectImage handedOver = g_boardImage;
    GatherBoard();
    EXPECT_EQ(memcmp(&g_boardImage, &handedOver, sizeof handedOver), 0);
}

TEST_F(RepositionTest, TheLockedCommandsAreRefusedByTheHandlerItself) {
    Enter();
    g_board.selectedField = 0;
    Command(IDM_EDIT_TEXT_FIELD); // would explain that no field is selected
    strcpy(g_board.currentPath, "C:\\nowhere\\Kept.vqp");
    Command(IDM_DELETE_PROJECT); // would ask whether to delete
    Command(IDM_REPOSITION);     // would ask again
    EXPECT_TRUE(g_shown.empty()) << "first message: " << g_shown[0].text;
    EXPECT_TRUE(g_board.repositioning);

    Command(IDM_PHONE); // the Help commands stay available
    EXPECT_EQ(g_shown.size(), 1u);

    for (int slot = 0; slot < kSlotCount; ++slot)
        Click(slot);
    g_shown.clear();
    g_answer = IDNO;
    Command(IDM_EDIT_TEXT_FIELD);
    Command(IDM_DELETE_PROJECT);
    ASSERT_EQ(g_shown.size(), 2u) << "available again after the mode";
    EXPECT_EQ(g_shown[0].text.rfind("Please make a selection first", 0), 0u);
    EXPECT_EQ(g_shown[1].text.rfind("You are about to delete project:", 0), 0u);
}

TEST_F(RepositionTest, ScreenTipsAreOneControlThatGoesWithTheBoard) {
    HWND tips = ScreenTipsControl();
    ASSERT_TRUE(tips) << "on at start-up with WantToolTip 1";
    EXPECT_EQ(SendMessageA(tips, TTM_GETTOOLCOUNT, 0, 0), 135);
    ShowScreenTips(true);
    EXPECT_EQ(ScreenTipsControl(), tips) << "switching on while on changes nothing";
    EXPECT_EQ(SendMessageA(tips, TTM_GETTOOLCOUNT, 0, 0), 135);

    // Rough start-up cost of the tips: switching them on registers all the tools.
    const int rounds = 10;
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int round = 0; round < rounds; ++round) {
        ShowScreenTips(false);
        ShowScreenTips(true);
    }
    QueryPerformanceCounter(&end);
    const double ms = 1000.0 * double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
    printf("switching the screen tips on takes %.2f ms\n", ms / rounds);
    RecordProperty("ScreenTipsOnMs", int(ms / rounds + 0.5));
    EXPECT_LT(ms / rounds, 250.0) << "the tips must not slow the board's start";

    tips = ScreenTipsControl();
    board_->Destroy();
    EXPECT_FALSE(IsWindow(tips));
    EXPECT_EQ(ScreenTipsControl(), nullptr);
    ShowScreenTips(false); // after the board is gone: nothing left to do
}
