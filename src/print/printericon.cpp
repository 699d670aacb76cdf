#include "print/printericon.h"

#include "widgets/drawnicon.h"

#include <QPainter>

QIcon printerIcon() {
    constexpr int sidePx = 20;
    return drawnIcon(sidePx, [](QPainter &painter) {
        // The sheet going in, the printer's body, the printed sheet coming out.
        painter.setPen(QPen(QColor(70, 70, 90), 1));
        painter.setBrush(Qt::white);
        painter.drawRect(QRectF(5.5, 1.5, 9, 6));
        painter.setBrush(QColor(150, 150, 165));
        painter.drawRoundedRect(QRectF(1.5, 7.5, 17, 7), 1.5, 1.5);
        painter.setBrush(QColor(90, 200, 90));
        painter.drawRect(QRectF(14.5, 9.5, 2, 1.5));
        painter.setBrush(Qt::white);
        painter.drawRect(QRectF(4.5, 12.5, 11, 6));
        painter.setPen(QPen(QColor(120, 140, 190), 1));
        painter.drawLine(QPointF(6.5, 15), QPointF(13.5, 15));
        painter.drawLine(QPointF(6.5, 17), QPointF(11.5, 17));
    });
}
