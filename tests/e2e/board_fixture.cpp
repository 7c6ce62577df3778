#include "e2e/board_fixture.h"

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
    return text;
}

} // namespace e2e
