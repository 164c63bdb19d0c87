#pragma once
// Heaps of the system's heap manager, by the handle their creator passes (HeapCreate's).

#include "platform/heap.h"

namespace platform::win32 {

class Win32Heap : public Heap {
public:
    void* Alloc(HeapHandle heap, std::size_t bytes) override;
    void* ReAlloc(HeapHandle heap, void* block, std::size_t bytes) override;
    bool Free(HeapHandle heap, void* block) override;
};

}  // namespace platform::win32
