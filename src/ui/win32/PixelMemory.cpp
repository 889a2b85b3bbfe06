#include "ui/PixelMemory.h"

#include <windows.h>

namespace tovrik::ui {

// Committed pages are zeroed and backed by memory only when first touched; large pages would
// need a privilege that a desktop program does not hold.
void* AllocateLargePixelMemory(std::size_t bytes) noexcept {
    return bytes == 0 ? nullptr : VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}

void FreeLargePixelMemory(void* memory, std::size_t) noexcept {
    if (memory != nullptr) {
        VirtualFree(memory, 0, MEM_RELEASE);
    }
}

} // namespace tovrik::ui
