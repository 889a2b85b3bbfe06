#include "capture/linux/OverlayText.h"

#include "ui/linux/QtText.h"

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <algorithm>

namespace tovrik::capture {

namespace {

// Calls f with each line of program text (lines end at CR LF) until f returns false.
template <typename F> void ForEachLine(TextView text, F f) {
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (!f(text.substr(start, end == TextView::npos ? TextView::npos : end - start)) || end == TextView::npos) {
            return;
        }
        start = end + 2;
    }
}

} // namespace

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

int OverlayTextInkWidth(TextView text) {
    const QFontMetrics metrics(QApplication::font());
    int widest = 0;
    ForEachLine(text, [&](TextView line) {
        widest = std::max(widest, metrics.horizontalAdvance(ui::ToQString(line)));
        return true;
    });
    // Glyphs may reach a little past their advance (overhangs, antialiasing).
    return widest + metrics.height();
}

} // namespace tovrik::capture
