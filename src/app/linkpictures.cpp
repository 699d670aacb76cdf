#include "app/linkpictures.h"

#include "widgets/drawnicon.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QtMath>

#include <functional>

namespace linkpictures {

namespace {

// The pictures are designed on a 32 x 32 grid and scaled down to sidePx.
constexpr qreal gridSize = 32.0;

const QColor outlineColour(70, 70, 90);
const QColor lineColour(150, 150, 160);

QPixmap drawPicture(const std::function<void(QPainter &)> &draw) {
    return drawnPixmap(sidePx, draw, gridSize);
}

// A white sheet with its top right corner folded.
void drawPage(QPainter &painter, const QRectF &sheet) {
    const qreal foldSize = 7;
    QPainterPath outline;
    outline.moveTo(sheet.topLeft());
    outline.lineTo(sheet.right() - foldSize, sheet.top());
    outline.lineTo(sheet.right(), sheet.top() + foldSize);
    outline.lineTo(sheet.bottomRight());
    outline.lineTo(sheet.bottomLeft());
    outline.closeSubpath();
    painter.setPen(QPen(outlineColour, 1.2));
    painter.setBrush(Qt::white);
    painter.drawPath(outline);

    QPolygonF fold;
    fold << QPointF(sheet.right() - foldSize, sheet.top())
         << QPointF(sheet.right() - foldSize, sheet.top() + foldSize)
         << QPointF(sheet.right(), sheet.top() + foldSize);
    painter.setBrush(QColor(220, 220, 228));
    painter.drawPolygon(fold);
}

void drawTextLines(QPainter &painter, qreal leftPx, qreal rightPx, qreal topPx, int count) {
    painter.setPen(QPen(lineColour, 1.6, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < count; ++i) {
        const qreal y = topPx + i * 4;
        painter.drawLine(QPointF(leftPx, y), QPointF(rightPx - (i % 2) * 3, y));
    }
}

QPolygonF starPolygon(const QPointF &centre, qreal outerRadius, qreal innerRadius) {
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        const qreal radius = i % 2 == 0 ? outerRadius : innerRadius;
        const qreal angle = -M_PI / 2 + i * M_PI / 5;
        star << centre + QPointF(radius * qCos(angle), radius * qSin(angle));
    }
    return star;
}

} // namespace

QPixmap settings() {
    return drawPicture([](QPainter &painter) {
        drawPage(painter, QRectF(5, 2, 22, 28));
        const QColor knobColours[] = {QColor(40, 110, 200), QColor(230, 130, 30),
                                      QColor(60, 160, 80)};
        const qreal knobXs[] = {12, 20, 15};
        for (int i = 0; i < 3; ++i) {
            const qreal y = 11 + i * 7;
            painter.setPen(QPen(lineColour, 2, Qt::SolidLine, Qt::RoundCap));
            painter.drawLine(QPointF(9, y), QPointF(23, y));
            painter.setPen(QPen(outlineColour, 1));
            painter.setBrush(knobColours[i]);
            painter.drawEllipse(QPointF(knobXs[i], y), 2.6, 2.6);
        }
    });
}

QPixmap newExercise() {
    return drawPicture([](QPainter &painter) {
        drawPage(painter, QRectF(4, 2, 21, 28));
        painter.setPen(QPen(QColor(170, 110, 0), 1));
        painter.setBrush(QColor(255, 200, 30));
        painter.drawPolygon(starPolygon(QPointF(23, 23), 8, 3.5));
    });
}

QPixmap openFolder() {
    return drawPicture([](QPainter &painter) {
        const QColor edgeColour(160, 110, 20);
        painter.setPen(QPen(edgeColour, 1.2));
        painter.setBrush(QColor(225, 170, 50));
        QPolygonF back;
        back << QPointF(2, 8) << QPointF(11, 8) << QPointF(14, 11) << QPointF(27, 11)
             << QPointF(27, 27) << QPointF(2, 27);
        painter.drawPolygon(back);

        painter.setPen(QPen(outlineColour, 1));
        painter.setBrush(Qt::white);
        painter.drawRect(QRectF(7, 5, 17, 16));
        drawTextLines(painter, 10, 21, 9, 2);

        painter.setPen(QPen(edgeColour, 1.2));
        painter.setBrush(QColor(250, 205, 90));
        QPolygonF flap;
        flap << QPointF(7, 15) << QPointF(31, 15) << QPointF(27, 27) << QPointF(2, 27);
        painter.drawPolygon(flap);
    });
}

QPixmap statement() {
    return drawPicture([](QPainter &painter) {
        drawPage(painter, QRectF(3, 2, 22, 28));
        drawTextLines(painter, 7, 17, 10, 5);
        QFont font = painter.font();
        font.setPixelSize(20);
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(QColor(30, 80, 200));
        painter.drawText(QRectF(15, 8, 17, 24), Qt::AlignCenter, QStringLiteral("?"));
    });
}

QPixmap correction() {
    return drawPicture([](QPainter &painter) {
        drawPage(painter, QRectF(3, 2, 22, 28));
        drawTextLines(painter, 7, 20, 10, 5);
        QPolygonF tick;
        tick << QPointF(12, 19) << QPointF(18, 26) << QPointF(30, 9);
        painter.setPen(QPen(QColor(20, 150, 40), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPolyline(tick);
    });
}

} // namespace linkpictures
