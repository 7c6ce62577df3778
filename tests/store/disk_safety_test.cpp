// What keeps the store's files safe around other programs: leftovers of killed saves are
// removed (and nothing else), a changed project is noticed before it is written over, and
// a name that opens a device is never opened.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "scratch_files.h"
#include "store/disk_file.h"
#include "store/file_stamp.h"
#include "store/leftovers.h"
#include "store/project_file.h"

namespace {

using scratch::Folder;

std::vector<std::string> Sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
}

// Moves the file's last-write time by seconds (negative: back).
void ShiftWriteTime(const std::string& path, int seconds) {
    HANDLE f = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES | GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE) << path;
    FILETIME written;
    ASSERT_TRUE(GetFileTime(f, nullptr, nullptr, &written));
    ULARGE_INTEGER t;
    t.LowPart = written.dwLowDateTime;
    t.HighPart = written.dwHighDateTime;
    t.QuadPart += (long long)seconds * 10000000LL;
    written.dwLowDateTime = t.LowPart;
    written.dwHighDateTime = t.HighPart;
    ASSERT_TRUE(SetFileTime(f, nullptr, nullptr, &written));
    CloseHandle(f);
}

FILETIME WriteTime(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

void SetWriteTime(const std::string& path, FILETIME written) {
    HANDLE f = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE) << path;
    ASSERT_TRUE(SetFileTime(f, nullptr, nullptr, &written));
    CloseHandle(f);
}

} // namespace

TEST(LeftoverNames, OnlyTheNamesOfTheSafeWriteAreOurs) {
    for (const char* name : {"vqp1.tmp", "VQP1A2B.TMP", "vqpffff.tmp", "vqp0.Tmp", "Vqp9e.tmp"})
        EXPECT_TRUE(IsOwnTemporaryName(name)) << name;
    for (const char* name :
         {"vqp.tmp", "vqp12345.tmp", "vqpg1.tmp", "notes.tmp", "avqp1.tmp", "vqp1.tmp.bak",
          "vqp1.tmpx", "vqp1.vqp", "vqp1tmp", "vqp 1.tmp", "vq1.tmp", "", "vqp1"})
        EXPECT_FALSE(IsOwnTemporaryName(name)) << name;
}

TEST(LeftoverNames, TheSafeWritesOwnTemporaryFilesCarryOurNames) {
    Folder folder("tessaro-unit-leftover-names");
    for (int i = 0; i < 3; ++i) {
        char made[MAX_PATH];
        ASSERT_TRUE(CreateTemporaryBeside((folder / "Test.vqp").c_str(), made, sizeof made));
    }
    const std::vector<std::string> made = folder.Files();
    ASSERT_EQ(made.size(), 3u);
    for (const auto& name : made)
        EXPECT_TRUE(IsOwnTemporaryName(name.c_str())) << name;
}

TEST(LeftoverCleanUp, RemovesOurLeftoversAndKeepsEverythingElse) {
    Folder folder("tessaro-unit-leftovers");
    const std::vector<std::string> ours = {"vqp1.tmp", "VQP2B3C.TMP", "vqpffff.tmp"};
    const std::vector<std::string> theirs = {"notes.tmp",  "vqp12345.tmp", "vqpx.tmp",
                                             "myvqp1.tmp", "vqp1.tmp.txt", "SAMPLE.VQP"};
    for (const auto& name : ours)
        ASSERT_TRUE(scratch::WriteAll(folder / name, std::string(kProjectImageSize, 'x')));
    for (const auto& name : theirs)
        ASSERT_TRUE(scratch::WriteAll(folder / name, "user data"));
    ASSERT_TRUE(CreateDirectoryA((folder / "vqp2.tmp").c_str(), nullptr));

    EXPECT_EQ(RemoveLeftoverTemporaries(folder.Path().c_str()), 3);
    EXPECT_EQ(Sorted(folder.Files()), Sorted(theirs));
    for (const auto& name : theirs)
        EXPECT_EQ(scratch::ReadAll(folder / name), "user data") << name;
    DWORD attributes = GetFileAttributesA((folder / "vqp2.tmp").c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        << "a folder is never a leftover";
    RemoveDirectoryA((folder / "vqp2.tmp").c_str());
}

TEST(LeftoverCleanUp, AFileThatARunningSaveHoldsStays) {
    Folder folder("tessaro-unit-leftover-held");
    ASSERT_TRUE(scratch::WriteAll(folder / "vqpa1.tmp", "being written"));
    ASSERT_TRUE(scratch::WriteAll(folder / "vqpa2.tmp", "left behind"));
    // A save holds its temporary file this way while it fills it.
    HANDLE held = CreateFileA((folder / "vqpa1.tmp").c_str(), GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(RemoveLeftoverTemporaries(folder.Path().c_str()), 1);
    CloseHandle(held);
    EXPECT_EQ(folder.Files(), std::vector<std::string>{"vqpa1.tmp"});
}

TEST(LeftoverCleanUp, NoFolderMeansNothingIsTouched) {
    EXPECT_EQ(RemoveLeftoverTemporaries(""), 0) << "never the root of the current drive";
    EXPECT_EQ(RemoveLeftoverTemporaries("C:\\tessaro no such folder"), 0);
}

TEST(ChangedOnDisk, AProjectIsTheOneReadOrWrittenUntilAnotherProgramChangesIt) {
    Folder folder("tessaro-unit-changed");
    const std::string path = folder / "Test.vqp";
    ProjectImage* image = new ProjectImage;
    ClearImage(*image);
    FileStamp written;
    ASSERT_EQ(WriteProjectFile(path.c_str(), *image, &written), ProjectWriteResult::kWritten);
    EXPECT_FALSE(FileChangedSince(path.c_str(), written)) << "the board's own write";

    FileStamp read;
    ASSERT_EQ(ReadProjectFile(path.c_str(), *image, &read), ProjectReadResult::kRead);
    EXPECT_EQ(read, written);
    EXPECT_FALSE(FileChangedSince(path.c_str(), read)) << "reading changes nothing";
    delete image;

    // Another program writes the same number of bytes a moment later.
    ShiftWriteTime(path, 2);
    EXPECT_TRUE(FileChangedSince(path.c_str(), read)) << "a later write time";

    // Another size at the very time read: the size alone tells.
    ShiftWriteTime(path, -2);
    ASSERT_FALSE(FileChangedSince(path.c_str(), read));
    const FILETIME time = WriteTime(path);
    ASSERT_TRUE(scratch::WriteAll(path, std::string(kProjectImageSize + 1, 'y')));
    SetWriteTime(path, time);
    EXPECT_TRUE(FileChangedSince(path.c_str(), read)) << "another size";

    ASSERT_TRUE(DeleteFileA(path.c_str()));
    EXPECT_TRUE(FileChangedSince(path.c_str(), read)) << "a file that is gone";
    FileStamp none;
    EXPECT_FALSE(StampFile(path.c_str(), none));
}

TEST(ChangedOnDisk, AFileReplacedWholeByAnotherIsNoLongerTheOneRead) {
    Folder folder("tessaro-unit-replaced");
    const std::string path = folder / "Test.vqp";
    ASSERT_TRUE(scratch::WriteAll(path, std::string(kProjectImageSize, 'a')));
    ProjectImage* image = new ProjectImage;
    FileStamp read;
    ASSERT_EQ(ReadProjectFile(path.c_str(), *image, &read), ProjectReadResult::kRead);
    delete image;
    // Another board's save: a new file written beside it, then moved into its place.
    const std::string other = folder / "other.tmp";
    ASSERT_TRUE(scratch::WriteAll(other, std::string(kProjectImageSize, 'b')));
    ShiftWriteTime(other, 3);
    ASSERT_TRUE(MoveFileExA(other.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_TRUE(FileChangedSince(path.c_str(), read));
}

TEST(PlainDiskFiles, ANameThatOpensADeviceIsNeverOpenedReadOrWritten) {
    Folder folder("tessaro-unit-devices");
    ProjectImage* image = new ProjectImage;
    ClearImage(*image);
    for (const char* name : {"COM1.vqp", "nul.vqp", "CON", "lpt1.vqp", "AUX .vqp"}) {
        const std::string path = folder / name;
        SetLastError(0);
        EXPECT_EQ(OpenDiskFile(path.c_str(), GENERIC_READ, FILE_SHARE_READ), INVALID_HANDLE_VALUE)
            << name;
        EXPECT_FALSE(ProjectFileExists(path.c_str())) << name;
        EXPECT_EQ(ReadProjectFile(path.c_str(), *image), ProjectReadResult::kNotAFile) << name;
        EXPECT_FALSE(ReadImageForSearch(path.c_str(), *image)) << name;
        EXPECT_EQ(WriteProjectFile(path.c_str(), *image), ProjectWriteResult::kNotADiskFile)
            << name;
        FileStamp stamp;
        EXPECT_FALSE(StampFile(path.c_str(), stamp)) << name;
    }
    delete image;
    EXPECT_TRUE(folder.Files().empty()) << "no temporary file and no file of a device's name";
}

TEST(PlainDiskFiles, AMissingProjectIsToldFromOneThatCannotBeRead) {
    Folder folder("tessaro-unit-missing");
    ProjectImage* image = new ProjectImage;
    EXPECT_EQ(ReadProjectFile((folder / "none.vqp").c_str(), *image), ProjectReadResult::kMissing);
    EXPECT_EQ(ReadProjectFile(folder.Path().c_str(), *image), ProjectReadResult::kNotAFile);
    ASSERT_TRUE(scratch::WriteAll(folder / "Short.vqp", std::string(kProjectImageSize - 1, 's')));
    EXPECT_EQ(ReadProjectFile((folder / "Short.vqp").c_str(), *image),
              ProjectReadResult::kTooShort);
    delete image;
}
