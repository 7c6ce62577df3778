// The entry in the system's list of installed programs, through which the user finds the
// uninstaller. Computed as data, then written as REG_SZ values in a fixed order.
#pragma once
#include <windows.h>

namespace installer {

// Under HKEY_CURRENT_USER.
extern const char kUninstallKey[];

constexpr int kUninstallValueCount = 6;
constexpr size_t kUninstallValueSize = 300;

struct RegistryText {
    const char* name;
    char value[kUninstallValueSize];
};

struct UninstallEntry {
    RegistryText values[kUninstallValueCount]; // in the order they are written
};

// The six values for an install folder as typed: trailing separators and blanks are
// removed before the folder is used, so "C:\vqp\" and "C:\vqp" give the same entry.
void BuildUninstallEntry(const char* installFolder, UninstallEntry& entry);

// Creates or opens root\keyPath and sets every value as REG_SZ with its terminator.
// False when the key cannot be created; the single writes are not examined.
bool WriteRegistryTexts(HKEY root, const char* keyPath, const UninstallEntry& entry);

} // namespace installer
