// Plain disk files for the project store: only files on a disk are ever opened, and a
// project is only ever replaced whole, in one step, by a temporary file that was written
// completely beside it. Errors are return values; nothing here talks to the user.
#pragma once
#include <windows.h>

#include <cstddef>

#include "store/project_image.h"

class ProjectList;

// Opens an existing file for access, but only a file on a disk: a project name such as
// COM1.vqp or CON.vqp names a device, and opening or reading a device may wait for ever,
// so such a name is refused before anything is opened. INVALID_HANDLE_VALUE when the
// file is missing, names a device, cannot be opened or is no disk file.
HANDLE OpenDiskFile(const char* path, DWORD access, DWORD share);

// Reads exactly size bytes at offset; false on any shortfall.
bool ReadAt(HANDLE file, unsigned long long offset, void* data, DWORD size);
bool WriteAll(HANDLE file, const void* data, DWORD size);

// The start of every temporary file name the store makes (see CreateTemporaryBeside).
constexpr char kTemporaryPrefix[] = "vqp";

// Creates an empty temporary file beside path with the system's unique names and the
// prefix "vqp" (for example "vqp1A2B.tmp"): it can never be a user's project, and a
// leftover is recognisably the board's own. out receives its full path.
bool CreateTemporaryBeside(const char* path, char* out, size_t size);
// Writes all bytes into an existing temporary file and flushes them to the disk.
bool FillTemporary(const char* temporary, const void* data, DWORD size);
// Puts the temporary file in path's place in one step, never by delete and rename. A
// reader that has the project open for a moment (a virus scanner, a backup, an indexer)
// makes the replace fail, so a refused replace is tried again for about half a second.
bool ReplaceWithTemporary(const char* temporary, const char* path);
// Whether path could be replaced now: it is not read-only and no one holds it open in a
// way that forbids deleting it. Checked the same patient way as the replace.
bool CanReplaceFile(const char* path);

// Reads a project for a search: read access only, exactly one whole image.
bool ReadImageForSearch(const char* path, ProjectImage& image);

// Adds the project files of folder ("*.vqp", no folders) in the order the listing
// returns them, at most `most` of them. Returns false when memory ran out.
bool ListProjectFolder(const char* folder, int most, ProjectList& list);
