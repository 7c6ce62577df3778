// The legacy INI reader: a settings file of any content, read line by line as the
// installer reads it (at most 258 characters at a time, a longer line in pieces).
// Checked against a reference written here: trailing line feeds, carriage returns and
// blanks go; empty and ';' lines are ignored; '[' names the section up to the last ']'
// (or the rest of the line); other lines are keys split at the first '=' (a line without
// one is a name with an empty value), taken only within a named section; every result is
// terminated within its 260 bytes; nothing is read past the line's terminator.
// Input: the file's bytes.
#include <cstring>
#include <memory>
#include <string>

#include "fuzz_support.h"
#include "installer/ini_lines.h"

using installer::IniKey;
using installer::IniLine;
using installer::IniState;

namespace {

struct Expected {
    IniLine kind = IniLine::Ignored;
    std::string line, name, value;
};

Expected Reference(std::string line, std::string& section) {
    Expected e;
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || line.back() == ' '))
        line.pop_back();
    e.line = line;
    const size_t most = installer::kIniTextSize - 1;
    if (line.empty() || line[0] == ';') {
        e.kind = IniLine::Ignored;
    } else if (line[0] == '[') {
        const std::string rest = line.substr(1);
        const size_t close = rest.rfind(']');
        section = rest.substr(0, close).substr(0, most);
        e.kind = IniLine::Section;
    } else if (section.empty()) {
        e.kind = IniLine::OutsideSection;
    } else {
        const size_t equals = line.find('=');
        e.name = line.substr(0, equals).substr(0, most);
        e.value = equals == std::string::npos ? "" : line.substr(equals + 1).substr(0, most);
        e.kind = IniLine::Key;
    }
    return e;
}

bool Terminated(const char* text) {
    return memchr(text, '\0', installer::kIniTextSize) != nullptr;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string file(reinterpret_cast<const char*>(data), size);
    IniState state;
    std::string section;
    size_t at = 0;
    int number = 0;
    while (at < file.size()) {
        // What one fgets into the installer's buffer gives: up to a line feed or full.
        size_t length = 0;
        while (at + length < file.size() && length < installer::kIniReadSize - 1)
            if (file[at + length++] == '\n')
                break;
        const std::string read = file.substr(at, length);
        at += length;
        ++number;
        const std::string line = UpToNul(read); // the reader sees text up to a NUL
        std::unique_ptr<char[]> buffer(new char[line.size() + 1]);
        memcpy(buffer.get(), line.c_str(), line.size() + 1);

        IniKey key;
        memset(&key, 0x5A, sizeof key);
        const IniLine kind = installer::ReadIniLine(buffer.get(), state, key);
        const Expected e = Reference(line, section);
        FUZZ_CHECK(kind == e.kind, "line %d %s: kind %d, expected %d", number, Shown(line).c_str(),
                   int(kind), int(e.kind));
        FUZZ_CHECK(buffer.get() == e.line, "line %d %s is left as %s, expected %s", number,
                   Shown(line).c_str(), Shown(buffer.get()).c_str(), Shown(e.line).c_str());
        FUZZ_CHECK(
            Terminated(state.section) && state.section == section,
            "line %d %s: section %s, expected %s", number, Shown(line).c_str(),
            Shown(std::string(state.section, strnlen(state.section, sizeof state.section))).c_str(),
            Shown(section).c_str());
        if (kind != IniLine::Key)
            continue;
        FUZZ_CHECK(Terminated(key.name) && Terminated(key.value), "line %d: key not terminated",
                   number);
        FUZZ_CHECK(key.name == e.name && key.value == e.value,
                   "line %d %s: key %s = %s, expected %s = %s", number, Shown(line).c_str(),
                   Shown(key.name).c_str(), Shown(key.value).c_str(), Shown(e.name).c_str(),
                   Shown(e.value).c_str());
    }
    return 0;
}
