// Project images and files: sizes, widths, and writes that must never damage a project.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "store/project_file.h"
#include "ui/message.h"

namespace {

std::vector<std::string> g_messages;

int RecordMessage(const char* text, const char*, UINT) {
    g_messages.push_back(text);
    return IDOK;
}

std::string g_titlePath;
int g_settingsSaves = 0;
void RecordTitle(const char* path) {
    g_titlePath = path;
}
void RecordSave() {
    ++g_settingsSaves;
}

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
        g_messages.clear();
        g_titlePath.clear();
        g_settingsSaves = 0;
        ui::SetMessageHook(RecordMessage);
        CurrentProjectHooks hooks;
        hooks.setTitle = RecordTitle;
        hooks.saveSettings = RecordSave;
        SetCurrentProjectHooks(hooks);
        image_ = new ProjectImage;
        ClearImage(*image_);
    }
    void TearDown() override {
        ui::SetMessageHook(nullptr);
        SetCurrentProjectHooks(CurrentProjectHooks());
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
    ASSERT_EQ(ReadProjectFile(path_.c_str(), *image_, 0), 1);
    EXPECT_EQ(memcmp(image_, bytes.data(), kProjectImageSize), 0);

    WriteAll(path_, bytes.substr(0, kProjectImageSize - 1));
    EXPECT_EQ(ReadProjectFile(path_.c_str(), *image_, 1), 0);
    EXPECT_EQ(g_settingsSaves, 0) << "a failed read saves nothing";
    EXPECT_TRUE(g_titlePath.empty());

    WriteAll(path_, bytes + "trailing bytes do not matter");
    ASSERT_EQ(ReadProjectFile(path_.c_str(), *image_, 0), 1);
    EXPECT_EQ(memcmp(image_, bytes.data(), kProjectImageSize), 0);

    EXPECT_EQ(ReadProjectFile((folder_ + "\\missing.vqp").c_str(), *image_, 0), 0);
    EXPECT_EQ(ReadProjectFile(folder_.c_str(), *image_, 0), 0) << "a folder is no project";
}

TEST_F(ProjectFileTest, AProjectThatCannotBeWrittenDoesNotLoad) {
    WriteAll(path_, Pattern(kProjectImageSize));
    SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(ReadProjectFile(path_.c_str(), *image_, 0), 0);
    SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_NORMAL);

    HANDLE holder = CreateFileA(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_EQ(ReadProjectFile(path_.c_str(), *image_, 0), 0);
    CloseHandle(holder);
    EXPECT_EQ(ReadProjectFile(path_.c_str(), *image_, 0), 1);
}

TEST_F(ProjectFileTest, ReadingTheCurrentProjectSetsTitleAndSavesSettings) {
    WriteAll(path_, std::string(kProjectImageSize, '\0'));
    ASSERT_EQ(ReadProjectFile(path_.c_str(), *image_, 0), 1);
    EXPECT_EQ(g_settingsSaves, 0);
    ASSERT_EQ(ReadProjectFile(path_.c_str(), *image_, 1), 1);
    EXPECT_EQ(g_titlePath, path_);
    EXPECT_EQ(g_settingsSaves, 1);
}

TEST_F(ProjectFileTest, WritesExactlyOneImageWithZeroFilledFields) {
    WriteAll(path_, Pattern(kProjectImageSize + 5000));
    SetSlotName(*image_, 0, std::string(kNameSize - 1, 'N').c_str());
    SetSlotName(*image_, 0, "Short");
    SetSlotText(*image_, 3, "line one\r\nline two\r\n");
    ASSERT_EQ(WriteProjectFile(path_.c_str(), *image_, 1), 1);
    EXPECT_EQ(g_titlePath, path_);
    EXPECT_TRUE(g_messages.empty());
    std::string first = ReadAll(path_);
    ASSERT_EQ(first.size(), kProjectImageSize);
    EXPECT_EQ(first.compare(0, 6, std::string("Short\0", 6)), 0);
    EXPECT_EQ(first.substr(5, kNameSize - 5), std::string(kNameSize - 5, '\0'))
        << "no byte of the old name remains";

    ASSERT_EQ(WriteProjectFile(path_.c_str(), *image_, 0), 1);
    EXPECT_EQ(ReadAll(path_), first) << "two writes of one board are identical";

    ProjectImage* back = new ProjectImage;
    ASSERT_EQ(ReadProjectFile(path_.c_str(), *back, 0), 1);
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

TEST_F(ProjectFileTest, AFailedWriteKeepsTheOldFileAndSaysSo) {
    const std::string old = Pattern(kProjectImageSize);
    WriteAll(path_, old);
    SetSlotName(*image_, 0, "New");

    // The destination cannot be replaced while another program holds it.
    HANDLE holder = CreateFileA(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_EQ(WriteProjectFile(path_.c_str(), *image_, 0), 0);
    CloseHandle(holder);
    ASSERT_EQ(g_messages.size(), 1u);
    EXPECT_EQ(g_messages[0], "Error saving:\n" + path_);
    EXPECT_EQ(ReadAll(path_), old) << "the old project is intact";
    EXPECT_EQ(FilesIn(folder_), std::vector<std::string>{"Test.vqp"}) << "no temporary left";

    // The temporary file cannot be created: the folder does not exist.
    g_messages.clear();
    std::string nowhere = folder_ + "\\missing\\Test.vqp";
    EXPECT_EQ(WriteProjectFile(nowhere.c_str(), *image_, 1), 0);
    ASSERT_EQ(g_messages.size(), 1u);
    EXPECT_EQ(g_messages[0], "Error saving:\n" + nowhere);
    EXPECT_TRUE(g_titlePath.empty()) << "nothing was opened, the title stays";

    // A folder in the project's place cannot be replaced either.
    g_messages.clear();
    std::string folderInPlace = folder_ + "\\Taken.vqp";
    CreateDirectoryA(folderInPlace.c_str(), nullptr);
    EXPECT_EQ(WriteProjectFile(folderInPlace.c_str(), *image_, 0), 0);
    EXPECT_EQ(g_messages.size(), 1u);
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
    EXPECT_EQ(WriteProjectFile(path_.c_str(), *image_, 0), 1);
    reader.join();
    EXPECT_TRUE(g_messages.empty());
    EXPECT_EQ(ReadAll(path_).substr(0, 4), std::string("New\0", 4));
    EXPECT_EQ(FilesIn(folder_), std::vector<std::string>{"Test.vqp"});
}
