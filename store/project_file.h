// Moving a whole project image between memory and a project file.
#pragma once
#include "store/project_image.h"

// What reading or writing the board's current project does besides the transfer: the
// board sets its title and saves its settings. The board registers these at start.
struct CurrentProjectHooks {
    void (*setTitle)(const char* path) = nullptr;
    void (*saveSettings)() = nullptr;
};
void SetCurrentProjectHooks(const CurrentProjectHooks& hooks);

// Writes the image to a temporary file beside path and replaces the project with it in
// one step once all bytes are written, so a failure never damages the old file. On any
// failure it shows "Error saving:" with the path and returns 0. updateTitle: the file is
// the board's current project.
int WriteProjectFile(const char* path, const ProjectImage& image, int updateTitle);

// Fills the image from the file; a file that is shorter than an image or cannot be
// opened for writing does not load (returns 0, image zeroed or partly filled).
// With updateTitle, success also sets the title and saves the settings.
int ReadProjectFile(const char* path, ProjectImage& image, int updateTitle);

// A file (not a folder) exists at path.
bool ProjectFileExists(const char* path);
