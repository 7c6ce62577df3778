// Moving a whole project image between memory and a project file. Nothing here talks to
// the user: the results say what went wrong and the caller decides what to show.
#pragma once
#include "store/file_stamp.h"
#include "store/project_image.h"

enum class ProjectWriteResult {
    kWritten,
    kNoTemporaryFile, // nothing was opened: the old file and everything else are untouched
    kNotWritten,      // the new content could not be put in place; the old file is intact
    kNotADiskFile,    // the path names a device: nothing was opened
};

enum class ProjectReadResult {
    kRead,
    kMissing,  // nothing at the path
    kNotAFile, // a folder, or a name that opens a device
    kReadOnly,
    kNotOpened, // another program holds it, or no access
    kTooShort,  // fewer bytes than an image
};

// Writes the image to a temporary file beside path and replaces the project with it in
// one step once all bytes are written, so a failure never damages the old file. With
// stamp, a written file's size and time come back there.
ProjectWriteResult WriteProjectFile(const char* path, const ProjectImage& image,
                                    FileStamp* stamp = nullptr);

// Fills the image from the file. Only a file that can also be opened for writing loads,
// and only when it holds a whole image (trailing bytes are ignored); on failure the image
// is zeroed or partly filled. With stamp, a read file's size and time as it was read.
ProjectReadResult ReadProjectFile(const char* path, ProjectImage& image,
                                  FileStamp* stamp = nullptr);

// A file (not a folder, not a device) exists at path.
bool ProjectFileExists(const char* path);
