#include "capture/linux/QtFileDialogHost.h"

#include "ui/linux/QtText.h"
#include "ui/linux/TestHook.h"

#include <QCursor>
#include <QEventLoop>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>

#include <algorithm>

namespace tovrik::capture {

namespace {

constexpr QSize kEmbeddedSize(720, 460);

bool IsOverlay(const QWidget* widget) {
    return widget != nullptr && widget->windowFlags().testFlag(Qt::X11BypassWindowManagerHint);
}

// Inside the overlay, on the monitor under the pointer.
void Embed(QFileDialog& dialog, QWidget& overlay) {
    dialog.setParent(&overlay, Qt::Widget);
    // The overlay paints no background of its own for children to sit on.
    dialog.setAutoFillBackground(true);
    QRect monitor = overlay.rect();
    if (const QScreen* screen = QGuiApplication::screenAt(QCursor::pos())) {
        monitor = QRect(overlay.mapFromGlobal(screen->geometry().topLeft()), screen->geometry().size());
    }
    const QSize size = kEmbeddedSize.boundedTo(monitor.size());
    dialog.setGeometry(QRect(monitor.center() - QPoint(size.width() / 2, size.height() / 2), size));
}

} // namespace

QStringList QtFileDialogHost::NameFilters(const FileDialogRequest& request) {
    QStringList filters;
    for (const auto& [description, pattern] : FilterEntries(request)) {
        const QString text = ui::ToQString(description);
        const QString patterns = ui::ToQString(pattern).replace(QLatin1Char(';'), QLatin1Char(' '));
        if (text.endsWith(QLatin1Char('(') + ui::ToQString(pattern) + QLatin1Char(')'))) {
            filters << text;
        } else {
            filters << text + QStringLiteral(" (") + patterns + QLatin1Char(')');
        }
    }
    return filters;
}

std::optional<Text> QtFileDialogHost::RunSaveDialog(const FileDialogRequest& request) {
    QWidget* owner = request.owner != 0 ? QWidget::find(static_cast<WId>(request.owner)) : nullptr;
    QFileDialog dialog(IsOverlay(owner) ? nullptr : owner, ui::ToQString(request.title));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // The Windows dialog asks nothing about replacing a file unless told to.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    const QStringList filters = NameFilters(request);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.at(std::clamp(request.filterIndex - 1, 0, int(filters.size()) - 1)));
    }
    dialog.setDefaultSuffix(ui::ToQString(request.defaultExtension));
    if (!request.initialName.empty()) {
        dialog.selectFile(ui::ToQString(request.initialName));
    }

    ui::TestHook::Report("dialog", "save", request.title);
    QEventLoop loop;
    QObject::connect(&dialog, &QDialog::finished, &loop, &QEventLoop::quit);
    if (IsOverlay(owner)) {
        Embed(dialog, *owner);
        dialog.show();
        dialog.raise();
        // A widget inside a window gets no focus from being shown; the name box should have it.
        QWidget* nameBox = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        (nameBox != nullptr ? nameBox : static_cast<QWidget*>(&dialog))->setFocus(Qt::OtherFocusReason);
    } else {
        dialog.setWindowModality(Qt::ApplicationModal);
        dialog.show();
    }
    loop.exec();
    if (dialog.result() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return ui::FromQString(dialog.selectedFiles().constFirst());
}

} // namespace tovrik::capture
