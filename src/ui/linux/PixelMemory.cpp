#include "ui/PixelMemory.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>

namespace tovrik::ui {

#if defined(__SANITIZE_ADDRESS__)

// Under AddressSanitizer pictures stay on the heap, where an overrun is caught; mapped memory
// is not watched.
void* AllocateLargePixelMemory(std::size_t bytes) noexcept {
    return std::calloc(bytes, 1);
}

void FreeLargePixelMemory(void* memory, std::size_t) noexcept {
    std::free(memory);
}

#else

namespace {

// The size of a transparent huge page on x86-64 and most arm64 systems; a large page backs
// only a range aligned to its size.
constexpr std::size_t kHugePage = std::size_t{2} << 20;

std::size_t RoundUp(std::size_t bytes, std::size_t unit) {
    return (bytes + unit - 1) / unit * unit;
}

} // namespace

void* AllocateLargePixelMemory(std::size_t bytes) noexcept {
    if (bytes == 0 || bytes > SIZE_MAX - 2 * kHugePage) {
        return nullptr;
    }
    const std::size_t size = RoundUp(bytes, kHugePage);
    // Mapped with room to spare, then trimmed to an aligned range.
    void* mapped = mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) {
        return nullptr;
    }
    auto* const start = static_cast<std::uint8_t*>(mapped);
    const auto address = reinterpret_cast<std::uintptr_t>(start);
    std::uint8_t* const aligned = start + (RoundUp(address, kHugePage) - address);
    if (aligned != start) {
        munmap(start, static_cast<std::size_t>(aligned - start));
    }
    const std::size_t tail = static_cast<std::size_t>(start + size + kHugePage - (aligned + size));
    if (tail != 0) {
        munmap(aligned + size, tail);
    }
    // Only a hint: without large pages the memory works page by page as usual.
    (void)madvise(aligned, size, MADV_HUGEPAGE);
    return aligned;
}

void FreeLargePixelMemory(void* memory, std::size_t bytes) noexcept {
    if (memory != nullptr) {
        munmap(memory, RoundUp(bytes, kHugePage));
    }
}

#endif

} // namespace tovrik::ui
