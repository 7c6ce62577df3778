// Consolidate Projects on the real board: the two lists with clicks, Shift and the
// arrows, a run checked byte for byte with the board showing the result, Cancel, the
// help text, and runs that must leave every project as it was.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "e2e/board_fixture.h"
#include "resources/kestrum_ids.h"

using namespace e2e;

namespace {

const char kCaption[] = "Consolidate Projects";
constexpr int kSlots = 33;

// Slot i of project p is named by names (the rest unnamed) and holds the text p + i.
std::string Numbered(const std::string& p, std::initializer_list<const char*> names,
                     std::initializer_list<std::pair<int, std::string>> textChanges = {}) {
    std::vector<std::string> texts;
    for (int i = 0; i < kSlots; ++i)
        texts.push_back(p + std::to_string(i));
    for (const auto& change : textChanges)
        texts[change.first] = change.second;
    std::vector<const char*> textPointers;
    for (const auto& text : texts)
        textPointers.push_back(text.c_str());
    std::string image = MakeImage(names, {});
    for (int i = 0; i < kSlots; ++i)
        image.replace(kSlots * 32 + size_t(i) * 10240, texts[i].size(), texts[i]);
    return image;
}

// An image from (name, text) pairs, slot 0 first.
std::string Slots(const std::vector<std::pair<std::string, std::string>>& slots) {
    std::string image(kImageSize, '\0');
    for (size_t i = 0; i < slots.size(); ++i) {
        image.replace(i * 32, slots[i].first.size(), slots[i].first);
        image.replace(kSlots * 32 + i * 10240, slots[i].second.size(), slots[i].second);
    }
    return image;
}

std::vector<std::string> ListItems(HWND dialog, int id) {
    std::vector<std::string> items;
    HWND list = GetDlgItem(dialog, id);
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t text[MAX_PATH] = L"";
        if (SendMessageW(list, LB_GETTEXTLEN, i, 0) >= MAX_PATH)
            continue;
        SendMessageW(list, LB_GETTEXT, i, (LPARAM)text);
        char narrow[MAX_PATH * 2] = "";
        WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
        items.push_back(narrow);
    }
    return items;
}

// The project files of a folder in the system's listing order.
std::vector<std::string> Listing(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "\\*.vqp").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do
        names.push_back(found.cFileName);
    while (FindNextFileA(find, &found));
    FindClose(find);
    return names;
}

std::vector<std::string> Temporaries(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "\\*.tmp").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do
        names.push_back(found.cFileName);
    while (FindNextFileA(find, &found));
    FindClose(find);
    return names;
}

void MouseButton(DWORD flag) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flag;
    SendInput(1, &input, sizeof input);
    Sleep(40);
}

class ConsolidateTest : public BoardTest {
  protected:
    HWND Open() {
        driver::PostCommand(window_, IDM_CONSOLIDATE);
        HWND dialog = driver::WaitVisibleWindow(kCaption, kWait, board_.pid);
        EXPECT_TRUE(dialog) << driver::LastFailure();
        return dialog;
    }

    // A real click of the mouse on entry index of a list, as the user makes it. The pointer
    // is moved first and the click only made once the system reports it over the entry.
    void ClickEntry(HWND dialog, int id, int index, bool twice = false) {
        ASSERT_TRUE(driver::BringToFront(dialog)) << driver::LastFailure();
        HWND list = GetDlgItem(dialog, id);
        const LRESULT height = SendMessageW(list, LB_GETITEMHEIGHT, 0, 0);
        const LRESULT top = SendMessageW(list, LB_GETTOPINDEX, 0, 0);
        POINT at = {12, LONG((index - top) * height + height / 2)};
        ClientToScreen(list, &at);
        ASSERT_TRUE(driver::WaitUntil(
            [&] {
                SetCursorPos(at.x, at.y);
                Sleep(50);
                POINT now;
                return GetCursorPos(&now) && now.x == at.x && now.y == at.y &&
                       WindowFromPoint(now) == list;
            },
            kWait, "the mouse pointer over the entry"))
            << driver::LastFailure();
        for (int click = 0; click < (twice ? 2 : 1); ++click) {
            MouseButton(MOUSEEVENTF_LEFTDOWN);
            MouseButton(MOUSEEVENTF_LEFTUP);
        }
        if (twice)
            return; // a double-click may remove the entry
        // Posted commands overtake input: the release of the button (which reports the
        // selection to the dialog) must be handled before the test posts anything more.
        const DWORD thread = GetWindowThreadProcessId(list, nullptr);
        EXPECT_TRUE(driver::WaitUntil(
            [&] {
                GUITHREADINFO info = {};
                info.cbSize = sizeof info;
                return SendMessageW(list, LB_GETCURSEL, 0, 0) == index &&
                       GetGUIThreadInfo(thread, &info) && info.hwndCapture != list;
            },
            kWait, "the click on the entry handled"))
            << driver::LastFailure();
        SendMessageW(list, LB_GETCURSEL, 0, 0); // returns once the release is handled
    }

    // The keyboard's move of the selection, handled before anything is posted after it.
    void WaitSelected(HWND dialog, int id, int index) {
        EXPECT_TRUE(driver::WaitUntil(
            [&] { return SendMessageW(GetDlgItem(dialog, id), LB_GETCURSEL, 0, 0) == index; },
            kWait, "entry " + std::to_string(index) + " selected"))
            << driver::LastFailure();
    }

    ::testing::AssertionResult WaitChosen(HWND dialog, const std::vector<std::string>& chosen) {
        if (driver::WaitUntil([&] { return ListItems(dialog, IDL_CONSOLIDATE) == chosen; }, kWait,
                              "the Consolidate list"))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << "the Consolidate list is "
               << ::testing::PrintToString(ListItems(dialog, IDL_CONSOLIDATE)) << ", not "
               << ::testing::PrintToString(chosen);
    }

    // No message comes for a moment and the list stays as it is.
    void ExpectQuietly(HWND dialog, const std::vector<std::string>& chosen) {
        Sleep(400);
        EXPECT_EQ(driver::WaitMessageBox(board_.pid, 100), nullptr) << "no message expected";
        EXPECT_EQ(ListItems(dialog, IDL_CONSOLIDATE), chosen);
    }

    // Adds the entries through the dialog's own arrow, after picking each with the keyboard.
    void Choose(HWND dialog, const std::vector<std::string>& names) {
        const std::vector<std::string> all = ListItems(dialog, IDL_ALL_PROJECTS);
        std::vector<std::string> chosen = ListItems(dialog, IDL_CONSOLIDATE);
        for (const auto& name : names) {
            int index = -1;
            for (size_t i = 0; i < all.size(); ++i)
                if (all[i] == name)
                    index = int(i);
            ASSERT_GE(index, 0) << name << " is not listed";
            HWND list = GetDlgItem(dialog, IDL_ALL_PROJECTS);
            SendMessageW(list, LB_SETCURSEL, index, 0);
            driver::PostCommand(dialog, MAKEWPARAM(IDL_ALL_PROJECTS, LBN_SELCHANGE), (LPARAM)list);
            driver::Click(dialog, IDB_CONSOLIDATE_ADD);
            chosen.push_back(name);
            ASSERT_TRUE(WaitChosen(dialog, chosen));
        }
    }

    void Ok(HWND dialog) { driver::Click(dialog, IDB_CONSOLIDATE_OK); }

    void ExpectFiles(const std::vector<std::pair<std::string, std::string>>& files) {
        for (const auto& file : files)
            EXPECT_TRUE(driver::ReadFileBytes(Path(file.first)) == file.second)
                << file.first << " is not as expected";
        EXPECT_TRUE(Temporaries(folder_).empty())
            << "left: " << ::testing::PrintToString(Temporaries(folder_));
    }
};

} // namespace

TEST_F(ConsolidateTest, ListsClicksShiftAndTheArrows) {
    for (const char* name : {"A.vqp", "B.vqp", "C.vqp"})
        ASSERT_TRUE(driver::WriteFileBytes(Path(name), Numbered(name, {})));
    ASSERT_TRUE(StartBoard());
    HWND dialog = Open();
    ASSERT_TRUE(dialog);

    RECT own, desk;
    GetWindowRect(dialog, &own);
    GetWindowRect(GetDesktopWindow(), &desk);
    EXPECT_LE(std::abs((own.left + own.right) - (desk.left + desk.right)), 2) << "centred";
    const std::vector<std::string> all = Listing(folder_);
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(ListItems(dialog, IDL_ALL_PROJECTS), all) << "in the listing's order, unsorted";
    EXPECT_TRUE(ListItems(dialog, IDL_CONSOLIDATE).empty());

    driver::Click(dialog, IDB_CONSOLIDATE_ADD);
    EXPECT_EQ(AnswerBox(IDOK), "Please select a Project");

    // A click adds the entry at once and forgets it.
    ClickEntry(dialog, IDL_ALL_PROJECTS, 1);
    ASSERT_TRUE(WaitChosen(dialog, {all[1]}));
    driver::Click(dialog, IDB_CONSOLIDATE_ADD);
    EXPECT_EQ(AnswerBox(IDOK), "Please select a Project");
    // A double-click adds as well, and only once.
    ClickEntry(dialog, IDL_ALL_PROJECTS, 1, true);
    ExpectQuietly(dialog, {all[1]});

    // The keyboard alone only points at an entry; "->" adds it.
    driver::KeyCombo({VK_DOWN});
    WaitSelected(dialog, IDL_ALL_PROJECTS, 2);
    ExpectQuietly(dialog, {all[1]});
    driver::Click(dialog, IDB_CONSOLIDATE_ADD);
    ASSERT_TRUE(WaitChosen(dialog, {all[1], all[2]}));
    // An entry already chosen is not added twice.
    ASSERT_TRUE(driver::BringToFront(dialog));
    driver::KeyCombo({VK_UP});
    WaitSelected(dialog, IDL_ALL_PROJECTS, 1);
    driver::Click(dialog, IDB_CONSOLIDATE_ADD);
    ExpectQuietly(dialog, {all[1], all[2]});
    driver::Click(dialog, IDB_CONSOLIDATE_ADD);
    EXPECT_EQ(AnswerBox(IDOK), "Please select a Project") << "the entry was forgotten";

    // With Shift held the keyboard adds at once.
    ASSERT_TRUE(driver::BringToFront(dialog));
    driver::KeyCombo({VK_SHIFT, VK_DOWN});
    WaitSelected(dialog, IDL_ALL_PROJECTS, 2);
    ExpectQuietly(dialog, {all[1], all[2]});
    driver::KeyCombo({VK_SHIFT, VK_DOWN});
    ASSERT_TRUE(WaitChosen(dialog, {all[1], all[2], all[3]}));
    EXPECT_EQ(ListItems(dialog, IDL_ALL_PROJECTS), all) << "the entries stay on the left";

    // "<-" removes the entry picked on the right; a double-click there removes at once.
    ClickEntry(dialog, IDL_CONSOLIDATE, 1);
    driver::Click(dialog, IDB_CONSOLIDATE_REMOVE);
    ASSERT_TRUE(WaitChosen(dialog, {all[1], all[3]}));
    ClickEntry(dialog, IDL_CONSOLIDATE, 0, true);
    ASSERT_TRUE(WaitChosen(dialog, {all[3]}));

    driver::Click(dialog, IDB_CONSOLIDATE_CANCEL);
    EXPECT_TRUE(driver::WaitGone(dialog, kWait)) << driver::LastFailure();
    for (const char* name : {"A.vqp", "B.vqp", "C.vqp"})
        EXPECT_TRUE(driver::ReadFileBytes(Path(name)) == Numbered(name, {})) << name;
}

TEST_F(ConsolidateTest, TwoProjectsAreRedistributedAndTheBoardShowsTheCurrentOne) {
    ASSERT_TRUE(driver::WriteFileBytes(Path("A.vqp"), Numbered("A", {"Zebra", "apple"})));
    ASSERT_TRUE(driver::WriteFileBytes(Path("B.vqp"), Numbered("B", {"Banana", "-cherry"})));
    ASSERT_TRUE(
        driver::RegSetText(std::string(kSettingsRoot) + "\\Files", "Current", Path("A.vqp")));
    ASSERT_TRUE(StartBoard());
    // Typing in the board is saved before the run and takes part in it.
    ASSERT_TRUE(driver::SetItemText(window_, FieldId(2), "A2 typed"));

    HWND dialog = Open();
    ASSERT_TRUE(dialog);
    Choose(dialog, {"A.vqp", "B.vqp"});
    Ok(dialog);
    ASSERT_TRUE(driver::WaitGone(dialog, kWait)) << driver::LastFailure();

    std::vector<std::pair<std::string, std::string>> a = {
        {"apple", "A1"}, {"Banana", "B0"}, {"-cherry", "B1"}, {"Zebra", "A0"}, {"", "A2 typed"}};
    for (int i = 3; i <= 30; ++i)
        a.push_back({"", "A" + std::to_string(i)});
    std::vector<std::pair<std::string, std::string>> b = {{"", "A31"}, {"", "A32"}};
    for (int i = 2; i <= 32; ++i)
        b.push_back({"", "B" + std::to_string(i)});
    ExpectFiles({{"A.vqp", Slots(a)}, {"B.vqp", Slots(b)}});

    EXPECT_TRUE(
        driver::WaitUntil([&] { return driver::ItemText(window_, CopyButtonId(0)) == "apple"; },
                          kWait, "the board showing the consolidated project"));
    EXPECT_EQ(driver::ItemText(window_, FieldId(0)), "A1");
    EXPECT_EQ(driver::ItemText(window_, CopyButtonId(3)), "Zebra");
    EXPECT_EQ(driver::ItemText(window_, FieldId(4)), "A2 typed");
    EXPECT_EQ(driver::Title(window_), "Tessaro >" + Path("A.vqp"));
}

TEST_F(ConsolidateTest, CancelShowsTheCurrentProjectAsItsFileHoldsIt) {
    ASSERT_TRUE(StartBoard());
    ASSERT_TRUE(driver::SetItemText(window_, FieldId(0), "typed, never saved"));
    HWND dialog = Open();
    ASSERT_TRUE(dialog);
    driver::Click(dialog, IDB_CONSOLIDATE_CANCEL);
    ASSERT_TRUE(driver::WaitGone(dialog, kWait)) << driver::LastFailure();
    EXPECT_TRUE(driver::WaitUntil([&] { return driver::ItemText(window_, FieldId(0)).empty(); },
                                  kWait, "the file's empty text back in the board"));
    EXPECT_EQ(driver::ItemText(window_, CopyButtonId(0)), "First Name");
    EXPECT_TRUE(driver::ReadFileBytes(Path("SAMPLE.VQP")) == SampleImage()) << "nothing saved";
}

TEST_F(ConsolidateTest, HelpShowsTheConsolidateText) {
    ASSERT_TRUE(StartBoard());
    HWND dialog = Open();
    ASSERT_TRUE(dialog);
    driver::Click(dialog, IDB_CONSOLIDATE_HELP);
    HWND help = driver::WaitVisibleWindow("Tessaro Help", kWait, board_.pid);
    ASSERT_TRUE(help) << driver::LastFailure();
    EXPECT_EQ(driver::ItemText(help, IDE_HELP_TEXT),
              "[Configure], [Consolidate Projects]\r\n\r\nAlphabetically consolidate projects over "
              "the full range of several or all of the projects.\r\n\r\nSelect all the projects "
              "that you want to consolidate. The project names will remain the same, but the "
              "fields will be redistributed, alphabetically, over the full range of all the "
              "projects.\r\n\r\n\r\n");
    driver::Click(help, IDB_HELP_DONE);
    ASSERT_TRUE(driver::WaitGone(help, kWait));
    EXPECT_TRUE(IsWindowVisible(dialog)) << "back in the dialog";
    driver::PostCommand(dialog, IDCANCEL); // Escape
    EXPECT_TRUE(driver::WaitGone(dialog, kWait)) << driver::LastFailure();
}

TEST_F(ConsolidateTest, AProjectThatCannotBeReadLeavesEveryProjectAsItWas) {
    const std::string a = Numbered("A", {"Zebra", "apple"});
    const std::string b = Numbered("B", {"Banana"});
    ASSERT_TRUE(driver::WriteFileBytes(Path("A.vqp"), a));
    ASSERT_TRUE(driver::WriteFileBytes(Path("B.vqp"), b));
    ASSERT_TRUE(StartBoard());
    HWND dialog = Open();
    ASSERT_TRUE(dialog);
    Choose(dialog, {"A.vqp", "B.vqp"});

    // Another program holds B and lets no one read it.
    HANDLE holder = CreateFileA(Path("B.vqp").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    Ok(dialog);
    const std::string box = AnswerBox(IDOK);
    CloseHandle(holder);
    EXPECT_EQ(box, "Unable to open project:\n" + Path("B.vqp"));
    ASSERT_TRUE(driver::WaitGone(dialog, kWait)) << driver::LastFailure();
    ExpectFiles({{"A.vqp", a}, {"B.vqp", b}, {"SAMPLE.VQP", SampleImage()}});
}

TEST_F(ConsolidateTest, AProjectThatCannotBeReplacedLeavesEveryProjectAsItWas) {
    const std::string a = Numbered("A", {"Zebra", "apple"});
    const std::string b = Numbered("B", {"Banana"});
    ASSERT_TRUE(driver::WriteFileBytes(Path("A.vqp"), a));
    ASSERT_TRUE(driver::WriteFileBytes(Path("B.vqp"), b));
    ASSERT_TRUE(StartBoard());
    HWND dialog = Open();
    ASSERT_TRUE(dialog);
    Choose(dialog, {"A.vqp", "B.vqp"});

    // Another program reads B along and does not let it be replaced meanwhile.
    HANDLE holder =
        CreateFileA(Path("B.vqp").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    Ok(dialog);
    const std::string box = AnswerBox(IDOK);
    CloseHandle(holder);
    EXPECT_EQ(box, "Error saving:\n" + Path("B.vqp"));
    ASSERT_TRUE(driver::WaitGone(dialog, kWait)) << driver::LastFailure();
    ExpectFiles({{"A.vqp", a}, {"B.vqp", b}});
}

// Runs on a disk with room for three projects and a bit (TESSARO_SMALL_DISK, prepared by
// the test script where the system allows it): the second temporary file cannot be
// written completely.
TEST_F(ConsolidateTest, ADiskTooFullForTheTemporaryFilesLeavesEveryProjectAsItWas) {
    const char* disk = getenv("TESSARO_SMALL_DISK");
    if (!disk || !*disk)
        GTEST_SKIP() << "no small disk: TESSARO_SMALL_DISK is not set";
    const std::string small = std::string(disk) + "\\projects";
    driver::RemoveTree(small); // what an interrupted run may have left
    ASSERT_TRUE(CreateDirectoryA(small.c_str(), nullptr)) << small;
    const std::string a = Numbered("A", {"Zebra", "apple"});
    const std::string b = Numbered("B", {"Banana"});
    ASSERT_TRUE(driver::WriteFileBytes(small + "\\A.vqp", a));
    ASSERT_TRUE(driver::WriteFileBytes(small + "\\B.vqp", b));
    ASSERT_TRUE(
        driver::RegSetText(std::string(kSettingsRoot) + "\\Configure", "ThisProgramDir", small));
    ASSERT_TRUE(
        driver::RegSetText(std::string(kSettingsRoot) + "\\Files", "Current", small + "\\A.vqp"));
    driver::RemoveTree(folder_);
    folder_ = small; // the fixture removes it afterwards
    ASSERT_TRUE(StartBoard());
    HWND dialog = Open();
    ASSERT_TRUE(dialog);
    Choose(dialog, {"A.vqp", "B.vqp"});
    Ok(dialog);
    EXPECT_EQ(AnswerBox(IDOK), "Error saving:\n" + small + "\\B.vqp");
    ASSERT_TRUE(driver::WaitGone(dialog, kWait)) << driver::LastFailure();
    ExpectFiles({{"A.vqp", a}, {"B.vqp", b}});
    EXPECT_EQ(driver::ItemText(window_, CopyButtonId(0)), "Zebra") << "the board as the file is";
}
