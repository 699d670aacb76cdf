#include "widgets/drawnicon.h"

#include <QGuiApplication>
#include <QPainter>
#include <QtMath>

QPixmap drawnPixmap(int sidePx, const std::function<void(QPainter &)> &draw, qreal gridSize) {
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    QPixmap pixmap(qCeil(sidePx * ratio), qCeil(sidePx * ratio));
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    if (gridSize > 0) painter.scale(sidePx / gridSize, sidePx / gridSize);
    draw(painter);
    return pixmap;
}

QIcon drawnIcon(int sidePx, const std::function<void(QPainter &)> &draw, qreal gridSize) {
    return QIcon(drawnPixmap(sidePx, draw, gridSize));
}
