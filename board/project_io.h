// The board's reading and writing of project files: the store moves the bytes, the board
// keeps its title on the current project, saves its settings after loading it and tells
// the user about a failed write.
#pragma once
#include "store/project_file.h"

// Writes the image to path; 1 on success. With updateTitle (path is the current project)
// the title names path as soon as the new file could be made, also when writing it then
// fails. Any failure shows "Error saving:" with the path.
int BoardWriteProject(const char* path, const ProjectImage& image, bool updateTitle);

// Reads path into the image; 1 on success. With updateTitle a successful read also sets
// the title and saves the settings. A failure is silent.
int BoardReadProject(const char* path, ProjectImage& image, bool updateTitle);
