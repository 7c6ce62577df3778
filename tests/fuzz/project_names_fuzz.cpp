// Project names: cleaning what the user types, device names (alone and as the last part of
// a path), the path built from a typed name in an arbitrary program folder, and the name
// suggested for a path.
// Checked against plain reference versions written here: the cleaned name and its length,
// the refusal of a name that does not fit; a cleaned name holds no dropped character and
// no dot, and cleaning twice settles (once for names without dropped characters); every
// name that Windows would open as a device is one (the part before an extension, trailing
// blanks dropped; superscript 1 to 3 number devices too), and a path whose last part is
// one names a device, so no accepted path names a device; a refused path leaves the buffer
// byte for byte; an accepted one is folder \ name .vqp, at most 255 characters, within
// the buffer; the suggestion for an accepted path is its name, and it leads back to the
// same path.
// Input: sizes, then the folder, the typed name and a path, each length-prefixed.
#include <cstring>
#include <memory>
#include <string>

#include "fuzz_support.h"
#include "store/project_names.h"

namespace {

const std::string kDropped = "\n\r\"#%'()*+,/:;<=>?[\\]^`{|}~";

bool Dropped(char c) {
    return c != '\0' && kDropped.find(c) != std::string::npos;
}

// The cleaning, written the plainest way: cut at the first dot and at 260 characters,
// a blank goes when a blank or the end follows it as typed, dropped characters go.
std::string ReferenceClean(const std::string& typed) {
    std::string t = UpToNul(typed);
    t = t.substr(0, t.find('.')).substr(0, 260);
    std::string out;
    for (size_t i = 0; i < t.size(); ++i) {
        if (t[i] == ' ' && (i + 1 == t.size() || t[i + 1] == ' '))
            continue;
        if (!Dropped(t[i]))
            out += t[i];
    }
    return out;
}

std::string Upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return s;
}

// How Windows reads a file name: a device when its part before any extension, with
// trailing blanks dropped, is a device's name.
bool OpensDevice(const std::string& name) {
    std::string stem = Upper(name.substr(0, name.find('.')));
    while (!stem.empty() && stem.back() == ' ')
        stem.pop_back();
    if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL")
        return true;
    const unsigned char digit = stem.size() == 4 ? static_cast<unsigned char>(stem[3]) : 0;
    return stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) &&
           ((digit >= '1' && digit <= '9') || digit == 0xB9 || digit == 0xB2 || digit == 0xB3);
}

// The last part of a path, as the system finds the file name in it.
std::string LastPart(const std::string& path) {
    const size_t cut = path.find_last_of("\\/:");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string Clean(const std::string& typed, size_t size = 300) {
    std::unique_ptr<char[]> out(new char[size]);
    const size_t n = CleanProjectName(typed.c_str(), out.get(), size);
    return std::string(out.get(), n);
}

void CheckCleaning(const std::string& typed, size_t size) {
    const std::string expected = ReferenceClean(typed);
    const bool fits = expected.size() < size;
    std::unique_ptr<char[]> out(new char[size + 1]);
    memset(out.get(), 0x5A, size + 1);
    const size_t n = CleanProjectName(typed.c_str(), out.get(), size);
    FUZZ_CHECK(out[size] == 0x5A, "cleaning %s wrote past %zu bytes", Shown(typed).c_str(), size);
    if (size == 0) {
        FUZZ_CHECK(n == 0, "cleaning into no room gave %zu", n);
        return;
    }
    FUZZ_CHECK(memchr(out.get(), '\0', size) && strlen(out.get()) == n,
               "cleaning %s: length %zu does not match the terminated text", Shown(typed).c_str(),
               n);
    const std::string got(out.get(), n);
    FUZZ_CHECK(got == (fits ? expected : ""), "cleaning %s into %zu bytes: expected %s, got %s",
               Shown(typed).c_str(), size, Shown(fits ? expected : "").c_str(), Shown(got).c_str());
    for (char c : got)
        FUZZ_CHECK(!Dropped(c) && c != '.', "cleaned %s still holds %s", Shown(got).c_str(),
                   Shown(std::string(1, c)).c_str());

    // Cleaning again settles: at once when nothing was dropped, else at the second time.
    const std::string twice = Clean(got);
    const std::string thrice = Clean(twice);
    FUZZ_CHECK(thrice == twice, "cleaning %s does not settle: %s then %s", Shown(got).c_str(),
               Shown(twice).c_str(), Shown(thrice).c_str());
    std::string looked = UpToNul(typed);
    looked = looked.substr(0, looked.find('.')).substr(0, 260);
    bool anyDropped = false;
    for (char c : looked)
        anyDropped = anyDropped || Dropped(c);
    FUZZ_CHECK(anyDropped || twice == got, "cleaning %s twice: %s then %s", Shown(typed).c_str(),
               Shown(got).c_str(), Shown(twice).c_str());
}

void CheckDevice(const std::string& name) {
    const std::string text = UpToNul(name);
    FUZZ_CHECK(IsDeviceName(text.c_str()) == OpensDevice(text), "IsDeviceName(%s) is %d",
               Shown(text).c_str(), int(IsDeviceName(text.c_str())));
}

// A path is judged by its last part, whatever comes before it.
void CheckPathDevice(const std::string& pathIn) {
    const std::string path = UpToNul(pathIn);
    FUZZ_CHECK(PathNamesDevice(path.c_str()) == OpensDevice(LastPart(path)),
               "PathNamesDevice(%s) is %d", Shown(path).c_str(),
               int(PathNamesDevice(path.c_str())));
}

// Returns the accepted path, or "" when refused.
std::string CheckPath(const std::string& folderIn, const std::string& typedIn, size_t size) {
    const std::string folder = UpToNul(folderIn);
    const std::string typed = UpToNul(typedIn).substr(0, size - 1);
    std::unique_ptr<char[]> buffer(new char[size]);
    memset(buffer.get(), 0x5A, size);
    memcpy(buffer.get(), typed.c_str(), typed.size() + 1);
    std::unique_ptr<char[]> before(new char[size]);
    memcpy(before.get(), buffer.get(), size);

    const int made = TypedNameToProjectPath(folder.c_str(), buffer.get(), size);

    const std::string name = ReferenceClean(typed);
    const std::string joined = folder + "\\" + name + ".vqp";
    const bool accept =
        !name.empty() && !OpensDevice(name) && joined.size() <= 255 && joined.size() < size;
    FUZZ_CHECK(made == int(accept), "typed %s in folder %s (buffer %zu): made %d, expected %d",
               Shown(typed).c_str(), Shown(folder).c_str(), size, made, int(accept));
    if (!made) {
        FUZZ_CHECK(memcmp(buffer.get(), before.get(), size) == 0,
                   "a refused name changed the buffer");
        return "";
    }
    FUZZ_CHECK(memchr(buffer.get(), '\0', size) && buffer.get() == joined,
               "typed %s in folder %s: expected %s, got %s", Shown(typed).c_str(),
               Shown(folder).c_str(), Shown(joined).c_str(),
               Shown(std::string(buffer.get(), strnlen(buffer.get(), size))).c_str());
    return joined;
}

void CheckSuggestion(const std::string& pathIn, size_t size) {
    const std::string path = UpToNul(pathIn);
    const size_t slash = path.rfind('\\');
    std::string expected = (slash == std::string::npos ? path : path.substr(slash + 1));
    expected = expected.substr(0, 255);
    expected = expected.substr(0, expected.find('.')).substr(0, size - 1);
    std::unique_ptr<char[]> out(new char[size]);
    SuggestedProjectName(path.c_str(), out.get(), size);
    FUZZ_CHECK(memchr(out.get(), '\0', size) && out.get() == expected,
               "suggestion for %s into %zu bytes: expected %s, got %s", Shown(path).c_str(), size,
               Shown(expected).c_str(),
               Shown(std::string(out.get(), strnlen(out.get(), size))).c_str());
}

std::string LongPiece(FuzzInput& in) {
    const size_t length = in.Half() % 400;
    std::string piece;
    while (piece.size() < length && !in.Empty())
        piece += char(in.Byte());
    return piece;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const size_t cleanSize = in.Byte() % 300;
    const uint8_t sizeChoice = in.Byte();
    const size_t bufferSize = sizeChoice < 100 ? 256 : sizeChoice < 200 ? 260 : 1 + sizeChoice % 56;
    const size_t suggestSize = 1 + in.Byte() % 300;
    const std::string folder = UpToNul(LongPiece(in));
    const std::string typed = LongPiece(in);
    const std::string path = in.Rest();

    CheckCleaning(typed, cleanSize);
    CheckDevice(typed);
    CheckDevice(Clean(typed));
    CheckSuggestion(path, suggestSize);
    CheckPathDevice(path);
    CheckPathDevice(folder + "\\" + typed);

    const std::string made = CheckPath(folder, typed, bufferSize);
    if (!made.empty()) {
        FUZZ_CHECK(!PathNamesDevice(made.c_str()), "the accepted path %s names a device",
                   Shown(made).c_str());
        // The Save As prefill for the new path is the name; taken as typed, it leads back
        // to the same file.
        const std::string name = made.substr(folder.size() + 1, made.size() - folder.size() - 5);
        char suggestion[256];
        SuggestedProjectName(made.c_str(), suggestion, sizeof suggestion);
        FUZZ_CHECK(suggestion == name, "the suggestion for %s is %s, not %s", Shown(made).c_str(),
                   Shown(suggestion).c_str(), Shown(name).c_str());
        if (Clean(name) == name)
            FUZZ_CHECK(CheckPath(folder, suggestion, bufferSize) == made,
                       "the suggestion %s does not lead back to %s", Shown(suggestion).c_str(),
                       Shown(made).c_str());
    }
    return 0;
}
