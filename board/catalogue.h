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
// Saves the board into the current project file if that file exists; 1 when it was saved.
int SaveCurrentIfPresent();
// Makes the selector's picked entry current. A picked file that cannot be read is
// refused with a message before anything is saved: the previous project stays current.
int SwitchProject();
int NewProject();
int SaveProject();
int SaveProjectAs();
int DeleteProject();
int SaveOnExit();
