// The names a start may delete as leftovers of killed saves: only "vqp", one to four
// hexadecimal digits and ".tmp", in any case, so that a user's own file is never taken
// for one. Checked against a reference written here, with the name alone in a block of
// its own length so that a read past its terminator is reported.
// Input: the name (up to its first NUL).
#include <cstring>
#include <memory>
#include <string>

#include "fuzz_support.h"
#include "store/temporary_name.h"

namespace {

bool Hex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return s;
}

bool ReferenceOwn(const std::string& name) {
    const std::string lower = Lower(name);
    if (lower.size() < 3 + 1 + 4 || lower.size() > 3 + 4 + 4)
        return false;
    if (lower.compare(0, 3, "vqp") != 0 || lower.compare(lower.size() - 4, 4, ".tmp") != 0)
        return false;
    for (size_t i = 3; i < lower.size() - 4; ++i)
        if (!Hex(lower[i]))
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string name =
        UpToNul(std::string(reinterpret_cast<const char*>(data), size)).substr(0, 300);
    std::unique_ptr<char[]> exact(new char[name.size() + 1]);
    memcpy(exact.get(), name.c_str(), name.size() + 1);
    const bool own = IsOwnTemporaryName(exact.get());
    FUZZ_CHECK(own == ReferenceOwn(name), "IsOwnTemporaryName(%s) is %d", Shown(name).c_str(),
               int(own));
    // Never a project: those end in ".vqp".
    FUZZ_CHECK(!own || Lower(name).find(".vqp") == std::string::npos,
               "the project-like name %s is taken for a leftover", Shown(name).c_str());
    return 0;
}
