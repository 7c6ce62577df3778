// Finding a piece of text in the button names and text fields of the current project or
// of every project of the catalogue, one hit at a time. Plain logic: the files are read
// through a function the caller gives, so the search runs on any file system.
#pragma once
#include <cstddef>

#include "store/project_image.h"

class ProjectList;

constexpr int kSearchTextSize = 128; // 127 characters and the terminator

// What a slot is tested in.
enum class FindTarget { ButtonsAndTexts = 1, Texts = 2, Buttons = 3 };
enum class FindScope { AllProjects, CurrentProject };
enum class LastSearch { None, AllProjects, CurrentProject };

// The search text prepared once per search, so that testing a field allocates nothing:
// the text as compared (folded when case does not matter) and a table of how far the
// search may move on after looking at a byte.
struct FindPattern {
    unsigned char text[kSearchTextSize];
    size_t length = 0;
    unsigned char fold[256];
    unsigned char skip[256];
    unsigned char loose = 0; // 0x20 when case does not matter: c | loose brings A-Z and a-z
                             // together (and a few other pairs, which the exact test parts)
};

// Takes at most 127 characters of text. Without matchCase only A to Z are folded: the
// text is single-byte text of the system code page, and other bytes are compared as
// they are.
void PreparePattern(FindPattern& pattern, const char* text, bool matchCase);

// Whether the field, which ends at its first NUL or at its width, contains the pattern.
// An empty pattern is found nowhere.
bool FieldContains(const char* field, size_t width, const FindPattern& pattern);

// The slot test: the text (targets 1 and 2) or the name (targets 1 and 3) contains the
// pattern. A slot matching in both fields is one hit.
bool SlotMatches(const ProjectImage& image, int slot, const FindPattern& pattern,
                 FindTarget target);

// The first matching slot from fromSlot to 32, or -1.
int NextMatchingSlot(const ProjectImage& image, int fromSlot, const FindPattern& pattern,
                     FindTarget target);

// What the board remembers of searching until it closes, and where the last hit was.
struct FindState {
    char text[kSearchTextSize] = "";
    bool matchCase = false;
    FindScope scope = FindScope::AllProjects;
    FindTarget target = FindTarget::ButtonsAndTexts;
    LastSearch last = LastSearch::None; // set to None whenever the dialog opens
    int project = 0;                    // index of the last hit's project in the list
    int slot = 0;                       // slot of the last hit
    int projectCount = 0;               // taken when an all-projects search starts
};

// Where a search looks.
struct FindSources {
    const char* programFolder = "";
    const char* currentPath = "";             // the board's current project ("" for none)
    const ProjectImage* boardImage = nullptr; // the current project as last read or gathered
    const ProjectList* projects = nullptr;    // the selector's entries, in its order
    ProjectImage* work = nullptr;             // the one image an all-projects search reads into
    // Reads a whole project; false when it is missing, unreadable or short (it is skipped).
    bool (*readImage)(const char* path, ProjectImage& image) = nullptr;
    // Called before each project file is read, so a long search keeps the window painted.
    void (*beforeFile)(void* context) = nullptr;
    void* context = nullptr;
};

struct FindHit {
    const char* projectName = ""; // the selector entry, or the current project's file name
    const ProjectImage* image = nullptr;
    int slot = -1;
};

// One press of Find First (next false) or Find Next (next true) with the state's text,
// options and scope. Find Next goes on after the last hit only when the last search had
// the scope now chosen; otherwise the search starts from the beginning. Returns true
// with the hit, or false when the search is complete (the last search is then none).
bool FindStep(FindState& state, bool next, const FindSources& sources, FindHit& hit);
