#include "search/dialoggeometry.h"

#include "base/units.h"

#include <QDialog>
#include <algorithm>

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
