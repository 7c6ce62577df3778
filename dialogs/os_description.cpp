#include "dialogs/os_description.h"

#include "base/text.h"

namespace {

const char kWindowsPrefix[] = "Windows ";

// The name after "Windows " of a known version; nullptr for the Unknown forms.
const char* KnownName(const OsVersion& v) {
    switch (v.platform) {
    case 0: // Win32s on Windows 3.x
        if (v.minor == 1)
            return "3.1";
        if (v.minor == 11)
            return "3.11";
        return nullptr;
    case 1: // Windows 9x
        if (v.major != 4)
            return nullptr;
        if (v.minor == 0)
            return "95";
        if (v.minor == 10)
            return "98";
        if (v.minor == 90)
            return "ME";
        return nullptr;
    case 2: // Windows NT
        break;
    default: return nullptr;
    }
    struct {
        unsigned long major, minor;
        const char* name;
    } const kNt[] = {
        {4, 0, "NT 4.0"}, {5, 0, "2000"},         {5, 1, "XP"}, {5, 2, "Server 2003 family"},
        {6, 0, "Vista"},  {6, 1, "7 or 2008 R2"}, {6, 2, "8"},  {6, 3, "8.1"},
    };
    for (const auto& row : kNt)
        if (row.major == v.major && row.minor == v.minor)
            return row.name;
    return nullptr;
}

// The number in "Unknown(n)": one per platform row of the table, 4 for any other platform.
int UnknownNumber(unsigned long platform) {
    return platform <= 2 ? (int)platform + 1 : 4;
}

} // namespace

void DescribeWindowsName(const OsVersion& version, char* out, size_t size) {
    const char* name = KnownName(version);
    if (name)
        base::FormatText(out, size, "%s%s", kWindowsPrefix, name);
    else if (version.platform == 2 && version.major == 3)
        base::FormatText(out, size, "%sNT 3.%lu", kWindowsPrefix, version.minor);
    else
        base::FormatText(out, size, "%sUnknown(%d) PF%lu %lu.%lu", kWindowsPrefix,
                         UnknownNumber(version.platform), version.platform, version.major,
                         version.minor);
}

void DescribeWindows(const OsVersion& version, bool is64bit, const char* cpu, char* out,
                     size_t size) {
    char name[kOsDescriptionSize];
    DescribeWindowsName(version, name, sizeof name);
    const char* processor = !is64bit ? "x86" : cpu ? cpu : "AMD64";
    char description[kOsDescriptionSize];
    base::FormatText(description, sizeof description, "%s, %s, CPU: %s", name,
                     is64bit ? "64bit" : "32bit", processor);
    base::CopyText(out, size, description);
}

void FormatVersionLines(const char* programVersion, const OsVersion& version,
                        const char* description, char* out, size_t size) {
    base::FormatText(out, size, "Version: %s - Windows Type: %lu.%lu.%lu\n%s", programVersion,
                     version.platform, version.major, version.minor, description);
}
