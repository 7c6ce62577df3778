// The search: the field test, the slot test with kinds 1, 2 and 3, and Find First / Find
// Next through the current project and through several project files, with Match Case
// on and off and search texts up to 127 characters (longer ones cut).
// Checked against a naive search written here: a field ends at its first NUL or at its
// width and is never read outside it (the bytes around are guarded); without Match Case
// only A to Z are folded; an empty text is found nowhere; a slot is a hit when its text
// (kinds 1, 2) or its name (kinds 1, 3) contains the text; Find First starts at the
// beginning, Find Next goes on after the last hit only when the last search had the same
// scope; unreadable projects and paths too long are skipped; every hit names the right
// project, slot and content, and a search that finds nothing forgets the last hit.
// Input: a mode byte (field, slot or steps), then what that mode takes.
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "store/find.h"
#include "store/project_list.h"

namespace {

char Fold(char c, bool matchCase) {
    return (!matchCase && c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

// The search text as the search takes it: up to its NUL, at most 127 characters.
std::string Taken(const std::string& text) {
    return UpToNul(text).substr(0, kSearchTextSize - 1);
}

bool ReferenceContains(const char* field, size_t width, const std::string& text, bool matchCase) {
    const std::string pattern = Taken(text);
    const void* nul = memchr(field, '\0', width);
    const size_t length = nul ? size_t(static_cast<const char*>(nul) - field) : width;
    if (pattern.empty())
        return false;
    for (size_t at = 0; at + pattern.size() <= length; ++at) {
        size_t j = 0;
        while (j < pattern.size() && Fold(field[at + j], matchCase) == Fold(pattern[j], matchCase))
            ++j;
        if (j == pattern.size())
            return true;
    }
    return false;
}

bool ReferenceSlot(const ProjectImage& image, int slot, const std::string& text, bool matchCase,
                   int kind) {
    return (kind != 3 && ReferenceContains(image.texts[slot], kTextSize, text, matchCase)) ||
           (kind != 2 && ReferenceContains(image.names[slot], kNameSize, text, matchCase));
}

// A search text from the input: its own bytes, or a piece of the given field with the
// case of some letters changed, so that hits are common.
std::string SearchText(FuzzInput& in, const std::string& field) {
    const uint8_t how = in.Byte();
    if (how % 2 == 0 || field.empty()) {
        std::string text = in.Piece(255);
        if (how & 4) // just longer than the search takes
            text = Tiled(text, kSearchTextSize + how % 8);
        return text;
    }
    const size_t at = in.Below(field.size());
    std::string text = field.substr(at, 1 + in.Byte() % 140);
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if ((in.Byte() & 1) && ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')))
            text[i] = char(c ^ 0x20);
    }
    return text;
}

void CheckField(FuzzInput& in) {
    const uint8_t widthChoice = in.Byte();
    const size_t width = widthChoice < 80    ? kNameSize
                         : widthChoice < 160 ? kTextSize
                                             : 1 + in.Half() % 300;
    const bool matchCase = in.Flag();
    const std::string fill = in.Piece(255);
    const std::string text = SearchText(in, Tiled(fill, width));
    // Exactly the field's bytes on the heap: a read past its width is reported.
    std::unique_ptr<char[]> field(new char[width]);
    memcpy(field.get(), Tiled(fill, width).data(), width);

    FindPattern pattern;
    PreparePattern(pattern, text.c_str(), matchCase);
    const bool found = FieldContains(field.get(), width, pattern);
    const bool expected = ReferenceContains(field.get(), width, text, matchCase);
    FUZZ_CHECK(found == expected, "%s in a field of %zu bytes %s (Match Case %d): %d, expected %d",
               Shown(Taken(text)).c_str(), width,
               Shown(std::string(field.get(), width).substr(0, 200)).c_str(), int(matchCase),
               int(found), int(expected));
}

ProjectImage& NewImage() {
    ProjectImage* image = new ProjectImage; // kept for the whole run
    ClearImage(*image);
    return *image;
}

ProjectImage& SlotImage() {
    static ProjectImage& image = NewImage();
    return image;
}

// Fills a few slots from the input; the slots filled are noted so they can be cleared.
void FillSlots(FuzzInput& in, ProjectImage& image, std::vector<int>& filled, int count) {
    for (int i = 0; i < count; ++i) {
        const int slot = in.Byte() % kSlotCount;
        const std::string name = in.Piece(40);
        const std::string text = in.Piece(255);
        const size_t textLength = in.Byte() < 32 ? kTextSize : text.size();
        memcpy(image.names[slot], Tiled(name, kNameSize).data(), kNameSize);
        memcpy(image.texts[slot], Tiled(text, textLength).data(), textLength);
        filled.push_back(slot);
    }
}

void ClearSlots(ProjectImage& image, std::vector<int>& filled) {
    for (int slot : filled) {
        memset(image.names[slot], 0, kNameSize);
        memset(image.texts[slot], 0, kTextSize);
    }
    filled.clear();
}

void CheckSlots(FuzzInput& in) {
    ProjectImage& image = SlotImage();
    std::vector<int> filled;
    FillSlots(in, image, filled, 1 + in.Byte() % 4);
    const int kind = 1 + in.Byte() % 3;
    const bool matchCase = in.Flag();
    const int anySlot = filled[0];
    const std::string text = SearchText(in, in.Flag() ? std::string(image.names[anySlot], kNameSize)
                                                      : std::string(image.texts[anySlot], 300));
    FindPattern pattern;
    PreparePattern(pattern, text.c_str(), matchCase);
    const ProjectImage* end = &image + 1;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        bool hit;
        {
            // Only this slot's two fields can be read.
            OnlyRegion name(&image, end, image.names[slot], image.names[slot] + kNameSize);
            OnlyRegion field(&image, end, image.texts[slot], image.texts[slot] + kTextSize);
            hit = SlotMatches(image, slot, pattern, FindTarget(kind));
        }
        const bool expected = ReferenceSlot(image, slot, text, matchCase, kind);
        FUZZ_CHECK(hit == expected, "slot %d, kind %d, text %s, Match Case %d: %d, expected %d",
                   slot, kind, Shown(Taken(text)).c_str(), int(matchCase), int(hit), int(expected));
    }
    const int from = int(in.Byte() % 40) - 3;
    int expected = -1;
    for (int slot = from < 0 ? 0 : from; slot < kSlotCount && expected < 0; ++slot)
        if (ReferenceSlot(image, slot, text, matchCase, kind))
            expected = slot;
    const int next = NextMatchingSlot(image, from, pattern, FindTarget(kind));
    FUZZ_CHECK(next == expected, "the next hit from slot %d is %d, expected %d", from, next,
               expected);
    ClearSlots(image, filled);
}

// ---- Find First and Find Next over a few project files ---------------------------------

constexpr int kMaxProjects = 4;

struct Projects {
    std::string folder;
    ProjectList list;
    std::vector<std::string> names;
    bool readable[kMaxProjects] = {};
    ProjectImage* images[kMaxProjects] = {};
    std::vector<int> filled[kMaxProjects];
    int reads = 0;
    int announced = 0;
};

Projects* g_projects = nullptr;

bool ReadImage(const char* path, ProjectImage& image) {
    Projects& p = *g_projects;
    ++p.reads;
    FUZZ_CHECK(p.reads == p.announced, "a file was read without being announced first");
    for (size_t i = 0; i < p.names.size(); ++i) {
        if (path != p.folder + "\\" + p.names[i])
            continue;
        if (!p.readable[i])
            return false;
        memcpy(&image, p.images[i], sizeof image);
        return true;
    }
    FUZZ_CHECK(false, "read of %s, which is no project's path", Shown(path).c_str());
    return false;
}

void BeforeFile(void* context) {
    ++static_cast<Projects*>(context)->announced;
}

struct Model {
    LastSearch last = LastSearch::None;
    int project = 0;
    int slot = 0;
    int projectCount = 0;
};

bool Enterable(const Projects& p, int project) {
    const std::string& name = p.names[size_t(project)];
    return !name.empty() && p.folder.size() + 1 + name.size() + 1 <= 260 && p.readable[project];
}

void CheckSteps(FuzzInput& in) {
    static ProjectImage& board = NewImage();
    static ProjectImage& work = NewImage();
    static ProjectImage* images[kMaxProjects] = {&NewImage(), &NewImage(), &NewImage(),
                                                 &NewImage()};
    std::vector<int> boardFilled;
    Projects p;
    g_projects = &p;
    p.folder = UpToNul(in.Piece(40));
    if (in.Byte() < 16)
        p.folder = Tiled(p.folder + "f", 240 + in.Byte() % 30); // near and past the limit
    const int count = in.Byte() % (kMaxProjects + 1);
    for (int i = 0; i < count; ++i) {
        std::string name = UpToNul(in.Piece(12)) + "." + std::to_string(i);
        if (in.Byte() < 8)
            name.clear(); // an entry without a name cannot be read
        p.names.push_back(name);
        p.list.Add(name.c_str());
        p.readable[i] = in.Byte() >= 40;
        p.images[i] = images[i];
        FillSlots(in, *p.images[i], p.filled[i], in.Byte() % 4);
    }
    FillSlots(in, board, boardFilled, in.Byte() % 4);
    const std::string currentPath = UpToNul(in.Piece(30));

    FindSources sources;
    sources.programFolder = p.folder.c_str();
    sources.currentPath = currentPath.c_str();
    sources.boardImage = &board;
    sources.projects = &p.list;
    sources.work = &work;
    sources.readImage = ReadImage;
    sources.beforeFile = BeforeFile;
    sources.context = &p;

    FindState state;
    Model model;
    const int steps = 1 + in.Byte() % 10;
    for (int step = 0; step < steps && !in.Empty(); ++step) {
        const uint8_t how = in.Byte();
        const bool next = how & 1;
        state.scope = (how & 2) ? FindScope::CurrentProject : FindScope::AllProjects;
        state.target = FindTarget(1 + (how >> 2) % 3);
        state.matchCase = how & 32;
        if (step == 0 || (how & 64)) {
            const std::string text = SearchText(in, "");
            memset(state.text, 0, sizeof state.text);
            strncpy(state.text, Taken(text).c_str(), sizeof state.text - 1);
        }
        const std::string text = state.text;
        const int kind = int(state.target);

        // What the search must answer.
        bool expectFound = false;
        int expectProject = -1, expectSlot = -1;
        if (state.scope == FindScope::CurrentProject) {
            const int start = next && model.last == LastSearch::CurrentProject ? model.slot + 1 : 0;
            for (int s = start; s < kSlotCount && !expectFound; ++s)
                if (ReferenceSlot(board, s, text, state.matchCase, kind)) {
                    expectFound = true;
                    expectSlot = s;
                }
            if (expectFound) {
                model.last = LastSearch::CurrentProject;
                model.slot = expectSlot;
            }
        } else {
            int project = 0, slot = 0;
            if (next && model.last == LastSearch::AllProjects) {
                project = model.project;
                slot = model.slot + 1;
            } else {
                model.projectCount = count;
            }
            for (; project < model.projectCount && !expectFound; ++project, slot = 0) {
                if (!Enterable(p, project))
                    continue;
                for (int s = slot; s < kSlotCount && !expectFound; ++s)
                    if (ReferenceSlot(*p.images[project], s, text, state.matchCase, kind)) {
                        expectFound = true;
                        expectProject = project;
                        expectSlot = s;
                    }
            }
            if (expectFound) {
                model.last = LastSearch::AllProjects;
                model.project = expectProject;
                model.slot = expectSlot;
            }
        }
        if (!expectFound)
            model.last = LastSearch::None;

        FindHit hit;
        const bool found = FindStep(state, next, sources, hit);
        FUZZ_CHECK(found == expectFound,
                   "step %d (%s, %s, kind %d, text %s): found %d, expected %d", step,
                   next ? "Find Next" : "Find First",
                   state.scope == FindScope::CurrentProject ? "current" : "all", kind,
                   Shown(text).c_str(), int(found), int(expectFound));
        FUZZ_CHECK(state.last == model.last, "step %d: the last search is not remembered", step);
        FUZZ_CHECK(p.reads == p.announced, "step %d: reads and announcements differ", step);
        if (!found)
            continue;
        FUZZ_CHECK(hit.slot == expectSlot, "step %d: hit in slot %d, expected %d", step, hit.slot,
                   expectSlot);
        const ProjectImage& source = expectProject < 0 ? board : *p.images[expectProject];
        const std::string expectName = expectProject < 0
                                           ? currentPath.substr(currentPath.rfind('\\') + 1)
                                           : p.names[size_t(expectProject)];
        FUZZ_CHECK(hit.projectName == expectName, "step %d: hit in %s, expected %s", step,
                   Shown(hit.projectName).c_str(), Shown(expectName).c_str());
        FUZZ_CHECK(hit.image &&
                       memcmp(hit.image->names[hit.slot], source.names[hit.slot], kNameSize) == 0 &&
                       memcmp(hit.image->texts[hit.slot], source.texts[hit.slot], kTextSize) == 0,
                   "step %d: the hit does not show the slot of its project", step);
    }
    for (int i = 0; i < count; ++i)
        ClearSlots(*p.images[i], p.filled[i]);
    ClearSlots(board, boardFilled);
    g_projects = nullptr;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    switch (in.Byte() % 3) {
    case 0: CheckField(in); break;
    case 1: CheckSlots(in); break;
    default: CheckSteps(in); break;
    }
    return 0;
}
