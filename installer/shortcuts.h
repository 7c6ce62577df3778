// The shell shortcuts of an installation: one on the desktop and the "Tessaro" group in the
// user's Start-menu programs, made after an install and removed again by the uninstaller.
#pragma once
#include "installer/environment.h"

namespace installer {

// The special folder, trimmed, through the shell, then the "Shell Folders" registry key
// ("Desktop", "Programs", or the unnamed value; each also with "Common " in front), then the
// Windows folder's "Start Menu\Programs". False when the folder does not exist.
bool ResolveSpecialFolder(Environment& env, int csidl, char* out, size_t size);

struct Shortcut {
    int csidl;
    const char* name;   // the group folder's name when makeFolder is set
    const char* target; // empty texts leave the link's property unset
    const char* arguments;
    const char* workingFolder;
    const char* iconFile; // icon index 0
    bool makeFolder;
};

// Saves the link to "tmp" in tempFolder, then moves it to its place (in the group folder
// for the programs folder), trying again for about a second while another program holds the
// temporary link (wait pauses between tries; none given, the thread sleeps). True only when
// the link is in place; with makeFolder, makes the group folder instead (and reports
// whether that worked).
bool CreateShortcut(Environment& env, const Shortcut& shortcut, const char* tempFolder,
                    WaitFunction wait = nullptr);

// Removes name + ".lnk", or with wholeFolder the folder `name` with the plain files in it.
bool RemoveShortcut(Environment& env, int csidl, const char* name, bool wholeFolder);

// The five removals, each followed by a wait of 64 ms: the startup and desktop shortcuts,
// then the all-users and the user's group folders. Run before an install makes its
// shortcuts, and by the uninstaller.
void RemoveShortcutSet(Environment& env, WaitFunction wait);

// After an install: the removals, then the desktop shortcut and the group with "Tessaro",
// "Read Me" and "UnInstall". Tells the user when the uninstaller's shortcut could not be
// made, and returns whether it was.
bool ReplaceShortcuts(Environment& env, const char* installFolder, WaitFunction wait);

} // namespace installer
