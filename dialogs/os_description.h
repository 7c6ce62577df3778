// The description of the operating system that the About box shows, built once at
// start-up. The table logic is plain functions of the numbers the system reports.
#pragma once
#include <cstddef>

constexpr size_t kOsDescriptionSize = 128; // 127 characters and the terminator
constexpr size_t kProcessorSize = 32;      // the registry's processor value, 31 characters

// What GetVersionEx reports.
struct OsVersion {
    unsigned long platform = 0;
    unsigned long major = 0;
    unsigned long minor = 0;
};

// "Windows " followed by the name of the version; a version the table does not know gives
// one of the four Unknown forms with the platform id and the version numbers.
void DescribeWindowsName(const OsVersion& version, char* out, size_t size);

// "<Windows name>, <32bit|64bit>, CPU: <processor>", cut to the size. The processor is
// "x86" on 32-bit Windows; on 64-bit Windows it is cpu, or "AMD64" when cpu is nullptr
// (the registry value could not be read).
void DescribeWindows(const OsVersion& version, bool is64bit, const char* cpu, char* out,
                     size_t size);

// The About box's version lines: "Version: <program version> - Windows Type: p.M.m\n
// <description>".
void FormatVersionLines(const char* programVersion, const OsVersion& version,
                        const char* description, char* out, size_t size);

// What GetVersionEx reports and the description of the running system.
void DescribeRunningWindows(OsVersion& version, char* description, size_t size);
