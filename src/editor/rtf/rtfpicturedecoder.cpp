#include "editor/rtf/rtfpicturedecoder.h"

#include "editor/units.h"

#include <QColor>
#include <algorithm>

namespace {

constexpr int maxPicturePx = 32767;
constexpr int maxPlaceholderPx = 256;
constexpr int maxBitmapSidePx = 16384;

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
QImage decodeDib(const QByteArray &dib) {
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
    return QImage::fromData(file, "BMP");
}

// A device-dependent bitmap: rows of raw pixels, top row first.
QImage decodeWinBitmap(const RtfPicture &picture) {
    const int width = picture.widthPx;
    const int height = picture.heightPx;
    const int bpp = picture.bitsPerPixel;
    if (width <= 0 || height <= 0 || width > maxBitmapSidePx || height > maxBitmapSidePx) return {};
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

} // namespace

QImage rtfPlaceholderImage(QSizeF sizePx) {
    const int width = std::clamp(int(sizePx.width()), 1, maxPlaceholderPx);
    const int height = std::clamp(int(sizePx.height()), 1, maxPlaceholderPx);
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(192, 192, 192));
    return image;
}

QSizeF boundedPictureSizePx(QSizeF sizePx) {
    return {std::clamp(sizePx.width(), 1.0, double(maxPicturePx)),
            std::clamp(sizePx.height(), 1.0, double(maxPicturePx))};
}

// The size a picture is shown at: its goal size, or its own, times its scale.
QSizeF rtfPictureSizePx(const RtfPicture &picture, const QImage &decoded) {
    constexpr double himetricPerInch = 2540.0;
    constexpr double pixelsPerInch = 96.0;
    double width = 0;
    double height = 0;
    if (picture.goalWidthTwips > 0 && picture.goalHeightTwips > 0) {
        width = double(picture.goalWidthTwips) / units::twipsPerPixel;
        height = double(picture.goalHeightTwips) / units::twipsPerPixel;
    } else if (!decoded.isNull()) {
        width = decoded.width();
        height = decoded.height();
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

QImage decodeRtfPicture(const RtfPicture &picture) {
    switch (picture.type) {
    case RtfPicture::Png:
        return QImage::fromData(picture.data, "PNG");
    case RtfPicture::Jpeg:
        return QImage::fromData(picture.data, "JPEG");
    case RtfPicture::Dib:
        return decodeDib(picture.data);
    case RtfPicture::WinBitmap:
        return decodeWinBitmap(picture);
    case RtfPicture::Unknown:
        return picture.data.isEmpty() ? QImage() : QImage::fromData(picture.data);
    case RtfPicture::Metafile:
        break;
    }
    return {};
}
