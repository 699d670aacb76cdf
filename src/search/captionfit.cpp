#include "search/captionfit.h"

#include <QWidget>
#include <algorithm>

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
