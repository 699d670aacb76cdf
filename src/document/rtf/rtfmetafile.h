#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QSizeF>

// Windows metafiles (WMF) and enhanced metafiles (EMF), as Word writes its
// equations and drawings.
struct MetafileInfo {
    enum Kind { None, Wmf, Emf };
    Kind kind = None;
    QSizeF sizePx; // its own size at 96 dpi; empty when it does not say
};

// What the data is, once its header and every record's length are checked:
// None for anything the drawing libraries should not be handed.
MetafileInfo checkMetafile(const QByteArray &data);

// The metafile drawn into an image of that many pixels; null when it cannot
// be drawn.
QImage drawMetafile(const QByteArray &data, QSize pixels);

// A WMF holding the image as a 24-bit bitmap, for readers that know no PNG.
QByteArray bitmapMetafile(const QImage &image);
