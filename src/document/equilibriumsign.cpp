#include "document/equilibriumsign.h"

#include <QPainter>
#include <QPen>

namespace equilibriumsign {

void draw(QPainter &painter, QSizeF sizePx, qreal lineWidthPx, const QColor &colour) {
    const qreal w = sizePx.width();
    const qreal h = sizePx.height();
    const qreal headPx = h / 2;
    painter.save();
    painter.setPen(QPen(colour, lineWidthPx, Qt::SolidLine, Qt::FlatCap));
    // Upper arrow, pointing left.
    painter.drawLine(QPointF(0, h / 4), QPointF(w, h / 4));
    painter.drawLine(QPointF(0, h / 4), QPointF(headPx, 0));
    painter.drawLine(QPointF(0, h / 4), QPointF(headPx, h / 2));
    // Lower arrow, pointing right.
    painter.drawLine(QPointF(0, 3 * h / 4), QPointF(w, 3 * h / 4));
    painter.drawLine(QPointF(w - headPx, h), QPointF(w, 3 * h / 4));
    painter.drawLine(QPointF(w - headPx, h / 2), QPointF(w, 3 * h / 4));
    painter.restore();
}

Picture forText(int heightPx, const QColor &colour, bool bold) {
    const QSizeF shownPx(3 * heightPx, heightPx);
    QImage image((shownPx * density).toSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(density, density);
    draw(painter, shownPx, bold ? 2 : 1, colour);
    painter.end();
    return {image, shownPx};
}

} // namespace equilibriumsign
