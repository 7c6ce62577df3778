// The files the installer writes: payload resources (this test program carries the
// installer's payload and two resources of its own), the copy that keeps the last-write
// time, and the projects carried over from the legacy folder.
#include <gtest/gtest.h>

#include <string>

#include "installer/payload.h"
#include "resources/vqpsx_ids.h"
#include "support.h"

using namespace installer;

namespace {

constexpr int kTestPayload = 901;
constexpr int kEmptyPayload = 902;
const char kTestPayloadBytes[] = "Tessaro test payload\r\nsecond line";

std::string ProgramFolder() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder = path;
    return folder.substr(0, folder.rfind('\\'));
}

std::string Resource(int id) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10));
    if (!found)
        return "";
    return std::string((const char*)LockResource(LoadResource(module, found)),
                       SizeofResource(module, found));
}

class PayloadTest : public ::testing::Test {
  protected:
    void SetUp() override { test::g_waits.clear(); }
    test::ScratchFolder scratch_{"payload"};
};

} // namespace

TEST_F(PayloadTest, AResourceBecomesAFileByteForByte) {
    const std::string target = scratch_ / "out.txt";
    scratch_.Write("out.txt", std::string(5000, 'o'));
    EXPECT_TRUE(ExtractPayload(GetModuleHandleA(nullptr), kTestPayload, target.c_str()));
    EXPECT_EQ(test::ReadAll(target), kTestPayloadBytes) << "a longer old file is cut";
}

TEST_F(PayloadTest, MissingOrEmptyResourcesAndUnwritableFilesFail) {
    HMODULE self = GetModuleHandleA(nullptr);
    EXPECT_FALSE(ExtractPayload(self, 999, (scratch_ / "missing").c_str()));
    EXPECT_FALSE(test::Exists(scratch_ / "missing")) << "nothing written without a resource";
    EXPECT_FALSE(ExtractPayload(self, kEmptyPayload, (scratch_ / "empty").c_str()));
    EXPECT_FALSE(test::Exists(scratch_ / "empty")) << "an empty resource is a failure";
    EXPECT_FALSE(ExtractPayload(self, kTestPayload, (scratch_ / "no\\folder").c_str()));

    const std::string held = scratch_.Write("held.txt", "keep");
    test::HeldOpen lock(held);
    ASSERT_TRUE(lock.IsOpen());
    EXPECT_FALSE(ExtractPayload(self, kTestPayload, held.c_str()));
    lock.Close();
    EXPECT_EQ(test::ReadAll(held), "keep");
}

TEST_F(PayloadTest, TheInstallersPayloadIsThisBuildsBoardAndItsFiles) {
    const std::string board = test::ReadAll(ProgramFolder() + "\\KESTRUM.EXE");
    ASSERT_GT(board.size(), 100000u);
    EXPECT_TRUE(Resource(IDR_PAYLOAD_BOARD) == board) << "the board program of this build";
    const std::string extracted = scratch_ / "KESTRUM.EXE";
    ASSERT_TRUE(ExtractPayload(GetModuleHandleA(nullptr), IDR_PAYLOAD_BOARD, extracted.c_str()));
    EXPECT_TRUE(test::ReadAll(extracted) == board);

    EXPECT_EQ(Resource(IDR_PAYLOAD_README_ICON).size(), 766u);
    EXPECT_EQ(Resource(IDR_PAYLOAD_UNINSTALL_ICON).size(), 766u);
    EXPECT_EQ(Resource(IDR_PAYLOAD_SAMPLE).size(), 338976u);
    const std::string readMe = Resource(IDR_PAYLOAD_README);
    EXPECT_NE(readMe.find("Tessaro"), std::string::npos);
    EXPECT_NE(readMe.find("\r\n"), std::string::npos);
    for (size_t i = readMe.find('\n'); i != std::string::npos; i = readMe.find('\n', i + 1))
        ASSERT_EQ(readMe[i - 1], '\r') << "every line ends with CR LF (offset " << i << ")";
}

TEST_F(PayloadTest, TheSixFileStepsInTheirOrder) {
    const int ids[] = {IDR_PAYLOAD_BOARD,  IDR_PAYLOAD_README,         IDR_PAYLOAD_README_ICON,
                       IDR_PAYLOAD_SAMPLE, IDR_PAYLOAD_UNINSTALL_ICON, kOwnFile};
    const char* names[] = {"KESTRUM.EXE", "README.TXT",  "README.ICO",
                           "SAMPLE.VQP",  "UNINSTL.ICO", "vqpsx.exe"};
    for (int i = 0; i < kFileStepCount; ++i) {
        EXPECT_EQ(kFileSteps[i].resourceId, ids[i]) << i;
        EXPECT_STREQ(kFileSteps[i].fileName, names[i]) << i;
    }
}

TEST_F(PayloadTest, CopiesEverySizeThroughTheBuffer) {
    for (size_t size : {0u, 1u, 8191u, 8192u, 8193u, 16384u, 20000u}) {
        std::string bytes;
        for (size_t i = 0; i < size; ++i)
            bytes += char(i * 7 % 251);
        const std::string from = scratch_.Write("from.bin", bytes);
        const std::string to = scratch_ / "to.bin";
        scratch_.Write("to.bin", std::string(30000, 'x'));
        EXPECT_EQ(CopyFileKeepTime(from.c_str(), to.c_str(), false, test::RecordWait), 1) << size;
        EXPECT_TRUE(test::ReadAll(to) == bytes) << size;
    }
    EXPECT_TRUE(test::g_waits.empty());
}

TEST_F(PayloadTest, KeepsTheLastWriteTimeOnlyWhenAsked) {
    const std::string from = scratch_.Write("from.bin", "content");
    const FILETIME old = test::MakeTime(2004, 5, 6);
    ASSERT_TRUE(test::SetLastWriteTime(from, old));
    const std::string kept = scratch_ / "kept.bin";
    const std::string fresh = scratch_ / "fresh.bin";
    EXPECT_EQ(CopyFileKeepTime(from.c_str(), kept.c_str(), true, test::RecordWait), 1);
    EXPECT_EQ(CopyFileKeepTime(from.c_str(), fresh.c_str(), false, test::RecordWait), 1);
    const FILETIME keptTime = test::LastWriteTime(kept);
    const FILETIME freshTime = test::LastWriteTime(fresh);
    EXPECT_EQ(CompareFileTime(&keptTime, &old), 0);
    EXPECT_EQ(CompareFileTime(&freshTime, &old), 1) << "a plain copy carries the time of now";
}

namespace {

test::HeldOpen* g_lock = nullptr;
int g_releaseAfter = 0;

void ReleaseAfterSomeWaits(unsigned milliseconds) {
    test::RecordWait(milliseconds);
    if ((int)test::g_waits.size() == g_releaseAfter && g_lock)
        g_lock->Close();
}

} // namespace

TEST_F(PayloadTest, ASourceInUseIsTriedFiftyTimes) {
    const std::string from = scratch_.Write("busy.bin", "busy");
    const std::string to = scratch_ / "to.bin";
    {
        test::HeldOpen lock(from);
        ASSERT_TRUE(lock.IsOpen());
        EXPECT_EQ(CopyFileKeepTime(from.c_str(), to.c_str(), true, test::RecordWait), 0);
    }
    EXPECT_EQ(test::g_waits, std::vector<unsigned>(49, 100u)) << "50 tries, 100 ms apart";
    EXPECT_FALSE(test::Exists(to));

    test::g_waits.clear();
    test::HeldOpen lock(from);
    g_lock = &lock;
    g_releaseAfter = 3;
    EXPECT_EQ(CopyFileKeepTime(from.c_str(), to.c_str(), true, ReleaseAfterSomeWaits), 1);
    g_lock = nullptr;
    EXPECT_EQ(test::g_waits.size(), 3u);
    EXPECT_EQ(test::ReadAll(to), "busy");

    EXPECT_EQ(CopyFileKeepTime((scratch_ / "none").c_str(), to.c_str(), false, nullptr), 0);
}

TEST_F(PayloadTest, LegacyProjectsAreCarriedOverUnlessTheNameIsTaken) {
    const std::string legacy = scratch_.MakeFolder("Program Files\\KESTRUM");
    const std::string install = scratch_.MakeFolder("vqp");
    scratch_.Write("Program Files\\KESTRUM\\SAMPLE.VQP", "old sample");
    scratch_.Write("Program Files\\KESTRUM\\Work.VQP", "work");
    scratch_.Write("Program Files\\KESTRUM\\home.vqp", "home");
    scratch_.Write("Program Files\\KESTRUM\\notes.txt", "notes");
    scratch_.Write("Program Files\\KESTRUM\\backup.vqpx", "not a project");
    scratch_.MakeFolder("Program Files\\KESTRUM\\Folder.VQP");
    scratch_.Write("vqp\\SAMPLE.VQP", "fresh sample");
    test::FakeEnvironment env;

    EXPECT_EQ(CarryOverProjects(env, legacy.c_str(), install.c_str()), 2);
    EXPECT_EQ(test::FolderEntries(install),
              (std::vector<std::string>{"SAMPLE.VQP", "Work.VQP", "home.vqp"}));
    EXPECT_EQ(test::ReadAll(install + "\\SAMPLE.VQP"), "fresh sample");
    EXPECT_EQ(test::ReadAll(install + "\\Work.VQP"), "work");

    scratch_.Write("Program Files\\KESTRUM\\Work.VQP", "changed");
    EXPECT_EQ(CarryOverProjects(env, legacy.c_str(), install.c_str()), 0);
    EXPECT_EQ(test::ReadAll(install + "\\Work.VQP"), "work") << "never over an existing name";
}

TEST_F(PayloadTest, NoCarryOverIntoTheLegacyFolderItselfOrFromNowhere) {
    const std::string legacy = scratch_.MakeFolder("KESTRUM");
    scratch_.Write("KESTRUM\\Work.VQP", "work");
    test::FakeEnvironment env;
    std::string other = legacy + "\\";
    for (char& c : other)
        c = (char)tolower((unsigned char)c);
    EXPECT_EQ(CarryOverProjects(env, legacy.c_str(), other.c_str()), 0);
    EXPECT_EQ(CarryOverProjects(env, (scratch_ / "Gone").c_str(), legacy.c_str()), 0);
    EXPECT_EQ(test::FolderEntries(legacy), std::vector<std::string>{"Work.VQP"});
}
