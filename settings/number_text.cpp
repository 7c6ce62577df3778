#include "settings/number_text.h"

#include <climits>
#include <cstdlib>

namespace settings {

int NumberFromText(const char* text) {
    const long n = strtol(text, nullptr, 10);
    if (n > INT_MAX)
        return INT_MAX;
    if (n < INT_MIN)
        return INT_MIN;
    return (int)n;
}

unsigned long UnsignedFromText(const char* text) {
    return strtoul(text, nullptr, 0);
}

} // namespace settings
