#pragma once

#include "capture/linux/wayland/OutputLayout.h"
#include "ui/Bitmap.h"

#include <QDBusConnection>
#include <QImage>

#include <functional>

namespace tovrik::capture {

// The desktop portal's Screenshot interface (org.freedesktop.portal.Screenshot), asked without
// a dialog. The picture comes back as a Response signal on a request object; a desktop that
// has not allowed the program may never send it, so the wait is bounded, and the user is told
// once what to allow.
class ScreenshotPortal {
public:
    static constexpr int kAnswerTimeoutMs = 15000;

    enum class Outcome { Picture, Refused, NoAnswer, NoPortal, Unreadable };

    // `onFailure` hears of the first failure only; the default one shows a message box.
    explicit ScreenshotPortal(QDBusConnection bus = QDBusConnection::sessionBus(),
                              int answerTimeoutMs = kAnswerTimeoutMs, std::function<void(Outcome)> onFailure = {});

    // One picture of the whole desktop, as the portal gives it.
    [[nodiscard]] Outcome Take(QImage& pictureOut);
    // The picture laid over the outputs' physical rectangles: pixel (0, 0) is (area.left,
    // area.top). A picture of another size than the outputs' is scaled to them.
    [[nodiscard]] bool Grab(const OutputLayout& layout, const Rect& area, ui::Bitmap& pictureOut);

private:
    QDBusConnection m_bus;
    int m_answerTimeoutMs;
    std::function<void(Outcome)> m_onFailure;
    bool m_told = false;
    unsigned m_requests = 0;
};

} // namespace tovrik::capture
