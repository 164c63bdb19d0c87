#include "platform/win32/heap_win32.h"

#include "platform/win32/windows_api.h"

namespace platform::win32 {

namespace {
HANDLE HeapOf(HeapHandle heap) {
    return reinterpret_cast<HANDLE>(heap);
}
}  // namespace

// No HEAP_GENERATE_EXCEPTIONS: a refusal must come back as null, never as a structured exception.
void* Win32Heap::Alloc(HeapHandle heap, std::size_t bytes) {
    return heap ? ::HeapAlloc(HeapOf(heap), HEAP_ZERO_MEMORY, bytes) : nullptr;
}

void* Win32Heap::ReAlloc(HeapHandle heap, void* block, std::size_t bytes) {
    return heap && block ? ::HeapReAlloc(HeapOf(heap), HEAP_ZERO_MEMORY, block, bytes) : nullptr;
}

bool Win32Heap::Free(HeapHandle heap, void* block) {
    return heap && block && ::HeapFree(HeapOf(heap), 0, block);
}

}  // namespace platform::win32
