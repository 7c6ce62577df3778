#include "dialogs/os_description.h"

#include <windows.h>

#include "dialogs/about.h"
#include "ui/text.h"

const char kProgramVersion[] = "18.06.01";

namespace {

const char kWindowsPrefix[] = "Windows ";
const char kEnvironmentKey[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";

OsVersion g_osVersion;
char g_osDescription[kOsDescriptionSize];

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
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kEnvironmentKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD type = 0;
    DWORD length = (DWORD)size;
    LONG result = RegQueryValueExA(key, "PROCESSOR_ARCHITECTURE", nullptr, &type,
                                   reinterpret_cast<BYTE*>(out), &length);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    // A stored value need not end with a terminator.
    out[length < size ? length : size - 1] = '\0';
    return true;
}

} // namespace

void DescribeWindowsName(const OsVersion& version, char* out, size_t size) {
    const char* name = KnownName(version);
    if (name)
        ui::FormatText(out, size, "%s%s", kWindowsPrefix, name);
    else if (version.platform == 2 && version.major == 3)
        ui::FormatText(out, size, "%sNT 3.%lu", kWindowsPrefix, version.minor);
    else
        ui::FormatText(out, size, "%sUnknown(%d) PF%lu %lu.%lu", kWindowsPrefix,
                       UnknownNumber(version.platform), version.platform, version.major,
                       version.minor);
}

void DescribeWindows(const OsVersion& version, bool is64bit, const char* cpu, char* out,
                     size_t size) {
    char name[kOsDescriptionSize];
    DescribeWindowsName(version, name, sizeof name);
    const char* processor = !is64bit ? "x86" : cpu ? cpu : "AMD64";
    char description[kOsDescriptionSize];
    ui::FormatText(description, sizeof description, "%s, %s, CPU: %s", name,
                   is64bit ? "64bit" : "32bit", processor);
    ui::CopyText(out, size, description);
}

void FormatVersionLines(const OsVersion& version, const char* description, char* out, size_t size) {
    ui::FormatText(out, size, "Version: %s - Windows Type: %lu.%lu.%lu\n%s", kProgramVersion,
                   version.platform, version.major, version.minor, description);
}

const OsVersion& StartupOsVersion() {
    return g_osVersion;
}
const char* StartupOsDescription() {
    return g_osDescription;
}

void BuildOsDescription() {
    const bool is64bit = RunsOn64BitWindows();
    char processor[kProcessorSize];
    const bool haveProcessor = is64bit && ReadProcessor(processor, sizeof processor);

    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    GetVersionExA(&info);
    g_osVersion.platform = info.dwPlatformId;
    g_osVersion.major = info.dwMajorVersion;
    g_osVersion.minor = info.dwMinorVersion;

    DescribeWindows(g_osVersion, is64bit, haveProcessor ? processor : nullptr, g_osDescription,
                    sizeof g_osDescription);
}
