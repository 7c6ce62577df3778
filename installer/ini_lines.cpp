#include "installer/ini_lines.h"

#include <cstring>

#include "base/text.h"

namespace installer {

namespace {

void TrimLineEnd(char* line) {
    size_t n = strlen(line);
    while (n > 0 && (line[n - 1] == '\n' || line[n - 1] == '\r' || line[n - 1] == ' '))
        line[--n] = '\0';
}

} // namespace

IniLine ReadIniLine(char* line, IniState& state, IniKey& key) {
    TrimLineEnd(line);
    if (line[0] == '\0' || line[0] == ';')
        return IniLine::Ignored;
    if (line[0] == '[') {
        const char* name = line + 1;
        const char* close = strrchr(name, ']');
        size_t length = close ? (size_t)(close - name) : strlen(name);
        if (length >= sizeof state.section)
            length = sizeof state.section - 1;
        base::CopyText(state.section, length + 1, name);
        return IniLine::Section;
    }
    if (state.section[0] == '\0')
        return IniLine::OutsideSection;
    const char* equals = strchr(line, '=');
    if (equals) {
        size_t length = (size_t)(equals - line);
        if (length >= sizeof key.name)
            length = sizeof key.name - 1;
        base::CopyText(key.name, length + 1, line);
        base::CopyText(key.value, sizeof key.value, equals + 1);
    } else {
        base::CopyText(key.name, sizeof key.name, line);
        key.value[0] = '\0';
    }
    return IniLine::Key;
}

} // namespace installer
