#include "widgets/dialogfit.h"

#include "base/units.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>

namespace dialogfit {
namespace {

QString withoutMnemonic(QString text) {
    // "&&" shows one ampersand; a lone "&" underlines the next letter.
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text;
}

// Before the dialog is first shown every child counts as hidden; only those
// hidden on purpose are out of the picture.
bool hiddenOnPurpose(const QWidget &widget) {
    return widget.isHidden() && widget.testAttribute(Qt::WA_WState_ExplicitShowHide);
}

// The children placed by hand that the user sees.
QList<QWidget *> placedChildren(QWidget &parent) {
    QList<QWidget *> children;
    for (QObject *object : parent.children()) {
        auto *child = qobject_cast<QWidget *>(object);
        if (child && !child->isWindow() && !hiddenOnPurpose(*child)) children << child;
    }
    return children;
}

int contentRight(QWidget &parent) {
    int right = 0;
    for (const QWidget *child : placedChildren(parent))
        right = std::max(right, child->geometry().right() + 1);
    return right;
}

// Widens widget by deltaPx with the widgets of its column; those right of it
// move along; the frame holding it (short of the dialog) grows the same way.
void widenColumn(QWidget &widget, int deltaPx, QWidget &dialog) {
    QWidget *parent = widget.parentWidget();
    if (!parent) return;
    const QRect column = widget.geometry();
    for (QWidget *sibling : placedChildren(*parent)) {
        const QRect place = sibling->geometry();
        if (place.left() == column.left() && place.width() == column.width())
            sibling->resize(place.width() + deltaPx, place.height());
        else if (place.left() > column.right())
            sibling->move(place.left() + deltaPx, place.top());
    }
    if (parent != &dialog) widenColumn(*parent, deltaPx, dialog);
}

} // namespace

int titleWidthPx(const QString &title) {
    // Window managers often draw titles bold, in a font of their own.
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    const QFontMetrics metrics(font);
    // The window's icon and up to three frame buttons, about a line and a
    // bit square each (some window managers keep minimise and maximise
    // whatever the window asks), and the frame's own margins.
    const int boxPx = metrics.height() + 6;
    const int frameRoomPx = 4 * boxPx + 2 * metrics.height();
    return metrics.horizontalAdvance(title) + frameRoomPx;
}

int captionWidthPx(const QAbstractButton &button) {
    const QFontMetrics metrics(button.font());
    int contentPx = metrics.horizontalAdvance(withoutMnemonic(button.text()));
    if (!button.icon().isNull()) contentPx += button.iconSize().width() + 4;
    QStyleOptionButton option;
    option.initFrom(&button);
    const QStyle *style = button.style();
    const int frameWidthPx = style->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &button);
    const int indicatorPx = style->pixelMetric(QStyle::PM_ButtonDefaultIndicator, &option, &button);
    const int marginPx = style->pixelMetric(QStyle::PM_ButtonMargin, &option, &button);
    return contentPx + marginPx + 2 * (frameWidthPx + indicatorPx);
}

void fitFixedDialog(QWidget &dialog) {
    const int drawnRightMarginPx = std::max(0, dialog.width() - contentRight(dialog));
    for (QPushButton *button : dialog.findChildren<QPushButton *>()) {
        if (hiddenOnPurpose(*button)) continue;
        const int missingPx = captionWidthPx(*button) - button->width();
        if (missingPx > 0) widenColumn(*button, missingPx, dialog);
    }
    const int contentWidthPx = std::max(dialog.width(), contentRight(dialog) + drawnRightMarginPx);
    const int widthPx = std::max(contentWidthPx, titleWidthPx(dialog.windowTitle()));
    if (const int shiftPx = (widthPx - contentWidthPx) / 2; shiftPx > 0) {
        for (QWidget *child : placedChildren(dialog))
            child->move(child->x() + shiftPx, child->y());
    }
    dialog.setFixedSize(widthPx, dialog.height());
}

void setUpFixedDialog(QDialog &dialog, const char *name, const QString &title, int clientWidthTwips,
                      int clientHeightTwips) {
    dialog.setObjectName(QLatin1String(name));
    dialog.setWindowTitle(title);
    dialog.setModal(true);
    dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint);
    dialog.setFixedSize(units::pixelsFromTwips(clientWidthTwips),
                        units::pixelsFromTwips(clientHeightTwips));
}

void fitCaptions(QWidget &window, const QList<CaptionFit> &fits) {
    for (const CaptionFit &fit : fits) {
        int lackingPx = 0;
        for (const QWidget *caption : fit.captions)
            lackingPx = std::max(lackingPx, caption->sizeHint().width() - caption->width());
        if (lackingPx == 0) continue;
        for (QWidget *widget : fit.widened)
            widget->resize(widget->width() + lackingPx, widget->height());
        for (QWidget *widget : fit.moved)
            widget->move(widget->x() + lackingPx, widget->y());
        window.setFixedSize(window.width() + lackingPx, window.height());
    }
}

} // namespace dialogfit
