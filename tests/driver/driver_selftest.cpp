// Checks the driver against a child copy of this exe that shows a small
// dialog, so the driver is known to work before any product test relies on it.
#include "driver.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

const int kEdit = 101, kCount = 102, kCombo = 103, kCheck = 104, kAsk = 105, kClicks = 106,
          kDisabled = 107;
const WORD kButton = 0x80, kEditClass = 0x81, kStatic = 0x82, kComboBox = 0x85;

// ---- child side: a dialog built from an in-memory template ----

class DialogTemplate {
  public:
    DialogTemplate() {
        Dword(DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE);
        Dword(0);
        Word(0); // item count, filled in by Item()
        Word(0), Word(0), Word(210), Word(100);
        Word(0), Word(0), Text(L""); // no menu, default class, title set later
        Word(8), Text(L"MS Shell Dlg");
    }
    void Item(WORD cls, const wchar_t* text, int id, DWORD style, short x, short y, short cx,
              short cy) {
        if (words_.size() % 2)
            Word(0); // items start DWORD-aligned
        Dword(style | WS_CHILD | WS_VISIBLE);
        Dword(0);
        Word(x), Word(y), Word(cx), Word(cy), Word(static_cast<WORD>(id));
        Word(0xFFFF), Word(cls), Text(text), Word(0);
        ++words_[4];
    }
    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

  private:
    void Word(WORD w) { words_.push_back(w); }
    void Dword(DWORD d) { Word(LOWORD(d)), Word(HIWORD(d)); }
    void Text(const wchar_t* s) {
        do
            Word(*s);
        while (*s++);
    }
    std::vector<WORD> words_;
};

int g_clicks = 0;

void ShowClicks(HWND dlg) {
    SetDlgItemTextA(dlg, kClicks, ("clicks: " + std::to_string(g_clicks)).c_str());
}

INT_PTR CALLBACK ChildProc(HWND dlg, UINT msg, WPARAM w, LPARAM l) {
    if (msg == WM_INITDIALOG) {
        SetWindowTextW(dlg, reinterpret_cast<const wchar_t*>(l));
        for (const wchar_t* item : {L"Alpha", L"Beta", L"Gamma Delta"})
            SendDlgItemMessageW(dlg, kCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        SendDlgItemMessageW(dlg, kCombo, CB_SETCURSEL, 1, 0);
        CheckDlgButton(dlg, kCheck, BST_CHECKED);
        return TRUE;
    }
    if (msg != WM_COMMAND)
        return FALSE;
    switch (LOWORD(w)) {
    case kCount:
        ++g_clicks;
        ShowClicks(dlg);
        return TRUE;
    case kAsk:
        if (MessageBoxW(dlg, L"Really reset the counter?", L"Selftest question", MB_YESNO) == IDYES)
            g_clicks = 0;
        ShowClicks(dlg);
        return TRUE;
    case IDCANCEL: EndDialog(dlg, g_clicks); return TRUE;
    }
    return FALSE;
}

int RunChild(const char* title) {
    wchar_t wideTitle[256] = {};
    MultiByteToWideChar(CP_ACP, 0, title, -1, wideTitle, 255);
    DialogTemplate t;
    t.Item(kStatic, L"Name:", -1, SS_LEFT, 7, 7, 40, 10); // IDC_STATIC, like resource-script labels
    t.Item(kEditClass, L"", kEdit, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 50, 5, 150, 14);
    t.Item(kButton, L"Count", kCount, BS_PUSHBUTTON | WS_TABSTOP, 7, 25, 50, 14);
    t.Item(kComboBox, L"", kCombo, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 65, 25, 135, 80);
    t.Item(kButton, L"Remember", kCheck, BS_AUTOCHECKBOX | WS_TABSTOP, 7, 45, 80, 12);
    t.Item(kButton, L"Ask", kAsk, BS_PUSHBUTTON | WS_TABSTOP, 7, 62, 50, 14);
    t.Item(kStatic, L"clicks: 0", kClicks, SS_LEFT, 65, 64, 80, 10);
    t.Item(kEditClass, L"", kDisabled, WS_BORDER | WS_DISABLED, 7, 80, 100, 14);
    return static_cast<int>(DialogBoxIndirectParamW(GetModuleHandleW(nullptr), t.get(), nullptr,
                                                    ChildProc,
                                                    reinterpret_cast<LPARAM>(wideTitle)));
}

// A dialog of statics and buttons only, as an installer's dialog is: its icon is a static
// with the id of resource-script labels.
int RunIconChild(const char* title) {
    wchar_t wideTitle[256] = {};
    MultiByteToWideChar(CP_ACP, 0, title, -1, wideTitle, 255);
    DialogTemplate t;
    t.Item(kStatic, L"A warning in a static of its own.", kClicks, SS_LEFT, 7, 7, 190, 20);
    t.Item(kStatic, L"icon", -1, SS_ICON, 7, 40, 20, 20);
    t.Item(kButton, L"Cancel", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 150, 70, 50, 14);
    return static_cast<int>(DialogBoxIndirectParamW(GetModuleHandleW(nullptr), t.get(), nullptr,
                                                    ChildProc,
                                                    reinterpret_cast<LPARAM>(wideTitle)));
}

// ---- test side ----

std::string SelfPath() {
    char path[MAX_PATH * 4] = {};
    GetModuleFileNameA(nullptr, path, sizeof(path));
    return path;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class ChildDialog : public ::testing::Test {
  protected:
    void SetUp() override {
        static int serial = 0;
        title_ = "Driver selftest " + std::to_string(GetCurrentProcessId()) + "-" +
                 std::to_string(++serial);
        child_ = driver::Start(SelfPath(), "--child \"" + title_ + "\"", driver::ExeDir());
        ASSERT_NE(child_.pid, 0u) << driver::LastFailure();
        dlg_ = driver::WaitVisibleWindow(title_, 15000, child_.pid);
        ASSERT_TRUE(dlg_) << driver::LastFailure();
    }
    void TearDown() override { driver::Kill(child_); }

    bool WaitClicks(int n) {
        std::string want = "clicks: " + std::to_string(n);
        return driver::WaitUntil([&] { return driver::ItemText(dlg_, kClicks) == want; }, 5000,
                                 Quote(want));
    }
    static std::string Quote(const std::string& s) { return "'" + s + "'"; }

    std::string title_;
    driver::Process child_;
    HWND dlg_ = nullptr;
};

TEST_F(ChildDialog, TextsRoundTripAcrossProcesses) {
    EXPECT_EQ(driver::Title(dlg_), title_);
    ASSERT_TRUE(driver::SetItemText(dlg_, kEdit, "hello board 42")) << driver::LastFailure();
    EXPECT_EQ(driver::ItemText(dlg_, kEdit), "hello board 42");
    const std::string longText(3000, 'x'); // longer than any small fixed buffer
    ASSERT_TRUE(driver::SetItemText(dlg_, kEdit, longText)) << driver::LastFailure();
    const std::string back = driver::ItemText(dlg_, kEdit);
    EXPECT_EQ(back.size(), longText.size());
    EXPECT_TRUE(back == longText);

    EXPECT_EQ(driver::ItemText(dlg_, 999), "");
    EXPECT_TRUE(Contains(driver::LastFailure(), "999")) << driver::LastFailure();
}

TEST_F(ChildDialog, ClicksAreCountedAndExitCodeIsReported) {
    for (int i = 0; i < 3; ++i)
        driver::Click(dlg_, kCount);
    ASSERT_TRUE(WaitClicks(3)) << driver::LastFailure();

    driver::PostCommand(dlg_, IDCANCEL);
    EXPECT_TRUE(driver::WaitGone(dlg_, 5000)) << driver::LastFailure();
    DWORD code = 0;
    ASSERT_TRUE(driver::WaitExit(child_, 5000, &code)) << driver::LastFailure();
    EXPECT_EQ(code, 3u);
}

TEST_F(ChildDialog, ComboItemsAreReadInFull) {
    EXPECT_EQ(driver::ComboItems(dlg_, kCombo),
              (std::vector<std::string>{"Alpha", "Beta", "Gamma Delta"}));
    EXPECT_EQ(driver::ComboSelection(dlg_, kCombo), 1);
    EXPECT_EQ(driver::ComboSelectedText(dlg_, kCombo), "Beta");
}

TEST_F(ChildDialog, ControlStatesAreRead) {
    EXPECT_TRUE(driver::IsChecked(dlg_, kCheck));
    EXPECT_FALSE(driver::IsChecked(dlg_, kCount));
    EXPECT_TRUE(driver::IsEnabled(dlg_, kEdit));
    EXPECT_FALSE(driver::IsEnabled(dlg_, kDisabled));
    EXPECT_TRUE(driver::IsVisible(dlg_));
    EXPECT_FALSE(driver::IsIconic(dlg_));
    const std::vector<HWND> windows = driver::TopWindowsOf(child_.pid);
    EXPECT_NE(std::find(windows.begin(), windows.end(), dlg_), windows.end())
        << driver::DescribeWindows(child_.pid);
}

TEST_F(ChildDialog, MessageBoxIsFoundReadAndAnswered) {
    // The dialog itself has an IDC_STATIC label; it must not pass for a box.
    EXPECT_EQ(driver::WaitMessageBox(child_.pid, 300), nullptr);
    EXPECT_TRUE(Contains(driver::LastFailure(), "message box of process")) << driver::LastFailure();

    driver::Click(dlg_, kCount);
    ASSERT_TRUE(WaitClicks(1)) << driver::LastFailure();
    driver::Click(dlg_, kAsk);
    HWND box = driver::WaitMessageBox(child_.pid, 5000);
    ASSERT_TRUE(box) << driver::LastFailure();
    EXPECT_NE(box, dlg_);
    EXPECT_EQ(driver::MessageBoxText(box), "Really reset the counter?");
    driver::AnswerMessageBox(box, IDYES);
    EXPECT_TRUE(driver::WaitGone(box, 5000)) << driver::LastFailure();
    EXPECT_TRUE(WaitClicks(0)) << driver::LastFailure();
}

TEST_F(ChildDialog, TypedKeysReachTheFocusedEdit) {
    ASSERT_TRUE(driver::BringToFront(dlg_)) << driver::LastFailure();
    ASSERT_TRUE(driver::WaitUntil([&] { return driver::FocusedClassOrId(dlg_) == "Edit:101"; },
                                  3000, "focus on the edit box"))
        << driver::LastFailure() << " (focus: " << driver::FocusedClassOrId(dlg_) << ")";
    driver::TypeText("abc 12");
    driver::KeyCombo({VK_SHIFT, 'Z'});
    EXPECT_TRUE(driver::WaitUntil([&] { return driver::ItemText(dlg_, kEdit) == "abc 12Z"; }, 5000,
                                  "typed text"))
        << driver::LastFailure() << " (edit: " << Quote(driver::ItemText(dlg_, kEdit)) << ")";
}

TEST(Driver, ClipboardRoundTrip) {
    ASSERT_TRUE(driver::SetClipboardText("first")) << driver::LastFailure();
    ASSERT_TRUE(driver::SetClipboardText("board text\r\nline 2")) << driver::LastFailure();
    EXPECT_EQ(driver::ClipboardText(), "board text\r\nline 2");
}

TEST(Driver, RegistryRoundTripAndDelete) {
    const std::string root = "Software\\TessaroDriverSelfTest", key = root + "\\Nested";
    ASSERT_TRUE(driver::RegDeleteTree(root)) << driver::LastFailure();
    std::string value = "untouched";
    EXPECT_FALSE(driver::RegGetText(key, "Name", &value));
    EXPECT_TRUE(Contains(driver::LastFailure(), "Name")) << driver::LastFailure();

    ASSERT_TRUE(driver::RegSetText(key, "Name", "value one")) << driver::LastFailure();
    ASSERT_TRUE(driver::RegSetText(key, "Empty", "")) << driver::LastFailure();
    ASSERT_TRUE(driver::RegGetText(key, "Name", &value)) << driver::LastFailure();
    EXPECT_EQ(value, "value one");
    ASSERT_TRUE(driver::RegGetText(key, "Empty", &value)) << "an empty value is not a missing one";
    EXPECT_EQ(value, "");

    EXPECT_TRUE(driver::RegDeleteValue(key, "Name")) << driver::LastFailure();
    EXPECT_FALSE(driver::RegGetText(key, "Name", &value));
    EXPECT_TRUE(driver::RegDeleteValue(key, "Name")) << "already gone counts as deleted";

    EXPECT_TRUE(driver::RegDeleteTree(root)) << driver::LastFailure();
    EXPECT_FALSE(driver::RegGetText(key, "Empty", &value));
    EXPECT_FALSE(driver::RegDeleteTree(""));
}

TEST(Driver, FileHelpers) {
    const std::string dir = driver::MakeScratchDir("driver-selftest");
    ASSERT_FALSE(dir.empty()) << driver::LastFailure();
    std::string bytes;
    for (int i = 0; i < 200000; ++i)
        bytes.push_back(static_cast<char>(i * 7)); // NULs, CR/LF, high bytes; > one read
    const std::string data = dir + "\\data.bin";
    ASSERT_TRUE(driver::WriteFileBytes(data, bytes)) << driver::LastFailure();
    EXPECT_TRUE(driver::FileExists(data));
    EXPECT_FALSE(driver::FileExists(dir));
    EXPECT_EQ(driver::ReadFileBytes(data), bytes);

    ASSERT_TRUE(CreateDirectoryA((dir + "\\sub").c_str(), nullptr));
    ASSERT_TRUE(driver::WriteFileBytes(dir + "\\sub\\locked.txt", "x"));
    SetFileAttributesA((dir + "\\sub\\locked.txt").c_str(), FILE_ATTRIBUTE_READONLY);

    EXPECT_EQ(driver::MakeScratchDir("driver-selftest"), dir) << driver::LastFailure();
    EXPECT_FALSE(driver::FileExists(data)) << "a scratch folder starts empty";
    EXPECT_FALSE(driver::DirExists(dir + "\\sub"));
    EXPECT_TRUE(driver::DirExists(dir));

    EXPECT_EQ(driver::ReadFileBytes(dir + "\\missing.txt"), "");
    EXPECT_TRUE(Contains(driver::LastFailure(), "missing.txt")) << driver::LastFailure();
    EXPECT_TRUE(driver::RemoveTree(dir)) << driver::LastFailure();
    EXPECT_FALSE(driver::DirExists(dir));
    EXPECT_FALSE(driver::RemoveTree("C:\\"));
}

TEST(Driver, TimeoutsSayWhatWasAwaited) {
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(driver::WaitWindow("No such window 7f3a", 300), nullptr);
    EXPECT_GE(GetTickCount64() - start, 250u);
    const std::string why = driver::LastFailure();
    EXPECT_TRUE(Contains(why, "'No such window 7f3a...'") && Contains(why, "300 ms")) << why;

    EXPECT_FALSE(driver::WaitUntil([] { return false; }, 100, "the moon to rise"));
    EXPECT_TRUE(Contains(driver::LastFailure(), "the moon to rise")) << driver::LastFailure();
}

TEST(Driver, WaitingOnAnEndedProcessStopsEarly) {
    const std::string exeDir = driver::ExeDir();
    EXPECT_EQ(SelfPath().rfind(exeDir + "\\", 0), 0u) << exeDir;
    driver::Process p = driver::Start(SelfPath(), "--exit 7", "");
    ASSERT_NE(p.pid, 0u) << driver::LastFailure();
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(driver::WaitWindow("Never shown", 20000, p.pid), nullptr);
    EXPECT_LT(GetTickCount64() - start, 10000u);
    EXPECT_TRUE(Contains(driver::LastFailure(), "exited with code 7")) << driver::LastFailure();
    DWORD code = 0;
    EXPECT_TRUE(driver::WaitExit(p, 1000, &code));
    EXPECT_EQ(code, 7u);
    driver::CloseProcess(p);

    driver::Process missing = driver::Start(exeDir + "\\no-such-program.exe", "", "");
    EXPECT_EQ(missing.pid, 0u);
    EXPECT_TRUE(Contains(driver::LastFailure(), "no-such-program.exe")) << driver::LastFailure();
}

// A tooltip of this process stands in for another's: the tools are read through lent
// memory all the same, and texts longer than the ANSI messages give come back whole.
TEST(Driver, TooltipToolsAreReadInFull) {
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_BAR_CLASSES};
    InitCommonControlsEx(&classes);
    HWND owner = CreateWindowA("STATIC", "owner", WS_POPUP | WS_VISIBLE, 40, 40, 200, 80, nullptr,
                               nullptr, nullptr, nullptr);
    HWND tool = CreateWindowA("STATIC", "", WS_CHILD | WS_VISIBLE | WS_DISABLED, 0, 0, 100, 40,
                              owner, (HMENU)7, nullptr, nullptr);
    HWND tips = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, 0, 0, 0, 0, 0, owner, nullptr, nullptr,
                                nullptr);
    ASSERT_TRUE(owner && tool && tips);
    const std::string text = "A tip longer than eighty characters, " + std::string(200, 'z');
    TTTOOLINFOA info = {};
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.uFlags = TTF_IDISHWND;
    info.hwnd = owner;
    info.uId = (UINT_PTR)tool;
    info.lpszText = const_cast<char*>(text.c_str());
    ASSERT_TRUE(SendMessageA(tips, TTM_ADDTOOLA, 0, (LPARAM)&info));

    EXPECT_EQ(driver::TooltipsOf(owner), std::vector<HWND>{tips});
    driver::Tool read;
    ASSERT_TRUE(driver::ToolAt(tips, 0, &read)) << driver::LastFailure();
    EXPECT_EQ(read.owner, owner);
    EXPECT_EQ(read.window, tool);
    EXPECT_TRUE(read.flags & TTF_IDISHWND);
    EXPECT_EQ(read.text, text);
    EXPECT_FALSE(driver::ToolAt(tips, 1, &read)) << "only one tool";
    EXPECT_FALSE(driver::CurrentTool(tips, &read)) << "no tip shown";

    EXPECT_TRUE(driver::MoveMouseTo(driver::ControlCentre(owner, 7))) << driver::LastFailure();
    DestroyWindow(owner);
    EXPECT_TRUE(driver::TooltipsOf(owner).empty());
}

} // namespace

TEST(Driver, ADialogWhoseIconHasTheLabelsIdIsNoMessageBox) {
    const std::string title = "Driver selftest icon " + std::to_string(GetCurrentProcessId());
    driver::Process child =
        driver::Start(SelfPath(), "--icon-child \"" + title + "\"", driver::ExeDir());
    ASSERT_NE(child.pid, 0u) << driver::LastFailure();
    HWND dialog = driver::WaitVisibleWindow(title, 15000, child.pid);
    EXPECT_TRUE(dialog) << driver::LastFailure();
    EXPECT_EQ(driver::WaitMessageBox(child.pid, 300), nullptr) << "found " << title;
    driver::Kill(child);
}

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "--child") == 0)
        return RunChild(argv[2]);
    if (argc >= 3 && std::strcmp(argv[1], "--icon-child") == 0)
        return RunIconChild(argv[2]);
    if (argc >= 3 && std::strcmp(argv[1], "--exit") == 0)
        return std::atoi(argv[2]);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
