// The board's reading and writing of project files: the store moves the bytes, the board
// keeps its title on the current project, saves its settings after loading it and tells
// the user about a failed write.
#pragma once
#include "store/project_file.h"

// Writes the image to path; 1 on success. With updateTitle (path is the current project)
// the title names path as soon as the new file could be made, also when writing it then
// fails, and a successful write makes the board show that file as it is now. Any failure
// shows "Error saving:" with the path.
int BoardWriteProject(const char* path, const ProjectImage& image, bool updateTitle);

// Reads path into the image; 1 on success. With updateTitle (path is the current project)
// a successful read also sets the title, saves the settings and makes the board show that
// file; a failed one means the board does not show it. With stamp, a read file's size and
// time come back there. A failure is silent.
int BoardReadProject(const char* path, ProjectImage& image, bool updateTitle,
                     FileStamp* stamp = nullptr);
