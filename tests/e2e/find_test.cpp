// Find in Projects on the real board: opened by Ctrl+F and the Edit menu's command,
// stepping through hits across projects, the scope switch, what it remembers, and the
// copy buttons.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "e2e/board_fixture.h"
#include "resources/kestrum_ids.h"

using namespace e2e;

namespace {

const char kFindCaption[] = "Find in Projects";

struct Hit {
    std::string project, name, number, text;
    bool operator==(const Hit& o) const {
        return project == o.project && name == o.name && number == o.number && text == o.text;
    }
};

std::ostream& operator<<(std::ostream& out, const Hit& hit) {
    return out << hit.project << " | " << hit.name << " | " << hit.number << " | " << hit.text;
}

class FindTest : public BoardTest {
  protected:
    HWND OpenFind() {
        driver::PostCommand(window_, IDM_FIND);
        HWND find = driver::WaitVisibleWindow(kFindCaption, kWait, board_.pid);
        EXPECT_TRUE(find) << driver::LastFailure();
        return find;
    }

    void Close(HWND find, int button) {
        driver::Click(find, button);
        ASSERT_TRUE(driver::WaitGone(find, kWait)) << driver::LastFailure();
    }

    void Type(HWND find, const std::string& text) {
        ASSERT_TRUE(driver::SetItemText(find, IDE_FIND_WHAT, text)) << driver::LastFailure();
    }

    // A click on a radio button or check box, which sets it as the user's click would.
    void Press(HWND find, int id) { SendMessageW(GetDlgItem(find, id), BM_CLICK, 0, 0); }

    Hit Shown(HWND find) {
        return {
            driver::ItemText(find, IDE_FIND_PROJECT), driver::ItemText(find, IDE_FIND_BUTTON_NAME),
            driver::ItemText(find, IDE_FIND_BUTTON_NUMBER), driver::ItemText(find, IDE_FIND_TEXT)};
    }

    // Presses Find First or Find Next and returns the hit it shows; empty when the search
    // ended with a message ("Search Complete." and the like, kept in lastMessage_)
    // instead. Every step of these tests moves to another hit than the one shown.
    Hit Search(HWND find, int button) {
        const Hit before = Shown(find);
        driver::Click(find, button);
        HWND box = nullptr;
        bool settled = driver::WaitUntil(
            [&] {
                box = driver::WaitMessageBox(board_.pid, 50);
                return box || !(Shown(find) == before);
            },
            kWait, "a new hit or a message after a search");
        EXPECT_TRUE(settled) << driver::LastFailure() << " (shown before: " << before << ")";
        if (box) {
            lastMessage_ = driver::MessageBoxText(box);
            driver::AnswerMessageBox(box, IDOK);
            EXPECT_TRUE(driver::WaitGone(box, kWait));
            return Hit();
        }
        lastMessage_.clear();
        // A hit moves the focus to Find Next, once all its fields are shown.
        EXPECT_TRUE(driver::WaitUntil(
            [&] {
                return driver::FocusedClassOrId(find) == "Button:" + std::to_string(IDB_FIND_NEXT);
            },
            kWait, "the focus on Find Next"));
        return Shown(find);
    }
    Hit First(HWND find) { return Search(find, IDB_FIND_FIRST); }
    Hit Next(HWND find) { return Search(find, IDB_FIND_NEXT); }

    std::string lastMessage_;
};

const Hit kComplete = {};

} // namespace

TEST_F(FindTest, CtrlFFindsCityInTheSampleAsButtonFiveButNotWithMatchCase) {
    ASSERT_TRUE(StartBoard());
    ASSERT_TRUE(driver::BringToFront(window_)) << driver::LastFailure();
    driver::KeyCombo({VK_CONTROL, 'F'});
    HWND find = driver::WaitVisibleWindow(kFindCaption, kWait, board_.pid);
    ASSERT_TRUE(find) << driver::LastFailure();

    // Centred over the board.
    RECT board, own;
    GetWindowRect(window_, &board);
    GetWindowRect(find, &own);
    EXPECT_LE(std::abs((own.left + own.right) - (board.left + board.right)), 2);
    EXPECT_LE(std::abs((own.top + own.bottom) - (board.top + board.bottom)), 2);

    // A fresh dialog: nothing to search for yet.
    EXPECT_EQ(driver::ItemText(find, IDE_FIND_WHAT), "");
    EXPECT_FALSE(driver::IsEnabled(find, IDB_FIND_FIRST));
    EXPECT_FALSE(driver::IsEnabled(find, IDB_FIND_NEXT));
    EXPECT_FALSE(driver::IsEnabled(find, IDB_FIND_COPY));
    EXPECT_FALSE(driver::IsEnabled(find, IDB_FIND_COPY_CLOSE));
    EXPECT_TRUE(driver::IsChecked(find, IDX_FIND_ALL_PROJECTS));
    EXPECT_TRUE(driver::IsChecked(find, IDX_FIND_BOTH));
    EXPECT_FALSE(driver::IsChecked(find, IDX_FIND_MATCH_CASE));

    Type(find, "city");
    EXPECT_TRUE(driver::WaitUntil([&] { return driver::IsEnabled(find, IDB_FIND_FIRST); }, kWait,
                                  "Find First enabled by typing"));
    EXPECT_EQ(First(find), (Hit{"SAMPLE.VQP", "City", "5", ""}));
    EXPECT_TRUE(driver::IsEnabled(find, IDB_FIND_NEXT));
    EXPECT_FALSE(driver::IsEnabled(find, IDB_FIND_COPY)) << "the text field is empty";
    EXPECT_FALSE(driver::IsEnabled(find, IDB_FIND_COPY_CLOSE));

    EXPECT_EQ(Next(find), kComplete);
    EXPECT_EQ(lastMessage_, "Search Complete.");
    EXPECT_FALSE(driver::IsEnabled(find, IDB_FIND_NEXT));
    EXPECT_EQ(Shown(find), (Hit{"SAMPLE.VQP", "City", "5", ""})) << "the last hit stays shown";

    Press(find, IDX_FIND_MATCH_CASE);
    ASSERT_TRUE(driver::IsChecked(find, IDX_FIND_MATCH_CASE));
    EXPECT_EQ(First(find), kComplete);
    EXPECT_EQ(lastMessage_, "Search Complete.");

    Type(find, "");
    EXPECT_TRUE(driver::WaitUntil([&] { return !driver::IsEnabled(find, IDB_FIND_FIRST); }, kWait,
                                  "Find First disabled without text"));
    EXPECT_EQ(First(find), kComplete);
    EXPECT_EQ(lastMessage_, "Please type in text to search for.");
    EXPECT_EQ(driver::FocusedClassOrId(find), "Edit:" + std::to_string(IDE_FIND_WHAT));

    Close(find, IDB_FIND_JUST_CLOSE);
    EXPECT_EQ(driver::FocusedClassOrId(window_), "ComboBox:" + std::to_string(IDC_PROJECTS));
}

TEST_F(FindTest, FindNextWalksThroughEveryProjectToSearchComplete) {
    ASSERT_TRUE(driver::WriteFileBytes(
        Path("Alpha.vqp"), MakeImage({"", "", "Hello"}, {"", "", "hello world", "", "", "", "", "",
                                                         "", "", "Say HELLO again"})));
    ASSERT_TRUE(driver::WriteFileBytes(Path("Beta.vqp"), MakeImage({}, {})));
    std::string zulu = MakeImage({}, {});
    zulu.replace(32 * 32, 10, "Last hello");
    ASSERT_TRUE(driver::WriteFileBytes(Path("Zulu.vqp"), zulu));
    ASSERT_TRUE(StartBoard());

    HWND find = OpenFind();
    ASSERT_TRUE(find);
    Type(find, "hello");
    EXPECT_EQ(First(find), (Hit{"Alpha.vqp", "Hello", "3", "hello world"}))
        << "a slot matching in its name and its text is one hit";
    EXPECT_EQ(Next(find), (Hit{"Alpha.vqp", "", "11", "Say HELLO again"}));
    EXPECT_EQ(Next(find), (Hit{"Zulu.vqp", "Last hello", "33", ""}));
    EXPECT_EQ(Next(find), kComplete) << "after the last slot of the last project";
    EXPECT_EQ(lastMessage_, "Search Complete.");
    EXPECT_FALSE(driver::IsEnabled(find, IDB_FIND_NEXT));

    // Find First starts again from the first project.
    EXPECT_EQ(First(find), (Hit{"Alpha.vqp", "Hello", "3", "hello world"}));
    Close(find, IDCANCEL);
}

TEST_F(FindTest, SwitchingToCurrentProjectSearchesTheBoardImageFromItsFirstSlot) {
    ASSERT_TRUE(driver::WriteFileBytes(Path("Alpha.vqp"),
                                       MakeImage({}, {"", "", "", "", "needle in Alpha"})));
    ASSERT_TRUE(driver::WriteFileBytes(
        Path("SAMPLE.VQP"), MakeImage({"First Name", "Needle"},
                                      {"", "", "", "", "", "", "", "", "a needle in the sample"})));
    ASSERT_TRUE(StartBoard());
    // Typing not yet saved is not searched: the board image holds the project as read.
    ASSERT_TRUE(driver::SetItemText(window_, FieldId(20), "an unsaved needle"));

    HWND find = OpenFind();
    ASSERT_TRUE(find);
    Type(find, "needle");
    EXPECT_EQ(First(find), (Hit{"Alpha.vqp", "", "5", "needle in Alpha"}));
    Press(find, IDX_FIND_CURRENT_PROJECT);
    EXPECT_EQ(Next(find), (Hit{"SAMPLE.VQP", "Needle", "2", ""}));
    EXPECT_EQ(Next(find), (Hit{"SAMPLE.VQP", "", "9", "a needle in the sample"}));
    EXPECT_EQ(Next(find), kComplete);
    EXPECT_EQ(lastMessage_, "Search Complete.");

    // Only the buttons: the sample's text no longer counts.
    Press(find, IDX_FIND_BUTTONS);
    EXPECT_EQ(First(find), (Hit{"SAMPLE.VQP", "Needle", "2", ""}));
    EXPECT_EQ(Next(find), kComplete);
    Close(find, IDB_FIND_JUST_CLOSE);
}

TEST_F(FindTest, ReopeningShowsTheLastTextAndOptionsWithFindNextDisabled) {
    ASSERT_TRUE(StartBoard());
    HWND find = OpenFind();
    ASSERT_TRUE(find);
    Type(find, "Name");
    Press(find, IDX_FIND_CURRENT_PROJECT);
    Press(find, IDX_FIND_BUTTONS);
    Press(find, IDX_FIND_MATCH_CASE);
    EXPECT_EQ(First(find), (Hit{"SAMPLE.VQP", "First Name", "1", ""}));
    EXPECT_EQ(lastMessage_, "");
    Close(find, IDB_FIND_JUST_CLOSE);

    find = OpenFind();
    ASSERT_TRUE(find);
    EXPECT_EQ(driver::ItemText(find, IDE_FIND_WHAT), "Name");
    EXPECT_TRUE(driver::IsChecked(find, IDX_FIND_CURRENT_PROJECT));
    EXPECT_FALSE(driver::IsChecked(find, IDX_FIND_ALL_PROJECTS));
    EXPECT_TRUE(driver::IsChecked(find, IDX_FIND_BUTTONS));
    EXPECT_FALSE(driver::IsChecked(find, IDX_FIND_BOTH));
    EXPECT_TRUE(driver::IsChecked(find, IDX_FIND_MATCH_CASE));
    EXPECT_TRUE(driver::IsEnabled(find, IDB_FIND_FIRST));
    EXPECT_FALSE(driver::IsEnabled(find, IDB_FIND_NEXT));
    EXPECT_EQ(Shown(find), (Hit{"", "", "", ""}));

    // Find Next after reopening starts from the beginning.
    driver::Click(find, IDB_FIND_NEXT);
    EXPECT_TRUE(
        driver::WaitUntil([&] { return driver::ItemText(find, IDE_FIND_BUTTON_NUMBER) == "1"; },
                          kWait, "the first hit again"));
    Close(find, IDCANCEL);
}

TEST_F(FindTest, TheShownTextGoesToTheClipboardWithTheDialogOpenOrOnClosing) {
    const std::string letter = "Dear Sir,\r\nthank you for your letter.";
    ASSERT_TRUE(
        driver::WriteFileBytes(Path("Letters.vqp"), MakeImage({"Thanks"}, {letter.c_str()})));
    ASSERT_TRUE(StartBoard());
    HWND find = OpenFind();
    ASSERT_TRUE(find);
    Type(find, "thank");
    EXPECT_EQ(First(find), (Hit{"Letters.vqp", "Thanks", "1", letter}));
    ASSERT_TRUE(driver::IsEnabled(find, IDB_FIND_COPY));
    ASSERT_TRUE(driver::IsEnabled(find, IDB_FIND_COPY_CLOSE));

    // The clipboard is only opened to read it once the board has written it: an edit
    // control's copy fails while another program has the clipboard open.
    ASSERT_TRUE(driver::SetClipboardText("before"));
    DWORD sequence = GetClipboardSequenceNumber();
    driver::Click(find, IDB_FIND_COPY);
    EXPECT_TRUE(driver::WaitUntil([&] { return GetClipboardSequenceNumber() != sequence; }, kWait,
                                  "the board writing the clipboard"));
    EXPECT_EQ(driver::ClipboardText(), letter);
    EXPECT_TRUE(IsWindowVisible(find)) << "the dialog stays open";

    ASSERT_TRUE(driver::SetClipboardText("before"));
    sequence = GetClipboardSequenceNumber();
    driver::Click(find, IDB_FIND_COPY_CLOSE);
    EXPECT_TRUE(driver::WaitGone(find, kWait)) << driver::LastFailure();
    EXPECT_TRUE(driver::WaitUntil([&] { return GetClipboardSequenceNumber() != sequence; }, kWait,
                                  "the board writing the clipboard"));
    EXPECT_EQ(driver::ClipboardText(), letter);
}
