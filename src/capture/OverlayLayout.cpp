#include "capture/OverlayLayout.h"

#include <algorithm>
#include <string>

namespace tovrik::capture {

namespace {

// A handle around (x2 / 2, y2 / 2), the centre given doubled so that half-pixel midpoints stay
// exact; C++ division truncates toward zero, as the layout rules want.
Rect HandleAround(int x2, int y2) {
    return {(x2 - 2 * kHandleReach) / 2, (y2 - 2 * kHandleReach) / 2, (x2 + 2 * kHandleReach) / 2,
            (y2 + 2 * kHandleReach) / 2};
}

constexpr HitResult kHandleHits[8] = {
    {1, Cursor::SizeNwse}, {2, Cursor::SizeNs},   {3, Cursor::SizeNesw}, {4, Cursor::SizeWe},
    {5, Cursor::SizeWe},   {6, Cursor::SizeNesw}, {7, Cursor::SizeNs},   {8, Cursor::SizeNwse},
};

} // namespace

InfoPanel DefaultInfoPanel(const Rect& monitor) {
    const int left = monitor.left + (monitor.Width() - kDefaultInfoBoxWidth) / 2;
    const int top = monitor.top + (monitor.Height() - kInfoBoxHeight) / 2;
    return {"  按下鼠标左键开始选择截图位置.\r\n\r\n  按下鼠标右键选择更多操作或ESC键退出截图.",
            {left, top, left + kDefaultInfoBoxWidth, top + kInfoBoxHeight}};
}

InfoPanel SelectionInfoPanel(const Rect& selection, const Rect& monitor) {
    InfoPanel panel;
    panel.text = "  当前选择左边:" + std::to_string(selection.left) + "  顶边:" + std::to_string(selection.top) +
                 "  尺寸:" + std::to_string(selection.Width()) + " x " + std::to_string(selection.Height()) +
                 "\r\n\r\n  双击完成截图,按下鼠标右键选择更多操作或ESC键退出截图.";

    const int width = std::max(kMinInfoBoxWidth, selection.Width());
    int x = selection.left;
    int y = selection.top - kInfoBoxHeight - kInfoBoxGap;
    if (x < monitor.left) {
        x = monitor.left;
    }
    if (monitor.right - x - width < 0) {
        x = monitor.right - width;
    }
    if (y < monitor.top) {
        y = selection.bottom + kInfoBoxGap;
    }
    if (monitor.bottom - y - kInfoBoxHeight < 0) {
        y = selection.bottom - kInfoBoxHeight - kInfoBoxGap;
    }
    panel.box = {x, y, x + width, y + kInfoBoxHeight};
    return panel;
}

InfoPanel DefaultInfoPanel(int screenWidth, int screenHeight) {
    return DefaultInfoPanel(Rect{0, 0, screenWidth, screenHeight});
}

InfoPanel SelectionInfoPanel(const Rect& selection, int screenWidth, int screenHeight) {
    return SelectionInfoPanel(selection, Rect{0, 0, screenWidth, screenHeight});
}

Handles SelectionHandles(const Rect& s) {
    const int left2 = 2 * s.left;
    const int right2 = 2 * s.right;
    const int top2 = 2 * s.top;
    const int bottom2 = 2 * s.bottom;
    const int midX2 = s.left + s.right;
    const int midY2 = s.top + s.bottom;
    return {HandleAround(left2, top2),    HandleAround(midX2, top2),    HandleAround(right2, top2),
            HandleAround(left2, midY2),   HandleAround(right2, midY2),  HandleAround(left2, bottom2),
            HandleAround(midX2, bottom2), HandleAround(right2, bottom2)};
}

HitResult HitTest(const Handles& handles, const Rect& selection, Point pointer) {
    for (std::size_t i = 0; i < handles.size(); ++i) {
        if (handles[i].Contains(pointer)) {
            return kHandleHits[i];
        }
    }
    if (selection.Contains(pointer)) {
        return {kHitInside, Cursor::SizeAll};
    }
    return {};
}

} // namespace tovrik::capture
