#include "installer/path_text.h"

#include <windows.h>

#include <cstring>

#include "base/text.h"

namespace installer {

const char kFolderTrim[] = "\n\r \\";
const char kFolderTrimAll[] = "\n\r /\\";
const char kLineTrim[] = "\n\r ";

size_t TrimTrailing(char* text, const char* characters) {
    size_t n = strlen(text);
    while (n > 0 && strchr(characters, text[n - 1]))
        text[--n] = '\0';
    return n;
}

bool JoinPath(char* out, size_t size, const char* folder, const char* name) {
    const size_t needed = strlen(folder) + 1 + strlen(name);
    base::FormatText(out, size, "%s\\%s", folder, name);
    return needed < size;
}

namespace {

// The full form of a folder text, without trailing separators; the text itself when the
// system cannot make it full.
void ComparableFolder(const char* folder, char* out, size_t size) {
    DWORD n = GetFullPathNameA(folder, (DWORD)size, out, nullptr);
    if (n == 0 || n >= size)
        base::CopyText(out, size, folder);
    TrimTrailing(out, "\\/ ");
}

} // namespace

bool SameFolder(const char* a, const char* b) {
    char fullA[MAX_PATH * 2];
    char fullB[MAX_PATH * 2];
    ComparableFolder(a, fullA, sizeof fullA);
    ComparableFolder(b, fullB, sizeof fullB);
    return base::EqualsNoCase(fullA, fullB);
}

} // namespace installer
