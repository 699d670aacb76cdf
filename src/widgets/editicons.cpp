#include "widgets/editicons.h"

#include "widgets/drawnicon.h"

#include <QPainter>
#include <QPixmap>

namespace editicons {
namespace {

constexpr int sidePx = 20;

QIcon drawn(const std::function<void(QPainter &)> &draw) {
    return drawnIcon(sidePx, draw);
}

void page(QPainter &painter, const QRectF &rect) {
    painter.setPen(QPen(QColor(70, 70, 90), 1));
    painter.setBrush(Qt::white);
    painter.drawRect(rect);
    painter.setPen(QPen(QColor(120, 140, 190), 1));
    for (qreal y = rect.top() + 3; y < rect.bottom() - 1; y += 2.5)
        painter.drawLine(QPointF(rect.left() + 2, y), QPointF(rect.right() - 2, y));
}

} // namespace

QIcon scissors() {
    return drawn([](QPainter &painter) {
        painter.setPen(QPen(QColor(60, 60, 70), 1.6));
        painter.drawLine(QPointF(5, 2), QPointF(13.5, 14));
        painter.drawLine(QPointF(15, 2), QPointF(6.5, 14));
        painter.setPen(QPen(QColor(180, 30, 30), 1.8));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(QPointF(5.5, 15.5), 3, 3);
        painter.drawEllipse(QPointF(14.5, 15.5), 3, 3);
    });
}

QIcon twoPages() {
    return drawn([](QPainter &painter) {
        page(painter, QRectF(2.5, 1.5, 10, 12));
        page(painter, QRectF(7.5, 6.5, 10, 12));
    });
}

QIcon clipboard() {
    return drawn([](QPainter &painter) {
        painter.setPen(QPen(QColor(100, 70, 30), 1));
        painter.setBrush(QColor(200, 150, 80));
        painter.drawRoundedRect(QRectF(2.5, 2.5, 13, 16), 1.5, 1.5);
        painter.setBrush(QColor(150, 150, 160));
        painter.drawRect(QRectF(6, 1, 6, 3));
        page(painter, QRectF(9.5, 8.5, 9, 10));
    });
}

QIcon exitDoor() {
    return drawn([](QPainter &painter) {
        // The door frame, then the door swung open towards the viewer.
        painter.setPen(QPen(QColor(90, 60, 30), 1));
        painter.setBrush(QColor(60, 60, 70));
        painter.drawRect(QRectF(8.5, 1.5, 9, 17));
        painter.setBrush(QColor(190, 130, 60));
        const QPointF door[] = {{8.5, 1.5}, {13.5, 3.5}, {13.5, 19.5}, {8.5, 18.5}};
        painter.drawPolygon(door, 4);
        painter.setBrush(QColor(250, 220, 80));
        painter.drawEllipse(QPointF(12, 11), 0.9, 0.9);
        // The arrow leaving through it, to the left.
        painter.setPen(QPen(QColor(30, 140, 40), 2.2, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(10, 10), QPointF(2.5, 10));
        painter.drawLine(QPointF(2.5, 10), QPointF(5.5, 7));
        painter.drawLine(QPointF(2.5, 10), QPointF(5.5, 13));
    });
}

} // namespace editicons
