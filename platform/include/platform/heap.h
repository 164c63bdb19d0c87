#pragma once
// Private heaps that someone else created and hands over by handle (the printer driver's heap for the
// plug-in's option items): the plug-in allocates from them and the owner destroys them with everything in
// them. Non-blocking, any thread (a heap serialises its own calls); failures show as null or false.

#include <cstddef>
#include <cstdint>

namespace platform {

using HeapHandle = std::uintptr_t;  // 0 is no heap

class Heap {
public:
    virtual ~Heap() = default;
    // A zero-filled block of bytes bytes, or null when the heap refuses.
    virtual void* Alloc(HeapHandle heap, std::size_t bytes) = 0;
    // The block resized to bytes (its contents kept up to the smaller size, growth zero-filled; it may move);
    // null when the heap refuses, the block then unchanged.
    virtual void* ReAlloc(HeapHandle heap, void* block, std::size_t bytes) = 0;
    virtual bool Free(HeapHandle heap, void* block) = 0;
};

}  // namespace platform
