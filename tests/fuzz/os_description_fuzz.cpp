// The About box's description of the operating system, for any numbers GetVersionEx may
// report, either word size, any processor text and any buffer size.
// Checked against the table written here in its own form: the name is "Windows " and the
// known name, or one of the four Unknown forms with the numbers, never empty; the
// description is "<name>, <32bit|64bit>, CPU: <processor>" cut to 127 characters; every
// result is cut to the buffer and terminated, and nothing is written past it (a buffer of
// no bytes is left alone).
// Input: three numbers (small ones from the table, or any), the word size, the buffer
// size, then the processor and the program version texts.
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "dialogs/os_description.h"
#include "fuzz_support.h"

namespace {

unsigned long Number(FuzzInput& in) {
    static const unsigned long kSmall[] = {0, 1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 51, 90, 255};
    const uint8_t b = in.Byte();
    if (b < 192)
        return kSmall[b % (sizeof kSmall / sizeof kSmall[0])];
    return in.Word(); // GetVersionEx reports 32-bit numbers
}

std::string Format(const char* format, unsigned long a, unsigned long b, unsigned long c) {
    char text[160];
    snprintf(text, sizeof text, format, a, b, c);
    return text;
}

std::string ReferenceName(const OsVersion& v) {
    static const std::map<std::string, std::string> kKnown = {{"1.4.0", "95"},
                                                              {"1.4.10", "98"},
                                                              {"1.4.90", "ME"},
                                                              {"2.4.0", "NT 4.0"},
                                                              {"2.5.0", "2000"},
                                                              {"2.5.1", "XP"},
                                                              {"2.5.2", "Server 2003 family"},
                                                              {"2.6.0", "Vista"},
                                                              {"2.6.1", "7 or 2008 R2"},
                                                              {"2.6.2", "8"},
                                                              {"2.6.3", "8.1"}};
    if (v.platform == 0 && (v.minor == 1 || v.minor == 11))
        return v.minor == 1 ? "Windows 3.1" : "Windows 3.11";
    if (v.platform == 2 && v.major == 3)
        return Format("Windows NT 3.%lu", v.minor, 0, 0);
    const auto known = kKnown.find(Format("%lu.%lu.%lu", v.platform, v.major, v.minor));
    if (known != kKnown.end())
        return "Windows " + known->second;
    const unsigned long row = v.platform < 3 ? v.platform + 1 : 4;
    return Format("Windows Unknown(%lu) PF%lu ", row, v.platform, 0) +
           Format("%lu.%lu", v.major, v.minor, 0);
}

// Runs a writer into a buffer of exactly size bytes (a sentinel byte for size 0) and
// checks that the result is expected cut to the buffer.
template <typename Write>
void CheckCut(const char* what, const std::string& expected, size_t size, Write write) {
    std::unique_ptr<char[]> out(new char[size ? size : 1]);
    memset(out.get(), 0x5A, size ? size : 1);
    write(out.get(), size);
    if (size == 0) {
        FUZZ_CHECK(out[0] == 0x5A, "%s wrote into a buffer of no bytes", what);
        return;
    }
    FUZZ_CHECK(memchr(out.get(), '\0', size), "%s into %zu bytes is not terminated", what, size);
    const std::string cut = expected.substr(0, size - 1);
    FUZZ_CHECK(out.get() == cut, "%s into %zu bytes: expected %s, got %s", what, size,
               Shown(cut).c_str(), Shown(out.get()).c_str());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    OsVersion version;
    version.platform = Number(in);
    version.major = Number(in);
    version.minor = Number(in);
    const bool is64bit = in.Flag();
    const size_t outSize = in.Byte() % 200;
    const bool haveCpu = in.Byte() >= 32;
    const std::string cpu = UpToNul(in.Piece(60));
    const std::string programVersion = UpToNul(in.Piece(40));

    const std::string name = ReferenceName(version);
    FUZZ_CHECK(name.size() > 8, "the reference name %s is too short", Shown(name).c_str());
    CheckCut("DescribeWindowsName", name, outSize,
             [&](char* out, size_t n) { DescribeWindowsName(version, out, n); });
    // The buffer the program keeps: the name in full, never empty.
    char full[kOsDescriptionSize];
    DescribeWindowsName(version, full, sizeof full);
    FUZZ_CHECK(full[0] != '\0' && full == name, "the name is %s, expected %s", Shown(full).c_str(),
               Shown(name).c_str());

    const std::string processor = !is64bit ? "x86" : haveCpu ? cpu : "AMD64";
    const std::string description =
        (name + ", " + (is64bit ? "64bit" : "32bit") + ", CPU: " + processor)
            .substr(0, kOsDescriptionSize - 1);
    const char* cpuText = haveCpu ? cpu.c_str() : nullptr;
    CheckCut("DescribeWindows", description, outSize,
             [&](char* out, size_t n) { DescribeWindows(version, is64bit, cpuText, out, n); });
    char described[kOsDescriptionSize];
    DescribeWindows(version, is64bit, cpuText, described, sizeof described);
    FUZZ_CHECK(described[0] != '\0' && strlen(described) <= kOsDescriptionSize - 1,
               "the description %s is empty or too long", Shown(described).c_str());

    const std::string lines =
        "Version: " + programVersion + " - Windows Type: " +
        Format("%lu.%lu.%lu", version.platform, version.major, version.minor) + "\n" + description;
    CheckCut("FormatVersionLines", lines, outSize, [&](char* out, size_t n) {
        FormatVersionLines(programVersion.c_str(), version, description.c_str(), out, n);
    });
    return 0;
}
