// Blocks of the heap for working images and tables, freed when they go out of scope. Plain
// malloc and free: a failed allocation is an empty block to report, and nothing here pulls
// in the C++ runtime's exception support, which the release does not carry.
#pragma once
#include <cstddef>
#include <cstdlib>
#include <memory>

struct FreeBlock {
    void operator()(void* block) const { std::free(block); }
};

template <typename T> using HeapBlock = std::unique_ptr<T, FreeBlock>;

// Room for count objects of a plain type (their bytes are not set); empty when the heap
// has no such room.
template <typename T> HeapBlock<T> AllocateBlock(size_t count = 1) {
    if (count == 0 || count > size_t(-1) / sizeof(T))
        return HeapBlock<T>();
    return HeapBlock<T>(static_cast<T*>(std::malloc(count * sizeof(T))));
}
