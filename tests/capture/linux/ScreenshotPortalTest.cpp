// The portal's Screenshot client against the portal stand-in on a private bus: a picture that
// comes at once, late, never, or not at all because the desktop refuses.
#include "capture/linux/wayland/ScreenshotPortal.h"
#include "portal/PortalDouble.h"
#include "ui/linux/OffscreenQt.h"

#include <QColor>
#include <QElapsedTimer>
#include <QImage>

#include <gtest/gtest.h>

#include <vector>

namespace tovrik::capture {
namespace {

using Outcome = ScreenshotPortal::Outcome;

class ScreenshotPortalTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::OffscreenApplication();
        // A known picture: 40x20, left half red, right half blue, one green pixel at (3, 2).
        QImage picture(40, 20, QImage::Format_RGB32);
        picture.fill(Qt::red);
        for (int y = 0; y < 20; ++y) {
            for (int x = 20; x < 40; ++x) {
                picture.setPixelColor(x, y, Qt::blue);
            }
        }
        picture.setPixelColor(3, 2, Qt::green);
        m_picturePath = QStringLiteral("%1/portal-picture-%2.png")
                            .arg(qEnvironmentVariable("TMPDIR", QStringLiteral("/tmp")))
                            .arg(QCoreApplication::applicationPid());
        ASSERT_TRUE(picture.save(m_picturePath));
    }
    void TearDown() override { QFile::remove(m_picturePath); }

    [[nodiscard]] std::unique_ptr<PortalDouble> Start(const QStringList& scenario) {
        auto portal =
            std::make_unique<PortalDouble>(scenario + QStringList{QStringLiteral("--picture"), m_picturePath});
        EXPECT_TRUE(portal->Started()) << portal->Problem();
        return portal;
    }

    QString m_picturePath;
    std::vector<Outcome> m_told;
};

TEST_F(ScreenshotPortalTest, APictureThatComesBackIsLaidOverTheOutputsAndAskedForWithoutADialog) {
    auto portal = Start({QStringLiteral("--screenshot"), QStringLiteral("answer")});
    ASSERT_TRUE(portal->Started());
    ScreenshotPortal client(portal->Bus(), 3000, [this](Outcome outcome) { m_told.push_back(outcome); });
    // Two outputs, 20 and 20 pixels wide, side by side: the picture covers both.
    const OutputLayout layout(
        {{.name = "A", .logical = {0, 0, 20, 20}, .scale = 1, .physicalWidth = 20, .physicalHeight = 20},
         {.name = "B", .logical = {20, 0, 40, 20}, .scale = 1, .physicalWidth = 20, .physicalHeight = 20}});
    ui::Bitmap picture;
    ASSERT_TRUE(client.Grab(layout, {2, 1, 24, 5}, picture));
    ASSERT_EQ(picture.width, 22);
    ASSERT_EQ(picture.height, 4);
    auto pixel = [&picture](int x, int y) {
        const std::uint8_t* p =
            picture.pixels.data() + static_cast<std::size_t>(y) * picture.Stride() + static_cast<std::size_t>(x) * 4;
        return QColor(p[2], p[1], p[0]);
    };
    EXPECT_EQ(pixel(0, 0), QColor(Qt::red));
    EXPECT_EQ(pixel(1, 1), QColor(Qt::green)); // (3, 2) of the desktop
    EXPECT_EQ(pixel(17, 3), QColor(Qt::red));
    EXPECT_EQ(pixel(18, 0), QColor(Qt::blue)); // (20, 1): the second output
    EXPECT_TRUE(m_told.empty());
    EXPECT_TRUE(portal->Log().contains(QStringLiteral("Screenshot interactive=False")));
}

TEST_F(ScreenshotPortalTest, AnAnswerWithinTheWaitCountsEvenWhenItComesLate) {
    auto portal = Start(
        {QStringLiteral("--screenshot"), QStringLiteral("late"), QStringLiteral("--late-ms"), QStringLiteral("700")});
    ASSERT_TRUE(portal->Started());
    ScreenshotPortal client(portal->Bus(), 5000, [this](Outcome outcome) { m_told.push_back(outcome); });
    QImage picture;
    EXPECT_EQ(client.Take(picture), Outcome::Picture);
    EXPECT_EQ(picture.size(), QSize(40, 20));
}

TEST_F(ScreenshotPortalTest, NoAnswerEndsTheWaitWithdrawsTheRequestAndTellsTheUserOnce) {
    auto portal = Start({QStringLiteral("--screenshot"), QStringLiteral("never")});
    ASSERT_TRUE(portal->Started());
    ScreenshotPortal client(portal->Bus(), 600, [this](Outcome outcome) { m_told.push_back(outcome); });
    QImage picture;
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(client.Take(picture), Outcome::NoAnswer);
    EXPECT_LT(timer.elapsed(), 3000);
    EXPECT_EQ(client.Take(picture), Outcome::NoAnswer);
    EXPECT_EQ(m_told, std::vector<Outcome>{Outcome::NoAnswer});
    ASSERT_TRUE(testing::ProcessEventsUntil([&] { return portal->Log().contains(QStringLiteral("Close")); }));
}

TEST_F(ScreenshotPortalTest, ARefusalAndAMissingPortalAreFailuresTheUserHearsOf) {
    auto portal = Start({QStringLiteral("--screenshot"), QStringLiteral("refuse")});
    ASSERT_TRUE(portal->Started());
    ScreenshotPortal refused(portal->Bus(), 3000, [this](Outcome outcome) { m_told.push_back(outcome); });
    ui::Bitmap picture;
    EXPECT_FALSE(refused.Grab(OutputLayout(), {0, 0, 10, 10}, picture));
    // No bus to reach a portal on: the call itself fails, without waiting for the timeout.
    ScreenshotPortal missing(QDBusConnection(QStringLiteral("no-such-connection")), 3000,
                             [this](Outcome outcome) { m_told.push_back(outcome); });
    QImage image;
    EXPECT_EQ(missing.Take(image), Outcome::NoPortal);
    EXPECT_EQ(m_told, (std::vector<Outcome>{Outcome::Refused, Outcome::NoPortal}));
}

} // namespace
} // namespace tovrik::capture
