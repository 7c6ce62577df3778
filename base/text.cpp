#include "base/text.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace base {

size_t CopyText(char* dst, size_t size, const char* src) {
    if (size == 0)
        return 0;
    size_t n = 0;
    if (src)
        while (n + 1 < size && src[n] != '\0') {
            dst[n] = src[n];
            ++n;
        }
    dst[n] = '\0';
    return n;
}

size_t CopyField(char* dst, size_t size, const char* field, size_t width) {
    if (size == 0)
        return 0;
    size_t n = 0;
    while (n + 1 < size && n < width && field[n] != '\0') {
        dst[n] = field[n];
        ++n;
    }
    dst[n] = '\0';
    return n;
}

size_t FormatTextV(char* dst, size_t size, const char* format, va_list args) {
    if (size == 0)
        return 0;
    int n = vsnprintf(dst, size, format, args);
    dst[size - 1] = '\0';
    if (n < 0) {
        dst[0] = '\0';
        return 0;
    }
    return strlen(dst);
}

size_t FormatText(char* dst, size_t size, const char* format, ...) {
    va_list args;
    va_start(args, format);
    size_t n = FormatTextV(dst, size, format, args);
    va_end(args);
    return n;
}

char FoldCase(char c) {
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

bool EqualsNoCase(const char* a, const char* b) {
    for (;; ++a, ++b) {
        if (FoldCase(*a) != FoldCase(*b))
            return false;
        if (*a == '\0')
            return true;
    }
}

bool StartsWithNoCase(const char* text, const char* prefix, size_t prefixLength) {
    for (size_t i = 0; i < prefixLength; ++i) {
        if (prefix[i] == '\0')
            return true;
        if (FoldCase(text[i]) != FoldCase(prefix[i]))
            return false;
    }
    return true;
}

} // namespace base
