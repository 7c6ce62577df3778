// Turning what the user types into a project file path, and back into a name to suggest.
// Plain text work only: no windows, no files.
#pragma once
#include <cstddef>

constexpr size_t kMaxProjectPath = 255; // characters of a project path, terminator not counted
constexpr int kTypedNameScan = 260;     // characters of a typed name looked at

// Cleans a typed name: cut at its first '.', blanks that another blank or the end follows
// dropped, characters that cannot be part of a file name dropped. Returns the length of
// the cleaned name in out (0 when nothing usable remains, or when it would not fit).
size_t CleanProjectName(const char* typed, char* out, size_t size);

// CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9 in any case: such a file name opens a device.
bool IsDeviceName(const char* name);

// Whether the last part of path names a device whatever its extension ("COM1.vqp",
// "nul.txt", "Con .x"): the system opens the device for such a path, never a file.
bool PathNamesDevice(const char* path);

// Whether the cleaning drops this character wherever it stands.
bool IsDroppedNameCharacter(char c);

// folder + "\" + name + ".vqp" into out. Returns 0 and leaves out alone when the path
// would exceed kMaxProjectPath characters or out's size.
int JoinProjectPath(const char* folder, const char* name, char* out, size_t size);

// The whole way from a typed name (in buffer) to a project path (replacing it). Returns 0
// and leaves buffer alone when nothing usable remains, the name is a device or the path
// would be too long.
int TypedNameToProjectPath(const char* folder, char* buffer, size_t size);

// The text after the last '\' of path, or the whole path when it has none.
const char* FileNamePart(const char* path);

// The name to suggest for a project path: its file-name part, at most 255 characters,
// cut at its first '.'.
void SuggestedProjectName(const char* path, char* out, size_t size);
