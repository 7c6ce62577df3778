// The program folder on a disk that holds its projects but not one more image: every way
// the board writes must fail with a message, leave every project byte for byte as it was
// and leave no temporary file behind.
#include <windows.h>

#include <cstdlib>

#include "campaign/board_helpers.h"
#include "campaign/campaign.h"
#include "resources/kestrum_ids.h"

using namespace e2e;

namespace campaign {
namespace {

const char kFiller[] = "filler.bin";
constexpr DWORD kLeftFree = 160 * 1024; // less than half an image

// Fills the disk with a file of the user's until less than one image fits.
bool FillDisk(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const std::string chunk(64 * 1024, 'f');
    LONGLONG size = 0;
    for (;;) {
        DWORD written = 0;
        if (!WriteFile(file, chunk.data(), DWORD(chunk.size()), &written, nullptr) || written == 0)
            break;
        size += written;
    }
    LARGE_INTEGER end;
    end.QuadPart = size > LONGLONG(kLeftFree) ? size - kLeftFree : 0;
    const bool ok = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    CloseHandle(file);
    return ok;
}

class FullDisk : public BoardTest {
  protected:
    void SetUp() override {
        BoardTest::SetUp();
        const char* disk = getenv("TESSARO_SMALL_DISK");
        if (!disk || !*disk) {
            Row("full disk (skipped: no small disk)");
            GTEST_SKIP() << "no small disk: TESSARO_SMALL_DISK is not set";
        }
        const std::string small = std::string(disk) + "\\campaign";
        driver::RemoveTree(small); // what an interrupted run may have left
        ASSERT_TRUE(CreateDirectoryA(small.c_str(), nullptr)) << small;
        driver::RemoveTree(folder_);
        folder_ = small; // the fixture removes it afterwards
        for (const char* name : {"A", "B"})
            ASSERT_TRUE(
                driver::WriteFileBytes(Path(std::string(name) + ".vqp"), TaggedImage(name)));
        const std::string root = kSettingsRoot;
        ASSERT_TRUE(driver::RegSetText(root + "\\Configure", "ThisProgramDir", folder_));
        ASSERT_TRUE(driver::RegSetText(root + "\\Files", "Current", Path("A.vqp")));
        ASSERT_TRUE(FillDisk(Path(kFiller)));
        ULARGE_INTEGER free = {};
        ASSERT_TRUE(GetDiskFreeSpaceExA(folder_.c_str(), &free, nullptr, nullptr));
        ASSERT_LT(free.QuadPart, kImageSize) << "the disk still holds another image";
    }

    void TypeOnBoard() {
        ASSERT_TRUE(driver::SetItemText(window_, FieldId(4), "A typed on a full disk"));
    }

    // The board is still there, still shows A and still holds the typing.
    void ExpectBoardKept() {
        EXPECT_EQ("Tessaro >" + Path("A.vqp"), driver::Title(window_));
        EXPECT_EQ("A typed on a full disk", driver::ItemText(window_, FieldId(4)));
    }

    // Ends the board (its exit save fails as well) and checks the folder: the two projects
    // byte for byte, nothing else but the filler.
    void EndAndCheck(Tally& row) {
        EXPECT_TRUE(CloseAndWait(board_, window_)) << "the board did not end cleanly";
        CheckProjects(row, folder_, {{"A.vqp", {TaggedImage("A")}}, {"B.vqp", {TaggedImage("B")}}});
        CheckNoTemporaries(row, folder_);
    }
};

TEST_F(FullDisk, SaveFailsWithAMessage) {
    Tally& row = Row("full disk");
    ASSERT_TRUE(StartBoard());
    TypeOnBoard();
    driver::PostCommand(window_, IDM_SAVE_PROJECT);
    EXPECT_EQ("Error saving:\n" + Path("A.vqp"), AnswerBox(IDOK));
    ++row.trials;
    ExpectBoardKept();
    EndAndCheck(row);
}

TEST_F(FullDisk, SaveAsFailsWithAMessage) {
    Tally& row = Row("full disk");
    ASSERT_TRUE(StartBoard());
    TypeOnBoard();
    driver::PostCommand(window_, IDM_SAVE_PROJECT_AS);
    Answer(WaitPrompt(kSaveAsCaption), "C");
    EXPECT_EQ("Error saving:\n" + Path("C.vqp"), AnswerBox(IDOK));
    ++row.trials;
    EXPECT_FALSE(driver::FileExists(Path("C.vqp")));
    EndAndCheck(row);
}

TEST_F(FullDisk, NewFailsWithAMessage) {
    Tally& row = Row("full disk");
    // The save of the shown project comes first, fails, and stops New.
    ASSERT_TRUE(StartBoard());
    TypeOnBoard();
    driver::PostCommand(window_, IDM_NEW_PROJECT);
    EXPECT_EQ("Error saving:\n" + Path("A.vqp"), AnswerBox(IDOK));
    EXPECT_FALSE(driver::WaitVisibleWindow(kNewCaption, 800, board_.pid)) << "no name is asked";
    ExpectBoardKept();
    ++row.trials;
    EndAndCheck(row);

    // With no project shown, the new project's own file cannot be written.
    ASSERT_TRUE(StartBoard("NewSession"));
    driver::PostCommand(window_, IDM_NEW_PROJECT);
    Answer(WaitPrompt(kNewCaption), "D");
    EXPECT_EQ("Error saving:\n" + Path("D.vqp"), AnswerBox(IDOK));
    ++row.trials;
    EXPECT_FALSE(driver::FileExists(Path("D.vqp")));
    EndAndCheck(row);
}

TEST_F(FullDisk, SwitchFailsWithAMessageAndStays) {
    Tally& row = Row("full disk");
    ASSERT_TRUE(StartBoard());
    TypeOnBoard();
    Pick("B.vqp");
    EXPECT_EQ("Error saving:\n" + Path("A.vqp"), AnswerBox(IDOK));
    ++row.trials;
    Sleep(300);
    ExpectBoardKept();
    EndAndCheck(row);
}

TEST_F(FullDisk, ExitFailsWithAMessage) {
    Tally& row = Row("full disk");
    ASSERT_TRUE(StartBoard());
    TypeOnBoard();
    driver::PostCommand(window_, IDM_CLOSE_REQUEST);
    EXPECT_EQ("Error saving:\n" + Path("A.vqp"), AnswerBox(IDOK));
    ++row.trials;
    DWORD code = 1;
    EXPECT_TRUE(driver::WaitExit(board_, kWait, &code)) << driver::LastFailure();
    EXPECT_EQ(0u, code);
    driver::CloseProcess(board_);
    board_ = {};
    EndAndCheck(row);
}

TEST_F(FullDisk, ConsolidationFailsWithAMessage) {
    Tally& row = Row("full disk");
    ASSERT_TRUE(StartBoard());
    driver::PostCommand(window_, IDM_CONSOLIDATE);
    HWND dialog = driver::WaitVisibleWindow("Consolidate Projects", kWait, board_.pid);
    ASSERT_TRUE(dialog) << driver::LastFailure();
    HWND all = GetDlgItem(dialog, IDL_ALL_PROJECTS);
    for (const char* name : {"A.vqp", "B.vqp"}) {
        const LRESULT index = SendMessageA(all, LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)name);
        ASSERT_NE(LB_ERR, index) << name << " is not listed";
        const LRESULT chosen = SendMessageA(GetDlgItem(dialog, IDL_CONSOLIDATE), LB_GETCOUNT, 0, 0);
        SendMessageA(all, LB_SETCURSEL, (WPARAM)index, 0);
        driver::PostCommand(dialog, MAKEWPARAM(IDL_ALL_PROJECTS, LBN_SELCHANGE), (LPARAM)all);
        driver::Click(dialog, IDB_CONSOLIDATE_ADD);
        ASSERT_TRUE(driver::WaitUntil(
            [&] {
                return SendMessageA(GetDlgItem(dialog, IDL_CONSOLIDATE), LB_GETCOUNT, 0, 0) ==
                       chosen + 1;
            },
            kWait, std::string(name) + " chosen"));
    }
    driver::Click(dialog, IDB_CONSOLIDATE_OK);
    const std::vector<std::string> told = AnswerUntilQuiet(board_.pid, 1500);
    EXPECT_TRUE(AnyStartsWith(told, "Error saving:\n")) << ::testing::PrintToString(told);
    ++row.trials;
    EXPECT_TRUE(driver::WaitGone(dialog, kWait)) << driver::LastFailure();
    EndAndCheck(row);
}

} // namespace
} // namespace campaign
