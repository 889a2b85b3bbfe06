#include "app/linux/AppIcon.h"

#include <QPainter>
#include <QPainterPath>

namespace tovrik::app {

QPixmap AppIconPixmap(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 64.0, size / 64.0);

    // The overlay's frame colour.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(10, 124, 202));
    painter.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);

    // Corners of a selection.
    QPen corners(Qt::white, 5, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    painter.setPen(corners);
    painter.setBrush(Qt::NoBrush);
    QPainterPath path;
    path.moveTo(13, 24);
    path.lineTo(13, 13);
    path.lineTo(24, 13);
    path.moveTo(40, 13);
    path.lineTo(51, 13);
    path.lineTo(51, 24);
    path.moveTo(51, 40);
    path.lineTo(51, 51);
    path.lineTo(40, 51);
    path.moveTo(24, 51);
    path.lineTo(13, 51);
    path.lineTo(13, 40);
    painter.drawPath(path);

    // A "T" for the text found inside.
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(22, 21, 20, 5));
    painter.drawRect(QRectF(29.5, 21, 5, 22));
    return pixmap;
}

QIcon AppIcon() {
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128}) {
        icon.addPixmap(AppIconPixmap(size));
    }
    return icon;
}

} // namespace tovrik::app
