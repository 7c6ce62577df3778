// Scoped holders: one owner for every handle, closed on every exit path. A holder is
// never copied; it can be moved out of a function and can hand its handle over.
#pragma once
#include <windows.h>

#include <objbase.h>

namespace base {

// Traits say what an empty handle is and how a handle is given back to the system.
template <typename Traits> class Scoped {
  public:
    using Handle = typename Traits::Handle;

    Scoped() = default;
    explicit Scoped(Handle handle) : handle_(handle) {}
    ~Scoped() { Close(); }
    Scoped(const Scoped&) = delete;
    Scoped& operator=(const Scoped&) = delete;
    Scoped(Scoped&& other) : handle_(other.Release()) {}
    Scoped& operator=(Scoped&& other) {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }

    bool Valid() const { return handle_ != Traits::Empty(); }
    Handle Get() const { return handle_; }
    // For functions that hand a new handle out through a pointer; the old one is closed.
    Handle* Out() {
        Close();
        return &handle_;
    }
    void Reset(Handle handle = Traits::Empty()) {
        Close();
        handle_ = handle;
    }
    // Gives the handle up without closing it.
    Handle Release() {
        Handle handle = handle_;
        handle_ = Traits::Empty();
        return handle;
    }
    // Closes now; false when the system reports that closing failed (a file whose last
    // bytes could not be written, for example).
    bool Close() {
        bool ok = true;
        if (Valid())
            ok = Traits::Close(handle_);
        handle_ = Traits::Empty();
        return ok;
    }

  private:
    Handle handle_ = Traits::Empty();
};

struct FileTraits {
    using Handle = HANDLE;
    static Handle Empty() { return INVALID_HANDLE_VALUE; }
    static bool Close(Handle h) { return CloseHandle(h) != 0; }
};
struct FindTraits {
    using Handle = HANDLE;
    static Handle Empty() { return INVALID_HANDLE_VALUE; }
    static bool Close(Handle h) { return FindClose(h) != 0; }
};
struct KeyTraits {
    using Handle = HKEY;
    static Handle Empty() { return nullptr; }
    static bool Close(Handle h) { return RegCloseKey(h) == ERROR_SUCCESS; }
};
template <typename Object> struct GdiTraits {
    using Handle = Object;
    static Handle Empty() { return nullptr; }
    static bool Close(Handle h) { return DeleteObject(h) != 0; }
};
struct DcTraits { // memory device contexts from CreateCompatibleDC
    using Handle = HDC;
    static Handle Empty() { return nullptr; }
    static bool Close(Handle h) { return DeleteDC(h) != 0; }
};
struct MenuTraits {
    using Handle = HMENU;
    static Handle Empty() { return nullptr; }
    static bool Close(Handle h) { return DestroyMenu(h) != 0; }
};
struct IconTraits {
    using Handle = HICON;
    static Handle Empty() { return nullptr; }
    static bool Close(Handle h) { return DestroyIcon(h) != 0; }
};

using ScopedFile = Scoped<FileTraits>; // CreateFile
using ScopedFind = Scoped<FindTraits>; // FindFirstFile
using ScopedKey = Scoped<KeyTraits>;   // RegOpenKeyEx, RegCreateKeyEx
using ScopedBitmap = Scoped<GdiTraits<HBITMAP>>;
using ScopedBrush = Scoped<GdiTraits<HBRUSH>>;
using ScopedFont = Scoped<GdiTraits<HFONT>>;
using ScopedMemoryDc = Scoped<DcTraits>;
using ScopedMenu = Scoped<MenuTraits>; // LoadMenu, CreatePopupMenu
using ScopedIcon = Scoped<IconTraits>; // LoadImage of an icon, CreateIcon

// A COM interface pointer, released when the holder goes.
template <typename Interface> class ScopedCom {
  public:
    ScopedCom() = default;
    ~ScopedCom() { Reset(); }
    ScopedCom(const ScopedCom&) = delete;
    ScopedCom& operator=(const ScopedCom&) = delete;

    Interface* Get() const { return pointer_; }
    Interface* operator->() const { return pointer_; }
    bool Valid() const { return pointer_ != nullptr; }
    // For CoCreateInstance and QueryInterface; the old pointer is released.
    void** Out() {
        Reset();
        return reinterpret_cast<void**>(&pointer_);
    }
    void Reset() {
        if (pointer_)
            pointer_->Release();
        pointer_ = nullptr;
    }

  private:
    Interface* pointer_ = nullptr;
};

} // namespace base
