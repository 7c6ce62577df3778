// The settings store's numbers as text: the board's signed decimal reading and the
// installer's unsigned reading with automatic base, on any text a value can hold.
// Checked against references written here: leading blanks, an optional sign and the
// leading digits make the number, anything else ends it; the board's reading stops at the
// ends of int, the installer's gives the largest value beyond its range and the two's
// complement of a negative number; a number written as "%i" reads back the same through
// the board's reading and as the same 32 bits through the installer's (a window handle);
// "%lu", "%#lx" and "%#lo" read back through the installer's.
// Input: a number, then the text.
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "fuzz_support.h"
#include "settings/number_text.h"

namespace {

bool Blank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int Digit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'Z')
        return c - 'A' + 10;
    return 99;
}

// Skips blanks and a sign; true for a minus.
bool Start(const char*& p) {
    while (Blank(*p))
        ++p;
    const bool minus = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    return minus;
}

int ReferenceNumber(const char* text) {
    const char* p = text;
    const bool minus = Start(p);
    long long value = 0;
    for (; Digit(*p) < 10; ++p)
        if (value <= (long long)INT_MAX + 1)
            value = value * 10 + Digit(*p);
    if (minus)
        value = -value;
    return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : int(value);
}

unsigned long ReferenceUnsigned(const char* text) {
    const char* p = text;
    const bool minus = Start(p);
    int base = 10;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && Digit(p[2]) < 16) {
        base = 16;
        p += 2;
    } else if (p[0] == '0') {
        base = 8;
    }
    unsigned long value = 0;
    bool over = false;
    for (; Digit(*p) < base; ++p) {
        const unsigned long d = (unsigned long)Digit(*p);
        if (value > (ULONG_MAX - d) / (unsigned long)base)
            over = true;
        else
            value = value * (unsigned long)base + d;
    }
    if (over)
        return ULONG_MAX;
    return minus ? 0ul - value : value;
}

// The text alone on the heap, so the readings cannot look past its terminator.
std::unique_ptr<char[]> Alone(const std::string& text) {
    std::unique_ptr<char[]> copy(new char[text.size() + 1]);
    memcpy(copy.get(), text.c_str(), text.size() + 1);
    return copy;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const uint32_t word = in.Word();
    unsigned long wide = word;
    if (in.Flag()) // the upper half too, where unsigned long has one
        wide = wide << 16 << 16 | in.Word();
    // What a value read through the store's 128-byte buffer can hold.
    const std::string text = UpToNul(in.Rest()).substr(0, 127);

    std::unique_ptr<char[]> alone = Alone(text);
    const int number = settings::NumberFromText(alone.get());
    FUZZ_CHECK(number == ReferenceNumber(text.c_str()), "NumberFromText(%s) is %d, expected %d",
               Shown(text).c_str(), number, ReferenceNumber(text.c_str()));
    const unsigned long unsignedNumber = settings::UnsignedFromText(alone.get());
    FUZZ_CHECK(unsignedNumber == ReferenceUnsigned(text.c_str()),
               "UnsignedFromText(%s) is %lu, expected %lu", Shown(text).c_str(), unsignedNumber,
               ReferenceUnsigned(text.c_str()));

    // Written as the board writes numbers, read by both programs.
    const int n = int(word);
    char written[32];
    snprintf(written, sizeof written, "%i", n);
    FUZZ_CHECK(settings::NumberFromText(written) == n, "%s reads back as %d", written,
               settings::NumberFromText(written));
    FUZZ_CHECK(uint32_t(settings::UnsignedFromText(written)) == word,
               "%s reads back as %lu through the installer's reading", written,
               settings::UnsignedFromText(written));
    for (const char* format : {"%lu", "%#lx", "%#lo"}) {
        snprintf(written, sizeof written, format, wide);
        FUZZ_CHECK(settings::UnsignedFromText(written) == wide, "%s reads back as %lu, not %lu",
                   written, settings::UnsignedFromText(written), wide);
    }
    return 0;
}
