// The board's secondary dialogs from the outside: Edit Text Field, Help, About and
// Rename Buttons, driven through the board's commands as the menus would.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "e2e/board_fixture.h"
#include "resources/kestrum_ids.h"

using namespace e2e;

namespace {

constexpr int kSlots = 33;
constexpr size_t kMaxText = 10239;
constexpr DWORD kQuiet = 1500; // ms in which a window that should not come would have come

const char kEditCaption[] = "Edit Text Field";
const char kHelpCaption[] = "Tessaro Help";
const char kAboutCaption[] = "About Tessaro";
const char kRenameCaption[] = "Rename Buttons";

// Text of the given length with line breaks in it, no two positions alike for long.
std::string LongText(size_t length) {
    std::string text;
    for (int line = 0; text.size() < length; ++line)
        text += "Line " + std::to_string(line) + " of the long text, with some words\r\n";
    text.resize(length);
    if (text.back() == '\r')
        text.back() = '.'; // never end inside a line break
    return text;
}

// Equality of long texts, reported by the first difference instead of the whole texts.
::testing::AssertionResult Same(const std::string& actual, const std::string& expected) {
    if (actual == expected)
        return ::testing::AssertionSuccess();
    size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at])
        ++at;
    return ::testing::AssertionFailure()
           << "lengths " << actual.size() << " and " << expected.size() << "; first difference at "
           << at << ": \"" << actual.substr(at, 40) << "\" instead of \"" << expected.substr(at, 40)
           << "\"";
}

constexpr LRESULT kNoAnswer = -12345;

LRESULT Send(HWND window, UINT msg, WPARAM w = 0, LPARAM l = 0) {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(window, msg, w, l, SMTO_ABORTIFHUNG, 2000, &answer))
        return kNoAnswer;
    return (LRESULT)answer;
}

LONG Style(HWND window) {
    return GetWindowLongA(window, GWL_STYLE);
}

// Whether the caret of the dialog's thread shows on the screen: its rectangle is watched
// for a second and a half, long enough for a visible caret to blink.
bool CaretBlinks(HWND dialog) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) || !info.hwndCaret)
        return false;
    RECT r = info.rcCaret;
    MapWindowPoints(info.hwndCaret, nullptr, (POINT*)&r, 2);
    HDC screen = GetDC(nullptr);
    std::vector<COLORREF> first;
    bool changed = false;
    for (int look = 0; look < 15 && !changed; ++look) {
        std::vector<COLORREF> pixels;
        for (LONG y = r.top; y < r.bottom; ++y)
            for (LONG x = r.left; x < r.right; ++x)
                pixels.push_back(GetPixel(screen, x, y));
        if (look == 0)
            first = pixels;
        changed = pixels != first;
        Sleep(100);
    }
    ReleaseDC(nullptr, screen);
    return changed;
}

class DialogsTest : public BoardTest {
  protected:
    // Posts the command to the board and waits for the dialog it opens.
    HWND Open(int command, const char* caption) { return OpenFrom(window_, command, caption); }

    // Every dialog centres itself on the desktop.
    HWND OpenFrom(HWND owner, int command, const char* caption) {
        driver::PostCommand(owner, command);
        HWND dialog = driver::WaitVisibleWindow(caption, kWait, board_.pid);
        EXPECT_TRUE(dialog) << driver::LastFailure();
        RECT own, desk;
        if (dialog && GetWindowRect(dialog, &own) && GetWindowRect(GetDesktopWindow(), &desk)) {
            EXPECT_LE(std::abs((own.left + own.right) - (desk.left + desk.right)), 2) << caption;
            EXPECT_LE(std::abs((own.top + own.bottom) - (desk.top + desk.bottom)), 2) << caption;
        }
        return dialog;
    }

    void CloseWith(HWND dialog, int button) {
        driver::Click(dialog, button);
        EXPECT_TRUE(driver::WaitGone(dialog, kWait)) << driver::LastFailure();
    }

    // True if a window with this caption of the board comes within kQuiet.
    bool Comes(const char* caption) {
        return driver::WaitWindow(caption, kQuiet, board_.pid) != nullptr;
    }

    std::string Field(int slot) { return driver::ItemText(window_, FieldId(slot)); }
    std::string Caption(int slot) { return driver::ItemText(window_, CopyButtonId(slot)); }
    std::vector<std::string> Captions() {
        std::vector<std::string> captions;
        for (int slot = 0; slot < kSlots; ++slot)
            captions.push_back(Caption(slot));
        return captions;
    }

    // Makes the field the selected one the way the board learns of a click into it.
    void SelectField(int slot) {
        driver::PostCommand(window_, MAKEWPARAM(FieldId(slot), EN_SETFOCUS),
                            (LPARAM)GetDlgItem(window_, FieldId(slot)));
    }

    // The copy button's context menu, opened and dismissed without choosing.
    void OpenAndDismissContextMenu(int slot) {
        HWND menu = nullptr;
        driver::PostCommand(window_, IDM_CONTEXT_REQUEST,
                            (LPARAM)GetDlgItem(window_, CopyButtonId(slot)));
        ASSERT_TRUE(driver::WaitUntil(
            [&] {
                for (HWND w : driver::TopWindowsOf(board_.pid)) {
                    char cls[16] = "";
                    GetClassNameA(w, cls, sizeof cls);
                    if (std::string(cls) == "#32768" && IsWindowVisible(w))
                        menu = w;
                }
                return menu != nullptr;
            },
            kWait, "the copy button's context menu"))
            << driver::LastFailure();
        // The menu's own loop ends on a cancel-mode message, as on Escape.
        PostMessageA(window_, WM_CANCELMODE, 0, 0);
        ASSERT_TRUE(driver::WaitUntil([&] { return !IsWindowVisible(menu); }, kWait,
                                      "the context menu to close"));
    }
};

// ---- Edit Text Field ----------------------------------------------------------------

using DialogsEditTextTest = DialogsTest;

TEST_F(DialogsEditTextTest, FullFieldComesBackUnchangedAndLongerTextIsCut) {
    ASSERT_TRUE(StartBoard());
    const std::string full = LongText(kMaxText);
    ASSERT_TRUE(driver::SetItemText(window_, FieldId(0), full));

    HWND dialog = Open(IDM_EDIT_TEXT_FIELD, kEditCaption);
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(Same(driver::ItemText(dialog, IDE_EDIT_TEXT), full));
    CloseWith(dialog, IDB_EDIT_OK);
    EXPECT_TRUE(Same(Field(0), full));

    dialog = Open(IDM_EDIT_TEXT_FIELD, kEditCaption);
    ASSERT_TRUE(dialog);
    const std::string longer = LongText(kMaxText + 1500);
    ASSERT_TRUE(driver::SetItemText(dialog, IDE_EDIT_TEXT, longer));
    CloseWith(dialog, IDB_EDIT_OK);
    EXPECT_EQ(Field(0).size(), kMaxText);
    EXPECT_TRUE(Same(Field(0), longer.substr(0, kMaxText)));
}

TEST_F(DialogsEditTextTest, OpensWithTheCaretAtTheStartAndEnterMakesLineBreaks) {
    ASSERT_TRUE(StartBoard());
    const std::string original = LongText(4000); // longer than the editor shows at once
    ASSERT_TRUE(driver::SetItemText(window_, FieldId(0), original));
    HWND dialog = Open(IDM_EDIT_TEXT_FIELD, kEditCaption);
    ASSERT_TRUE(dialog);
    HWND edit = GetDlgItem(dialog, IDE_EDIT_TEXT);

    EXPECT_EQ(driver::FocusedClassOrId(dialog), "Edit:" + std::to_string(IDE_EDIT_TEXT));
    EXPECT_EQ(Send(edit, EM_GETSEL), 0) << "caret at the start, nothing selected";
    EXPECT_EQ(Send(edit, EM_GETFIRSTVISIBLELINE), 0) << "the view at the top";
    EXPECT_TRUE(CaretBlinks(dialog)) << "the caret shows where typing goes";

    ASSERT_TRUE(driver::BringToFront(dialog)) << driver::LastFailure();
    driver::TypeText("new");
    driver::KeyCombo({VK_RETURN});
    driver::TypeText("top");
    EXPECT_FALSE(driver::WaitGone(dialog, 300)) << "Enter must not press OK";
    EXPECT_TRUE(Same(driver::ItemText(dialog, IDE_EDIT_TEXT), "new\r\ntop" + original));
    CloseWith(dialog, IDB_EDIT_OK);
    EXPECT_TRUE(Same(Field(0), "new\r\ntop" + original));
    EXPECT_EQ(driver::FocusedClassOrId(window_), "ComboBox:" + std::to_string(IDC_PROJECTS));
}

TEST_F(DialogsEditTextTest, CancelEscapeAndCloseBoxLeaveTheFieldAsItWas) {
    ASSERT_TRUE(StartBoard());
    const std::string original = "Keep me\r\nexactly as I am  ";
    ASSERT_TRUE(driver::SetItemText(window_, FieldId(0), original));

    HWND dialog = Open(IDM_EDIT_TEXT_FIELD, kEditCaption);
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(driver::SetItemText(dialog, IDE_EDIT_TEXT, "changed"));
    CloseWith(dialog, IDB_EDIT_CANCEL);
    EXPECT_EQ(Field(0), original) << "Cancel";

    dialog = Open(IDM_EDIT_TEXT_FIELD, kEditCaption);
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(driver::SetItemText(dialog, IDE_EDIT_TEXT, "changed"));
    ASSERT_TRUE(driver::BringToFront(dialog)) << driver::LastFailure();
    driver::KeyCombo({VK_ESCAPE});
    EXPECT_TRUE(driver::WaitGone(dialog, kWait)) << "Escape";
    EXPECT_EQ(Field(0), original) << "Escape";

    dialog = Open(IDM_EDIT_TEXT_FIELD, kEditCaption);
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(driver::SetItemText(dialog, IDE_EDIT_TEXT, ""));
    PostMessageA(dialog, WM_CLOSE, 0, 0);
    EXPECT_TRUE(driver::WaitGone(dialog, kWait)) << "close box";
    EXPECT_EQ(Field(0), original) << "close box";
}

TEST_F(DialogsEditTextTest, FromTheContextMenuItEditsThatButtonsField) {
    ASSERT_TRUE(StartBoard());
    for (int slot = 0; slot < kSlots; ++slot)
        ASSERT_TRUE(driver::SetItemText(window_, FieldId(slot), "text " + std::to_string(slot)));

    SelectField(2);
    HWND dialog = Open(IDM_EDIT_TEXT_FIELD, kEditCaption);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(driver::ItemText(dialog, IDE_EDIT_TEXT), "text 2") << "the field clicked into";
    CloseWith(dialog, IDB_EDIT_CANCEL);

    OpenAndDismissContextMenu(18);
    driver::PostCommand(window_, IDM_EDIT_FROM_CONTEXT);
    dialog = driver::WaitVisibleWindow(kEditCaption, kWait, board_.pid);
    ASSERT_TRUE(dialog) << driver::LastFailure();
    EXPECT_EQ(driver::ItemText(dialog, IDE_EDIT_TEXT), "text 18");
    ASSERT_TRUE(driver::SetItemText(dialog, IDE_EDIT_TEXT, "edited through the menu"));
    CloseWith(dialog, IDB_EDIT_OK);
    EXPECT_EQ(Field(18), "edited through the menu");
    EXPECT_EQ(Field(2), "text 2");
}

TEST_F(DialogsEditTextTest, NewTextReachesTheProjectFileOnlyWhenSaved) {
    ASSERT_TRUE(StartBoard());
    const std::string before = driver::ReadFileBytes(Path("SAMPLE.VQP"));
    HWND dialog = Open(IDM_EDIT_TEXT_FIELD, kEditCaption);
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(driver::SetItemText(dialog, IDE_EDIT_TEXT, "written at close"));
    CloseWith(dialog, IDB_EDIT_OK);
    EXPECT_EQ(Field(0), "written at close");
    EXPECT_EQ(driver::ReadFileBytes(Path("SAMPLE.VQP")), before) << "nothing written on OK";

    CloseBoard(); // closing saves the current project
    std::string after = driver::ReadFileBytes(Path("SAMPLE.VQP"));
    ASSERT_EQ(after.size(), kImageSize);
    EXPECT_EQ(ImageText(after, 0), "written at close");
    EXPECT_EQ(ImageName(after, 0), "First Name");
}

// ---- Help -------------------------------------------------------------------------

using DialogsHelpTest = DialogsTest;

TEST_F(DialogsHelpTest, OverviewIsTheOverviewTextFollowedBySixteenTopics) {
    ASSERT_TRUE(StartBoard());
    // Each topic as its own Help item shows it: only that text.
    std::vector<std::string> topics(IDM_HELP_LAST_TOPIC + 1);
    for (int id = IDM_HELP_FIRST_TOPIC; id <= IDM_HELP_LAST_TOPIC; ++id) {
        HWND help = Open(id, kHelpCaption);
        ASSERT_TRUE(help) << id;
        EXPECT_EQ(driver::Title(help), kHelpCaption);
        topics[id] = driver::ItemText(help, IDE_HELP_TEXT);
        EXPECT_EQ(topics[id].rfind("\r\n\r\n\r\n"), topics[id].size() - 6) << id;
        CloseWith(help, IDB_HELP_DONE);
    }
    EXPECT_EQ(topics[IDM_TOPIC_MIN_ON_COPY].rfind("[X]Minimize On Each Copy\r\n", 0), 0u);
    EXPECT_EQ(topics[IDM_TOPIC_AUTO_PASTE].rfind("[Options], [Auto Paste into Application]\r\n", 0),
              0u);

    HWND help = Open(IDM_HELP_OVERVIEW, kHelpCaption);
    ASSERT_TRUE(help);
    const std::string overview = driver::ItemText(help, IDE_HELP_TEXT);
    CloseWith(help, IDB_HELP_DONE);

    // Rename One Button is left out: the Rename Buttons topic already says it.
    const int order[] = {IDM_TOPIC_RENAME_BUTTONS,
                         IDM_TOPIC_EDIT_TEXT_FIELD,
                         IDM_TOPIC_FIND,
                         IDM_TOPIC_MIN_ON_COPY,
                         IDM_TOPIC_TOPMOST,
                         IDM_TOPIC_CHANGE_PROJECT,
                         IDM_TOPIC_NEW_PROJECT,
                         IDM_TOPIC_OPEN_PROJECT,
                         IDM_TOPIC_SAVE_PROJECT,
                         IDM_TOPIC_SAVE_AS,
                         IDM_TOPIC_EXIT,
                         IDM_TOPIC_REPOSITION,
                         IDM_TOPIC_CONSOLIDATE,
                         IDM_TOPIC_USE_TRAY,
                         IDM_TOPIC_HIDE_AT_STARTUP,
                         IDM_TOPIC_AUTO_PASTE};
    std::string tail;
    for (int id : order)
        tail += topics[id];
    ASSERT_GT(overview.size(), tail.size());
    const std::string own = overview.substr(0, overview.size() - tail.size());
    EXPECT_TRUE(Same(overview.substr(own.size()), tail));
    EXPECT_EQ(own.rfind("Tessaro Overview\r\n\r\nThere are 33 text fields per page", 0), 0u);
    EXPECT_EQ(own.size(), 1366u);
    EXPECT_EQ(own.find("[Edit], [Rename Buttons]\r\n"), std::string::npos);

    // A topic after the Overview shows only the topic; the Overview after it all again.
    help = Open(IDM_TOPIC_RENAME_ONE, kHelpCaption);
    ASSERT_TRUE(help);
    EXPECT_EQ(driver::ItemText(help, IDE_HELP_TEXT), topics[IDM_TOPIC_RENAME_ONE]);
    EXPECT_EQ(topics[IDM_TOPIC_RENAME_ONE],
              "To rename just one button, you can right-click the button, select "
              "[Rename Buttons] and rename it.\r\n\r\n\r\n");
    CloseWith(help, IDB_HELP_DONE);
    help = Open(IDM_HELP_OVERVIEW, kHelpCaption);
    ASSERT_TRUE(help);
    EXPECT_TRUE(Same(driver::ItemText(help, IDE_HELP_TEXT), overview));
    CloseWith(help, IDB_HELP_DONE);
    EXPECT_EQ(driver::FocusedClassOrId(window_), "ComboBox:" + std::to_string(IDC_PROJECTS));
}

TEST_F(DialogsHelpTest, TextIsReadOnlyFromTheTopAndCanBeCopied) {
    ASSERT_TRUE(StartBoard());
    HWND help = Open(IDM_HELP_OVERVIEW, kHelpCaption);
    ASSERT_TRUE(help);
    HWND edit = GetDlgItem(help, IDE_HELP_TEXT);
    const std::string text = driver::ItemText(help, IDE_HELP_TEXT);

    EXPECT_TRUE(Style(edit) & ES_READONLY);
    EXPECT_TRUE(Style(edit) & ES_MULTILINE);
    EXPECT_EQ(driver::FocusedClassOrId(help), "Edit:" + std::to_string(IDE_HELP_TEXT));
    EXPECT_EQ(Send(edit, EM_GETSEL), 0) << "caret at the start, nothing selected";
    EXPECT_EQ(Send(edit, EM_GETFIRSTVISIBLELINE), 0) << "the view at the top";
    EXPECT_FALSE(CaretBlinks(help)) << "no blinking cursor in the text";

    ASSERT_TRUE(driver::BringToFront(help)) << driver::LastFailure();
    driver::TypeText("typed");
    driver::KeyCombo({VK_DELETE});
    driver::KeyCombo({VK_BACK});
    EXPECT_EQ(driver::ItemText(help, IDE_HELP_TEXT), text);

    Send(edit, EM_SETSEL, 0, 16);
    ASSERT_TRUE(driver::SetClipboardText("before"));
    const DWORD sequence = GetClipboardSequenceNumber(); // polling the text could block the copy
    driver::KeyCombo({VK_CONTROL, 'C'});
    EXPECT_TRUE(driver::WaitUntil([&] { return GetClipboardSequenceNumber() != sequence; }, kWait,
                                  "the selection on the clipboard"));
    EXPECT_EQ(driver::ClipboardText(), "Tessaro Overview");

    driver::KeyCombo({VK_RETURN}); // Enter presses Done
    EXPECT_TRUE(driver::WaitGone(help, kWait)) << "Enter";
    help = Open(IDM_TOPIC_EXIT, kHelpCaption);
    ASSERT_TRUE(help);
    ASSERT_TRUE(driver::BringToFront(help)) << driver::LastFailure();
    driver::KeyCombo({VK_ESCAPE});
    EXPECT_TRUE(driver::WaitGone(help, kWait)) << "Escape";
}

// ---- About ------------------------------------------------------------------------

using DialogsAboutTest = DialogsTest;

// The version numbers of the system, whatever a program's manifest makes it report.
OSVERSIONINFOW SystemVersion() {
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof info;
    typedef LONG(WINAPI * RtlGetVersionFunction)(OSVERSIONINFOW*);
    FARPROC found = GetProcAddress(GetModuleHandleA("ntdll"), "RtlGetVersion");
    if (found)
        reinterpret_cast<RtlGetVersionFunction>(reinterpret_cast<void*>(found))(&info);
    return info;
}

std::string MachineProcessor() {
    char value[64] = "";
    DWORD size = sizeof value;
    if (RegGetValueA(
            HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment",
            "PROCESSOR_ARCHITECTURE", RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return "AMD64";
    return value;
}

TEST_F(DialogsAboutTest, ShowsTheVersionAndTheSystem) {
    ASSERT_TRUE(StartBoard());
    HWND about = Open(IDM_ABOUT, kAboutCaption);
    ASSERT_TRUE(about);
    EXPECT_EQ(driver::Title(about), "About Tessaro");

    const OSVERSIONINFOW v = SystemVersion();
    ASSERT_NE(v.dwMajorVersion, 0u);
    const std::string lines = driver::ItemText(about, IDT_ABOUT_VERSION);
    const std::string first =
        "Version: 18.06.01 - Windows Type: " + std::to_string(v.dwPlatformId) + "." +
        std::to_string(v.dwMajorVersion) + "." + std::to_string(v.dwMinorVersion) + "\n";
    ASSERT_EQ(lines.substr(0, first.size()), first) << lines;
    const std::string description = lines.substr(first.size());
    EXPECT_EQ(description.rfind("Windows ", 0), 0u) << description;
    // The board runs on 64-bit Windows here; the processor comes from the machine's registry.
    const std::string end = ", 64bit, CPU: " + MachineProcessor();
    ASSERT_GE(description.size(), end.size());
    EXPECT_EQ(description.substr(description.size() - end.size()), end) << description;
    EXPECT_LE(description.size(), 127u);
    // The names of the versions a Wine prefix can be set to.
    const struct {
        DWORD major, minor;
        const char* name;
    } known[] = {{5, 1, "Windows XP, "},           {6, 0, "Windows Vista, "},
                 {6, 1, "Windows 7 or 2008 R2, "}, {6, 2, "Windows 8, "},
                 {6, 3, "Windows 8.1, "},          {10, 0, "Windows Unknown(3) PF2 10.0, "}};
    for (const auto& k : known) {
        if (v.dwPlatformId == 2 && v.dwMajorVersion == k.major && v.dwMinorVersion == k.minor) {
            EXPECT_EQ(description.rfind(k.name, 0), 0u) << description;
        }
    }

    CloseWith(about, IDOK);
    EXPECT_EQ(driver::FocusedClassOrId(window_), "ComboBox:" + std::to_string(IDC_PROJECTS));
    about = Open(IDM_ABOUT, kAboutCaption);
    ASSERT_TRUE(about);
    EXPECT_EQ(driver::ItemText(about, IDT_ABOUT_VERSION), lines) << "built once, shown alike";
    PostMessageA(about, WM_CLOSE, 0, 0);
    EXPECT_TRUE(driver::WaitGone(about, kWait)) << "close box";
}

// ---- Rename Buttons ---------------------------------------------------------------

using DialogsRenameTest = DialogsTest;

TEST_F(DialogsRenameTest, OkWithoutChangesKeepsEveryCaption) {
    ASSERT_TRUE(StartBoard());
    ASSERT_TRUE(driver::SetItemText(window_, CopyButtonId(32), "Not in the file yet"));
    const std::vector<std::string> before = Captions();
    HWND rename = Open(IDM_RENAME_BUTTONS, kRenameCaption);
    ASSERT_TRUE(rename);
    for (int slot = 0; slot < kSlots; ++slot)
        EXPECT_EQ(driver::ItemText(rename, FieldId(slot)), before[slot]) << "slot " << slot;
    EXPECT_EQ(driver::FocusedClassOrId(rename), "Edit:" + std::to_string(FieldId(0)));
    CloseWith(rename, IDB_RENAME_OK);
    EXPECT_EQ(Captions(), before);
    EXPECT_EQ(driver::FocusedClassOrId(window_), "ComboBox:" + std::to_string(IDC_PROJECTS));
}

TEST_F(DialogsRenameTest, OkCutsLongNamesTakesEmptyOnesAndWritesOnlyAtSave) {
    ASSERT_TRUE(StartBoard());
    const std::string before = driver::ReadFileBytes(Path("SAMPLE.VQP"));
    const std::string forty = "A forty character name, for the 12th one";
    ASSERT_EQ(forty.size(), 40u);
    HWND rename = Open(IDM_RENAME_BUTTONS, kRenameCaption);
    ASSERT_TRUE(rename);
    ASSERT_TRUE(driver::SetItemText(rename, FieldId(11), forty));
    ASSERT_TRUE(driver::SetItemText(rename, FieldId(0), ""));
    ASSERT_TRUE(driver::SetItemText(rename, FieldId(32), "Thirty-third"));
    ASSERT_TRUE(driver::BringToFront(rename)) << driver::LastFailure();
    driver::KeyCombo({VK_RETURN}); // Enter presses Ok
    ASSERT_TRUE(driver::WaitGone(rename, kWait)) << "Enter";

    EXPECT_EQ(Caption(11), forty.substr(0, 31));
    EXPECT_EQ(Caption(0), "");
    EXPECT_EQ(Caption(1), "Last Name");
    EXPECT_EQ(Caption(32), "Thirty-third");
    EXPECT_EQ(driver::ReadFileBytes(Path("SAMPLE.VQP")), before) << "nothing written on Ok";

    CloseBoard();
    const std::string after = driver::ReadFileBytes(Path("SAMPLE.VQP"));
    ASSERT_EQ(after.size(), kImageSize);
    EXPECT_EQ(ImageName(after, 11), forty.substr(0, 31));
    EXPECT_EQ(ImageName(after, 0), "");
    EXPECT_EQ(ImageName(after, 32), "Thirty-third");
}

TEST_F(DialogsRenameTest, CancelEscapeAndCloseBoxKeepEveryCaption) {
    ASSERT_TRUE(StartBoard());
    const std::vector<std::string> before = Captions();
    struct {
        const char* how;
        void (*end)(HWND);
    } const ways[] = {
        {"Cancel", [](HWND d) { driver::Click(d, IDB_RENAME_CANCEL); }},
        {"Escape",
         [](HWND d) {
             driver::BringToFront(d);
             driver::KeyCombo({VK_ESCAPE});
         }},
        {"close box", [](HWND d) { PostMessageA(d, WM_CLOSE, 0, 0); }},
    };
    for (const auto& way : ways) {
        HWND rename = Open(IDM_RENAME_BUTTONS, kRenameCaption);
        ASSERT_TRUE(rename) << way.how;
        for (int slot : {0, 5, 20, 32})
            ASSERT_TRUE(driver::SetItemText(rename, FieldId(slot), "changed"));
        way.end(rename);
        EXPECT_TRUE(driver::WaitGone(rename, kWait)) << way.how;
        EXPECT_EQ(Captions(), before) << way.how;
    }
}

TEST_F(DialogsRenameTest, EachBoxLiesOverItsCopyButton) {
    ASSERT_TRUE(StartBoard());
    HWND rename = Open(IDM_RENAME_BUTTONS, kRenameCaption);
    ASSERT_TRUE(rename);
    // The client area is 395 x 175 dialog units; positions scale from it.
    RECT client;
    GetClientRect(rename, &client);
    auto within1 = [](LONG pixels, double expected) { return std::abs(pixels - expected) <= 1.0; };
    const double sx = client.right / 395.0, sy = client.bottom / 175.0;

    HWND previous = nullptr;
    for (int slot = 0; slot < kSlots; ++slot) {
        HWND box = GetDlgItem(rename, FieldId(slot));
        ASSERT_TRUE(box) << "slot " << slot;
        RECT r;
        GetWindowRect(box, &r);
        MapWindowPoints(nullptr, rename, (POINT*)&r, 2);
        const int x = 4 + 130 * (slot / 11), y = 18 + 14 * (slot % 11);
        EXPECT_TRUE(within1(r.left, x * sx) && within1(r.top, y * sy))
            << "slot " << slot << " at " << r.left << "," << r.top << " px, expected " << x << ","
            << y << " dialog units = " << x * sx << "," << y * sy << " px";
        EXPECT_TRUE(within1(r.right - r.left, 87 * sx) && within1(r.bottom - r.top, 14 * sy))
            << "slot " << slot;
        const LONG style = Style(box);
        EXPECT_TRUE(style & ES_AUTOHSCROLL) << "slot " << slot;
        EXPECT_TRUE(style & WS_TABSTOP) << "slot " << slot;
        EXPECT_FALSE(style & (ES_MULTILINE | WS_BORDER)) << "slot " << slot;
        // Tab order follows the slots.
        if (previous) {
            EXPECT_EQ(GetWindow(previous, GW_HWNDNEXT), box) << "slot " << slot;
        }
        previous = box;
    }
    // The box of slot 11 is the first of the second column.
    RECT r;
    GetWindowRect(GetDlgItem(rename, FieldId(11)), &r);
    MapWindowPoints(nullptr, rename, (POINT*)&r, 2);
    EXPECT_TRUE(within1(r.left, 134 * sx) && within1(r.top, 18 * sy)) << r.left << "," << r.top;
    CloseWith(rename, IDB_RENAME_CANCEL);
}

TEST_F(DialogsRenameTest, BoardShortcutsDoNothingWhileItIsOpen) {
    ASSERT_TRUE(StartBoard());
    HWND rename = Open(IDM_RENAME_BUTTONS, kRenameCaption);
    ASSERT_TRUE(rename);
    ASSERT_TRUE(driver::BringToFront(rename)) << driver::LastFailure();
    driver::KeyCombo({VK_CONTROL, 'A'});
    EXPECT_FALSE(Comes(kAboutCaption)) << "Ctrl+A";
    driver::KeyCombo({VK_CONTROL, '6'});
    EXPECT_FALSE(Comes(kEditCaption)) << "Ctrl+6";
    CloseWith(rename, IDB_RENAME_CANCEL);

    // The same keys work on the board once the dialog is gone.
    ASSERT_TRUE(driver::BringToFront(window_)) << driver::LastFailure();
    driver::KeyCombo({VK_CONTROL, 'A'});
    HWND about = driver::WaitVisibleWindow(kAboutCaption, kWait, board_.pid);
    ASSERT_TRUE(about) << "Ctrl+A on the board: " << driver::LastFailure();
    CloseWith(about, IDOK);
}

TEST_F(DialogsRenameTest, ItsHelpAndAboutItemsWork) {
    ASSERT_TRUE(StartBoard());
    HWND rename = Open(IDM_RENAME_BUTTONS, kRenameCaption);
    ASSERT_TRUE(rename);
    HWND help = OpenFrom(rename, IDM_RENAME_HELP, kHelpCaption);
    ASSERT_TRUE(help);
    const std::string topic = driver::ItemText(help, IDE_HELP_TEXT);
    EXPECT_EQ(topic.rfind("[Edit], [Rename Buttons]\r\n\r\nTo help you remember", 0), 0u) << topic;
    EXPECT_EQ(GetWindow(help, GW_OWNER), rename) << "shown over the dialog";
    CloseWith(help, IDB_HELP_DONE);

    HWND about = OpenFrom(rename, IDM_ABOUT, kAboutCaption);
    ASSERT_TRUE(about);
    EXPECT_EQ(GetWindow(about, GW_OWNER), rename) << "shown over the dialog";
    CloseWith(about, IDOK);
    EXPECT_TRUE(IsWindowVisible(rename)) << "the dialog stays open";
    CloseWith(rename, IDB_RENAME_CANCEL);

    // It is the board's own Rename Buttons topic.
    help = Open(IDM_TOPIC_RENAME_BUTTONS, kHelpCaption);
    ASSERT_TRUE(help);
    EXPECT_EQ(driver::ItemText(help, IDE_HELP_TEXT), topic);
    CloseWith(help, IDB_HELP_DONE);
}

} // namespace
