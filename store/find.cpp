#include "store/find.h"

#include <cstring>

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#include <cpuid.h>
#include <emmintrin.h>
#define FIND_WIDE 1
#endif

#include "base/text.h"
#include "store/project_list.h"
#include "store/project_names.h"

void PreparePattern(FindPattern& pattern, const char* text, bool matchCase) {
    for (int b = 0; b < 256; ++b)
        pattern.fold[b] = (unsigned char)b;
    if (!matchCase)
        for (int b = 'a'; b <= 'z'; ++b)
            pattern.fold[b] = (unsigned char)(b - 'a' + 'A');

    size_t length = 0;
    while (length + 1 < sizeof pattern.text && text[length] != '\0') {
        pattern.text[length] = pattern.fold[(unsigned char)text[length]];
        ++length;
    }
    pattern.text[length] = '\0';
    pattern.length = length;
    pattern.loose = matchCase ? 0 : 0x20;

    // Horspool's table: after a window whose last byte is b, the next window that could
    // match lies skip[b] further on. Bytes that fold alike share their entry.
    const unsigned char distance = (unsigned char)(length ? length : 1);
    memset(pattern.skip, distance, sizeof pattern.skip);
    for (size_t i = 0; i + 1 < length; ++i) {
        const unsigned char shift = (unsigned char)(length - 1 - i);
        for (int b = 0; b < 256; ++b)
            if (pattern.fold[b] == pattern.text[i])
                pattern.skip[b] = shift;
    }
}

namespace {

bool MatchesAt(const unsigned char* s, const FindPattern& pattern) {
    for (size_t j = 0; j < pattern.length; ++j)
        if (pattern.fold[s[j]] != pattern.text[j])
            return false;
    return true;
}

// Horspool's search of s[from, end of the field), the field's end found as it goes.
bool ContainsFrom(const unsigned char* s, size_t from, size_t width, const FindPattern& pattern) {
    const size_t m = pattern.length;
    const void* nul = memchr(s + from, '\0', width - from);
    const size_t n = nul ? size_t(static_cast<const unsigned char*>(nul) - s) : width;
    const unsigned char last = pattern.text[m - 1];
    for (size_t at = from; at + m <= n; at += pattern.skip[s[at + m - 1]])
        if (pattern.fold[s[at + m - 1]] == last && MatchesAt(s + at, pattern))
            return true;
    return false;
}

#ifdef FIND_WIDE

// Whether the processor compares sixteen bytes at once (every 64-bit one does). Asked
// once as the program starts: a guarded local static would pull in the C++ runtime's
// exception support.
#ifdef __x86_64__
const bool kWideCompare = true;
#else
bool AskProcessor() {
    unsigned a = 0, b = 0, c = 0, d = 0;
    return __get_cpuid(1, &a, &b, &c, &d) && (d & bit_SSE2);
}
const bool kWideCompare = AskProcessor();
#endif

// What a wide search compares with: each byte loosened (c | loose), and the loosened
// first and last bytes of the pattern, sixteen times over.
struct WideBytes {
    __m128i zero, loose, first, last;
};

// The sixteen windows starting at s[0, 16): a window can only match where its first and
// its last byte match the pattern's loosely; only those are compared exactly. The first
// NUL ends the field. 1 on a match, 0 when the field ended without one, -1 when neither.
__attribute__((target("sse2"))) int LookAtSixteen(const unsigned char* s,
                                                  const FindPattern& pattern, const WideBytes& w) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + pattern.length - 1));
    const unsigned ends = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(a, w.zero)));
    unsigned starts = unsigned(
        _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(_mm_or_si128(a, w.loose), w.first),
                                        _mm_cmpeq_epi8(_mm_or_si128(b, w.loose), w.last))));
    if (ends)
        starts &= (ends & (0u - ends)) - 1; // only windows that start before the NUL
    for (; starts; starts &= starts - 1)
        if (MatchesAt(s + unsigned(__builtin_ctz(starts)), pattern))
            return 1;
    return ends ? 0 : -1;
}

// Whether the 64 windows starting at s[0, 64) hold neither a NUL nor a possible match:
// most of a field is passed over this way, with one test per 64 bytes.
__attribute__((target("sse2"))) bool NothingInSixtyFour(const unsigned char* s, size_t m,
                                                        const WideBytes& w) {
    __m128i lowest = _mm_set1_epi8(char(0xFF));
    __m128i starts = w.zero;
    for (int k = 0; k < 64; k += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + k));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + k + m - 1));
        lowest = _mm_min_epu8(lowest, a);
        starts =
            _mm_or_si128(starts, _mm_and_si128(_mm_cmpeq_epi8(_mm_or_si128(a, w.loose), w.first),
                                               _mm_cmpeq_epi8(_mm_or_si128(b, w.loose), w.last)));
    }
    return _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(lowest, w.zero), starts)) == 0;
}

// The wide search: quiet stretches 64 bytes at a time, the rest sixteen at a time.
// Returns 1 on a match, 0 when the field ended without one, and -1 with *from set when
// the rest is left to the plain search (near the field's width).
// Called from window procedures, whose stack 32-bit Windows aligns to four bytes only.
__attribute__((target("sse2"), force_align_arg_pointer)) int
ContainsWide(const unsigned char* s, size_t width, const FindPattern& pattern, size_t* from) {
    const size_t m = pattern.length;
    WideBytes w;
    w.zero = _mm_setzero_si128();
    w.loose = _mm_set1_epi8(char(pattern.loose));
    w.first = _mm_set1_epi8(char(pattern.text[0] | pattern.loose));
    w.last = _mm_set1_epi8(char(pattern.text[m - 1] | pattern.loose));
    size_t i = 0;
    for (;;) {
        while (i + m - 1 + 64 <= width && NothingInSixtyFour(s + i, m, w))
            i += 64;
        // Something in the next 64 bytes, or the field's width near: sixteen at a time.
        const size_t stop = i + 64;
        for (; i < stop; i += 16) {
            if (i + m - 1 + 16 > width) {
                *from = i;
                return -1;
            }
            const int found = LookAtSixteen(s + i, pattern, w);
            if (found >= 0)
                return found;
        }
    }
}

#endif

} // namespace

bool FieldContains(const char* field, size_t width, const FindPattern& pattern) {
    if (pattern.length == 0 || pattern.length > width)
        return false;
    const unsigned char* s = reinterpret_cast<const unsigned char*>(field);
    size_t from = 0;
#ifdef FIND_WIDE
    if (kWideCompare) {
        const int found = ContainsWide(s, width, pattern, &from);
        if (found >= 0)
            return found == 1;
    }
#endif
    return ContainsFrom(s, from, width, pattern);
}

bool SlotMatches(const ProjectImage& image, int slot, const FindPattern& pattern,
                 FindTarget target) {
    if (target != FindTarget::Buttons && FieldContains(image.texts[slot], kTextSize, pattern))
        return true;
    return target != FindTarget::Texts && FieldContains(image.names[slot], kNameSize, pattern);
}

int NextMatchingSlot(const ProjectImage& image, int fromSlot, const FindPattern& pattern,
                     FindTarget target) {
    for (int slot = fromSlot < 0 ? 0 : fromSlot; slot < kSlotCount; ++slot)
        if (SlotMatches(image, slot, pattern, target))
            return slot;
    return -1;
}

namespace {

constexpr size_t kPathLimit = 260; // the longest path the system's file names allow

bool FindInCurrentProject(FindState& state, bool next, const FindSources& sources,
                          const FindPattern& pattern, FindHit& hit) {
    const int start = next && state.last == LastSearch::CurrentProject ? state.slot + 1 : 0;
    const int slot = NextMatchingSlot(*sources.boardImage, start, pattern, state.target);
    if (slot < 0)
        return false;
    state.last = LastSearch::CurrentProject;
    state.slot = slot;
    hit.projectName = FileNamePart(sources.currentPath);
    hit.image = sources.boardImage;
    hit.slot = slot;
    return true;
}

// Reads project index into the working image; a project that cannot be had is skipped.
bool EnterProject(const FindSources& sources, int project) {
    const char* name = sources.projects->Name(project);
    char path[kPathLimit];
    const size_t length = strlen(sources.programFolder) + 1 + strlen(name);
    if (name[0] == '\0' || length + 1 > sizeof path)
        return false;
    base::FormatText(path, sizeof path, "%s\\%s", sources.programFolder, name);
    if (sources.beforeFile)
        sources.beforeFile(sources.context);
    if (sources.readImage(path, *sources.work))
        return true;
    // What a failed read left is no project. Cleared here rather than before every read:
    // clearing a whole image per project is a noticeable part of a search's time.
    ClearImage(*sources.work);
    return false;
}

bool FindInAllProjects(FindState& state, bool next, const FindSources& sources,
                       const FindPattern& pattern, FindHit& hit) {
    int project = 0;
    int slot = 0;
    bool entering = true;
    if (next && state.last == LastSearch::AllProjects) {
        // The working image still holds the project of the last hit.
        project = state.project;
        slot = state.slot + 1;
        entering = false;
    } else {
        state.projectCount = sources.projects->Count();
    }
    for (;; ++project, slot = 0, entering = true) {
        if (project >= state.projectCount)
            return false;
        if (entering && !EnterProject(sources, project))
            continue;
        const int found = NextMatchingSlot(*sources.work, slot, pattern, state.target);
        if (found < 0)
            continue;
        state.last = LastSearch::AllProjects;
        state.project = project;
        state.slot = found;
        hit.projectName = sources.projects->Name(project);
        hit.image = sources.work;
        hit.slot = found;
        return true;
    }
}

} // namespace

bool FindStep(FindState& state, bool next, const FindSources& sources, FindHit& hit) {
    FindPattern pattern;
    PreparePattern(pattern, state.text, state.matchCase);
    const bool found = state.scope == FindScope::CurrentProject
                           ? FindInCurrentProject(state, next, sources, pattern, hit)
                           : FindInAllProjects(state, next, sources, pattern, hit);
    if (!found)
        state.last = LastSearch::None;
    return found;
}
