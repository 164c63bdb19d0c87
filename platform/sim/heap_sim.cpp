#include "platform/sim/heap_sim.h"

#include <algorithm>
#include <cstring>

namespace platform::sim {

SimHeap::Private* SimHeap::Find(HeapHandle heap) {
    auto it = heaps_.find(heap);
    return it == heaps_.end() ? nullptr : &it->second;
}

bool SimHeap::Allow(Private& heap) {
    if (!heap.allowance) {
        return true;
    }
    if (*heap.allowance == 0) {
        return false;
    }
    --*heap.allowance;
    return true;
}

void* SimHeap::Add(Private& heap, std::size_t bytes) {
    Block block;
    // A zero-byte block is still a distinct block, as on the real heap.
    block.data = std::make_unique<std::uint8_t[]>(std::max<std::size_t>(bytes, 1));
    block.size = bytes;
    void* p = block.data.get();
    heap.blocks.emplace(p, std::move(block));
    return p;
}

void* SimHeap::Alloc(HeapHandle heap, std::size_t bytes) {
    std::lock_guard lock(mutex_);
    Private* h = Find(heap);
    if (!h || !Allow(*h)) {
        return nullptr;
    }
    return Add(*h, bytes);
}

void* SimHeap::ReAlloc(HeapHandle heap, void* block, std::size_t bytes) {
    std::lock_guard lock(mutex_);
    Private* h = Find(heap);
    if (!h) {
        return nullptr;
    }
    auto old = h->blocks.find(block);
    if (old == h->blocks.end() || !Allow(*h)) {
        return nullptr;
    }
    // Always moves, so that a caller who keeps the old pointer is caught.
    void* p = Add(*h, bytes);
    std::memcpy(p, old->second.data.get(), std::min(bytes, old->second.size));
    h->blocks.erase(old);
    return p;
}

bool SimHeap::Free(HeapHandle heap, void* block) {
    std::lock_guard lock(mutex_);
    Private* h = Find(heap);
    return h && h->blocks.erase(block) > 0;
}

HeapHandle SimHeap::Create() {
    std::lock_guard lock(mutex_);
    const HeapHandle heap = next_;
    next_ += 0x10000;
    heaps_[heap];
    return heap;
}

void SimHeap::Destroy(HeapHandle heap) {
    std::lock_guard lock(mutex_);
    heaps_.erase(heap);
}

void SimHeap::RefuseAfter(HeapHandle heap, std::size_t count) {
    std::lock_guard lock(mutex_);
    if (Private* h = Find(heap)) {
        h->allowance = count;
    }
}

std::size_t SimHeap::BlockCount(HeapHandle heap) const {
    std::lock_guard lock(mutex_);
    auto it = heaps_.find(heap);
    return it == heaps_.end() ? 0 : it->second.blocks.size();
}

std::optional<std::size_t> SimHeap::BlockSize(HeapHandle heap, const void* block) const {
    std::lock_guard lock(mutex_);
    auto it = heaps_.find(heap);
    if (it == heaps_.end()) {
        return std::nullopt;
    }
    auto b = it->second.blocks.find(block);
    if (b == it->second.blocks.end()) {
        return std::nullopt;
    }
    return b->second.size;
}

}  // namespace platform::sim
