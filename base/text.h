// Bounded text helpers: every copy terminates, nothing writes past its buffer.
#pragma once
#include <cstdarg>
#include <cstddef>

namespace base {

// Copies at most size - 1 characters of src and always terminates dst (when size > 0).
// Returns the length of the copy.
size_t CopyText(char* dst, size_t size, const char* src);

// Like CopyText, but src is a field of `width` bytes that need not hold a terminator:
// the text ends at the first NUL or at the width, whichever comes first.
size_t CopyField(char* dst, size_t size, const char* field, size_t width);

// snprintf into a fixed buffer; the result is always terminated and cut if too long.
size_t FormatText(char* dst, size_t size, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
size_t FormatTextV(char* dst, size_t size, const char* format, va_list args);

// Case is folded for A to Z only: the text is single-byte text of the system code page.
char FoldCase(char c);
bool EqualsNoCase(const char* a, const char* b);
bool StartsWithNoCase(const char* text, const char* prefix, size_t prefixLength);

} // namespace base
