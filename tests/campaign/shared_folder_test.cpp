// Others at work in the board's folder: a second board on the same folder, another program
// that deletes or replaces the shown project, a program folder that vanishes or cannot be
// written. The board must not crash and must never put one project's slots into another.
#include <windows.h>

#include <cstdlib>
#include <random>

#include "campaign/board_helpers.h"
#include "campaign/campaign.h"
#include "resources/kestrum_ids.h"

using namespace e2e;

namespace campaign {
namespace {

const char kChanged[] = "Another program has changed this project file";
const std::vector<std::string> kProjects = {"SAMPLE.VQP", "Alpha.vqp", "Beta.vqp"};

class SharedFolder : public BoardTest {
  protected:
    void SetUp() override {
        BoardTest::SetUp();
        for (const std::string& project : kProjects)
            ASSERT_TRUE(driver::WriteFileBytes(Path(project), TaggedImage(ProjectName(project))));
    }

    // Every project file is whole and holds only its own slots.
    void CheckOwnSlotsOnly(Tally& row) {
        for (const std::string& name : Files(folder_, "*.vqp")) {
            const std::string owner = OwnerOf(driver::ReadFileBytes(Path(name)));
            if (_stricmp(owner.c_str(), ProjectName(name).c_str()) == 0)
                continue;
            ++row.damaged;
            ADD_FAILURE() << name << " holds "
                          << (owner.empty() ? "a broken or mixed image" : owner + "'s slots");
        }
    }

    // The project a board shows, from its title ("" if none of ours).
    std::string Shown(HWND board) {
        const std::string title = driver::Title(board);
        const std::string start = "Tessaro >" + folder_ + "\\";
        return title.compare(0, start.size(), start) == 0 ? title.substr(start.size()) : "";
    }

    bool Alive(const driver::Process& process) {
        return process.process && WaitForSingleObject(process.process, 0) == WAIT_TIMEOUT;
    }
};

TEST_F(SharedFolder, TwoBoardsOnOneFolderKeepEachProjectToItself) {
    Tally& row = Row("two boards on one folder");
    std::mt19937 random(Seed());
    ASSERT_TRUE(StartBoard());
    // The hand-over lost a race, or a second user's session: two boards on one folder.
    ASSERT_TRUE(driver::RegSetText(std::string(kSettingsRoot) + "\\Handles", "TransHandle", "0"));
    driver::Process second = driver::Start(driver::ExeDir() + "\\KESTRUM.EXE", "", folder_);
    struct Ender {
        driver::Process& process;
        ~Ender() { driver::Kill(process); }
    } ender{second};
    HWND secondWindow = driver::WaitVisibleWindow("Tessaro >", kWait, second.pid);
    ASSERT_TRUE(secondWindow) << driver::LastFailure();

    const int answers[] = {IDYES, IDNO, IDCANCEL};
    for (int step = 0; step < 24; ++step) {
        const bool first = random() % 2 == 0;
        driver::Process& process = first ? board_ : second;
        HWND window = first ? window_ : secondWindow;
        const std::string shown = Shown(window);
        if (!shown.empty()) {
            const std::string text = ProjectName(shown) + " board " + (first ? "1" : "2") +
                                     " step " + std::to_string(step);
            ASSERT_TRUE(driver::SetItemText(window, FieldId(int(random() % 33)), text));
        }
        if (random() % 2 == 0)
            driver::PostCommand(window, IDM_SAVE_PROJECT);
        else
            Pick(window, kProjects[random() % kProjects.size()]);
        AnswerUntilQuiet(process.pid, 500, answers[random() % 3]);
        ++row.trials;
        ASSERT_TRUE(Alive(board_) && Alive(second)) << "a board ended at step " << step;
        SCOPED_TRACE("step " + std::to_string(step));
        CheckOwnSlotsOnly(row);
    }
    EXPECT_TRUE(CloseAndWait(second, secondWindow, IDYES));
    EXPECT_TRUE(CloseAndWait(board_, window_, IDYES));
    CheckOwnSlotsOnly(row);
    CheckNoTemporaries(row, folder_);
}

TEST_F(SharedFolder, AShownProjectDeletedByAnotherProgram) {
    Tally& row = Row("shown project deleted or replaced");
    ASSERT_TRUE(StartBoard());
    ASSERT_TRUE(driver::SetItemText(window_, FieldId(3), "SAMPLE typed"));
    ASSERT_TRUE(DeleteFileA(Path("SAMPLE.VQP").c_str()));

    // Save asks for a name, as for a project never saved; cancelled, nothing is written.
    driver::PostCommand(window_, IDM_SAVE_PROJECT);
    Cancel(WaitPrompt(kSaveAsCaption));
    // A switch does not write the vanished project back, nor into the picked one.
    Pick("Alpha.vqp");
    ASSERT_TRUE(WaitTitle(Path("Alpha.vqp")));
    EXPECT_EQ("Alpha 3", driver::ItemText(window_, CopyButtonId(3)));
    ASSERT_TRUE(driver::SetItemText(window_, FieldId(5), "Alpha typed"));
    ++row.trials;
    EXPECT_TRUE(CloseAndWait(board_, window_));
    CheckProjects(row, folder_,
                  {{"SAMPLE.VQP", {""}},
                   {"Alpha.vqp", {WithText(TaggedImage("Alpha"), 5, "Alpha typed")}},
                   {"Beta.vqp", {TaggedImage("Beta")}}});
    CheckNoTemporaries(row, folder_);
}

TEST_F(SharedFolder, AShownProjectReplacedByAnotherProgram) {
    Tally& row = Row("shown project deleted or replaced");
    ASSERT_TRUE(StartBoard());
    ASSERT_TRUE(driver::SetItemText(window_, FieldId(3), "SAMPLE typed"));
    const std::string theirs = TaggedImage("Other");
    ASSERT_TRUE(WriteAsAnotherProgram(Path("SAMPLE.VQP"), theirs));

    // Save: the question, and Cancel writes nothing.
    driver::PostCommand(window_, IDM_SAVE_PROJECT);
    EXPECT_TRUE(AnyStartsWith(AnswerUntilQuiet(board_.pid, 800, IDCANCEL), kChanged));
    EXPECT_EQ(theirs, driver::ReadFileBytes(Path("SAMPLE.VQP")));
    // A switch: No saves the board under a name of its own, then the switch goes on.
    Pick("Beta.vqp");
    EXPECT_EQ(0u, AnswerBox(IDNO).find(kChanged));
    Answer(WaitPrompt(kSaveAsCaption), "Mine");
    ASSERT_TRUE(WaitTitle(Path("Beta.vqp")));
    ++row.trials;
    EXPECT_TRUE(CloseAndWait(board_, window_));
    CheckProjects(row, folder_,
                  {{"SAMPLE.VQP", {theirs}},
                   {"Mine.vqp", {WithText(TaggedImage("SAMPLE"), 3, "SAMPLE typed")}},
                   {"Alpha.vqp", {TaggedImage("Alpha")}},
                   {"Beta.vqp", {TaggedImage("Beta")}}});
    CheckNoTemporaries(row, folder_);
}

// The system keeps a running program's working folder (the program folder) from being
// removed, so while the board runs another program can only empty it.
TEST_F(SharedFolder, AProgramFolderEmptiedWhileTheBoardRuns) {
    Tally& row = Row("program folder vanished or read-only");
    ASSERT_TRUE(StartBoard());
    ASSERT_TRUE(driver::SetItemText(window_, FieldId(3), "SAMPLE typed"));
    for (const std::string& project : kProjects)
        ASSERT_TRUE(DeleteFileA(Path(project).c_str()));

    driver::PostCommand(window_, IDM_SAVE_PROJECT);
    Cancel(WaitPrompt(kSaveAsCaption));
    Pick("Alpha.vqp");
    EXPECT_EQ("Unable to open project:\n" + Path("Alpha.vqp"), AnswerBox(IDOK));
    EXPECT_EQ("SAMPLE typed", driver::ItemText(window_, FieldId(3))) << "the typing is kept";
    ++row.trials;
    EXPECT_TRUE(CloseAndWait(board_, window_)) << "the board did not end cleanly";
    CheckProjects(row, folder_, {});
    CheckNoTemporaries(row, folder_);
}

TEST_F(SharedFolder, AProgramFolderThatIsGoneAtStart) {
    Tally& row = Row("program folder vanished or read-only");
    const std::string gone = Path("gone");
    ASSERT_TRUE(
        driver::RegSetText(std::string(kSettingsRoot) + "\\Configure", "ThisProgramDir", gone));
    ASSERT_TRUE(StartBoard());
    ASSERT_TRUE(driver::SetItemText(window_, FieldId(0), "typed"));
    driver::PostCommand(window_, IDM_CLOSE_REQUEST);
    Answer(WaitPrompt(kSaveAsCaption), "Gone");
    EXPECT_EQ("Error saving:\n" + gone + "\\Gone.vqp", AnswerBox(IDOK));
    DWORD code = 1;
    EXPECT_TRUE(driver::WaitExit(board_, kWait, &code)) << driver::LastFailure();
    EXPECT_EQ(0u, code);
    driver::CloseProcess(board_);
    board_ = {};
    ++row.trials;
    EXPECT_FALSE(driver::DirExists(gone));
    for (const std::string& project : kProjects)
        EXPECT_EQ(TaggedImage(ProjectName(project)), driver::ReadFileBytes(Path(project)));
}

// The folder is a read-only view of another (prepared by the test script where the system
// allows it): the board sees the projects there but can write nothing.
TEST_F(SharedFolder, AReadOnlyProgramFolder) {
    const char* source = getenv("TESSARO_READ_ONLY_SOURCE");
    const char* view = getenv("TESSARO_READ_ONLY_VIEW");
    if (!source || !*source || !view || !*view) {
        Row("read-only folder (skipped: no mount)");
        GTEST_SKIP() << "no read-only folder: TESSARO_READ_ONLY_VIEW is not set";
    }
    Tally& row = Row("program folder vanished or read-only");
    const std::string from = source, shown = view;
    for (const std::string& name : Files(from, "*"))
        DeleteFileA((from + "\\" + name).c_str()); // what an interrupted run left
    for (const char* name : {"A", "B"})
        ASSERT_TRUE(driver::WriteFileBytes(from + "\\" + name + ".vqp", TaggedImage(name)));
    const std::string root = kSettingsRoot;
    ASSERT_TRUE(driver::RegSetText(root + "\\Configure", "ThisProgramDir", shown));
    ASSERT_TRUE(driver::RegSetText(root + "\\Files", "Current", shown + "\\A.vqp"));

    ASSERT_TRUE(StartBoard());
    std::vector<std::string> told = AnswerUntilQuiet(board_.pid, 800);
    EXPECT_TRUE(AnyStartsWith(told, "Unable to open project:\n" + shown + "\\A.vqp"))
        << ::testing::PrintToString(told);
    ASSERT_TRUE(driver::SetItemText(window_, FieldId(0), "typed"));
    driver::PostCommand(window_, IDM_SAVE_PROJECT);
    Answer(WaitPrompt(kSaveAsCaption), "A");
    told = AnswerUntilQuiet(board_.pid, 800, IDYES); // "File Exists": overwrite
    EXPECT_TRUE(AnyStartsWith(told, "Error saving:\n" + shown + "\\A.vqp"))
        << ::testing::PrintToString(told);
    Pick("B.vqp");
    told = AnswerUntilQuiet(board_.pid, 800);
    EXPECT_TRUE(AnyStartsWith(told, "Unable to open project:\n" + shown + "\\B.vqp"))
        << ::testing::PrintToString(told);
    ++row.trials;
    EXPECT_TRUE(CloseAndWait(board_, window_)) << "the board did not end cleanly";
    CheckProjects(row, from, {{"A.vqp", {TaggedImage("A")}}, {"B.vqp", {TaggedImage("B")}}});
    CheckNoTemporaries(row, from);
    for (const char* name : {"A", "B"})
        DeleteFileA((from + "\\" + name + ".vqp").c_str());
}

} // namespace
} // namespace campaign
