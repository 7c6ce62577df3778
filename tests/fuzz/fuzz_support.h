// What every fuzz target here shares: a reader that turns libFuzzer's bytes into choices,
// a check that stops the run with what differed, and guards that make the address
// sanitizer report any access outside a region of a larger block.
#pragma once
#include <sanitizer/asan_interface.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

// Stops the run (libFuzzer keeps the input) when a property does not hold.
#define FUZZ_CHECK(condition, ...)                                                                 \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            fprintf(stderr, "\nproperty failed at %s:%d: %s\n  ", __FILE__, __LINE__, #condition); \
            fprintf(stderr, __VA_ARGS__);                                                          \
            fprintf(stderr, "\n");                                                                 \
            abort();                                                                               \
        }                                                                                          \
    } while (0)

// Takes choices from the front of the input; once it is used up every choice is 0, so any
// input is a valid one.
class FuzzInput {
  public:
    FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    bool Flag() { return Byte() & 1; }
    uint32_t Word() {
        uint32_t w = 0;
        for (int i = 0; i < 4; ++i)
            w = (w << 8) | Byte();
        return w;
    }
    uint16_t Half() { return uint16_t((Byte() << 8) | Byte()); }
    // A number from 0 to limit - 1 (limit > 0).
    size_t Below(size_t limit) { return (size_t(Half()) << 8 | Byte()) % limit; }
    // A piece of the input as text: a length byte, then that many bytes (NULs included).
    std::string Piece(size_t maxLength) {
        size_t length = Byte();
        if (length > maxLength)
            length = maxLength;
        std::string piece;
        while (piece.size() < length && at_ < size_)
            piece += char(data_[at_++]);
        return piece;
    }
    // Everything not yet taken.
    std::string Rest() {
        std::string rest(reinterpret_cast<const char*>(data_ + at_), size_ - at_);
        at_ = size_;
        return rest;
    }
    bool Empty() const { return at_ >= size_; }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

// The text as C sees it: up to its first NUL.
inline std::string UpToNul(const std::string& s) {
    return s.substr(0, s.find('\0'));
}

// s repeated until it is length bytes long (zeros when s is empty).
inline std::string Tiled(const std::string& s, size_t length) {
    if (s.empty())
        return std::string(length, '\0');
    std::string out = s;
    while (out.size() < length)
        out += out;
    out.resize(length);
    return out;
}

// Printable form of a text for a failure message.
inline std::string Shown(const std::string& s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        if (c >= 32 && c < 127 && c != '"' && c != '\\') {
            out += char(c);
        } else {
            char hex[8];
            snprintf(hex, sizeof hex, "\\x%02x", c);
            out += hex;
        }
    }
    return out + "\"";
}

// While it lives, the bytes just around [from, to) within the block [begin, end) are
// unreadable and unwritable for the address sanitizer, so an access that strays out of
// the region is reported where it happens. Only a margin on each side is guarded: a
// stray access starts at a border. Borders on 8-byte boundaries are exact.
class OnlyRegion {
  public:
    OnlyRegion(const void* begin, const void* end, const void* from, const void* to,
               size_t margin = 256)
        : before_(Later(static_cast<const char*>(begin), static_cast<const char*>(from), margin)),
          from_(static_cast<const char*>(from)), to_(static_cast<const char*>(to)),
          after_(Earlier(static_cast<const char*>(end), to_, margin)) {
        ASAN_POISON_MEMORY_REGION(before_, size_t(from_ - before_));
        ASAN_POISON_MEMORY_REGION(to_, size_t(after_ - to_));
    }
    ~OnlyRegion() {
        ASAN_UNPOISON_MEMORY_REGION(before_, size_t(from_ - before_));
        ASAN_UNPOISON_MEMORY_REGION(to_, size_t(after_ - to_));
    }
    OnlyRegion(const OnlyRegion&) = delete;
    OnlyRegion& operator=(const OnlyRegion&) = delete;

  private:
    static const char* Later(const char* begin, const char* from, size_t margin) {
        return size_t(from - begin) > margin ? from - margin : begin;
    }
    static const char* Earlier(const char* end, const char* to, size_t margin) {
        return size_t(end - to) > margin ? to + margin : end;
    }
    const char* before_;
    const char* from_;
    const char* to_;
    const char* after_;
};
