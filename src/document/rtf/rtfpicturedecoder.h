#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QSizeF>
#include <QString>

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

struct RtfPictureImage {
    QImage image;          // null for vector pictures, damaged data and pictures too large
    QSize headerSize;      // as the data's header says, decoded or not; invalid when unknown
    bool tooLarge = false; // its header asks for more pixels than allowed: not decoded
    QSize deferredSizePx;  // valid when left to be decoded at this size when drawn
};

// A picture of up to this many pixels (a formula, a sign drawn dense for
// paper) is held whole; a larger one, a photo, as dense as it is shown.
constexpr qint64 rtfSmallPicturePixels = 512 * 512;

// Decodes the picture when its header asks for at most maxPixels pixels; a
// larger one is never decoded, whatever memory its few bytes would inflate to.
// With a pixelRatio, a large PNG or JPEG is decoded only as dense as it is
// shown on a screen of that ratio (its bytes stay whole for saving and
// printing). With defer, a PNG or JPEG is not decoded at all, only sized
// for decoding when drawn.
RtfPictureImage decodeRtfPicture(const RtfPicture &picture, qint64 maxPixels, double pixelRatio = 0,
                                 bool defer = false);

// The densest of the screens' pixel ratios; 1 without a screen.
double screenPixelRatio();

// How many pixels the pictures of one RTF input may decode to in all: enough
// for a screenshot or a diagram in a short document, and beyond that
// no more than the input could hold in real pictures, up to 256 MB of pixels.
qint64 rtfPictureBudgetPixels(qint64 inputBytes);

// The size the picture is shown at: its goal size, else its own (headerSize
// when known), times its scale; within 1..32767 px.
QSizeF rtfPictureSizePx(const RtfPicture &picture, QSize headerSize);
QSizeF boundedPictureSizePx(QSizeF sizePx);

// A plain grey picture standing in for any Qt cannot show, scaled to each
// one's size: one image and one resource name for them all, whatever their
// number.
const QImage &rtfPlaceholderImage();
QString rtfPlaceholderImageName();
