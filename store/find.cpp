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

// Sixteen window starts at a time: a window can only match where its first and its last
// byte match the pattern's loosely; only those are compared exactly. The first NUL ends
// the field. Returns 1 on a match, 0 when the field ended without one, and -1 with
// *from set when the rest is left to the plain search (near the field's width).
__attribute__((target("sse2"))) int ContainsWide(const unsigned char* s, size_t width,
                                                 const FindPattern& pattern, size_t* from) {
    const size_t m = pattern.length;
    const __m128i zero = _mm_setzero_si128();
    const __m128i loose = _mm_set1_epi8(char(pattern.loose));
    const __m128i first = _mm_set1_epi8(char(pattern.text[0] | pattern.loose));
    const __m128i last = _mm_set1_epi8(char(pattern.text[m - 1] | pattern.loose));
    size_t i = 0;
    for (; i + m - 1 + 16 <= width; i += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i + m - 1));
        const unsigned ends = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(a, zero)));
        unsigned starts = unsigned(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(_mm_or_si128(a, loose), first),
                                            _mm_cmpeq_epi8(_mm_or_si128(b, loose), last))));
        if (ends)
            starts &= (ends & (0u - ends)) - 1; // only windows that start before the NUL
        for (; starts; starts &= starts - 1)
            if (MatchesAt(s + i + unsigned(__builtin_ctz(starts)), pattern))
                return 1;
        if (ends)
            return 0;
    }
    *from = i;
    return -1;
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
    ClearImage(*sources.work);
    const char* name = sources.projects->Name(project);
    char path[kPathLimit];
    const size_t length = strlen(sources.programFolder) + 1 + strlen(name);
    if (name[0] == '\0' || length + 1 > sizeof path)
        return false;
    base::FormatText(path, sizeof path, "%s\\%s", sources.programFolder, name);
    if (sources.beforeFile)
        sources.beforeFile(sources.context);
    return sources.readImage(path, *sources.work);
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
