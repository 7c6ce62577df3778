// Reading a text value of the registry, the one way all programs here do it.
#pragma once
#include <windows.h>

#include <cstddef>

namespace base {

// Opens root\key with the given access and reads the value name as text into out.
// True only for a REG_SZ or REG_EXPAND_SZ value that fits into out with its terminator
// (a stored value need not carry one); out then holds the text, possibly empty.
// On false out holds an empty text. Nothing is read outside out.
bool ReadRegistryText(HKEY root, const char* key, const char* name, REGSAM access, char* out,
                      size_t size);

} // namespace base
