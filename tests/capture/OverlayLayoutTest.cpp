#include "capture/OverlayLayout.h"

#include <gtest/gtest.h>

namespace tovrik::capture {
namespace {

TEST(OverlayLayout, HintBoxIsCentredWithTruncation) {
    const InfoPanel panel = DefaultInfoPanel(1921, 1081);
    EXPECT_EQ(panel.box, (Rect{810, 510, 1110, 570}));
    EXPECT_EQ(panel.text, "  按下鼠标左键开始选择截图位置.\r\n\r\n  按下鼠标右键选择更多操作或ESC键退出截图.");
    // A screen narrower than the box: (200 - 300) / 2 truncates toward zero.
    EXPECT_EQ(DefaultInfoPanel(201, 59).box, (Rect{-49, 0, 251, 60}));
}

TEST(OverlayLayout, SelectionTextAndBoxPlacement) {
    // Near the top: no room above, so the box goes below.
    const InfoPanel top = SelectionInfoPanel({50, 10, 150, 50}, 1920, 1080);
    EXPECT_EQ(top.text, "  当前选择左边:50  顶边:10  尺寸:100 x 40\r\n\r\n"
                        "  双击完成截图,按下鼠标右键选择更多操作或ESC键退出截图.");
    EXPECT_EQ(top.box, (Rect{50, 52, 400, 112}));

    // Room above: 2 pixels above the selection.
    EXPECT_EQ(SelectionInfoPanel({50, 300, 150, 340}, 1920, 1080).box, (Rect{50, 238, 400, 298}));
    // A wide selection widens the box.
    EXPECT_EQ(SelectionInfoPanel({10, 300, 610, 340}, 1920, 1080).box.Width(), 600);
    // Touching the right edge: shifted left to end at the edge.
    EXPECT_EQ(SelectionInfoPanel({1800, 300, 1920, 400}, 1920, 1080).box, (Rect{1570, 238, 1920, 298}));
    // Left of the screen (a moved selection): starts at 0.
    EXPECT_EQ(SelectionInfoPanel({-30, 300, 20, 400}, 1920, 1080).box.left, 0);
    // The whole height taken: no room above or below, so inside along the bottom edge.
    EXPECT_EQ(SelectionInfoPanel({0, 0, 1920, 1080}, 1920, 1080).box, (Rect{0, 1018, 1920, 1078}));
}

TEST(OverlayLayout, HandlesSitOnCornersAndTruncatedMidpoints) {
    const Handles handles = SelectionHandles({10, 20, 111, 61});
    EXPECT_EQ(handles[0], (Rect{8, 18, 12, 22}));
    EXPECT_EQ(handles[1], (Rect{58, 18, 62, 22})) << "midpoint 60.5: 58.5 and 62.5 truncate";
    EXPECT_EQ(handles[2], (Rect{109, 18, 113, 22}));
    EXPECT_EQ(handles[3], (Rect{8, 38, 12, 42}));
    EXPECT_EQ(handles[4], (Rect{109, 38, 113, 42}));
    EXPECT_EQ(handles[5], (Rect{8, 59, 12, 63}));
    EXPECT_EQ(handles[6], (Rect{58, 59, 62, 63}));
    EXPECT_EQ(handles[7], (Rect{109, 59, 113, 63}));
    // Negative midpoints truncate toward zero: -2.5 - 2 = -4.5 becomes -4.
    EXPECT_EQ(SelectionHandles({-10, 0, 5, 10})[1], (Rect{-4, -2, 0, 2}));
}

TEST(OverlayLayout, HitTestTakesTheFirstMatchInHandleOrder) {
    const Rect selection{100, 100, 104, 104}; // handles overlap on a tiny selection
    const Handles handles = SelectionHandles(selection);
    const HitResult corner = HitTest(handles, selection, {101, 101});
    EXPECT_EQ(corner.code, 1);
    EXPECT_EQ(corner.cursor, Cursor::SizeNwse);

    const Rect big{100, 100, 300, 200};
    const Handles bigHandles = SelectionHandles(big);
    const struct {
        Point at;
        int code;
        Cursor cursor;
    } cases[] = {
        {{200, 100}, 2, Cursor::SizeNs},   {{300, 99}, 3, Cursor::SizeNesw},  {{98, 150}, 4, Cursor::SizeWe},
        {{301, 150}, 5, Cursor::SizeWe},   {{100, 200}, 6, Cursor::SizeNesw}, {{200, 201}, 7, Cursor::SizeNs},
        {{299, 199}, 8, Cursor::SizeNwse}, {{150, 150}, 9, Cursor::SizeAll},  {{302, 150}, 0, Cursor::Arrow},
        {{300, 150}, 5, Cursor::SizeWe},
    };
    for (const auto& c : cases) {
        const HitResult hit = HitTest(bigHandles, big, c.at);
        EXPECT_EQ(hit.code, c.code) << c.at.x << "," << c.at.y;
        EXPECT_EQ(hit.cursor, c.cursor) << c.at.x << "," << c.at.y;
    }
    // The right edge itself is outside the selection away from the handles.
    EXPECT_EQ(HitTest(bigHandles, big, {300, 120}).code, 0);
}

} // namespace
} // namespace tovrik::capture
