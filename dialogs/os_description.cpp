#include "dialogs/os_description.h"

#include <windows.h>

#include "base/registry.h"
#include "base/text.h"

namespace {

const char kWindowsPrefix[] = "Windows ";
const char kEnvironmentKey[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";

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

typedef BOOL(WINAPI* IsWow64ProcessFunction)(HANDLE, PBOOL);

// Looked up by name: the function does not exist on older systems.
bool RunsOn64BitWindows() {
#ifdef _WIN64
    return true; // a 64-bit program runs on nothing else
#else
    HMODULE kernel = GetModuleHandleA("kernel32");
    FARPROC found = kernel ? GetProcAddress(kernel, "IsWow64Process") : nullptr;
    if (!found)
        return false;
    auto isWow64 = reinterpret_cast<IsWow64ProcessFunction>(reinterpret_cast<void*>(found));
    BOOL wow64 = FALSE;
    return isWow64(GetCurrentProcess(), &wow64) && wow64;
#endif
}

// The processor value of the system environment; false when it cannot be read.
bool ReadProcessor(char* out, size_t size) {
    return base::ReadRegistryText(HKEY_LOCAL_MACHINE, kEnvironmentKey, "PROCESSOR_ARCHITECTURE",
                                  KEY_READ, out, size);
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

void DescribeRunningWindows(OsVersion& version, char* description, size_t size) {
    const bool is64bit = RunsOn64BitWindows();
    char processor[kProcessorSize];
    const bool haveProcessor = is64bit && ReadProcessor(processor, sizeof processor);

    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    GetVersionExA(&info);
    version.platform = info.dwPlatformId;
    version.major = info.dwMajorVersion;
    version.minor = info.dwMinorVersion;

    DescribeWindows(version, is64bit, haveProcessor ? processor : nullptr, description, size);
}
