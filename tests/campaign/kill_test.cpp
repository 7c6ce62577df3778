// The board ended at random moments while it saves, switches and exits: after each kill
// every project must be a whole old or a whole new image, and the next start must remove
// the temporary files of the killed save, and only those.
#include <windows.h>

#include <algorithm>
#include <random>

#include "campaign/campaign.h"
#include "resources/kestrum_ids.h"

using namespace e2e;

namespace campaign {
namespace {

const std::vector<std::string> kProjects = {"SAMPLE.VQP", "Alpha.vqp", "Beta.vqp"};
// Files of the user that merely look like the board's temporary files.
const std::vector<std::string> kUsersFiles = {"notes.tmp", "vqp12345.tmp", "vqp1.tmp.txt"};

enum Operation { kSave, kSwitch, kExit, kOperations };
const char* const kOperationNames[] = {"save", "switch", "exit"};

double Now() {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return double(count.QuadPart) / double(frequency.QuadPart);
}

// Waits until the moment, sleeping while it is far and spinning at the end, so that the
// kills spread evenly over the save.
void WaitUntilMoment(double moment) {
    for (double now = Now(); now < moment; now = Now())
        Sleep(moment - now > 0.003 ? 1 : 0);
}

class KillCampaign : public BoardTest {
  protected:
    void SetUp() override {
        BoardTest::SetUp();
        for (const std::string& project : kProjects)
            ASSERT_TRUE(driver::WriteFileBytes(Path(project), TaggedImage(ProjectName(project))));
        for (const std::string& name : kUsersFiles)
            ASSERT_TRUE(driver::WriteFileBytes(Path(name), "the user's " + name));
    }

    std::map<std::string, std::string> Snapshot() {
        std::map<std::string, std::string> files;
        for (const std::string& project : kProjects)
            files[project] = driver::ReadFileBytes(Path(project));
        return files;
    }

    // The project file the board shows, from its title.
    std::string Shown() {
        const std::string title = driver::Title(window_);
        const std::string start = "Tessaro >" + folder_ + "\\";
        if (title.compare(0, start.size(), start) != 0)
            return "";
        std::string shown = title.substr(start.size());
        for (const std::string& project : kProjects)
            if (_stricmp(project.c_str(), shown.c_str()) == 0)
                return project;
        return "";
    }

    // When a posted Save makes its temporary file and when the new file is in place, in
    // seconds after the post: the longest of three, watched closely enough to tell
    // milliseconds.
    void MeasureSave(double& begins, double& ends) {
        begins = ends = 0;
        for (int i = 0; i < 3; ++i) {
            const FILETIME before = WriteTime(Path("SAMPLE.VQP"));
            EXPECT_TRUE(driver::SetItemText(window_, FieldId(0),
                                            "SAMPLE calibration " + std::to_string(i)));
            const double start = Now();
            driver::PostCommand(window_, IDM_SAVE_PROJECT);
            double now = start, begun = 0;
            for (FILETIME written = before;
                 CompareFileTime(&before, &written) == 0 && now < start + 5; now = Now()) {
                if (begun == 0 && !Files(folder_, "vqp?*.tmp").empty())
                    begun = now - start;
                written = WriteTime(Path("SAMPLE.VQP"));
            }
            begins = std::max(begins, begun);
            ends = std::max(ends, now - start);
        }
    }

    static FILETIME WriteTime(const std::string& path) {
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
        return data.ftLastWriteTime;
    }

    void CheckUsersFiles(Tally& row) {
        for (const std::string& name : kUsersFiles)
            if (driver::ReadFileBytes(Path(name)) != "the user's " + name) {
                ++row.damaged;
                ADD_FAILURE() << "the user's " << name << " was changed or removed";
            }
    }
};

TEST_F(KillCampaign, EveryProjectIsWholeOldOrWholeNewAfterAKill) {
    Tally& row = Row("kill during save, switch, exit");
    std::mt19937 random(Seed());
    ASSERT_TRUE(StartBoard());
    // A third of the kills fall anywhere from the posted command to well after the file is
    // in place; the others around the moments the save works on its files.
    double begins = 0, ends = 0;
    MeasureSave(begins, ends);
    printf("a save makes its temporary file %.1f ms after the command and is done at %.1f ms\n",
           begins * 1000, ends * 1000);
    const double wide = std::min(0.5, std::max(0.02, 2 * ends));
    const double from = begins * 0.7, to = std::max(from + 0.005, ends * 1.2);
    int newImages = 0;
    const int trials = TrialCount();
    for (int trial = 0; trial < trials && !HasFatalFailure(); ++trial) {
        const std::string shown = Shown();
        ASSERT_FALSE(shown.empty()) << "the board shows no project: " << driver::Title(window_);
        const std::map<std::string, std::string> before = Snapshot();
        const int slot = int(random() % 33);
        const std::string text = ProjectName(shown) + " trial " + std::to_string(trial);
        ASSERT_TRUE(driver::SetItemText(window_, FieldId(slot), text)) << driver::LastFailure();
        const std::string saved = WithText(before.at(shown), slot, text);

        const Operation operation = Operation(random() % kOperations);
        const double start = Now();
        if (operation == kSave)
            driver::PostCommand(window_, IDM_SAVE_PROJECT);
        else if (operation == kExit)
            driver::PostCommand(window_, IDM_CLOSE_REQUEST);
        else {
            std::string other = shown;
            while (other == shown)
                other = kProjects[random() % kProjects.size()];
            Pick(other);
        }
        const double share = (random() % 1000) / 1000.0;
        WaitUntilMoment(start + (trial % 3 == 0 ? wide * share : from + (to - from) * share));
        if (WaitForSingleObject(board_.process, 0) == WAIT_TIMEOUT) {
            ++row.kills;
            TerminateProcess(board_.process, 1);
        }
        ASSERT_TRUE(driver::WaitExit(board_, kWait)) << driver::LastFailure();
        driver::CloseProcess(board_);
        board_ = {};
        ++row.trials;

        std::vector<std::string> temporaries = Files(folder_, "vqp*.tmp");
        for (const std::string& name : kUsersFiles)
            temporaries.erase(std::remove(temporaries.begin(), temporaries.end(), name),
                              temporaries.end());
        if (!temporaries.empty())
            ++row.killedMidSave;
        std::map<std::string, std::vector<std::string>> allowed;
        for (const auto& file : before)
            allowed[file.first] = {file.second};
        allowed[shown].push_back(saved);
        SCOPED_TRACE("trial " + std::to_string(trial) + ": " + kOperationNames[operation] + " of " +
                     shown);
        CheckProjects(row, folder_, allowed);
        if (driver::ReadFileBytes(Path(shown)) == saved)
            ++newImages;

        // The next start removes the leftovers of the killed save, and only those.
        ASSERT_TRUE(StartBoard());
        CheckNoTemporaries(row, folder_, kUsersFiles);
        CheckUsersFiles(row);
        if ((trial + 1) % 50 == 0) {
            printf("%d trials, %d kills, %d mid-save, %d new images, %d damaged, %d left\n",
                   trial + 1, row.kills, row.killedMidSave, newImages, row.damaged, row.left);
            fflush(stdout);
        }
    }
    printf("%d of %d trials ended with the new image\n", newImages, row.trials);
}

} // namespace
} // namespace campaign
