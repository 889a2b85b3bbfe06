#include "capture/linux/OverlayText.h"

#include "ui/linux/QtText.h"

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

namespace tovrik::capture {

void DrawOverlayText(ui::Bitmap& target, const Rect& box, TextView text) {
    if (target.Empty() || box.IsEmpty()) {
        return;
    }
    QImage image(target.pixels.data(), target.width, target.height, static_cast<qsizetype>(target.Stride()),
                 QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setClipRect(QRect(box.left, box.top, box.Width(), box.Height()));
    painter.setPen(Qt::white);
    const QFont font = QApplication::font();
    painter.setFont(font);
    const QFontMetrics metrics(font);
    int baseline = box.top + metrics.ascent();
    std::size_t start = 0;
    while (start <= text.size() && baseline - metrics.ascent() < box.bottom) {
        const std::size_t end = text.find("\r\n", start);
        const TextView line = text.substr(start, end == TextView::npos ? TextView::npos : end - start);
        painter.drawText(QPoint(box.left, baseline), ui::ToQString(line));
        if (end == TextView::npos) {
            break;
        }
        start = end + 2;
        baseline += metrics.lineSpacing();
    }
}

} // namespace tovrik::capture
