// The overlay of the core on the Qt window (offscreen platform), driven by Qt mouse and key
// events: the events arrive in the order and coordinates the overlay expects.
#include "capture/linux/QtOverlayWindow.h"
#include "capture/CaptureOverlay.h"
#include "capture/linux/QtFileDialogHost.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeFileDialogHost.h"
#include "fakes/FakeScreenSettle.h"
#include "fakes/FakeScreenSource.h"
#include "ui/linux/OffscreenQt.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>

#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <functional>

namespace tovrik::capture {
namespace {

using tovrik::testing::T;

class QtOverlayWindowTest : public ::testing::Test {
protected:
    QtOverlayWindowTest() { tovrik::testing::OffscreenApplication(); }

    // Runs the overlay; the script acts on its widget once it is shown.
    bool Run(std::function<void(QWidget&)> script) {
        QTimer::singleShot(0, [this, script] {
            QWidget* widget = QWidget::find(static_cast<WId>(m_window.NativeHandle()));
            ASSERT_NE(widget, nullptr);
            m_shownGeometry = widget->geometry();
            script(*widget);
        });
        return m_overlay.Run();
    }
    static void Mouse(QWidget& widget, QEvent::Type type, int x, int y, Qt::MouseButton button = Qt::LeftButton) {
        const QPointF local(x, y);
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease || type == QEvent::MouseMove
                                          ? Qt::MouseButtons{}
                                          : Qt::MouseButtons{button};
        QMouseEvent event(type, local, widget.mapToGlobal(local), type == QEvent::MouseMove ? Qt::NoButton : button,
                          held, Qt::NoModifier);
        QApplication::sendEvent(&widget, &event);
    }
    static void Drag(QWidget& widget, int fromX, int fromY, int toX, int toY) {
        Mouse(widget, QEvent::MouseMove, fromX, fromY);
        Mouse(widget, QEvent::MouseButtonPress, fromX, fromY);
        Mouse(widget, QEvent::MouseMove, (fromX + toX) / 2, (fromY + toY) / 2);
        Mouse(widget, QEvent::MouseMove, toX, toY);
        Mouse(widget, QEvent::MouseButtonRelease, toX, toY);
    }
    // The pointer arrives, then the events of a double-click.
    static void DoubleClick(QWidget& widget, int x, int y) {
        Mouse(widget, QEvent::MouseMove, x, y);
        Mouse(widget, QEvent::MouseButtonPress, x, y);
        Mouse(widget, QEvent::MouseButtonRelease, x, y);
        Mouse(widget, QEvent::MouseButtonDblClick, x, y);
        Mouse(widget, QEvent::MouseButtonRelease, x, y);
    }
    static void KeyUp(QWidget& widget, unsigned long keysym) {
        QKeyEvent down(QEvent::KeyPress, 0, Qt::NoModifier, 0, static_cast<quint32>(keysym), 0);
        QApplication::sendEvent(&widget, &down);
        QKeyEvent up(QEvent::KeyRelease, 0, Qt::NoModifier, 0, static_cast<quint32>(keysym), 0);
        QApplication::sendEvent(&widget, &up);
    }

    fakes::FakeScreenSource m_screen;
    fakes::FakeScreenSettle m_settle;
    QtOverlayWindow m_window;
    fakes::FakeFileDialogHost m_dialogs;
    fakes::FakeClock m_clock;
    CaptureOverlay m_overlay{m_screen, m_settle, m_window, m_dialogs, m_clock};
    QRect m_shownGeometry;
};

TEST_F(QtOverlayWindowTest, CoversEveryMonitorAndFinishesWithTheDraggedArea) {
    // The second monitor left of the primary one: the window starts at a negative x.
    m_screen.monitors = {{0, 0, 1920, 1080}, {-1280, 0, 0, 1024}};
    const bool selected = Run([](QWidget& widget) {
        Drag(widget, 600, 400, 200, 100);
        DoubleClick(widget, 300, 200);
    });
    EXPECT_EQ(m_shownGeometry, QRect(-1280, 0, 3200, 1080));
    ASSERT_TRUE(selected);
    const OverlaySelection selection = m_overlay.Selection();
    EXPECT_EQ(selection.left, 200);
    EXPECT_EQ(selection.top, 100);
    EXPECT_EQ(selection.width, 400);
    EXPECT_EQ(selection.height, 300);
    m_overlay.Reset();
}

TEST_F(QtOverlayWindowTest, EscapeCancelsWhenItIsReleased) {
    const bool selected = Run([](QWidget& widget) {
        Drag(widget, 10, 10, 110, 60);
        KeyUp(widget, XK_Escape);
    });
    EXPECT_FALSE(selected);
    m_overlay.Reset();
}

TEST_F(QtOverlayWindowTest, AClickMakesNoSelectionAndADoubleClickThenEndsWithout) {
    const bool selected = Run([](QWidget& widget) {
        Mouse(widget, QEvent::MouseButtonPress, 50, 50);
        Mouse(widget, QEvent::MouseButtonRelease, 50, 50);
        DoubleClick(widget, 50, 50);
    });
    EXPECT_FALSE(selected);
    m_overlay.Reset();
}

TEST_F(QtOverlayWindowTest, TheContextMenuShowsTheEntriesAndReturnsTheChoice) {
    std::vector<std::pair<QString, bool>> shown;
    const bool selected = Run([&shown](QWidget& widget) {
        Drag(widget, 10, 10, 110, 60);
        QTimer::singleShot(0, [&shown] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            QAction* finish = nullptr;
            for (QAction* action : menu->actions()) {
                shown.emplace_back(action->text(), action->isEnabled());
                if (action->text() == QStringLiteral("完成截图(&C)")) {
                    finish = action;
                }
            }
            ASSERT_NE(finish, nullptr);
            menu->setActiveAction(finish);
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QApplication::sendEvent(menu, &enter);
        });
        Mouse(widget, QEvent::MouseButtonPress, 50, 30, Qt::RightButton);
        Mouse(widget, QEvent::MouseButtonRelease, 50, 30, Qt::RightButton);
    });
    ASSERT_EQ(shown.size(), 5u);
    EXPECT_EQ(shown[0], std::make_pair(QStringLiteral("重新选择区域(&R)"), true));
    EXPECT_TRUE(shown[3].first.isEmpty()) << "separator";
    EXPECT_EQ(shown[4], std::make_pair(QStringLiteral("退出截图(&X)"), true));
    EXPECT_TRUE(selected);
    EXPECT_EQ(m_overlay.Selection().width, 100);
    m_overlay.Reset();
}

TEST_F(QtOverlayWindowTest, TextIsDrawnInWhiteInsideItsBoxOnly) {
    ui::Bitmap picture{400, 120, ui::PixelBytes(400 * 120 * 4, 0)};
    const Rect box{20, 10, 320, 100};
    m_window.DrawText(picture, box, T("  当前选择左边:50  顶边:10\r\n\r\n  双击完成截图"));
    int inside = 0;
    int outside = 0;
    int lastRow = 0;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const std::uint8_t* pixel = picture.pixels.data() + (static_cast<std::size_t>(y) * picture.width + x) * 4;
            if (pixel[0] == 0 && pixel[1] == 0 && pixel[2] == 0) {
                continue;
            }
            EXPECT_EQ(pixel[0], pixel[2]) << "grey to white, never coloured";
            const bool in = x >= box.left && x < box.right && y >= box.top && y < box.bottom;
            (in ? inside : outside) += 1;
            lastRow = std::max(lastRow, y);
        }
    }
    EXPECT_GT(inside, 100);
    EXPECT_EQ(outside, 0);
    // The third line sits two line heights below the first.
    EXPECT_GT(lastRow, box.top + 2 * QFontMetrics(QApplication::font()).lineSpacing());
}

TEST(QtFileDialogHostTest, FiltersBecomeQtNameFilters) {
    FileDialogRequest request;
    request.filter = T("PNG图片(*.png)") + '\0' + "*.png" + '\0' + "Logs" + '\0' + "*.txt;*.log" + '\0' + '\0';
    EXPECT_EQ(QtFileDialogHost::NameFilters(request),
              (QStringList{QStringLiteral("PNG图片(*.png)"), QStringLiteral("Logs (*.txt *.log)")}));
}

} // namespace
} // namespace tovrik::capture
