// The operating-system description of the About box and its version lines.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include <windows.h>

#include "dialogs/about.h"
#include "dialogs/os_description.h"

namespace {

std::string Name(unsigned long platform, unsigned long major, unsigned long minor) {
    char out[kOsDescriptionSize];
    OsVersion version;
    version.platform = platform;
    version.major = major;
    version.minor = minor;
    DescribeWindowsName(version, out, sizeof out);
    return out;
}

std::string Describe(unsigned long platform, unsigned long major, unsigned long minor, bool is64bit,
                     const char* cpu, size_t size = kOsDescriptionSize) {
    char out[kOsDescriptionSize + 64];
    memset(out, '#', sizeof out);
    OsVersion version;
    version.platform = platform;
    version.major = major;
    version.minor = minor;
    DescribeWindows(version, is64bit, cpu, out, size);
    EXPECT_EQ(out[size], '#') << "wrote past the buffer";
    return out;
}

TEST(OsDescriptionTest, EveryRowOfTheWindowsTable) {
    // Platform 0 looks only at the minor version.
    EXPECT_EQ(Name(0, 3, 1), "Windows 3.1");
    EXPECT_EQ(Name(0, 7, 1), "Windows 3.1");
    EXPECT_EQ(Name(0, 3, 11), "Windows 3.11");
    EXPECT_EQ(Name(0, 0, 11), "Windows 3.11");
    EXPECT_EQ(Name(1, 4, 0), "Windows 95");
    EXPECT_EQ(Name(1, 4, 10), "Windows 98");
    EXPECT_EQ(Name(1, 4, 90), "Windows ME");
    EXPECT_EQ(Name(2, 3, 51), "Windows NT 3.51");
    EXPECT_EQ(Name(2, 3, 0), "Windows NT 3.0");
    EXPECT_EQ(Name(2, 4, 0), "Windows NT 4.0");
    EXPECT_EQ(Name(2, 5, 0), "Windows 2000");
    EXPECT_EQ(Name(2, 5, 1), "Windows XP");
    EXPECT_EQ(Name(2, 5, 2), "Windows Server 2003 family");
    EXPECT_EQ(Name(2, 6, 0), "Windows Vista");
    EXPECT_EQ(Name(2, 6, 1), "Windows 7 or 2008 R2");
    EXPECT_EQ(Name(2, 6, 2), "Windows 8");
    EXPECT_EQ(Name(2, 6, 3), "Windows 8.1");
}

TEST(OsDescriptionTest, UnknownVersionsOfEachPlatform) {
    EXPECT_EQ(Name(0, 3, 0), "Windows Unknown(1) PF0 3.0");
    EXPECT_EQ(Name(0, 3, 10), "Windows Unknown(1) PF0 3.10");
    EXPECT_EQ(Name(1, 4, 1), "Windows Unknown(2) PF1 4.1");
    EXPECT_EQ(Name(1, 5, 0), "Windows Unknown(2) PF1 5.0"); // 9x minor numbers, major 5
    EXPECT_EQ(Name(1, 3, 10), "Windows Unknown(2) PF1 3.10");
    EXPECT_EQ(Name(2, 4, 10), "Windows Unknown(3) PF2 4.10"); // a 9x number on NT
    EXPECT_EQ(Name(2, 5, 3), "Windows Unknown(3) PF2 5.3");
    EXPECT_EQ(Name(2, 6, 4), "Windows Unknown(3) PF2 6.4");
    EXPECT_EQ(Name(2, 10, 0), "Windows Unknown(3) PF2 10.0");
    EXPECT_EQ(Name(3, 10, 0), "Windows Unknown(4) PF3 10.0");
    EXPECT_EQ(Name(3, 6, 1), "Windows Unknown(4) PF3 6.1"); // known numbers, other platform
    EXPECT_EQ(Name(4294967295ul, 4294967295ul, 4294967295ul),
              "Windows Unknown(4) PF4294967295 4294967295.4294967295");
}

TEST(OsDescriptionTest, WordSizeAndProcessor) {
    EXPECT_EQ(Describe(2, 6, 1, true, "AMD64"), "Windows 7 or 2008 R2, 64bit, CPU: AMD64");
    EXPECT_EQ(Describe(2, 6, 1, true, "IA64"), "Windows 7 or 2008 R2, 64bit, CPU: IA64");
    // An unreadable registry value on 64-bit Windows.
    EXPECT_EQ(Describe(2, 6, 1, true, nullptr), "Windows 7 or 2008 R2, 64bit, CPU: AMD64");
    // 32-bit Windows is always x86, whatever the registry holds.
    EXPECT_EQ(Describe(2, 5, 1, false, "AMD64"), "Windows XP, 32bit, CPU: x86");
    EXPECT_EQ(Describe(1, 4, 90, false, nullptr), "Windows ME, 32bit, CPU: x86");
    EXPECT_EQ(Describe(2, 10, 0, true, "ARM64"), "Windows Unknown(3) PF2 10.0, 64bit, CPU: ARM64");
}

TEST(OsDescriptionTest, DescriptionIsCutTo127Characters) {
    std::string cpu(200, 'C');
    std::string text = Describe(2, 6, 1, true, cpu.c_str());
    EXPECT_EQ(text.size(), 127u);
    EXPECT_EQ(text, ("Windows 7 or 2008 R2, 64bit, CPU: " + cpu).substr(0, 127));
    // A smaller buffer than the description is filled and terminated, never overrun.
    EXPECT_EQ(Describe(2, 6, 1, true, "AMD64", 11), "Windows 7 ");
}

TEST(OsDescriptionTest, VersionLines) {
    OsVersion version;
    version.platform = 2;
    version.major = 6;
    version.minor = 1;
    char out[256];
    FormatVersionLines("18.06.01", version, "Windows 7 or 2008 R2, 64bit, CPU: AMD64", out,
                       sizeof out);
    EXPECT_STREQ(out,
                 "Version: 18.06.01 - Windows Type: 2.6.1\n"
                 "Windows 7 or 2008 R2, 64bit, CPU: AMD64");
    version.platform = 1;
    version.major = 4;
    version.minor = 90;
    FormatVersionLines("18.06.01", version, "", out, sizeof out);
    EXPECT_STREQ(out, "Version: 18.06.01 - Windows Type: 1.4.90\n");
}

TEST(OsDescriptionTest, BuiltAtStartUpFromWhatTheSystemReports) {
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    ASSERT_TRUE(GetVersionExA(&info));
    AboutFacts facts;
    DescribeThisSystem(facts);
    const OsVersion& version = facts.os;
    EXPECT_EQ(version.platform, info.dwPlatformId);
    EXPECT_EQ(version.major, info.dwMajorVersion);
    EXPECT_EQ(version.minor, info.dwMinorVersion);
    std::string description = facts.osDescription;
    std::string name = Name(info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion);
    EXPECT_EQ(description.rfind(name + ", ", 0), 0u) << description;
    if (sizeof(void*) == 8) { // the 64-bit build can only be running on 64-bit Windows
        EXPECT_NE(description.find(", 64bit, CPU: "), std::string::npos) << description;
    }
    EXPECT_LE(description.size(), 127u);
}

} // namespace
