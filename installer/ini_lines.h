// Reading the lines of a legacy settings file ("kestrum.ini"): plain text work, no files
// and no registry, so it builds and runs anywhere.
#pragma once
#include <cstddef>

namespace installer {

constexpr size_t kIniReadSize = 259; // one read takes at most 258 characters
constexpr size_t kIniTextSize = 260;

struct IniState {
    char section[kIniTextSize] = ""; // empty until a section line names one
};

struct IniKey {
    char name[kIniTextSize];
    char value[kIniTextSize];
};

enum class IniLine {
    Ignored,        // empty, or a comment (';')
    Section,        // '[' starts a section: the text up to the last ']', or the rest
    Key,            // name '=' value, within a section: key holds it
    OutsideSection, // a key before any section (or in an unnamed one): not taken over
};

// Trailing line feeds, carriage returns and blanks are removed from line first. The name
// ends at the first '='; the value keeps the rest, further '=' included; a line without
// '=' is a name with an empty value.
IniLine ReadIniLine(char* line, IniState& state, IniKey& key);

} // namespace installer
