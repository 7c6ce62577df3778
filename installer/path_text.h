// Path text of the installer: trimming, joining and comparing folders.
#pragma once
#include <cstddef>

namespace installer {

constexpr size_t kPathSize = 261;         // 260 characters and the terminator
constexpr size_t kMaxInstallFolder = 236; // characters of an install folder

// What is removed from the end of a folder read from the shell, the settings or the user.
extern const char kFolderTrim[];    // line feed, carriage return, space, backslash
extern const char kFolderTrimAll[]; // the same and the forward slash
extern const char kLineTrim[];      // line feed, carriage return, space

// Removes every trailing character that is in `characters`. Returns the new length.
size_t TrimTrailing(char* text, const char* characters);

// folder + "\" + name into out; false (out cut but terminated) when it does not fit.
bool JoinPath(char* out, size_t size, const char* folder, const char* name);

// Whether two folder texts name the same folder: both made full paths, trailing
// separators removed, A to Z compared without case. "C:\Setup\" and "c:\setup" match.
bool SameFolder(const char* a, const char* b);

} // namespace installer
