#include "store/find.h"

#include <cstring>

#include "store/project_list.h"
#include "store/project_names.h"
#include "ui/text.h"

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

bool FieldContains(const char* field, size_t width, const FindPattern& pattern) {
    const size_t m = pattern.length;
    if (m == 0)
        return false;
    const void* end = memchr(field, '\0', width);
    const size_t n = end ? size_t(static_cast<const char*>(end) - field) : width;
    if (n < m)
        return false;
    const unsigned char* s = reinterpret_cast<const unsigned char*>(field);
    const unsigned char* fold = pattern.fold;
    const unsigned char* text = pattern.text;
    const unsigned char last = text[m - 1];
    for (size_t at = 0; at + m <= n; at += pattern.skip[s[at + m - 1]]) {
        if (fold[s[at + m - 1]] != last)
            continue;
        size_t j = m - 1;
        while (j > 0 && fold[s[at + j - 1]] == text[j - 1])
            --j;
        if (j == 0)
            return true;
    }
    return false;
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
    ui::FormatText(path, sizeof path, "%s\\%s", sources.programFolder, name);
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
