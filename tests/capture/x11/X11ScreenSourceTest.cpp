// The X11 screen source's overlay pixmaps, on the test's own server (Xvfb) through Qt's
// connection: captures in a row draw into one pair kept by the server.
#include "capture/linux/X11ScreenSource.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>

#include <memory>

namespace tovrik::capture {
namespace {

class X11ScreenSourceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 3;
        static char name[] = "capture_x11_tests";
        static char option[] = "-platform";
        static char platform[] = "xcb";
        static char* argv[] = {name, option, platform, nullptr};
        s_application = new QGuiApplication(argc, argv);
    }
    static void TearDownTestSuite() {
        delete s_application;
        s_application = nullptr;
    }
    void SetUp() override {
        ASSERT_NE(QGuiApplication::primaryScreen(), nullptr) << "these tests need an X server (run under xvfb-run)";
        const QRect desktop = QGuiApplication::primaryScreen()->virtualGeometry();
        m_desktop = {desktop.x(), desktop.y(), desktop.x() + desktop.width(), desktop.y() + desktop.height()};
    }

    static QGuiApplication* s_application;
    Rect m_desktop;
};

QGuiApplication* X11ScreenSourceTest::s_application = nullptr;

TEST_F(X11ScreenSourceTest, CapturesInARowShareThePixmapsOnlyWhenNoOverlayHoldsThem) {
    X11ScreenSource source;
    // The source prepares its pixmaps once the event loop runs.
    QCoreApplication::processEvents();
    std::unique_ptr<OverlayCanvas> first = source.Freeze(m_desktop);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->ScreenPixels(), nullptr) << "the server keeps this overlay";
    const std::uintptr_t kept = first->NativeFrame();
    ASSERT_NE(kept, 0u);

    std::unique_ptr<OverlayCanvas> meanwhile = source.Freeze(m_desktop);
    ASSERT_NE(meanwhile, nullptr);
    EXPECT_NE(meanwhile->NativeFrame(), kept) << "two open overlays must not draw into one frame";
    meanwhile.reset();
    first.reset();

    std::unique_ptr<OverlayCanvas> next = source.Freeze(m_desktop);
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->NativeFrame(), kept);
    next.reset();

    // Another size: new pixmaps, kept in turn.
    const Rect smaller{0, 0, m_desktop.Width() / 2, m_desktop.Height() / 2};
    std::unique_ptr<OverlayCanvas> small = source.Freeze(smaller);
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(small->Width(), smaller.Width());
    const std::uintptr_t smallFrame = small->NativeFrame();
    small.reset();
    small = source.Freeze(smaller);
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(small->NativeFrame(), smallFrame);
}

} // namespace
} // namespace tovrik::capture
