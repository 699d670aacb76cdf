#pragma once

#include <QByteArray>
#include <QImage>
#include <QSizeF>

// What an RTF \pict group says about its picture.
struct RtfPicture {
    enum Type { Unknown, Png, Jpeg, Dib, WinBitmap, Metafile };

    Type type = Unknown;
    int widthPx = 0; // \picw: pixels, or 0.01 mm for metafiles
    int heightPx = 0;
    int goalWidthTwips = 0;
    int goalHeightTwips = 0;
    int scaleXPercent = 100;
    int scaleYPercent = 100;
    int bitsPerPixel = 1; // \wbitmap only
    int widthBytes = 0;   // \wbitmap only: bytes per row, 0 when not given
    QByteArray data;
};

// The picture as Qt can show it; null for vector pictures and damaged data.
QImage decodeRtfPicture(const RtfPicture &picture);

// The size the picture is shown at: its goal size, else its own, times its
// scale; within 1..32767 px.
QSizeF rtfPictureSizePx(const RtfPicture &picture, const QImage &decoded);
QSizeF boundedPictureSizePx(QSizeF sizePx);

// A plain grey picture standing in for one Qt cannot show.
QImage rtfPlaceholderImage(QSizeF sizePx);
