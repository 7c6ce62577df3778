// The entry in the list of installed programs: its six values, and their writing as REG_SZ
// (into a scratch key here).
#include <gtest/gtest.h>

#include <string>

#include "installer/uninstall_entry.h"
#include "support.h"

using namespace installer;

namespace {

std::string Value(const UninstallEntry& entry, const char* name) {
    for (const RegistryText& text : entry.values)
        if (std::string(text.name) == name)
            return text.value;
    ADD_FAILURE() << "no value " << name;
    return "";
}

} // namespace

TEST(UninstallEntry, SixValuesInTheirOrder) {
    UninstallEntry entry;
    BuildUninstallEntry("C:\\vqp", entry);
    const char* names[] = {"DisplayName", "UninstallString", "InstallLoaction",
                           "Publisher",   "URLInfoAbout",    "URLUpdateInfo"};
    for (int i = 0; i < kUninstallValueCount; ++i)
        EXPECT_STREQ(entry.values[i].name, names[i]) << i;
    EXPECT_EQ(Value(entry, "DisplayName"), "Tessaro");
    EXPECT_EQ(Value(entry, "UninstallString"), "\"C:\\vqp\\vqpsx.exe\" UnInstall");
    EXPECT_EQ(Value(entry, "InstallLoaction"), "C:\\vqp");
    EXPECT_EQ(Value(entry, "Publisher"), "Vontrel");
    EXPECT_EQ(Value(entry, "URLInfoAbout").rfind("http://", 0), 0u);
    EXPECT_EQ(Value(entry, "URLUpdateInfo").rfind("http://", 0), 0u);
}

TEST(UninstallEntry, ATrailingBackslashGivesTheSameEntry) {
    for (const char* typed :
         {"C:\\Program Files\\Vontrel\\vqp\\", "C:\\Program Files\\Vontrel\\vqp",
          "C:\\Program Files\\Vontrel\\vqp\\\\ "}) {
        UninstallEntry entry;
        BuildUninstallEntry(typed, entry);
        EXPECT_EQ(Value(entry, "InstallLoaction"), "C:\\Program Files\\Vontrel\\vqp") << typed;
        EXPECT_EQ(Value(entry, "UninstallString"),
                  "\"C:\\Program Files\\Vontrel\\vqp\\vqpsx.exe\" UnInstall")
            << typed;
    }
}

TEST(UninstallEntry, ALongestFolderStillFitsEveryValue) {
    const std::string folder = "C:\\" + std::string(233, 'f');
    UninstallEntry entry;
    BuildUninstallEntry(folder.c_str(), entry);
    EXPECT_EQ(Value(entry, "UninstallString"), "\"" + folder + "\\vqpsx.exe\" UnInstall");
}

TEST(UninstallEntry, WrittenAsTextsWithTheirTerminators) {
    test::DeleteScratchKey();
    const std::string path = std::string(test::kScratchKey) + "\\Uninstall\\Tessaro";
    UninstallEntry entry;
    BuildUninstallEntry("D:\\Apps\\vqp\\", entry);
    ASSERT_TRUE(WriteRegistryTexts(HKEY_CURRENT_USER, path.c_str(), entry));
    for (const RegistryText& text : entry.values) {
        char data[400] = {};
        DWORD type = 0, size = sizeof data;
        ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, path.c_str(), text.name, RRF_RT_ANY, &type, data,
                               &size),
                  ERROR_SUCCESS)
            << text.name;
        EXPECT_EQ(type, DWORD(REG_SZ)) << text.name;
        EXPECT_EQ(size, DWORD(strlen(text.value) + 1)) << text.name;
        EXPECT_STREQ(data, text.value);
    }
    // Written again over the first: the same six values, no others.
    BuildUninstallEntry("E:\\vqp", entry);
    ASSERT_TRUE(WriteRegistryTexts(HKEY_CURRENT_USER, path.c_str(), entry));
    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD values = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                     nullptr, nullptr, nullptr);
    RegCloseKey(key);
    EXPECT_EQ(values, 6u);
    test::DeleteScratchKey();
}

TEST(UninstallEntry, AKeyThatCannotBeCreatedWritesNothing) {
    UninstallEntry entry;
    BuildUninstallEntry("C:\\vqp", entry);
    // A root that is no key: the entry's key cannot be created.
    EXPECT_FALSE(WriteRegistryTexts((HKEY)(ULONG_PTR)0x12345678, "Anything", entry));
}
