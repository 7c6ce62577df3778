#include "store/leftovers.h"

#include <windows.h>

#include <cstring>

#include "base/scoped.h"
#include "base/text.h"
#include "store/disk_file.h"

namespace {

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

} // namespace

bool IsOwnTemporaryName(const char* name) {
    const size_t prefix = strlen(kTemporaryPrefix);
    if (!base::StartsWithNoCase(name, kTemporaryPrefix, prefix))
        return false;
    // The system writes the unique number in hexadecimal, at most four digits.
    size_t digits = 0;
    while (digits < 5 && IsHexDigit(name[prefix + digits]))
        ++digits;
    return digits >= 1 && digits <= 4 && base::EqualsNoCase(name + prefix + digits, ".tmp");
}

int RemoveLeftoverTemporaries(const char* folder) {
    // Our names are at most 11 characters; a folder that leaves no room for them has none.
    char pattern[MAX_PATH];
    const size_t folderLength = strlen(folder);
    if (folderLength == 0 || folderLength + 1 + 12 >= sizeof pattern)
        return 0;
    base::FormatText(pattern, sizeof pattern, "%s\\%s*.tmp", folder, kTemporaryPrefix);
    WIN32_FIND_DATAA found;
    base::ScopedFind listing(FindFirstFileA(pattern, &found));
    if (!listing.Valid())
        return 0;
    int removed = 0;
    char path[MAX_PATH];
    do {
        // The pattern also matches longer names and, through short names, other files.
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
            !IsOwnTemporaryName(found.cFileName))
            continue;
        base::FormatText(path, sizeof path, "%s\\%s", folder, found.cFileName);
        if (DeleteFileA(path))
            ++removed;
    } while (FindNextFileA(listing.Get(), &found));
    return removed;
}
