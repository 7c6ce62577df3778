#include "base/registry.h"

#include "base/scoped.h"

namespace base {

bool ReadRegistryText(HKEY root, const char* key, const char* name, REGSAM access, char* out,
                      size_t size) {
    if (!out || size == 0)
        return false;
    out[0] = '\0';
    ScopedKey opened;
    if (RegOpenKeyExA(root, key, 0, access, opened.Out()) != ERROR_SUCCESS)
        return false;
    DWORD type = 0;
    DWORD length = (DWORD)size;
    if (RegQueryValueExA(opened.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(out),
                         &length) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        out[0] = '\0';
        return false;
    }
    // A full buffer whose last byte is not the terminator held a text one too long.
    if (length >= size && out[size - 1] != '\0') {
        out[0] = '\0';
        return false;
    }
    out[length < size ? length : size - 1] = '\0';
    return true;
}

} // namespace base
