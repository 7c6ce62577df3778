#include "store/project_names.h"

#include <cstring>

#include "base/text.h"

namespace {

const char kDroppedCharacters[] = "\n\r\"#%'()*+,/:;<=>?[\\]^`{|}~";
const char kExtension[] = ".vqp";

const char* const kDeviceNames[] = {"CON", "PRN", "AUX", "NUL"};
const char* const kNumberedDevices[] = {"COM", "LPT"};

bool IsNumberedDevice(const char* name) {
    for (const char* stem : kNumberedDevices)
        if (base::StartsWithNoCase(name, stem, 3) && name[3] >= '1' && name[3] <= '9' &&
            name[4] == '\0')
            return true;
    return false;
}

} // namespace

bool IsDroppedNameCharacter(char c) {
    return c != '\0' && strchr(kDroppedCharacters, c) != nullptr;
}

size_t CleanProjectName(const char* typed, char* out, size_t size) {
    if (size == 0)
        return 0;
    out[0] = '\0';
    size_t end = 0; // the name ends at its first '.', and only so much of it is looked at
    while (end < size_t(kTypedNameScan) && typed[end] != '\0' && typed[end] != '.')
        ++end;
    size_t n = 0;
    for (size_t i = 0; i < end; ++i) {
        const char c = typed[i];
        if (c == ' ' && (i + 1 == end || typed[i + 1] == ' '))
            continue; // runs of blanks shrink to one, trailing blanks vanish
        if (IsDroppedNameCharacter(c))
            continue;
        if (n + 1 >= size) {
            out[0] = '\0';
            return 0;
        }
        out[n++] = c;
    }
    out[n] = '\0';
    return n;
}

bool IsDeviceName(const char* name) {
    for (const char* device : kDeviceNames)
        if (base::EqualsNoCase(name, device))
            return true;
    return IsNumberedDevice(name);
}

bool PathNamesDevice(const char* path) {
    const char* name = path;
    for (const char* c = path; *c; ++c)
        if (*c == '\\' || *c == '/' || *c == ':')
            name = c + 1;
    size_t n = strcspn(name, ".");
    while (n > 0 && name[n - 1] == ' ') // the system drops blanks before the extension
        --n;
    char stem[5]; // the longest device name is four characters
    if (n >= sizeof stem)
        return false;
    memcpy(stem, name, n);
    stem[n] = '\0';
    return IsDeviceName(stem);
}

int JoinProjectPath(const char* folder, const char* name, char* out, size_t size) {
    const size_t length = strlen(folder) + 1 + strlen(name) + strlen(kExtension);
    if (length > kMaxProjectPath || length + 1 > size)
        return 0;
    base::FormatText(out, size, "%s\\%s%s", folder, name, kExtension);
    return 1;
}

int TypedNameToProjectPath(const char* folder, char* buffer, size_t size) {
    char name[kTypedNameScan + 1];
    if (CleanProjectName(buffer, name, sizeof name) == 0 || IsDeviceName(name))
        return 0;
    return JoinProjectPath(folder, name, buffer, size);
}

const char* FileNamePart(const char* path) {
    const char* cut = strrchr(path, '\\');
    return cut ? cut + 1 : path;
}

void SuggestedProjectName(const char* path, char* out, size_t size) {
    char name[kMaxProjectPath + 1];
    base::CopyText(name, sizeof name, FileNamePart(path));
    if (char* dot = strchr(name, '.'))
        *dot = '\0';
    base::CopyText(out, size, name);
}
