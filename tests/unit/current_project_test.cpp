// The board's guard over its current project file, run in this process against a real
// board window: a file the board could not read is never written over by a save, and a
// file that another program changed is only written over when the user says so.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "board/board.h"
#include "board/board_window.h"
#include "board/catalogue.h"
#include "resources/kestrum_ids.h"
#include "settings/settings.h"
#include "ui/message.h"
#include "ui/window_stack.h"

namespace {

const char kScratchRoot[] = "Software\\Tessaro Tests\\current project";
constexpr size_t kImageBytes = sizeof(ProjectImage);

std::vector<std::string> g_questions;
int g_answer = IDCANCEL;

int AnswerQuestion(const char* text, const char*, UINT) {
    g_questions.push_back(text);
    return g_answer;
}

std::string ReadAll(const std::string& path) {
    std::string bytes;
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return bytes;
    static char buffer[65536];
    DWORD got = 0;
    while (ReadFile(f, buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(f);
    return bytes;
}

void WriteAll(const std::string& path, const std::string& bytes) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(f, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    CloseHandle(f);
    ASSERT_EQ(written, bytes.size());
}

// What another program does: new bytes of the same size, written a moment later.
void RewriteLater(const std::string& path, const std::string& bytes) {
    WriteAll(path, bytes);
    HANDLE f = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER t;
    t.LowPart = now.dwLowDateTime;
    t.HighPart = now.dwHighDateTime;
    t.QuadPart += 50000000ULL; // five seconds on
    now.dwLowDateTime = t.LowPart;
    now.dwHighDateTime = t.HighPart;
    SetFileTime(f, nullptr, nullptr, &now);
    CloseHandle(f);
}

class CurrentProjectTest : public ::testing::Test {
  protected:
    void SetUp() override {
        GetCurrentDirectoryA(sizeof startFolder_, startFolder_);
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        folder_ = std::string(temp) + "tessaro-unit-current-project";
        CreateDirectoryA(folder_.c_str(), nullptr);
        path_ = folder_ + "\\Current.vqp";
        RegDeleteTreeA(HKEY_CURRENT_USER, kScratchRoot);
        settings::Store store;
        store.root = kScratchRoot;
        settings::WriteSettingText(store, settings::kConfigure, settings::kThisProgramDir,
                                   folder_.c_str());
        settings::WriteSettingText(store, settings::kFiles, settings::kCurrent, path_.c_str());
        settings::WriteSettingText(store, settings::kOptions, settings::kUseSystemTray, "0");
        settings::WriteSettingText(store, settings::kOptions, settings::kWantToolTip, "0");
        g_board = BoardState();
        g_start = StartState();
        g_questions.clear();
        ui::SetMessageHook(AnswerQuestion);
        store_ = store;
    }
    void TearDown() override {
        if (board_) {
            board_->Destroy();
            delete board_;
        }
        ui::SetMessageHook(nullptr);
        ui::ClearWindowStack();
        SetCurrentDirectoryA(startFolder_);
        DeleteFileA(path_.c_str());
        RemoveDirectoryA(folder_.c_str());
        RegDeleteTreeA(HKEY_CURRENT_USER, kScratchRoot);
    }
    void StartBoard() {
        board_ = new BoardWindow(store_);
        ASSERT_TRUE(board_->CreateModeless(nullptr));
    }
    void Type(int slot, const char* text) { SetDlgItemTextA(g_board.window, FieldId(slot), text); }

    char startFolder_[MAX_PATH] = "";
    std::string folder_, path_;
    settings::Store store_;
    BoardWindow* board_ = nullptr;
};

std::string ImageWithName(const char* name) {
    std::string image(kImageBytes, '\0');
    image.replace(0, strlen(name), name);
    return image;
}

} // namespace

TEST_F(CurrentProjectTest, AProjectThatCouldNotBeReadIsNotSavedOver) {
    const std::string shortFile = ImageWithName("Kept").substr(0, kImageBytes - 1);
    WriteAll(path_, shortFile);
    StartBoard();
    EXPECT_FALSE(g_board.showsCurrentFile);
    Type(0, "typed over empty slots");
    EXPECT_EQ(SaveCurrentIfPresent(), SaveResult::kNothingToSave);
    EXPECT_EQ(ReadAll(path_), shortFile);
    EXPECT_TRUE(g_questions.empty());
}

TEST_F(CurrentProjectTest, AChangedFileIsWrittenOverOnlyAfterYes) {
    WriteAll(path_, ImageWithName("Mine"));
    StartBoard();
    ASSERT_TRUE(g_board.showsCurrentFile);
    Type(0, "board text");
    EXPECT_EQ(SaveCurrentIfPresent(), SaveResult::kSaved) << "unchanged: no question";
    EXPECT_TRUE(g_questions.empty());

    const std::string theirs = ImageWithName("Theirs");
    RewriteLater(path_, theirs);
    g_answer = IDCANCEL;
    EXPECT_EQ(SaveCurrentIfPresent(), SaveResult::kNotSaved);
    ASSERT_EQ(g_questions.size(), 1u);
    EXPECT_NE(g_questions[0].find(path_), std::string::npos) << g_questions[0];
    EXPECT_EQ(ReadAll(path_), theirs) << "Cancel keeps the other program's file";

    g_answer = IDYES;
    EXPECT_EQ(SaveCurrentIfPresent(), SaveResult::kSaved);
    EXPECT_EQ(g_questions.size(), 2u);
    const std::string saved = ReadAll(path_);
    ASSERT_EQ(saved.size(), kImageBytes);
    EXPECT_STREQ(saved.c_str(), "Mine");
    EXPECT_STREQ(saved.c_str() + kSlotCount * kNameSize, "board text");

    EXPECT_EQ(SaveCurrentIfPresent(), SaveResult::kSaved);
    EXPECT_EQ(g_questions.size(), 2u) << "the board's own write is no change by another";
}

TEST_F(CurrentProjectTest, AFailedSaveIsToldApartFromNothingToSave) {
    WriteAll(path_, ImageWithName("Mine"));
    StartBoard();
    Type(1, "unsaved");
    HANDLE holder = CreateFileA(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_EQ(SaveCurrentIfPresent(), SaveResult::kNotSaved);
    CloseHandle(holder);
    ASSERT_EQ(g_questions.size(), 1u);
    EXPECT_EQ(g_questions[0], "Error saving:\n" + path_);
    EXPECT_EQ(ReadAll(path_), ImageWithName("Mine"));
}
