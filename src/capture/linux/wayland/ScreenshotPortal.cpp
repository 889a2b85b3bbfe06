#include "capture/linux/wayland/ScreenshotPortal.h"

#include "capture/linux/wayland/PortalRequest.h"
#include "ui/linux/TestHook.h"

#include <QDBusMessage>
#include <QFile>
#include <QMessageBox>
#include <QUrl>
#include <QVariantMap>

#include <cstring>

namespace tovrik::capture {

namespace {

const QString kInterface = QStringLiteral("org.freedesktop.portal.Screenshot");

// What the user can do about each failure.
const char* Advice(ScreenshotPortal::Outcome outcome) {
    switch (outcome) {
    case ScreenshotPortal::Outcome::Refused:
        return "桌面拒绝了截屏请求。请在系统设置的隐私或应用权限中允许托维OCR截取屏幕, 然后再截图。";
    case ScreenshotPortal::Outcome::NoAnswer:
        return "桌面没有回答截屏请求。请在系统设置的隐私或应用权限中允许托维OCR截取屏幕 "
               "(xdg-desktop-portal 的 Screenshot 权限), 然后再截图。";
    case ScreenshotPortal::Outcome::NoPortal:
        return "这个 Wayland 桌面既没有 wlr-screencopy, 也没有 xdg-desktop-portal 的 Screenshot 接口, "
               "无法截取屏幕。请安装桌面的 xdg-desktop-portal 后端 (如 xdg-desktop-portal-gnome 或 -kde)。";
    case ScreenshotPortal::Outcome::Unreadable:
        return "桌面给出的截图文件无法读取。";
    case ScreenshotPortal::Outcome::Picture:
        break;
    }
    return "";
}

void ShowAdvice(ScreenshotPortal::Outcome outcome) {
    const QString text = QString::fromUtf8(Advice(outcome));
    ui::TestHook::Report("message", "截屏", text.toStdString());
    QMessageBox::warning(nullptr, QStringLiteral("托维OCR"), text);
}

} // namespace

ScreenshotPortal::ScreenshotPortal(QDBusConnection bus, int answerTimeoutMs, std::function<void(Outcome)> onFailure)
    : m_bus(std::move(bus)), m_answerTimeoutMs(answerTimeoutMs),
      m_onFailure(onFailure ? std::move(onFailure) : std::function<void(Outcome)>(ShowAdvice)) {}

ScreenshotPortal::Outcome ScreenshotPortal::Take(QImage& pictureOut) {
    const Outcome outcome = [&] {
        if (!m_bus.isConnected()) {
            return Outcome::NoPortal;
        }
        const QString token = QStringLiteral("tovrik%1").arg(++m_requests);
        QDBusMessage call =
            QDBusMessage::createMethodCall(kPortalService, kPortalPath, kInterface, QStringLiteral("Screenshot"));
        call << QString()
             << QVariantMap{{QStringLiteral("handle_token"), token}, {QStringLiteral("interactive"), false}};
        const PortalAnswer answer = CallPortal(m_bus, call, token, m_answerTimeoutMs);
        if (answer.kind == PortalAnswer::Kind::CallFailed) {
            return Outcome::NoPortal;
        }
        if (answer.kind == PortalAnswer::Kind::NoAnswer) {
            return Outcome::NoAnswer;
        }
        if (answer.response != 0) {
            return Outcome::Refused;
        }
        const QUrl uri(answer.results.value(QStringLiteral("uri")).toString());
        if (!uri.isLocalFile() || !pictureOut.load(uri.toLocalFile())) {
            return Outcome::Unreadable;
        }
        return Outcome::Picture;
    }();
    if (outcome != Outcome::Picture && !m_told) {
        m_told = true;
        m_onFailure(outcome);
    }
    return outcome;
}

bool ScreenshotPortal::Grab(const OutputLayout& layout, const Rect& area, ui::Bitmap& pictureOut) {
    QImage picture;
    if (Take(picture) != Outcome::Picture || !area.HasArea()) {
        return false;
    }
    Rect desktop;
    for (const Rect& output : layout.Physical()) {
        desktop = desktop.United(output);
    }
    if (desktop.IsEmpty()) {
        desktop = {0, 0, picture.width(), picture.height()};
    }
    QImage image = picture.convertToFormat(QImage::Format_RGB32);
    if (image.width() != desktop.Width() || image.height() != desktop.Height()) {
        image = image.scaled(desktop.Width(), desktop.Height(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    pictureOut.width = area.Width();
    pictureOut.height = area.Height();
    pictureOut.pixels.assign(pictureOut.Stride() * static_cast<std::size_t>(pictureOut.height), 0);
    const Rect covered = area.Intersected(desktop);
    for (int y = covered.top; y < covered.bottom; ++y) {
        const uchar* source =
            image.constScanLine(y - desktop.top) + static_cast<std::size_t>(covered.left - desktop.left) * 4;
        std::memcpy(pictureOut.pixels.data() + static_cast<std::size_t>(y - area.top) * pictureOut.Stride() +
                        static_cast<std::size_t>(covered.left - area.left) * 4,
                    source, static_cast<std::size_t>(covered.Width()) * 4);
    }
    return true;
}

} // namespace tovrik::capture
