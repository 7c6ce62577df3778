// The registry text reader against a scratch key of the current user.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "base/registry.h"

namespace {

const char kScratch[] = "Software\\Tessaro Tests\\base registry";

class RegistryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, kScratch);
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kScratch, 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &key_, nullptr),
                  ERROR_SUCCESS);
    }
    void TearDown() override {
        RegCloseKey(key_);
        RegDeleteTreeA(HKEY_CURRENT_USER, kScratch);
    }
    void Put(const char* name, DWORD type, const void* data, size_t size) {
        ASSERT_EQ(RegSetValueExA(key_, name, 0, type, (const BYTE*)data, DWORD(size)),
                  ERROR_SUCCESS);
    }
    void PutText(const char* name, const std::string& text) {
        Put(name, REG_SZ, text.c_str(), text.size() + 1);
    }
    // Reads into a buffer of size bytes with guard bytes behind it.
    bool Read(const char* name, size_t size, std::string& text) {
        char buffer[600];
        memset(buffer, '#', sizeof buffer);
        bool ok = base::ReadRegistryText(HKEY_CURRENT_USER, kScratch, name, KEY_READ, buffer, size);
        EXPECT_EQ(buffer[size], '#') << "wrote past the buffer";
        text = buffer;
        return ok;
    }

    HKEY key_ = nullptr;
};

} // namespace

TEST_F(RegistryTest, ATextThatFitsIsRead) {
    std::string text;
    PutText("Short", "AMD64");
    EXPECT_TRUE(Read("Short", 32, text));
    EXPECT_EQ(text, "AMD64");
    PutText("Empty", "");
    EXPECT_TRUE(Read("Empty", 32, text)) << "an empty text is a text";
    EXPECT_EQ(text, "");
    Put("Expand", REG_EXPAND_SZ, "%TEMP%", 7);
    EXPECT_TRUE(Read("Expand", 32, text));
    EXPECT_EQ(text, "%TEMP%") << "read as stored, not expanded";
}

TEST_F(RegistryTest, TheTerminatorMustFitToo) {
    std::string text;
    PutText("Exact", std::string(259, 'a'));
    EXPECT_TRUE(Read("Exact", 260, text));
    EXPECT_EQ(text.size(), 259u);
    PutText("Longer", std::string(260, 'a'));
    EXPECT_FALSE(Read("Longer", 260, text));
    EXPECT_EQ(text, "");
    // Stored without a terminator: as long as the buffer, that is one too many.
    Put("Unterminated", REG_SZ, std::string(260, 'b').data(), 260);
    EXPECT_FALSE(Read("Unterminated", 260, text));
    Put("ShortUnterminated", REG_SZ, "abc", 3);
    EXPECT_TRUE(Read("ShortUnterminated", 260, text));
    EXPECT_EQ(text, "abc");
}

TEST_F(RegistryTest, OnlyTextValuesOfAnExistingKeyCount) {
    std::string text;
    DWORD number = 7;
    Put("Number", REG_DWORD, &number, sizeof number);
    EXPECT_FALSE(Read("Number", 32, text));
    EXPECT_EQ(text, "");
    EXPECT_FALSE(Read("Missing", 32, text));
    char small[4] = "xyz";
    EXPECT_FALSE(base::ReadRegistryText(HKEY_CURRENT_USER, "Software\\Tessaro Tests\\no such key",
                                        "Short", KEY_READ, small, sizeof small));
    EXPECT_STREQ(small, "") << "a failed read leaves an empty text";
    char none[1] = {'x'};
    EXPECT_FALSE(base::ReadRegistryText(HKEY_CURRENT_USER, kScratch, "Short", KEY_READ, none, 0))
        << "no room at all";
    EXPECT_EQ(none[0], 'x');
}
