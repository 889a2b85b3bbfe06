#include "ui/linux/QtClipboard.h"

#include "ui/linux/QtText.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>

namespace tovrik::ui {

bool QtClipboard::SetText(TextView text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr) {
        return false;
    }
    clipboard->setText(ToQString(text));
    return true;
}

bool QtClipboard::SetImage(const Bitmap& image) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr || image.Empty() || image.pixels.size() < image.Stride() * image.height) {
        return false;
    }
    // A deep copy: the clipboard keeps serving the picture after the capture's memory is gone.
    const QImage view(image.pixels.data(), image.width, image.height, static_cast<qsizetype>(image.Stride()),
                      QImage::Format_RGB32);
    clipboard->setImage(view.copy());
    return true;
}

} // namespace tovrik::ui
