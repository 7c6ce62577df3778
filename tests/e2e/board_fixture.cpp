#include "e2e/board_fixture.h"

#include <algorithm>
#include <vector>

#include "resources/kestrum_ids.h"

namespace e2e {

const char kSettingsRoot[] = "Software\\Vontrel\\Applications\\vqp";

namespace {

constexpr int kSlots = 33, kNameSize = 32, kTextSize = 10240;

void PutField(std::string& image, size_t offset, size_t width, const char* text) {
    std::string s(text);
    ASSERT_LT(s.size(), width);
    image.replace(offset, s.size(), s);
}

} // namespace

std::string MakeImage(std::initializer_list<const char*> names,
                      std::initializer_list<const char*> texts) {
    std::string image(kImageSize, '\0');
    int slot = 0;
    for (const char* name : names)
        PutField(image, size_t(slot++) * kNameSize, kNameSize, name);
    slot = 0;
    for (const char* text : texts)
        PutField(image, kSlots * kNameSize + size_t(slot++) * kTextSize, kTextSize, text);
    return image;
}

std::string ImageName(const std::string& image, int slot) {
    return std::string(image.c_str() + size_t(slot) * kNameSize);
}

std::string ImageText(const std::string& image, int slot) {
    return std::string(image.c_str() + kSlots * kNameSize + size_t(slot) * kTextSize);
}

std::string SampleImage() {
    return MakeImage({"First Name", "Last Name", "Full Name", "Street Address", "City", "State"});
}

bool WriteAsAnotherProgram(const std::string& path, const std::string& bytes) {
    if (!driver::WriteFileBytes(path, bytes))
        return false;
    HANDLE f = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return false;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER t;
    t.LowPart = now.dwLowDateTime;
    t.HighPart = now.dwHighDateTime;
    t.QuadPart += 30000000ULL; // three seconds on
    now.dwLowDateTime = t.LowPart;
    now.dwHighDateTime = t.HighPart;
    const bool ok = SetFileTime(f, nullptr, nullptr, &now) != 0;
    CloseHandle(f);
    return ok;
}

void BoardTest::SetUp() {
    ASSERT_TRUE(driver::RegDeleteTree(kSettingsRoot)) << driver::LastFailure();
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = driver::MakeScratchDir(std::string(info->test_suite_name()) + "." + info->name());
    ASSERT_FALSE(folder_.empty()) << driver::LastFailure();
    ASSERT_TRUE(driver::WriteFileBytes(Path("SAMPLE.VQP"), SampleImage()));
    std::string configure = std::string(kSettingsRoot) + "\\Configure";
    ASSERT_TRUE(driver::RegSetText(configure, "ThisProgramDir", folder_));
    SetOption("MinOnEachCopy", "0");
    SetOption("AutoPaste", "0");
    SetOption("UseSystemTray", "0");
    SetOption("WantToolTip", "0");
}

void BoardTest::TearDown() {
    if (board_.pid) {
        if (window_ && IsWindow(window_))
            driver::PostCommand(window_, IDM_CLOSE_REQUEST);
        // A board without a project file asks for a name when it closes: decline.
        HWND prompt =
            driver::WaitVisibleWindow("Save Current Tessaro Project As", 1000, board_.pid);
        if (prompt)
            driver::PostCommand(prompt, IDCANCEL);
        if (!driver::WaitExit(board_, 5000))
            driver::Kill(board_);
        driver::CloseProcess(board_);
    }
    board_ = {};
    window_ = nullptr;
    if (!folder_.empty())
        driver::RemoveTree(folder_);
}

void BoardTest::SetOption(const char* name, const char* value) {
    ASSERT_TRUE(driver::RegSetText(std::string(kSettingsRoot) + "\\Options", name, value));
}

std::string BoardTest::Setting(const char* section, const char* name) {
    std::string value;
    if (!driver::RegGetText(std::string(kSettingsRoot) + "\\" + section, name, &value))
        return "<missing>";
    return value;
}

HWND BoardTest::StartBoard(const std::string& args) {
    board_ = driver::Start(driver::ExeDir() + "\\KESTRUM.EXE", args, folder_);
    EXPECT_NE(board_.pid, 0u) << driver::LastFailure();
    window_ = driver::WaitVisibleWindow("Tessaro >", kWait, board_.pid);
    EXPECT_TRUE(window_) << driver::LastFailure();
    return window_;
}

void BoardTest::CloseBoard() {
    ASSERT_TRUE(window_);
    driver::PostCommand(window_, IDM_CLOSE_REQUEST);
    DWORD code = 0;
    ASSERT_TRUE(driver::WaitExit(board_, kWait, &code)) << driver::LastFailure();
    driver::CloseProcess(board_);
    board_ = {};
}

std::string BoardTest::AnswerBox(int button, DWORD timeoutMs) {
    HWND box = driver::WaitMessageBox(board_.pid, timeoutMs);
    if (!box) {
        ADD_FAILURE() << driver::LastFailure();
        return "";
    }
    std::string text = driver::MessageBoxText(box);
    driver::AnswerMessageBox(box, button);
    // Gone before the next look, which would otherwise find this box again.
    EXPECT_TRUE(driver::WaitGone(box, kWait)) << driver::LastFailure();
    return text;
}

void BoardTest::Pick(HWND board, const std::string& entry) {
    std::vector<std::string> items = driver::ComboItems(board, IDC_PROJECTS);
    auto at = std::find(items.begin(), items.end(), entry);
    ASSERT_NE(at, items.end()) << entry << " is not listed";
    HWND selector = GetDlgItem(board, IDC_PROJECTS);
    SendMessageW(selector, CB_SETCURSEL, WPARAM(at - items.begin()), 0);
    driver::PostCommand(board, MAKEWPARAM(IDC_PROJECTS, CBN_SELCHANGE), (LPARAM)selector);
}

HWND BoardTest::WaitPrompt(const char* caption) {
    HWND prompt = driver::WaitVisibleWindow(caption, kWait, board_.pid);
    EXPECT_TRUE(prompt) << driver::LastFailure();
    return prompt;
}

void BoardTest::Answer(HWND prompt, const std::string& text) {
    ASSERT_TRUE(prompt);
    ASSERT_TRUE(driver::SetItemText(prompt, IDE_PROMPT, text)) << driver::LastFailure();
    driver::Click(prompt, IDOK);
    ASSERT_TRUE(driver::WaitGone(prompt, kWait)) << driver::LastFailure();
}

void BoardTest::Cancel(HWND prompt) {
    ASSERT_TRUE(prompt);
    driver::PostCommand(prompt, IDCANCEL);
    ASSERT_TRUE(driver::WaitGone(prompt, kWait)) << driver::LastFailure();
}

bool BoardTest::WaitTitle(const std::string& path) {
    return driver::WaitUntil([&] { return driver::Title(window_) == "Tessaro >" + path; }, kWait,
                             "title naming " + path);
}

} // namespace e2e
