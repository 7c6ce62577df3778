// The board's side of project files: the title follows the current project, its settings
// are saved after it loads, and a failed write is reported with "Error saving:".
#include <windows.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "board/board.h"
#include "board/project_io.h"
#include "settings/settings.h"
#include "ui/message.h"

namespace {

const char kScratchRoot[] = "Software\\Tessaro Tests\\project io";

std::vector<std::string> g_messages;
std::vector<UINT> g_types;

int RecordMessage(const char* text, const char*, UINT type) {
    g_messages.push_back(text);
    g_types.push_back(type);
    return IDOK;
}

class ProjectIoTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        folder_ = std::string(temp) + "tessaro-unit-project-io";
        CreateDirectoryA(folder_.c_str(), nullptr);
        path_ = folder_ + "\\Current.vqp";
        DeleteFileA(path_.c_str());
        RegDeleteTreeA(HKEY_CURRENT_USER, kScratchRoot);
        g_board = BoardState();
        g_board.settings.root = kScratchRoot;
        g_board.window =
            CreateWindowA("STATIC", "before", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(g_board.window);
        g_messages.clear();
        g_types.clear();
        ui::SetMessageHook(RecordMessage);
        image_ = new ProjectImage;
        ClearImage(*image_);
    }
    void TearDown() override {
        ui::SetMessageHook(nullptr);
        DestroyWindow(g_board.window);
        g_board = BoardState();
        delete image_;
        DeleteFileA(path_.c_str());
        RemoveDirectoryA(folder_.c_str());
        RegDeleteTreeA(HKEY_CURRENT_USER, kScratchRoot);
    }
    std::string Title() const {
        char title[512] = "";
        GetWindowTextA(g_board.window, title, sizeof title);
        return title;
    }
    std::string StoredCurrent() const {
        char out[300];
        settings::ReadSettingText(g_board.settings, settings::kFiles, settings::kCurrent,
                                  "<missing>", out, sizeof out);
        return out;
    }

    std::string folder_, path_;
    ProjectImage* image_ = nullptr;
};

} // namespace

TEST_F(ProjectIoTest, WritingTheCurrentProjectNamesItInTheTitle) {
    EXPECT_EQ(BoardWriteProject(path_.c_str(), *image_, false), 1);
    EXPECT_EQ(Title(), "before") << "another file leaves the title alone";
    EXPECT_EQ(BoardWriteProject(path_.c_str(), *image_, true), 1);
    EXPECT_EQ(Title(), "Tessaro >" + path_);
    EXPECT_TRUE(g_messages.empty());
    EXPECT_EQ(StoredCurrent(), "<missing>") << "a write saves no settings";
}

TEST_F(ProjectIoTest, AFailedWriteSaysErrorSaving) {
    // The project cannot be replaced while another program holds it: the temporary file
    // was made, so the title already names the project.
    ASSERT_EQ(BoardWriteProject(path_.c_str(), *image_, false), 1);
    HANDLE holder = CreateFileA(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_EQ(BoardWriteProject(path_.c_str(), *image_, true), 0);
    CloseHandle(holder);
    ASSERT_EQ(g_messages.size(), 1u);
    EXPECT_EQ(g_messages[0], "Error saving:\n" + path_);
    EXPECT_EQ(g_types[0], UINT(MB_ICONERROR));
    EXPECT_EQ(Title(), "Tessaro >" + path_);

    // Nothing could be made at all: the title stays as it was.
    SetWindowTextA(g_board.window, "before");
    const std::string nowhere = folder_ + "\\missing\\Current.vqp";
    EXPECT_EQ(BoardWriteProject(nowhere.c_str(), *image_, true), 0);
    ASSERT_EQ(g_messages.size(), 2u);
    EXPECT_EQ(g_messages[1], "Error saving:\n" + nowhere);
    EXPECT_EQ(Title(), "before");
}

TEST_F(ProjectIoTest, ReadingTheCurrentProjectSetsTitleAndSavesSettings) {
    SetSlotName(*image_, 2, "Street");
    ASSERT_EQ(BoardWriteProject(path_.c_str(), *image_, false), 1);
    ClearImage(*image_);
    strcpy(g_board.currentPath, "C:\\marker.vqp");

    ASSERT_EQ(BoardReadProject(path_.c_str(), *image_, false), 1);
    EXPECT_STREQ(image_->names[2], "Street");
    EXPECT_EQ(Title(), "before");
    EXPECT_EQ(StoredCurrent(), "<missing>");

    ASSERT_EQ(BoardReadProject(path_.c_str(), *image_, true), 1);
    EXPECT_EQ(Title(), "Tessaro >" + path_);
    EXPECT_EQ(StoredCurrent(), "C:\\marker.vqp") << "the settings were saved";

    RegDeleteTreeA(HKEY_CURRENT_USER, kScratchRoot);
    SetWindowTextA(g_board.window, "before");
    EXPECT_EQ(BoardReadProject((folder_ + "\\missing.vqp").c_str(), *image_, true), 0);
    EXPECT_EQ(Title(), "before") << "a failed read changes nothing";
    EXPECT_EQ(StoredCurrent(), "<missing>");
    EXPECT_TRUE(g_messages.empty()) << "and says nothing";
}
