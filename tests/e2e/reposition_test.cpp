// Reposition mode on the real board: the confirmation, the board's state while the mode
// runs, each step, the new order after the 33rd click and in the saved file, closing in
// the middle, and the commands that are dead meanwhile.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "e2e/board_fixture.h"
#include "resources/kestrum_ids.h"

using namespace e2e;

namespace {

constexpr int kSlots = 33;

const char kConfirmText[] =
    "[Configure], [Reposition Buttons and Text Fields]\r\n\r\nClick all 33 copy buttons in the "
    "order that you want them to be. When all 33 buttons have been clicked, the buttons and "
    "their associated text fields will be repositioned to reflect your selections. Once you "
    "begin this procedure, you must select all 33 copy buttons before Tessaro will once again "
    "become functional.\r\n\r\n\r\n";

// A full project: every slot named and filled, line breaks, a 31-character name, a text of
// the full 10,239 characters and one empty slot, so any slot that goes astray shows.
std::string FullProject() {
    std::string image(kImageSize, '\0');
    for (int slot = 0; slot < kSlots; ++slot) {
        std::string name = "Button " + std::to_string(slot + 1);
        std::string text = "Text of slot " + std::to_string(slot + 1) + "\r\nsecond line";
        if (slot == 10)
            name = text = "";
        if (slot == 20)
            name = "A name of thirty-one characters";
        if (slot == 7)
            text = std::string(10239, 'x');
        image.replace(size_t(slot) * 32, name.size(), name);
        image.replace(kSlots * 32 + size_t(slot) * 10240, text.size(), text);
    }
    return image;
}

// The image with its slots in the order given (position k holds slot order[k]).
std::string Reordered(const std::string& image, const std::vector<int>& order) {
    std::string out(kImageSize, '\0');
    for (int k = 0; k < kSlots; ++k) {
        out.replace(size_t(k) * 32, 32, image, size_t(order[k]) * 32, 32);
        out.replace(kSlots * 32 + size_t(k) * 10240, 10240, image,
                    kSlots * 32 + size_t(order[k]) * 10240, 10240);
    }
    return out;
}

std::string WithText(std::string image, int slot, const std::string& text) {
    const size_t at = kSlots * 32 + size_t(slot) * 10240;
    image.replace(at, 10240, std::string(10240, '\0'));
    image.replace(at, text.size(), text);
    return image;
}

std::vector<int> SlotOrder() {
    std::vector<int> order;
    for (int slot = 0; slot < kSlots; ++slot)
        order.push_back(slot);
    return order;
}

class RepositionTest : public BoardTest {
  protected:
    // The board started on a full project (the current project, SAMPLE.VQP).
    void StartOnFullProject() {
        project_ = FullProject();
        ASSERT_TRUE(driver::WriteFileBytes(Path("SAMPLE.VQP"), project_));
        ASSERT_TRUE(StartBoard());
        ASSERT_TRUE(driver::WaitUntil(
            [&] { return driver::ItemText(window_, CopyButtonId(32)) == "Button 33"; }, kWait,
            "the project shown"));
    }
    void Enter() {
        driver::PostCommand(window_, IDM_REPOSITION);
        EXPECT_EQ(AnswerBox(IDOK), kConfirmText);
        ASSERT_TRUE(driver::WaitUntil([&] { return Visible(MarkerId(0)); }, kWait,
                                      "the marker at position 1"));
    }
    bool Visible(int id) const { return driver::IsVisible(GetDlgItem(window_, id)); }
    // Clicks the slot's copy button and waits until the board has taken it.
    void Take(int slot) {
        driver::Click(window_, CopyButtonId(slot));
        ASSERT_TRUE(
            driver::WaitUntil([&] { return !driver::IsEnabled(window_, CopyButtonId(slot)); },
                              kWait, "slot " + std::to_string(slot) + " taken"));
    }
    void TakeAll(const std::vector<int>& order) {
        for (int k = 0; k < kSlots - 1; ++k)
            Take(order[k]);
        driver::Click(window_, CopyButtonId(order[kSlots - 1]));
        ASSERT_TRUE(WaitModeOver());
    }
    bool WaitModeOver() {
        return driver::WaitUntil([&] { return driver::IsEnabled(window_, FieldId(0)); }, kWait,
                                 "the mode over: fields enabled again");
    }
    // Every visible marker and label, by id.
    std::vector<int> VisibleMarkersAndLabels() const {
        std::vector<int> ids;
        for (int id = MarkerId(0); id <= LabelId(kSlots - 1); ++id)
            if (Visible(id))
                ids.push_back(id);
        return ids;
    }
    // Saves and waits for the file to hold expected. The file is emptied first, so a save
    // that writes the same bytes as before is seen too; the board then asks whether to
    // write over the file that changed under it, and is told yes.
    void SaveAndExpect(const std::string& expected) {
        ASSERT_TRUE(WriteAsAnotherProgram(Path("SAMPLE.VQP"), std::string(kImageSize, '\0')));
        driver::PostCommand(window_, IDM_SAVE_PROJECT);
        EXPECT_EQ(0u, AnswerBox(IDYES).find("Another program has changed this project file"));
        std::string saved;
        bool same = driver::WaitUntil(
            [&] { return (saved = driver::ReadFileBytes(Path("SAMPLE.VQP"))) == expected; }, kWait,
            "the saved project");
        EXPECT_TRUE(same) << "the file differs first at byte " << FirstDifference(saved, expected)
                          << " of " << saved.size();
    }
    static size_t FirstDifference(const std::string& a, const std::string& b) {
        size_t i = 0;
        while (i < a.size() && i < b.size() && a[i] == b[i])
            ++i;
        return i;
    }
    // Fails if the board shows any window besides itself and its tips within ms.
    void ExpectNoOtherWindow(DWORD ms, const std::string& after) {
        bool other = driver::WaitUntil(
            [&] {
                for (HWND w : driver::TopWindowsOf(board_.pid))
                    if (w != window_ && driver::IsVisible(w) && !IsTooltip(w))
                        return true;
                return false;
            },
            ms, "another window");
        EXPECT_FALSE(other) << after << ": " << driver::DescribeWindows(board_.pid);
    }
    // Opens the copy button's context menu and renames the button through it.
    void RenameThroughContextMenu(int slot, const char* name) {
        HWND button = GetDlgItem(window_, CopyButtonId(slot));
        driver::BringToFront(window_);
        PostMessageA(window_, WM_CONTEXTMENU, (WPARAM)button, MAKELPARAM(200 + slot, 200));
        ASSERT_TRUE(driver::WaitUntil([&] { return PopupMenuShown(); }, kWait, "the menu"));
        driver::KeyCombo({VK_ESCAPE});
        ASSERT_TRUE(driver::WaitUntil([&] { return !PopupMenuShown(); }, kWait, "menu closed"));
        driver::PostCommand(window_, IDM_RENAME_ONE);
        HWND prompt = driver::WaitVisibleWindow("Define Button", kWait, board_.pid);
        ASSERT_TRUE(prompt) << driver::LastFailure();
        driver::SetItemText(prompt, IDE_PROMPT, name);
        driver::Click(prompt, IDOK);
        ASSERT_TRUE(driver::WaitGone(prompt, kWait));
        ASSERT_TRUE(
            driver::WaitUntil([&] { return driver::ItemText(window_, CopyButtonId(slot)) == name; },
                              kWait, "the new caption"));
    }
    bool PopupMenuShown() const {
        for (HWND w : driver::TopWindowsOf(board_.pid)) {
            char name[32] = "";
            GetClassNameA(w, name, sizeof name);
            if (strcmp(name, "#32768") == 0 && IsWindowVisible(w))
                return true;
        }
        return false;
    }
    static bool IsTooltip(HWND w) {
        char name[32] = "";
        GetClassNameA(w, name, sizeof name);
        return strcmp(name, "tooltips_class32") == 0;
    }

    std::string project_;
};

} // namespace

TEST_F(RepositionTest, CancelOnTheConfirmationChangesNothing) {
    StartOnFullProject();
    driver::PostCommand(window_, IDM_REPOSITION);
    HWND box = driver::WaitMessageBox(board_.pid, kWait);
    ASSERT_TRUE(box) << driver::LastFailure();
    EXPECT_EQ(driver::Title(box), "Tessaro");
    EXPECT_EQ(driver::MessageBoxText(box), kConfirmText);
    EXPECT_TRUE(GetDlgItem(box, IDOK) && GetDlgItem(box, IDCANCEL)) << "OK and Cancel";
    EXPECT_EQ(GetWindowLongW(GetDlgItem(box, IDCANCEL), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON)
        << "Cancel is the default";
    EXPECT_EQ(driver::FocusedClassOrId(box), "Button:" + std::to_string(IDCANCEL));
    driver::AnswerMessageBox(box, IDCANCEL);
    ASSERT_TRUE(driver::WaitGone(box, kWait));
    Sleep(300);

    EXPECT_TRUE(VisibleMarkersAndLabels().empty());
    EXPECT_TRUE(driver::IsEnabled(window_, FieldId(4)));
    EXPECT_TRUE(driver::IsEnabled(window_, IDC_PROJECTS));
    // A click is a copy again, not a step.
    // The clipboard is read only once the board has written it: an edit control's copy
    // fails while another program has the clipboard open.
    ASSERT_TRUE(driver::SetClipboardText("before"));
    const DWORD sequence = GetClipboardSequenceNumber();
    driver::Click(window_, CopyButtonId(4));
    EXPECT_TRUE(driver::WaitUntil([&] { return GetClipboardSequenceNumber() != sequence; }, kWait,
                                  "the board writing the clipboard"));
    EXPECT_EQ(driver::ClipboardText(), "Text of slot 5\r\nsecond line");
    EXPECT_TRUE(driver::IsEnabled(window_, CopyButtonId(4)));
    CloseBoard();
    EXPECT_EQ(driver::ReadFileBytes(Path("SAMPLE.VQP")), project_);
}

TEST_F(RepositionTest, TheModeDisablesTheBoardAndEachStepTakesOneSlot) {
    StartOnFullProject();
    Enter();
    for (int id : {IDX_MIN_ON_COPY, IDX_TOPMOST, IDC_PROJECTS})
        EXPECT_FALSE(driver::IsEnabled(window_, id)) << "control " << id;
    for (int slot = 0; slot < kSlots; ++slot) {
        EXPECT_FALSE(driver::IsEnabled(window_, FieldId(slot))) << "field of slot " << slot;
        EXPECT_TRUE(driver::IsEnabled(window_, CopyButtonId(slot))) << "button of slot " << slot;
    }
    EXPECT_EQ(VisibleMarkersAndLabels(), std::vector<int>{MarkerId(0)});
    EXPECT_EQ(driver::ItemText(window_, MarkerId(0)), ">");

    // A step: no copy, the marker moves on, the button is spent and numbered.
    ASSERT_TRUE(driver::SetClipboardText("before"));
    const DWORD sequence = GetClipboardSequenceNumber();
    Take(12);
    EXPECT_EQ(VisibleMarkersAndLabels(), (std::vector<int>{MarkerId(1), LabelId(12)}));
    EXPECT_EQ(driver::ItemText(window_, LabelId(12)), "1");
    EXPECT_EQ(GetClipboardSequenceNumber(), sequence) << "a step copies nothing";
    EXPECT_FALSE(driver::IsIconic(window_));
    EXPECT_EQ(driver::ItemText(window_, CopyButtonId(0)), "Button 1") << "the board unchanged";

    // A spent button's click, posted again, takes nothing.
    driver::Click(window_, CopyButtonId(12));
    Take(3);
    EXPECT_EQ(driver::ItemText(window_, LabelId(3)), "2");
    EXPECT_EQ(VisibleMarkersAndLabels(), (std::vector<int>{MarkerId(2), LabelId(3), LabelId(12)}));
}

TEST_F(RepositionTest, SlotOrderLeavesTheProjectUnchangedByteForByte) {
    StartOnFullProject();
    Enter();
    TakeAll(SlotOrder());
    EXPECT_TRUE(VisibleMarkersAndLabels().empty()) << "no marker or label after the last click";
    for (int id = IDB_COPY_FIRST; id <= IDE_FIELD_LAST; ++id)
        EXPECT_TRUE(driver::IsEnabled(window_, id)) << "control " << id;
    for (int id : {IDX_MIN_ON_COPY, IDX_TOPMOST, IDC_PROJECTS})
        EXPECT_TRUE(driver::IsEnabled(window_, id)) << "control " << id;
    EXPECT_EQ(driver::ReadFileBytes(Path("SAMPLE.VQP")), project_) << "nothing written yet";
    SaveAndExpect(project_);
}

TEST_F(RepositionTest, ReverseOrderReversesTheSlots) {
    StartOnFullProject();
    Enter();
    const std::vector<int> slots = SlotOrder();
    const std::vector<int> order(slots.rbegin(), slots.rend());
    TakeAll(order);
    EXPECT_EQ(driver::ItemText(window_, CopyButtonId(0)), "Button 33");
    EXPECT_EQ(driver::ItemText(window_, FieldId(0)), "Text of slot 33\r\nsecond line");
    EXPECT_EQ(driver::ItemText(window_, CopyButtonId(32)), "Button 1");
    EXPECT_EQ(driver::ReadFileBytes(Path("SAMPLE.VQP")), project_) << "nothing written yet";
    SaveAndExpect(Reordered(project_, order));
    const std::string saved = driver::ReadFileBytes(Path("SAMPLE.VQP"));
    EXPECT_EQ(ImageName(saved, 0), "Button 33");
    EXPECT_EQ(ImageText(saved, 25), std::string(10239, 'x')) << "slot 8 now at position 26";
    EXPECT_EQ(ImageName(saved, 12), "A name of thirty-one characters");
}

TEST_F(RepositionTest, ClosingInTheMiddleKeepsTheOldOrder) {
    StartOnFullProject();
    driver::SetItemText(window_, FieldId(1), "typed before the mode");
    Enter();
    for (int slot : {30, 2, 1, 17, 0})
        Take(slot);
    CloseBoard();
    const std::string saved = driver::ReadFileBytes(Path("SAMPLE.VQP"));
    std::string expected = WithText(project_, 1, "typed before the mode");
    EXPECT_TRUE(saved == expected)
        << "not the old order with what was typed: slot 1 is " << ImageName(saved, 0)
        << ", slot 2 holds " << ImageText(saved, 1);
}

TEST_F(RepositionTest, TheLockedCommandsAreDeadFromEverySource) {
    StartOnFullProject();
    driver::SetItemText(window_, FieldId(0), "not saved"); // a save would write this
    Enter();
    Take(5);
    ASSERT_TRUE(driver::BringToFront(window_)) << driver::LastFailure();
    // The keys reach the board's filter only through a focused control.
    SendMessageA(window_, WM_NEXTDLGCTL, (WPARAM)GetDlgItem(window_, CopyButtonId(6)), 1);
    for (BYTE key : {'1', '2', '3', '5', '6'}) {
        driver::KeyCombo({VK_CONTROL, key});
        ExpectNoOtherWindow(600, std::string("Ctrl+") + char(key));
    }
    for (int id : {IDM_NEW_PROJECT, IDM_SAVE_PROJECT, IDM_SAVE_PROJECT_AS, IDM_DELETE_PROJECT,
                   IDM_RENAME_BUTTONS, IDM_EDIT_TEXT_FIELD, IDM_REPOSITION, IDM_CONSOLIDATE}) {
        driver::PostCommand(window_, id);
        ExpectNoOtherWindow(600, "command " + std::to_string(id));
    }
    // The copy-button menu's Edit Text Field.
    SendMessageA(window_, WM_NEXTDLGCTL, (WPARAM)GetDlgItem(window_, CopyButtonId(6)), 1);
    driver::PostCommand(window_, IDM_EDIT_FROM_CONTEXT);
    ExpectNoOtherWindow(600, "Edit Text Field of the context menu");
    // A project switch posted from outside.
    driver::PostCommand(window_, MAKEWPARAM(IDC_PROJECTS, CBN_SELCHANGE),
                        (LPARAM)GetDlgItem(window_, IDC_PROJECTS));
    Sleep(300);
    EXPECT_EQ(driver::ReadFileBytes(Path("SAMPLE.VQP")), project_) << "nothing was saved";
    EXPECT_EQ(driver::ItemText(window_, LabelId(5)), "1") << "the mode runs on";
    EXPECT_FALSE(driver::IsEnabled(window_, FieldId(0)));

    // The keys did reach the board: Ctrl+T still works during the mode.
    EXPECT_TRUE(driver::TooltipsOf(window_).empty());
    SendMessageA(window_, WM_NEXTDLGCTL, (WPARAM)GetDlgItem(window_, CopyButtonId(6)), 1);
    driver::KeyCombo({VK_CONTROL, 'T'});
    EXPECT_TRUE(driver::WaitUntil([&] { return driver::TooltipsOf(window_).size() == 1; }, kWait,
                                  "Ctrl+T switched the tips on"));
    // After the mode the same shortcut works.
    std::vector<int> rest;
    for (int slot = 0; slot < kSlots; ++slot)
        if (slot != 5)
            rest.push_back(slot);
    for (size_t k = 0; k + 1 < rest.size(); ++k)
        Take(rest[k]);
    driver::Click(window_, CopyButtonId(rest.back()));
    ASSERT_TRUE(WaitModeOver());
    ASSERT_TRUE(driver::BringToFront(window_)) << driver::LastFailure();
    SendMessageA(window_, WM_NEXTDLGCTL, (WPARAM)GetDlgItem(window_, CopyButtonId(6)), 1);
    driver::KeyCombo({VK_CONTROL, '3'});
    HWND prompt = driver::WaitVisibleWindow("Save Current Tessaro Project As", kWait, board_.pid);
    EXPECT_TRUE(prompt) << "Ctrl+3 works again after the mode";
    if (prompt)
        driver::PostCommand(prompt, IDCANCEL);
}

TEST_F(RepositionTest, AButtonRenamedBeforeItsClickEntersWithItsNewName) {
    StartOnFullProject();
    Enter();
    Take(0);
    RenameThroughContextMenu(2, "Renamed before");
    RenameThroughContextMenu(0, "Renamed after"); // already taken: keeps its name then
    std::vector<int> order = SlotOrder();
    for (int k = 1; k < kSlots - 1; ++k)
        Take(order[k]);
    driver::Click(window_, CopyButtonId(order[kSlots - 1]));
    ASSERT_TRUE(WaitModeOver());
    EXPECT_EQ(driver::ItemText(window_, CopyButtonId(2)), "Renamed before");
    EXPECT_EQ(driver::ItemText(window_, CopyButtonId(0)), "Button 1");
    std::string expected = project_;
    expected.replace(2 * 32, 32, std::string("Renamed before").append(32 - 14, '\0'));
    SaveAndExpect(expected);
}

// Find stays available during the mode and its Current Project search reads the board
// image, which must hold the project as last read, not the order being built.
TEST_F(RepositionTest, ACurrentProjectSearchDuringTheModeFindsTheProjectsText) {
    StartOnFullProject();
    Enter();
    for (int slot : {32, 0, 5})
        Take(slot);
    driver::PostCommand(window_, IDM_FIND);
    HWND find = driver::WaitVisibleWindow("Find in Projects", kWait, board_.pid);
    ASSERT_TRUE(find) << driver::LastFailure();
    SendMessageW(GetDlgItem(find, IDX_FIND_CURRENT_PROJECT), BM_CLICK, 0, 0);
    ASSERT_TRUE(driver::IsChecked(find, IDX_FIND_CURRENT_PROJECT));

    // Slot number and text of the first hit, or the message the search ended with.
    auto findFirst = [&](const std::string& what) {
        EXPECT_TRUE(driver::SetItemText(find, IDE_FIND_WHAT, what)) << driver::LastFailure();
        driver::SetItemText(find, IDE_FIND_BUTTON_NUMBER, "");
        driver::Click(find, IDB_FIND_FIRST);
        std::string seen;
        driver::WaitUntil(
            [&] {
                if (HWND box = driver::WaitMessageBox(board_.pid, 50)) {
                    seen = "message: " + driver::MessageBoxText(box);
                    driver::AnswerMessageBox(box, IDOK);
                    return true;
                }
                seen = driver::ItemText(find, IDE_FIND_BUTTON_NUMBER);
                if (seen.empty())
                    return false;
                seen += " " + driver::ItemText(find, IDE_FIND_TEXT);
                return true;
            },
            kWait, "a hit or a message");
        return seen;
    };
    EXPECT_EQ(findFirst("of slot 20"), "20 Text of slot 20\r\nsecond line")
        << "a slot not clicked yet";
    EXPECT_EQ(findFirst("of slot 33"), "33 Text of slot 33\r\nsecond line")
        << "a slot already clicked, where the project has it";
    EXPECT_EQ(driver::ItemText(find, IDE_FIND_PROJECT), "SAMPLE.VQP");
    driver::Click(find, IDB_FIND_JUST_CLOSE);
    ASSERT_TRUE(driver::WaitGone(find, kWait));
    EXPECT_EQ(driver::ItemText(window_, LabelId(5)), "3") << "the mode runs on";
    EXPECT_FALSE(driver::IsEnabled(window_, FieldId(7)));
}
