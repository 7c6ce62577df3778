// The install run behind the install dialog's Next: record the folder, write the six files
// in order, carry projects over from the legacy folder, write the uninstall entry.
#pragma once
#include <windows.h>

#include "installer/environment.h"

namespace installer {

// What the install dialog shows while the run goes.
class InstallView {
  public:
    virtual ~InstallView() = default;
    // Before file step 1 to 6: the progress line of that step, both file lines cleared.
    virtual void ShowStep(int step) = 0;
    // The file being written: its source ("RCDATA" for a payload resource) and destination.
    virtual void ShowFiles(const char* source, const char* destination) = 0;
};

struct InstallRun {
    const char* installFolder = ""; // as typed; recorded as it is
    const char* startFolder = "";   // the folder the installer was started from
    const char* legacyFolder = "";  // projects of an older installation come from here
    HMODULE payload = nullptr;      // the module that carries the payload resources
    const char* ownFile = "";       // the installer's own program file
    WaitFunction wait = InstallerWait;
};

// True when every file is in place. A failed file step has told the user (its message and
// the permissions text) and stops the run; nothing written before it is removed.
bool RunInstall(Environment& env, const InstallRun& run, InstallView& view);

// A file of the install folder: the folder as typed, trailing separators removed, "\", name.
bool InstallFilePath(const char* installFolder, const char* name, char* out, size_t size);

} // namespace installer
