// Making an install folder with every folder above it.
#pragma once

namespace installer {

// Characters of a path that CreatePath walks: a folder whose name ends beyond them is not
// made (a 235- or 236-character path leaves its last folder to exist already).
constexpr int kCreatePathWalk = 234;

// Creates each folder of path in turn (an existing one is fine) and restores the current
// drive and folder afterwards. The path must begin with a drive ("C:\"). With `tell` set,
// a failure is explained to the user.
bool CreatePath(const char* path, bool tell);

} // namespace installer
