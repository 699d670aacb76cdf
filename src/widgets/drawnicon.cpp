#include "widgets/drawnicon.h"

#include <QGuiApplication>
#include <QPainter>
#include <QtMath>

namespace {

QPixmap drawnRectangle(QSize sizePx, const std::function<void(QPainter &)> &draw) {
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    QPixmap pixmap(qCeil(sizePx.width() * ratio), qCeil(sizePx.height() * ratio));
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    return pixmap;
}

} // namespace

QPixmap drawnPixmap(int sidePx, const std::function<void(QPainter &)> &draw, qreal gridSize) {
    return drawnRectangle(QSize(sidePx, sidePx), [&](QPainter &painter) {
        if (gridSize > 0) painter.scale(sidePx / gridSize, sidePx / gridSize);
        draw(painter);
    });
}

QIcon drawnIcon(int sidePx, const std::function<void(QPainter &)> &draw, qreal gridSize) {
    return QIcon(drawnPixmap(sidePx, draw, gridSize));
}

QIcon drawnIcon(QSize sizePx, const std::function<void(QPainter &)> &draw) {
    return QIcon(drawnRectangle(sizePx, draw));
}
