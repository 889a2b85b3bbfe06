#include "app/linux/QtTrayHost.h"

#include "app/TrayIcon.h"
#include "app/linux/AppIcon.h"
#include "ui/linux/PictureImage.h"
#include "ui/linux/QtText.h"
#include "ui/linux/QtWindowSystem.h"
#include "ui/linux/TestHook.h"

#include <QPixmap>
#include <QSystemTrayIcon>

namespace tovrik::app {

namespace {

constexpr int kLeftButtonUp = 514;
constexpr int kMiddleButtonUp = 520;

int MouseMessage(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
    case QSystemTrayIcon::DoubleClick:
        return kTrayLeftDoubleClick;
    case QSystemTrayIcon::Context:
        return kTrayRightButtonDown;
    case QSystemTrayIcon::Trigger:
        return kLeftButtonUp;
    case QSystemTrayIcon::MiddleClick:
        return kMiddleButtonUp;
    case QSystemTrayIcon::Unknown:
        break;
    }
    return 0;
}

} // namespace

QtTrayHost::QtTrayHost(ui::QtWindowSystem& windows) : m_windows(windows) {}

QtTrayHost::~QtTrayHost() = default;

bool QtTrayHost::AddIcon(ui::FormId owner, BytesView iconData) {
    if (m_windows.Widget(owner) == nullptr) {
        return false;
    }
    QIcon icon = AppIcon();
    if (const QImage image = ui::DecodePicture(iconData); !image.isNull()) {
        icon = QIcon(QPixmap::fromImage(image));
    }
    m_icon = std::make_unique<QSystemTrayIcon>(icon);
    QObject::connect(m_icon.get(), &QSystemTrayIcon::activated, m_icon.get(),
                     [this, owner](QSystemTrayIcon::ActivationReason reason) {
                         if (const int code = MouseMessage(reason); code != 0) {
                             m_windows.Post(owner, {.kind = ui::EventKind::TrayNotify, .code = code});
                         }
                     });
    m_icon->show();
    ui::TestHook::Report("tray", "added", QSystemTrayIcon::isSystemTrayAvailable() ? "docked" : "no-tray");
    return true;
}

void QtTrayHost::SetTip(TextView tip) {
    if (m_icon) {
        m_icon->setToolTip(ui::ToQString(tip));
    }
}

void QtTrayHost::RemoveIcon() {
    if (m_icon) {
        m_icon->hide();
        m_icon.reset();
        ui::TestHook::Report("tray", "removed");
    }
}

} // namespace tovrik::app
