#include "document/rtf/rtfpicturedecoder.h"

#include "base/units.h"
#include "document/rtf/rtfmetafile.h"

#include <QBuffer>
#include <QColor>
#include <QGuiApplication>
#include <QImageReader>
#include <algorithm>
#include <cmath>

namespace {

constexpr int maxPicturePx = 32767;
constexpr int maxBitmapSidePx = 16384;

qint64 pixelCount(QSize size) {
    return size.isValid() ? qint64(size.width()) * size.height() : 0;
}

// Reads the header first and decodes only a picture within maxPixels.
RtfPictureImage readImage(const QByteArray &bytes, const char *format, qint64 maxPixels,
                          const RtfPicture *shownAs = nullptr, double pixelRatio = 0,
                          bool defer = false) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    RtfPictureImage result;
    result.headerSize = reader.size();
    // A picture whose size cannot be known first is not trusted with memory.
    if (!result.headerSize.isValid()) return result;
    if (pixelCount(result.headerSize) > maxPixels) {
        result.tooLarge = true;
        return result;
    }
    // A photo is held for the screen with the pixels it is shown with, no
    // more: the decoder skips the rest (a JPEG's at a fraction of the cost).
    // A small picture (a formula, a sign drawn dense for paper) stays whole.
    QSize wanted = result.headerSize;
    if (shownAs && pixelRatio > 0 && pixelCount(result.headerSize) > rtfSmallPicturePixels) {
        const QSizeF shownPx = rtfPictureSizePx(*shownAs, result.headerSize) * pixelRatio;
        wanted = QSize(std::min(result.headerSize.width(), int(std::ceil(shownPx.width()))),
                       std::min(result.headerSize.height(), int(std::ceil(shownPx.height()))));
        if (wanted.isEmpty()) wanted = result.headerSize;
    }
    if (defer) {
        result.deferredSizePx = wanted;
        return result;
    }
    if (wanted != result.headerSize) reader.setScaledSize(wanted);
    result.image = reader.read();
    if (pixelCount(result.image.size()) > maxPixels) {
        result.image = QImage();
        result.tooLarge = true;
    }
    return result;
}

quint32 readLittleEndian(const QByteArray &data, qsizetype at, int bytes) {
    quint32 value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(data[at + i]);
    return value;
}

void appendLittleEndian32(QByteArray &out, quint32 value) {
    for (int i = 0; i < 4; ++i)
        out.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// A device-independent bitmap is a BMP file without its 14-byte file header.
RtfPictureImage decodeDib(const QByteArray &dib, qint64 maxPixels) {
    if (dib.size() < 16) return {};
    const quint32 headerSize = readLittleEndian(dib, 0, 4);
    qint64 paletteBytes = 0;
    if (headerSize == 12) {
        const quint32 bitCount = readLittleEndian(dib, 10, 2);
        paletteBytes = bitCount <= 8 ? (qint64(1) << bitCount) * 3 : 0;
    } else if (headerSize >= 40 && dib.size() >= 40) {
        const quint32 bitCount = readLittleEndian(dib, 14, 2);
        const quint32 compression = readLittleEndian(dib, 16, 4);
        const quint32 colorsUsed = readLittleEndian(dib, 32, 4);
        const qint64 colors =
            colorsUsed != 0 ? colorsUsed : (bitCount <= 8 ? (qint64(1) << bitCount) : 0);
        paletteBytes = colors * 4;
        const quint32 bitFields = 3;
        if (compression == bitFields && headerSize == 40) paletteBytes += 12;
    } else {
        return {};
    }
    const qint64 fileHeaderBytes = 14;
    const qint64 bitsOffset = fileHeaderBytes + headerSize + paletteBytes;
    if (bitsOffset > fileHeaderBytes + dib.size()) return {};
    QByteArray file("BM");
    appendLittleEndian32(file, quint32(fileHeaderBytes + dib.size()));
    appendLittleEndian32(file, 0);
    appendLittleEndian32(file, quint32(bitsOffset));
    file.append(dib);
    return readImage(file, "BMP", maxPixels);
}

// A device-dependent bitmap: rows of raw pixels, top row first.
QImage decodeWinBitmap(const RtfPicture &picture) {
    const int width = picture.widthPx;
    const int height = picture.heightPx;
    const int bpp = picture.bitsPerPixel;
    if (bpp != 1 && bpp != 24 && bpp != 32) return {};
    const qint64 rowBytes =
        picture.widthBytes > 0 ? picture.widthBytes : ((qint64(width) * bpp + 15) / 16) * 2;
    if (rowBytes * 8 < qint64(width) * bpp || rowBytes * height > picture.data.size()) return {};

    QImage image(width, height, bpp == 1 ? QImage::Format_Mono : QImage::Format_RGB32);
    if (image.isNull()) return {};
    if (bpp == 1) image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    const auto *bits = reinterpret_cast<const unsigned char *>(picture.data.constData());
    for (int y = 0; y < height; ++y) {
        const unsigned char *row = bits + rowBytes * y;
        if (bpp == 1) {
            std::copy_n(row, (width + 7) / 8, image.scanLine(y));
            continue;
        }
        auto *out = reinterpret_cast<QRgb *>(image.scanLine(y));
        const int step = bpp / 8;
        for (int x = 0; x < width; ++x)
            out[x] = qRgb(row[x * step + 2], row[x * step + 1], row[x * step]);
    }
    return image;
}

// Drawn at its goal size, and denser than shown so that it stays crisp when
// printed, as far as the pixels left allow.
RtfPictureImage decodeMetafile(const RtfPicture &picture, qint64 maxPixels) {
    RtfPictureImage result;
    const MetafileInfo info = checkMetafile(picture.data);
    if (info.kind == MetafileInfo::None) return result;
    const bool sized = picture.goalWidthTwips > 0 || (picture.widthPx > 0 && picture.heightPx > 0);
    if (!sized && !info.sizePx.isEmpty()) result.headerSize = info.sizePx.toSize();
    const QSizeF shown = rtfPictureSizePx(picture, result.headerSize);
    constexpr double printDensity = 4;
    const double density =
        std::min({printDensity, std::sqrt(double(maxPixels) / (shown.width() * shown.height())),
                  maxBitmapSidePx / shown.width(), maxBitmapSidePx / shown.height()});
    if (density < 1) {
        result.tooLarge = true;
        return result;
    }
    const QSize pixels(std::max(1, int(shown.width() * density)),
                       std::max(1, int(shown.height() * density)));
    result.image = drawMetafile(picture.data, pixels);
    return result;
}

} // namespace

const QImage &rtfPlaceholderImage() {
    static const QImage image = [] {
        constexpr int sidePx = 16;
        QImage grey(sidePx, sidePx, QImage::Format_RGB32);
        grey.fill(QColor(192, 192, 192));
        return grey;
    }();
    return image;
}

QString rtfPlaceholderImageName() {
    return QStringLiteral("redigo-image:placeholder");
}

qint64 rtfPictureBudgetPixels(qint64 inputBytes) {
    // A full-screen screenshot or a large diagram: a short document shows its
    // pictures, yet even a small file of blank pictures costs at most 12 MB.
    constexpr qint64 shortDocumentPixels = 3'000'000;
    constexpr qint64 mostPixels = 64'000'000; // 256 MB as 32-bit pixels
    // A picture's bytes take two hex digits each: this lets through pictures
    // compressed to a byte for every 12 pixels, as photographs and screenshots
    // are, not blank ones inflating a thousandfold; at 4 bytes a pixel, it
    // costs at most 24 bytes of memory for each byte read.
    constexpr qint64 pixelsPerInputByte = 6;
    return std::clamp(inputBytes * pixelsPerInputByte, shortDocumentPixels, mostPixels);
}

QSizeF boundedPictureSizePx(QSizeF sizePx) {
    return {std::clamp(sizePx.width(), 1.0, double(maxPicturePx)),
            std::clamp(sizePx.height(), 1.0, double(maxPicturePx))};
}

// The size a picture is shown at: its goal size, or its own, times its scale.
QSizeF rtfPictureSizePx(const RtfPicture &picture, QSize headerSize) {
    constexpr double himetricPerInch = 2540.0;
    constexpr double pixelsPerInch = 96.0;
    double width = 0;
    double height = 0;
    if (picture.goalWidthTwips > 0 && picture.goalHeightTwips > 0) {
        width = double(picture.goalWidthTwips) / units::twipsPerPixel;
        height = double(picture.goalHeightTwips) / units::twipsPerPixel;
    } else if (headerSize.isValid()) {
        width = headerSize.width();
        height = headerSize.height();
    } else if (picture.type == RtfPicture::Metafile) {
        width = picture.widthPx * pixelsPerInch / himetricPerInch;
        height = picture.heightPx * pixelsPerInch / himetricPerInch;
    } else {
        width = picture.widthPx;
        height = picture.heightPx;
    }
    if (width <= 0 || height <= 0) {
        constexpr double unknownSidePx = 32;
        width = height = unknownSidePx;
    }
    const double scaleX = picture.scaleXPercent > 0 ? picture.scaleXPercent / 100.0 : 1.0;
    const double scaleY = picture.scaleYPercent > 0 ? picture.scaleYPercent / 100.0 : 1.0;
    return boundedPictureSizePx({width * scaleX, height * scaleY});
}

RtfPictureImage decodeRtfPicture(const RtfPicture &picture, qint64 maxPixels, double pixelRatio,
                                 bool defer) {
    switch (picture.type) {
    case RtfPicture::Png:
        return readImage(picture.data, "PNG", maxPixels, &picture, pixelRatio, defer);
    case RtfPicture::Jpeg:
        return readImage(picture.data, "JPEG", maxPixels, &picture, pixelRatio, defer);
    case RtfPicture::Dib:
        return decodeDib(picture.data, maxPixels);
    case RtfPicture::WinBitmap: {
        RtfPictureImage result;
        if (picture.widthPx <= 0 || picture.heightPx <= 0 || picture.widthPx > maxBitmapSidePx ||
            picture.heightPx > maxBitmapSidePx)
            return result;
        result.headerSize = QSize(picture.widthPx, picture.heightPx);
        result.tooLarge = pixelCount(result.headerSize) > maxPixels;
        if (!result.tooLarge) result.image = decodeWinBitmap(picture);
        return result;
    }
    case RtfPicture::Unknown:
        if (picture.data.isEmpty()) return {};
        return readImage(picture.data, nullptr, maxPixels);
    case RtfPicture::Metafile:
        return decodeMetafile(picture, maxPixels);
    }
    return {};
}

double screenPixelRatio() {
    const auto *application = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    return application ? application->devicePixelRatio() : 1.0;
}
