// Taking a legacy settings file ("kestrum.ini" in the Windows folder) into the settings
// store, once, when no settings store exists yet.
#pragma once
#include <cstddef>

#include "installer/environment.h"

namespace installer {

enum class Migration {
    NoFile,      // nothing to take over
    StoreExists, // the settings store is already there: the file is left alone
    NotOpened,   // the file could not be opened for update: tried again next time
    Done,        // every key written, the file deleted
    WriteFailed, // a key could not be written: the file stays for the next start
};

// The file's path: the Windows folder (trailing separators removed), "\", "kestrum.ini".
void LegacyIniPath(const char* windowsFolder, char* out, size_t size);

Migration MigrateLegacyIni(Environment& env, const char* iniPath);
// The same for the file in the environment's Windows folder.
Migration MigrateLegacyIni(Environment& env);

} // namespace installer
