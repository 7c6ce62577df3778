// What the running system reports, for the description of the About box; the table
// itself is plain logic in os_description.cpp.
#include "dialogs/os_description.h"

#include <windows.h>

#include "base/registry.h"

namespace {

const char kEnvironmentKey[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";

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
