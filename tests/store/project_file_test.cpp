// Project images and files: sizes, widths, and writes that must never damage a project.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "store/project_file.h"

namespace {

constexpr ProjectReadResult kRead = ProjectReadResult::kRead;
constexpr ProjectWriteResult kWritten = ProjectWriteResult::kWritten;

std::string ReadAll(const std::string& path) {
    std::string bytes;
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return bytes;
    char buffer[65536];
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

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(found.cFileName);
    } while (FindNextFileA(find, &found));
    FindClose(find);
    return names;
}

class ProjectFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        folder_ = std::string(temp) + "tessaro-unit-project-file";
        Clean();
        CreateDirectoryA(folder_.c_str(), nullptr);
        path_ = folder_ + "\\Test.vqp";
        image_ = new ProjectImage;
        ClearImage(*image_);
    }
    void TearDown() override {
        delete image_;
        Clean();
    }
    void Clean() {
        for (const auto& name : FilesIn(folder_)) {
            std::string file = folder_ + "\\" + name;
            SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(file.c_str());
        }
        RemoveDirectoryA(folder_.c_str());
    }
    std::string Pattern(size_t size) const {
        std::string bytes(size, '\0');
        for (size_t i = 0; i < size; ++i)
            bytes[i] = char('a' + i % 23);
        return bytes;
    }

    std::string folder_, path_;
    ProjectImage* image_ = nullptr;
};

} // namespace

TEST_F(ProjectFileTest, OnlyAWholeImageLoads) {
    std::string bytes = Pattern(kProjectImageSize);
    WriteAll(path_, bytes);
    ASSERT_EQ(ReadProjectFile(path_.c_str(), *image_), kRead);
    EXPECT_EQ(memcmp(image_, bytes.data(), kProjectImageSize), 0);

    WriteAll(path_, bytes.substr(0, kProjectImageSize - 1));
    EXPECT_EQ(ReadProjectFile(path_.c_str(), *image_), ProjectReadResult::kTooShort);

    WriteAll(path_, bytes + "trailing bytes do not matter");
    ASSERT_EQ(ReadProjectFile(path_.c_str(), *image_), kRead);
    EXPECT_EQ(memcmp(image_, bytes.data(), kProjectImageSize), 0);

    EXPECT_EQ(ReadProjectFile((folder_ + "\\missing.vqp").c_str(), *image_),
              ProjectReadResult::kMissing);
    EXPECT_EQ(ReadProjectFile(folder_.c_str(), *image_), ProjectReadResult::kNotAFile)
        << "a folder is no project";
}

TEST_F(ProjectFileTest, AProjectThatCannotBeWrittenDoesNotLoad) {
    WriteAll(path_, Pattern(kProjectImageSize));
    SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(ReadProjectFile(path_.c_str(), *image_), ProjectReadResult::kReadOnly);
    SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_NORMAL);

    HANDLE holder = CreateFileA(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_EQ(ReadProjectFile(path_.c_str(), *image_), ProjectReadResult::kNotOpened);
    CloseHandle(holder);
    EXPECT_EQ(ReadProjectFile(path_.c_str(), *image_), kRead);
}

TEST_F(ProjectFileTest, WritesExactlyOneImageWithZeroFilledFields) {
    WriteAll(path_, Pattern(kProjectImageSize + 5000));
    SetSlotName(*image_, 0, std::string(kNameSize - 1, 'N').c_str());
    SetSlotName(*image_, 0, "Short");
    SetSlotText(*image_, 3, "line one\r\nline two\r\n");
    ASSERT_EQ(WriteProjectFile(path_.c_str(), *image_), kWritten);
    std::string first = ReadAll(path_);
    ASSERT_EQ(first.size(), kProjectImageSize);
    EXPECT_EQ(first.compare(0, 6, std::string("Short\0", 6)), 0);
    EXPECT_EQ(first.substr(5, kNameSize - 5), std::string(kNameSize - 5, '\0'))
        << "no byte of the old name remains";

    ASSERT_EQ(WriteProjectFile(path_.c_str(), *image_), kWritten);
    EXPECT_EQ(ReadAll(path_), first) << "two writes of one board are identical";

    ProjectImage* back = new ProjectImage;
    ASSERT_EQ(ReadProjectFile(path_.c_str(), *back), kRead);
    EXPECT_STREQ(back->texts[3], "line one\r\nline two\r\n") << "CR LF survives";
    delete back;
    EXPECT_EQ(FilesIn(folder_), std::vector<std::string>{"Test.vqp"}) << "no temporary left";
}

TEST_F(ProjectFileTest, FieldsAreCutToTheirWidths) {
    SetSlotName(*image_, 1, std::string(32, 'x').c_str());
    EXPECT_EQ(std::string(image_->names[1]), std::string(31, 'x'));
    SetSlotText(*image_, 32, std::string(10240, 'y').c_str());
    EXPECT_EQ(strlen(image_->texts[32]), 10239u);
    SetSlotText(*image_, 0, std::string(10239, 'z').c_str());
    EXPECT_EQ(strlen(image_->texts[0]), 10239u);
}

TEST_F(ProjectFileTest, ForeignFieldsWithoutTerminatorAreCutAtTheirWidth) {
    memset(image_->names[4], 'A', kNameSize);
    memset(image_->names[5], 'B', kNameSize);
    memset(image_->texts[32], 'C', kTextSize); // the last field of the image
    char name[kNameSize + 1];
    SlotName(*image_, 4, name, sizeof name);
    EXPECT_EQ(std::string(name), std::string(kNameSize, 'A'));
    static char text[kTextSize + 1];
    SlotText(*image_, 32, text, sizeof text);
    EXPECT_EQ(strlen(text), size_t(kTextSize));
}

TEST_F(ProjectFileTest, AFailedWriteKeepsTheOldFileAndSaysWhy) {
    const std::string old = Pattern(kProjectImageSize);
    WriteAll(path_, old);
    SetSlotName(*image_, 0, "New");

    // The destination cannot be replaced while another program holds it.
    HANDLE holder = CreateFileA(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_EQ(WriteProjectFile(path_.c_str(), *image_), ProjectWriteResult::kNotWritten);
    CloseHandle(holder);
    EXPECT_EQ(ReadAll(path_), old) << "the old project is intact";
    EXPECT_EQ(FilesIn(folder_), std::vector<std::string>{"Test.vqp"}) << "no temporary left";

    // The temporary file cannot be created: the folder does not exist.
    std::string nowhere = folder_ + "\\missing\\Test.vqp";
    EXPECT_EQ(WriteProjectFile(nowhere.c_str(), *image_), ProjectWriteResult::kNoTemporaryFile);

    // A folder in the project's place cannot be replaced either.
    std::string folderInPlace = folder_ + "\\Taken.vqp";
    CreateDirectoryA(folderInPlace.c_str(), nullptr);
    EXPECT_EQ(WriteProjectFile(folderInPlace.c_str(), *image_), ProjectWriteResult::kNotWritten);
    RemoveDirectoryA(folderInPlace.c_str());
    EXPECT_EQ(FilesIn(folder_), std::vector<std::string>{"Test.vqp"}) << "no temporary left";
}

TEST_F(ProjectFileTest, AReaderThatLetsGoSoonDoesNotFailTheWrite) {
    WriteAll(path_, Pattern(kProjectImageSize));
    SetSlotName(*image_, 0, "New");
    HANDLE holder = CreateFileA(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    std::thread reader([holder] {
        Sleep(150);
        CloseHandle(holder);
    });
    EXPECT_EQ(WriteProjectFile(path_.c_str(), *image_), kWritten);
    reader.join();
    EXPECT_EQ(ReadAll(path_).substr(0, 4), std::string("New\0", 4));
    EXPECT_EQ(FilesIn(folder_), std::vector<std::string>{"Test.vqp"});
}
