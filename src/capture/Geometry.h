#pragma once

#include <algorithm>
#include <cstdint>

namespace tovrik::capture {

struct Point {
    int x = 0;
    int y = 0;

    bool operator==(const Point&) const = default;
};

// Edges as the platform's rectangles hold them: right and bottom are one past the last pixel.
// While a drag goes on a rectangle may be reversed (right < left or bottom < top).
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool operator==(const Rect&) const = default;

    [[nodiscard]] int Width() const { return right - left; }
    [[nodiscard]] int Height() const { return bottom - top; }
    [[nodiscard]] bool IsEmpty() const { return right <= left || bottom <= top; }
    // At least one pixel wide and one pixel high.
    [[nodiscard]] bool HasArea() const { return Width() >= 1 && Height() >= 1; }
    // The rule of the platform's point-in-rectangle test: left and top edges inside, right and
    // bottom edges outside.
    [[nodiscard]] bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }

    [[nodiscard]] Rect Normalized() const {
        return {std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
    }
    [[nodiscard]] Rect Inflated(int by) const { return {left - by, top - by, right + by, bottom + by}; }
    [[nodiscard]] Rect Intersected(const Rect& other) const {
        Rect r{std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
               std::min(bottom, other.bottom)};
        return r.IsEmpty() ? Rect{} : r;
    }
    // Smallest rectangle holding both; an empty rectangle adds nothing.
    [[nodiscard]] Rect United(const Rect& other) const {
        if (other.IsEmpty()) {
            return *this;
        }
        if (IsEmpty()) {
            return other;
        }
        return {std::min(left, other.left), std::min(top, other.top), std::max(right, other.right),
                std::max(bottom, other.bottom)};
    }
};

struct Color {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    bool operator==(const Color&) const = default;
};

} // namespace tovrik::capture
