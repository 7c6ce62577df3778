#include "store/temporary_name.h"

#include <cstring>

#include "base/text.h"

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
