#include "base/system_library.h"

#include "base/text.h"

namespace base {

HMODULE LoadSystemLibrary(const char* name) {
    char path[MAX_PATH];
    const UINT n = GetSystemDirectoryA(path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return nullptr;
    FormatText(path + n, MAX_PATH - n, "\\%s", name);
    return LoadLibraryA(path);
}

} // namespace base
