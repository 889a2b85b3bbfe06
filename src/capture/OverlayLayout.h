#pragma once

#include "capture/Geometry.h"
#include "text/Types.h"

#include <array>

// Where the overlay puts its handles and its information box, and what the pointer is over.
namespace tovrik::capture {

// Cursor shapes by the platform's standard cursor ids.
enum class Cursor : int {
    Arrow = 32512,
    SizeNwse = 32642,
    SizeNesw = 32643,
    SizeWe = 32644,
    SizeNs = 32645,
    SizeAll = 32646,
};

// What a press at the pointer would grab: 0 nothing, 1-8 a handle (top-left, top, top-right,
// left, right, bottom-left, bottom, bottom-right), 9 the inside of the selection.
inline constexpr int kHitNothing = 0;
inline constexpr int kHitInside = 9;

struct HitResult {
    int code = kHitNothing;
    Cursor cursor = Cursor::Arrow;
};

using Handles = std::array<Rect, 8>;

struct InfoPanel {
    Text text;
    Rect box;

    bool operator==(const InfoPanel&) const = default;
};

inline constexpr int kInfoBoxHeight = 60;
inline constexpr int kDefaultInfoBoxWidth = 300;
inline constexpr int kMinInfoBoxWidth = 350;
inline constexpr int kInfoBoxGap = 2;
inline constexpr int kHandleReach = 2;

// The hint shown while nothing is selected, centred on the monitor.
[[nodiscard]] InfoPanel DefaultInfoPanel(const Rect& monitor);
// Position and size of a normalised selection, in a box above it, below it or inside it,
// kept on the monitor as the rules keep it on the screen.
[[nodiscard]] InfoPanel SelectionInfoPanel(const Rect& selection, const Rect& monitor);
// The same on a screen that is one monitor with its corner at (0, 0).
[[nodiscard]] InfoPanel DefaultInfoPanel(int screenWidth, int screenHeight);
[[nodiscard]] InfoPanel SelectionInfoPanel(const Rect& selection, int screenWidth, int screenHeight);
// Four-pixel squares on the corners and edge midpoints, midpoints truncated toward zero.
[[nodiscard]] Handles SelectionHandles(const Rect& selection);
[[nodiscard]] HitResult HitTest(const Handles& handles, const Rect& selection, Point pointer);

} // namespace tovrik::capture
