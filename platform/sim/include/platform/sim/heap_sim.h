#pragma once
// Simulated private heaps: the test creates one where the driver would (Create), hands its handle over, and
// reads afterwards what is in it. A heap can be told to refuse allocations after a number of successes, as a
// full heap does. Destroy, and the destructor, free every block, as destroying the real heap does.
// Calls with an unknown heap or a block that is not in the heap fail. Thread-safe.

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

#include "platform/heap.h"

namespace platform::sim {

class SimHeap : public Heap {
public:
    void* Alloc(HeapHandle heap, std::size_t bytes) override;
    void* ReAlloc(HeapHandle heap, void* block, std::size_t bytes) override;
    bool Free(HeapHandle heap, void* block) override;

    HeapHandle Create();
    void Destroy(HeapHandle heap);
    // The next count allocations (Alloc or ReAlloc) succeed, every later one is refused.
    void RefuseAfter(HeapHandle heap, std::size_t count);

    std::size_t BlockCount(HeapHandle heap) const;
    // The size of a live block of the heap; nothing for anything else.
    std::optional<std::size_t> BlockSize(HeapHandle heap, const void* block) const;

private:
    struct Block {
        std::unique_ptr<std::uint8_t[]> data;
        std::size_t size = 0;
    };
    struct Private {
        std::map<const void*, Block> blocks;
        std::optional<std::size_t> allowance;  // allocations left before refusing; none: no limit
    };
    Private* Find(HeapHandle heap);    // with mutex_ held
    static bool Allow(Private& heap);  // consumes one allocation of the allowance
    static void* Add(Private& heap, std::size_t bytes);

    mutable std::mutex mutex_;
    std::map<HeapHandle, Private> heaps_;
    HeapHandle next_ = 0x10000;
};

}  // namespace platform::sim
