// The projects of the program folder and the operations on them.
#pragma once
#include <cstddef>

constexpr int kMaxSelectorEntries = 6501;

// Rebuilds the selector from the program folder and selects the current project.
int FillProjectSelector();
// Cleans a typed name and replaces it with the full project path; 0 when nothing usable
// remains or the path would not fit.
int MakeProjectPath(char* buffer, size_t size);
// Which question the name prompt asks.
enum class NameMode { kNew = 1, kSaveAs = 2 };
// Asks for a project name until it is usable and confirmed; on acceptance it becomes the
// current project path.
int AskProjectFileName(const char* caption, NameMode mode);
// What became of a save of the board before another project is shown.
enum class SaveResult {
    kNothingToSave, // the board does not show a project file that exists
    kSaved,
    kNotSaved, // the write failed or the user chose not to save: stop what needed it
};
// Saves the board into the current project file if the board shows that file and it still
// exists. When another program has changed the file since, the user decides first:
// overwrite it, save under another name, or not save.
SaveResult SaveCurrentIfPresent();
// Makes the selector's picked entry current. A picked file that cannot be read is
// refused with a message before anything is saved, and a save of the current project
// that fails stops the switch: either way the previous project stays current.
int SwitchProject();
// A save of the current project that fails stops it before the name is asked.
int NewProject();
int SaveProject();
int SaveProjectAs();
int DeleteProject();
int SaveOnExit();
// The save before a consolidation: the current project when the board shows it or its
// file is missing; a file the board could not read is never written over here.
void SaveBeforeConsolidating();
