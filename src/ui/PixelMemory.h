#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <new>
#include <utility>
#include <vector>

namespace tovrik::ui {

// Memory for whole-screen pictures (33 MB each at 4K), straight from the system rather than
// from the heap: fresh pages are handed out in large pages where the system offers them, which
// makes touching new memory several times cheaper than page by page, and the memory goes back
// to the system as soon as the picture is freed, so a program waiting in the tray keeps
// nothing of its last capture. The memory comes zeroed and is touched only where written.
// Defined by the backend.
[[nodiscard]] void* AllocateLargePixelMemory(std::size_t bytes) noexcept;
void FreeLargePixelMemory(void* memory, std::size_t bytes) noexcept;

// Smaller blocks come from the heap.
inline constexpr std::size_t kLargePixelMemory = std::size_t{1} << 20;

// An allocator for pixel bytes: storage starts zeroed, and making room for more bytes does not
// write them (a vector grown with resize() keeps the allocation's zeros; bytes within capacity
// left from earlier content stay as they were), so memory that is never drawn to is never
// touched.
template <typename T> struct PixelAllocator {
    using value_type = T;

    PixelAllocator() = default;
    template <typename U> explicit PixelAllocator(const PixelAllocator<U>&) noexcept {}

    [[nodiscard]] T* allocate(std::size_t count) {
        if (count > std::numeric_limits<std::size_t>::max() / sizeof(T)) {
            throw std::bad_array_new_length();
        }
        const std::size_t bytes = count * sizeof(T);
        void* memory =
            bytes >= kLargePixelMemory ? AllocateLargePixelMemory(bytes) : std::calloc(bytes == 0 ? 1 : bytes, 1);
        if (memory == nullptr) {
            throw std::bad_alloc();
        }
        return static_cast<T*>(memory);
    }
    void deallocate(T* memory, std::size_t count) noexcept {
        const std::size_t bytes = count * sizeof(T);
        if (bytes >= kLargePixelMemory) {
            FreeLargePixelMemory(memory, bytes);
        } else {
            std::free(memory);
        }
    }
    // Default-initialised: no write for trivial types.
    template <typename U> void construct(U* place) noexcept { ::new (static_cast<void*>(place)) U; }
    template <typename U, typename... Args> void construct(U* place, Args&&... args) {
        ::new (static_cast<void*>(place)) U(std::forward<Args>(args)...);
    }

    template <typename U> bool operator==(const PixelAllocator<U>&) const noexcept { return true; }
};

using PixelBytes = std::vector<std::uint8_t, PixelAllocator<std::uint8_t>>;

} // namespace tovrik::ui
