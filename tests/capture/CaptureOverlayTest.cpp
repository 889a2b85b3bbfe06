#include "CaptureTestSupport.h"
#include "fakes/FakeFileDialogHost.h"
#include "fakes/FakeOverlayWindow.h"
#include "fakes/FakeScreenSettle.h"
#include "fakes/FakeScreenSource.h"

#include "capture/CaptureOverlay.h"
#include "capture/ScreenImage.h"

#include <gtest/gtest.h>

namespace tovrik::capture {
namespace {

using namespace std::string_literals;
using fakes::FakeOverlayWindow;
using fakes::FakeScreenSource;

class CaptureOverlayTest : public ::testing::Test {
protected:
    FakeScreenSource screen;
    fakes::FakeScreenSettle settle;
    FakeOverlayWindow window;
    fakes::FakeFileDialogHost dialogs;
    test::ManualClock clock;
    CaptureOverlay overlay{screen, settle, window, dialogs, clock};

    bool RunWith(std::function<void(FakeOverlayWindow&)> script) {
        window.script = std::move(script);
        return overlay.Run();
    }

    static bool Enabled(const std::vector<MenuItem>& items, int id) {
        for (const MenuItem& item : items) {
            if (item.id == id) {
                return item.enabled;
            }
        }
        ADD_FAILURE() << "no menu entry " << id;
        return false;
    }
};

TEST_F(CaptureOverlayTest, CoversEveryMonitorAndReportsCoordinatesFromTheOverlaysCorner) {
    // The second monitor stands left of the primary one.
    screen.monitors = {{0, 0, 1920, 1080}, {-1280, 56, 0, 1080}};
    const bool finished = RunWith([](FakeOverlayWindow& w) {
        w.Drag(10, 20, 110, 60);
        w.DoubleClick(50, 40);
    });
    ASSERT_TRUE(finished);
    EXPECT_EQ(window.shownArea, (Rect{-1280, 0, 1920, 1080}));
    EXPECT_EQ(screen.lastGrab, (Rect{-1280, 0, 1920, 1080}));
    EXPECT_EQ(overlay.ScreenWidth(), 3200);
    const OverlaySelection selection = overlay.Selection();
    EXPECT_EQ(selection.left, 10);
    EXPECT_EQ(selection.top, 20);
    EXPECT_EQ(selection.width, 100);
    EXPECT_EQ(selection.height, 40);
    // Window pixel (10, 20) is desktop pixel (-1270, 20).
    EXPECT_EQ(test::PixelOf(*selection.screen, 10, 20), FakeScreenSource::PixelAt(-1270, 20));
}

TEST_F(CaptureOverlayTest, ReverseDragGivesTheSameSelectionAndHandlesMoveTheirCorner) {
    ASSERT_TRUE(RunWith([](FakeOverlayWindow& w) {
        w.Drag(50, 10, 151, 50);
        w.DoubleClick(60, 20);
    }));
    const OverlayScene forward = overlay.Scene();
    overlay.Reset();

    std::optional<OverlayScene> reverse;
    ASSERT_TRUE(RunWith([&](FakeOverlayWindow& w) {
        w.Drag(151, 50, 50, 10);
        reverse = overlay.Scene();
        EXPECT_EQ(overlay.RawSelection(), (Rect{50, 10, 151, 50})) << "normalised on release";
        // The top-left handle now grabs the top-left corner.
        w.Move(50, 10);
        EXPECT_EQ(overlay.HitCode(), 1);
        EXPECT_EQ(overlay.CurrentCursor(), Cursor::SizeNwse);
        w.Drag(50, 10, 40, 5);
        w.DoubleClick(60, 20);
    }));
    ASSERT_TRUE(reverse);
    EXPECT_EQ(*reverse, forward);
    EXPECT_EQ(overlay.Scene().selection, (Rect{40, 5, 151, 50}));
}

TEST_F(CaptureOverlayTest, DrawsTheSelectionTextBelowASelectionNearTheTop) {
    RunWith([](FakeOverlayWindow& w) {
        w.Drag(50, 10, 150, 50);
        w.KeyUp(CaptureOverlay::kKeyEscape);
    });
    // The last text drawn before ESC belongs to the released selection.
    ASSERT_FALSE(window.texts.empty());
    const FakeOverlayWindow::TextDraw& drawn = window.texts.back();
    EXPECT_EQ(drawn.box, (Rect{50, 62, 400, 112})) << "box (50, 52, 400, 112), text 10 pixels lower";
    EXPECT_TRUE(drawn.text.starts_with("  当前选择左边:50  顶边:10  尺寸:100 x 40\r\n\r\n"));
    // The hint came first, centred: (1920 - 300) / 2 = 810, (1080 - 60) / 2 = 510.
    EXPECT_EQ(window.texts.front().box, (Rect{810, 520, 1110, 570}));
    EXPECT_TRUE(window.texts.front().text.starts_with("  按下鼠标左键开始选择截图位置."));
}

TEST_F(CaptureOverlayTest, AClickWithoutMovingMakesNoSelection) {
    const bool finished = RunWith([&](FakeOverlayWindow& w) {
        w.Press(300, 300);
        EXPECT_TRUE(overlay.Dragging());
        w.Release(300, 300);
        EXPECT_FALSE(overlay.Selected());
        EXPECT_FALSE(overlay.Scene().showSelection);
        EXPECT_EQ(overlay.Scene().info.box, (Rect{810, 510, 1110, 570}));
        w.DoubleClick(300, 300);
    });
    EXPECT_FALSE(finished);
    EXPECT_TRUE(window.closed);
}

TEST_F(CaptureOverlayTest, DoubleClickInsideFinishesAndOutsideDiscardsTheSelection) {
    EXPECT_TRUE(RunWith([&](FakeOverlayWindow& w) {
        w.Drag(100, 100, 300, 200);
        w.Move(150, 150);
        EXPECT_EQ(overlay.HitCode(), kHitInside);
        w.DoubleClick(150, 150);
    }));
    EXPECT_EQ(overlay.Selection().width, 200);
    overlay.Reset();

    EXPECT_FALSE(RunWith([&](FakeOverlayWindow& w) {
        w.Drag(100, 100, 300, 200);
        w.Move(500, 500);
        EXPECT_EQ(overlay.HitCode(), kHitNothing);
        w.DoubleClick(500, 500);
    }));
}

TEST_F(CaptureOverlayTest, ContextMenuOffersOnlyExitWithoutASelection) {
    window.menuChoice = [](const std::vector<MenuItem>&) { return CaptureOverlay::kCommandCancel; };
    EXPECT_FALSE(RunWith([](FakeOverlayWindow& w) { w.RightClick(10, 10); }));
    ASSERT_EQ(window.menus.size(), 1u);
    const std::vector<MenuItem>& items = window.menus[0];
    const std::vector<MenuItem> expected = {
        {152, "重新选择区域(&R)", false}, {150, "完成截图(&C)", false}, {151, "保存到文件(&S)", false}, {0, "", true},
        {153, "退出截图(&X)", true},
    };
    EXPECT_EQ(items, expected);
    EXPECT_EQ(window.cursors.back(), Cursor::Arrow);
    EXPECT_GE(window.captureReleases, 1);
}

TEST_F(CaptureOverlayTest, ContextMenuFinishesOrReselectsWithASelection) {
    int menuCount = 0;
    window.menuChoice = [&](const std::vector<MenuItem>& items) {
        EXPECT_TRUE(Enabled(items, CaptureOverlay::kCommandFinish));
        EXPECT_TRUE(Enabled(items, CaptureOverlay::kCommandSave));
        EXPECT_TRUE(Enabled(items, CaptureOverlay::kCommandReselect));
        return ++menuCount == 1 ? CaptureOverlay::kCommandReselect : CaptureOverlay::kCommandFinish;
    };
    EXPECT_TRUE(RunWith([&](FakeOverlayWindow& w) {
        w.Drag(10, 10, 60, 60);
        w.RightClick(20, 20);
        EXPECT_FALSE(overlay.Selected()) << "reselect drops the selection";
        EXPECT_FALSE(overlay.Scene().showSelection);
        clock.ticks += 500;
        w.Drag(20, 20, 80, 90);
        w.RightClick(30, 30);
    }));
    EXPECT_EQ(overlay.Selection().width, 60);
    EXPECT_EQ(overlay.Selection().height, 70);
}

TEST_F(CaptureOverlayTest, ClicksRightAfterTheMenuClosedAreTheMenusOwn) {
    RunWith([&](FakeOverlayWindow& w) {
        w.Drag(10, 10, 60, 60);
        w.RightClick(300, 300); // the menu closes without a choice
        EXPECT_TRUE(overlay.MenuActive());
        clock.ticks += CaptureOverlay::kMenuGuardMs - 1;
        w.Press(400, 400);
        EXPECT_FALSE(overlay.Dragging()) << "the click that closed the menu";
        w.Move(30, 30);
        EXPECT_EQ(overlay.HitCode(), kHitNothing) << "no hover test while the guard lasts";
        clock.ticks += 1;
        EXPECT_FALSE(overlay.MenuActive());
        w.Move(30, 30);
        EXPECT_EQ(overlay.HitCode(), kHitInside);
        w.KeyUp(CaptureOverlay::kKeyEscape);
    });
}

TEST_F(CaptureOverlayTest, EscapeActsOnKeyReleaseOnly) {
    EXPECT_FALSE(RunWith([&](FakeOverlayWindow& w) {
        w.Drag(10, 10, 60, 60);
        w.KeyUp(13);
        EXPECT_FALSE(w.closed);
        w.KeyUp(CaptureOverlay::kKeyEscape);
        EXPECT_TRUE(w.closed);
        EXPECT_FALSE(overlay.Selected());
    }));
}

TEST_F(CaptureOverlayTest, ASecondOverlayIsRefusedAndLeavesTheFirstIntact) {
    test::RecordingClipboard clipboard;
    EXPECT_TRUE(RunWith([&](FakeOverlayWindow& w) {
        w.Drag(10, 10, 60, 60);
        EXPECT_FALSE(overlay.Run());
        ScreenImage nested(overlay, clipboard);
        EXPECT_FALSE(nested.SelectArea(true));
        overlay.Reset();
        EXPECT_TRUE(overlay.Selected()) << "a refused capture must not reset the open overlay";
        EXPECT_FALSE(overlay.Frame().Empty());
        w.DoubleClick(20, 20);
    }));
    EXPECT_EQ(window.runCount, 1);
    EXPECT_EQ(screen.grabCount, 1);
    EXPECT_EQ(clipboard.writes, 0);
}

TEST_F(CaptureOverlayTest, InsideHitMovesTheSelectionWithoutClamping) {
    ASSERT_TRUE(RunWith([&](FakeOverlayWindow& w) {
        w.Drag(100, 100, 200, 150);
        w.Move(120, 120);
        EXPECT_EQ(overlay.CurrentCursor(), Cursor::SizeAll);
        w.Drag(120, 120, 10, 70);
        EXPECT_EQ(overlay.Scene().selection, (Rect{-10, 50, 90, 100}));
        w.Move(50, 60);
        w.DoubleClick(50, 60);
    }));
    EXPECT_EQ(overlay.Selection().left, -10);
    EXPECT_EQ(overlay.Selection().width, 100);
}

TEST_F(CaptureOverlayTest, EdgeHandlesChangeOneSideEach) {
    RunWith([&](FakeOverlayWindow& w) {
        w.Drag(100, 100, 200, 160);
        w.Move(150, 100); // top edge midpoint
        EXPECT_EQ(overlay.HitCode(), 2);
        w.Drag(150, 100, 170, 90);
        EXPECT_EQ(overlay.Scene().selection, (Rect{100, 90, 200, 160}));
        w.Move(200, 125); // right edge midpoint
        EXPECT_EQ(overlay.HitCode(), 5);
        EXPECT_EQ(overlay.CurrentCursor(), Cursor::SizeWe);
        w.Drag(200, 125, 260, 10);
        EXPECT_EQ(overlay.Scene().selection, (Rect{100, 90, 260, 160}));
        w.KeyUp(CaptureOverlay::kKeyEscape);
    });
}

TEST_F(CaptureOverlayTest, RightButtonDuringADragEndsTheDrag) {
    RunWith([&](FakeOverlayWindow& w) {
        w.Press(10, 10);
        w.Move(80, 80);
        w.RightClick(80, 80);
        EXPECT_FALSE(overlay.Dragging());
        EXPECT_FALSE(overlay.Scene().showSelection);
        EXPECT_TRUE(w.menus.empty());
        w.KeyUp(CaptureOverlay::kKeyEscape);
    });
}

TEST_F(CaptureOverlayTest, SaveToFileAsksForANameAndFinishes) {
    test::TempFolder folder;
    window.menuChoice = [](const std::vector<MenuItem>&) { return CaptureOverlay::kCommandSave; };
    EXPECT_TRUE(RunWith([&](FakeOverlayWindow& w) {
        w.Drag(10, 10, 60, 40);
        w.RightClick(20, 20); // the dialog is cancelled: the overlay stays
        EXPECT_FALSE(w.closed);
        dialogs.answer = folder.File("shot");
        clock.ticks += 1000;
        w.RightClick(20, 20);
        EXPECT_TRUE(w.closed);
    }));
    ASSERT_EQ(dialogs.requests.size(), 2u);
    const FileDialogRequest& request = dialogs.requests[0];
    EXPECT_EQ(request.owner, window.NativeHandle());
    EXPECT_EQ(request.defaultExtension, "png");
    EXPECT_EQ(request.title, "保存");
    EXPECT_EQ(request.flags, 0x881004u);
    EXPECT_EQ(request.filter, "PNG图片(*.png)\0*.png\0JPG图片(*.jpg)\0*.jpg\0GIF图片(*.gif)\0*.gif\0"
                              "BMP图片(*.bmp)\0*.bmp\0\0"s);
    EXPECT_TRUE(folder.Exists("shot.png")) << "the default extension completes the name";
}

TEST_F(CaptureOverlayTest, NoOverlayWhenTheScreenOrTheWindowFails) {
    screen.failGrab = true;
    EXPECT_FALSE(overlay.Run());
    EXPECT_EQ(window.runCount, 0);
    screen.failGrab = false;
    window.canShow = false;
    EXPECT_FALSE(overlay.Run());
    EXPECT_FALSE(overlay.IsOpen());
    window.canShow = true;
    EXPECT_FALSE(RunWith([](FakeOverlayWindow& w) { w.AskToClose(); }));
}

TEST_F(CaptureOverlayTest, RedrawsPresentOnlyWhatChanged) {
    RunWith([&](FakeOverlayWindow& w) {
        w.Press(100, 100);
        w.Move(160, 140);
        window.presented.clear();
        w.Move(161, 141);
        ASSERT_EQ(window.presented.size(), 1u);
        // The old and new selection with their handles and the info box below them.
        const Rect changed = window.presented[0];
        EXPECT_LE(changed.Width(), 400);
        EXPECT_LE(changed.Height(), 120);
        w.KeyUp(CaptureOverlay::kKeyEscape);
    });
}

} // namespace
} // namespace tovrik::capture
