// The files the installer writes: its payload resources, its own program file, and the
// projects of an installation in the legacy folder.
#pragma once
#include <windows.h>

#include "installer/environment.h"
#include "installer/progress.h"

namespace installer {

// One file of the install run: a payload resource, or (resource 0) the installer's own file.
struct FileStep {
    int resourceId;
    const char* fileName;
};
extern const FileStep kFileSteps[kFileStepCount]; // in the order they are written

constexpr int kOwnFile = 0;

// Writes resource `id` (RT_RCDATA) of `module` to destination in one write. False when the
// resource is missing or empty, the file cannot be opened, or not every byte was written.
bool ExtractPayload(HMODULE module, int id, const char* destination);

// Copies source to destination through an 8192-byte buffer. With keepTime the source is
// opened first (50 tries, `wait`(100) between them: the file may still be in use) and the
// destination gets its last-write time. Returns 1 on success, else 0.
int CopyFileKeepTime(const char* source, const char* destination, bool keepTime, WaitFunction wait);

// Copies every "*.VQP" project of legacyFolder into installFolder unless a file of that
// name is there already. Nothing happens when the two are the same folder or legacyFolder
// does not exist; failures are ignored. Returns the number of projects copied.
int CarryOverProjects(Environment& env, const char* legacyFolder, const char* installFolder);

} // namespace installer
