#include "document/rtf/rtfmetafile.h"

#include <QHash>
#include <QList>
#include <QPainter>
#include <QSvgRenderer>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

extern "C" {
#include <emf2svg.h>
}
#include <libwmf/api.h>
#include <libwmf/gd.h>

namespace {

constexpr double himetricPerInch = 2540.0;
constexpr double pixelsPerInch = 96.0;
constexpr qint64 maxBitmapSide = 16384;

quint32 u16At(const QByteArray &data, qsizetype at) {
    return quint32(static_cast<unsigned char>(data[at])) |
           quint32(static_cast<unsigned char>(data[at + 1])) << 8;
}

quint32 u32At(const QByteArray &data, qsizetype at) {
    return u16At(data, at) | u16At(data, at + 2) << 16;
}

qint32 i32At(const QByteArray &data, qsizetype at) {
    return static_cast<qint32>(u32At(data, at));
}

qint16 i16At(const QByteArray &data, qsizetype at) {
    return static_cast<qint16>(u16At(data, at));
}

void putU16(QByteArray &out, quint32 value) {
    out.append(static_cast<char>(value & 0xFF));
    out.append(static_cast<char>((value >> 8) & 0xFF));
}

void putU32(QByteArray &out, quint32 value) {
    putU16(out, value & 0xFFFF);
    putU16(out, value >> 16);
}

// An uncompressed bitmap whose pixels fit in the bytes it has: the libraries
// trust a bitmap's header, and their run-length decoders are left unused.
// Its size in pixels, empty when it does not fit.
QSize plainDibSize(const QByteArray &data, qsizetype at, qsizetype end) {
    if (end - at < 40 || u32At(data, at) != 40) return {};
    const qint64 width = i32At(data, at + 4);
    const qint64 height = std::abs(qint64(i32At(data, at + 8)));
    const quint32 bitCount = u16At(data, at + 14);
    const quint32 compression = u32At(data, at + 16);
    const quint32 colorsUsed = u32At(data, at + 32);
    if (width <= 0 || height <= 0 || width > maxBitmapSide || height > maxBitmapSide) return {};
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
        bitCount != 32)
        return {};
    const quint32 bitFields = 3;
    if (compression != 0 && !(compression == bitFields && bitCount >= 16)) return {};
    const qint64 colors = colorsUsed != 0 ? colorsUsed : (bitCount <= 8 ? 1 << bitCount : 0);
    if (colors > 256) return {};
    const qint64 stride = (width * bitCount + 31) / 32 * 4;
    const qint64 needed = 40 + colors * 4 + (compression == bitFields ? 12 : 0) + stride * height;
    if (needed > end - at) return {};
    return QSize(int(width), int(height));
}

// A bitmap record's source rectangle lies within its bitmap: the library
// copies pixels from it unchecked.
bool sourceInside(QSize bitmap, int x, int y, int width, int height) {
    return !bitmap.isEmpty() && x >= 0 && y >= 0 && width > 0 && height > 0 &&
           x + width <= bitmap.width() && y + height <= bitmap.height();
}

// Records whose counts say how much they hold, checked against their length.
bool wmfRecordFits(const QByteArray &data, qsizetype at, qint64 words, quint32 function) {
    const qsizetype params = at + 6;
    const qint64 paramWords = words - 3;
    const qsizetype end = at + words * 2;
    auto word = [&](qint64 i) { return paramWords > i ? u16At(data, params + 2 * i) : 0; };
    auto signedWord = [&](qint64 i) { return int(qint16(word(i))); };
    switch (function) {
    case 0x0324: // POLYGON
    case 0x0325: // POLYLINE
        return paramWords >= 1 && 1 + 2 * qint64(word(0)) <= paramWords;
    case 0x0538: { // POLYPOLYGON
        if (paramWords < 1) return false;
        const qint64 polygons = word(0);
        if (1 + polygons > paramWords) return false;
        qint64 points = 0;
        for (qint64 i = 0; i < polygons; ++i)
            points += word(1 + i);
        return 1 + polygons + 2 * points <= paramWords;
    }
    case 0x0521: // TEXTOUT
        return paramWords >= 1 && 1 + (qint64(word(0)) + 1) / 2 + 2 <= paramWords;
    case 0x0A32: { // EXTTEXTOUT
        if (paramWords < 4) return false;
        const bool hasRect = (word(3) & 0x0006) != 0;
        return 4 + (hasRect ? 4 : 0) + (qint64(word(2)) + 1) / 2 <= paramWords;
    }
    case 0x00F7: // CREATEPALETTE
    case 0x0037: // SETPALENTRIES
        return paramWords >= 2 && 2 + 2 * qint64(word(1)) <= paramWords;
    case 0x02FB: // CREATEFONTINDIRECT
        return paramWords >= 9;
    // Drawn mirrored, a bitmap sends the library's stretching into a loop
    // without end.
    case 0x0F43: // STRETCHDIB
        if (signedWord(7) <= 0 || signedWord(8) <= 0) return false;
        return paramWords > 11 && sourceInside(plainDibSize(data, params + 22, end), signedWord(6),
                                               signedWord(5), signedWord(4), signedWord(3));
    // These two carry no bitmap when they are that short.
    case 0x0B41: // DIBSTRETCHBLT
        if (paramWords > 11 && (signedWord(6) <= 0 || signedWord(7) <= 0)) return false;
        return paramWords <= 11 || sourceInside(plainDibSize(data, params + 20, end), signedWord(5),
                                                signedWord(4), signedWord(3), signedWord(2));
    case 0x0940: // DIBBITBLT
        return paramWords <= 9 || sourceInside(plainDibSize(data, params + 16, end), signedWord(3),
                                               signedWord(2), signedWord(5), signedWord(4));
    case 0x0D33: // SETDIBTODEV
        return paramWords > 9 && !plainDibSize(data, params + 18, end).isEmpty();
    case 0x0142: // DIBCREATEPATTERNBRUSH
        return paramWords > 2 && !plainDibSize(data, params + 4, end).isEmpty();
    case 0x0B23: // STRETCHBLT with a device-dependent bitmap
    case 0x0922: // BITBLT with one
    case 0x01F9: // CREATEPATTERNBRUSH
    case 0x0626: // ESCAPE
        return false;
    default:
        return true;
    }
}

// The length of the WMF up to its end record, or 0 when it is not one.
qsizetype checkedWmfLength(const QByteArray &data, qsizetype header) {
    if (data.size() - header < 18) return 0;
    const quint32 type = u16At(data, header);
    const quint32 headerWords = u16At(data, header + 2);
    const quint32 version = u16At(data, header + 4);
    const qint64 maxRecordWords = u32At(data, header + 12);
    if ((type != 1 && type != 2) || headerWords != 9 || (version != 0x300 && version != 0x100))
        return 0;
    // The library allocates what these say before reading a record.
    const qint64 totalWords = u32At(data, header + 6);
    if (maxRecordWords * 2 > data.size() - header || totalWords * 2 > data.size() - header)
        return 0;
    qsizetype at = header + 18;
    while (data.size() - at >= 6) {
        const qint64 words = u32At(data, at);
        const quint32 function = u16At(data, at + 4);
        if (words < 3 || words > maxRecordWords || words * 2 > data.size() - at) return 0;
        if (function == 0) return at + words * 2;
        if (!wmfRecordFits(data, at, words, function)) return 0;
        at += words * 2;
    }
    return 0;
}

constexpr quint32 placeableKey = 0x9AC6CDD7;
constexpr qsizetype placeableBytes = 22;

MetafileInfo checkWmf(const QByteArray &data) {
    MetafileInfo info;
    const bool placeable = data.size() >= placeableBytes && u32At(data, 0) == placeableKey;
    if (checkedWmfLength(data, placeable ? placeableBytes : 0) == 0) return info;
    info.kind = MetafileInfo::Wmf;
    if (placeable) {
        const double width = i16At(data, 10) - i16At(data, 6);
        const double height = i16At(data, 12) - i16At(data, 8);
        const double unitsPerInch = u16At(data, 14);
        if (width > 0 && height > 0 && unitsPerInch > 0)
            info.sizePx = QSizeF(width, height) * (pixelsPerInch / unitsPerInch);
    }
    return info;
}

constexpr quint32 emrHeader = 1;
constexpr quint32 emrEof = 14;
constexpr quint32 emrLastType = 122;
constexpr quint32 emfSignature = 0x464D4520;
constexpr qsizetype emfHeaderBytes = 88;

// The header's fields the library divides by: its bounds, in device units,
// and the reference device's size in pixels and in millimetres.
bool emfHeaderMeasures(const QByteArray &data) {
    const qint64 boundsWidth = qint64(i32At(data, 16)) - i32At(data, 8);
    const qint64 boundsHeight = qint64(i32At(data, 20)) - i32At(data, 12);
    return boundsWidth > 0 && boundsHeight > 0 && i32At(data, 72) > 0 && i32At(data, 76) > 0 &&
           i32At(data, 80) > 0 && i32At(data, 84) > 0;
}

// The length of the EMF up to its end record, or 0 when it is not one.
qsizetype checkedEmfLength(const QByteArray &data) {
    if (data.size() < emfHeaderBytes || u32At(data, 0) != emrHeader ||
        u32At(data, 40) != emfSignature || !emfHeaderMeasures(data))
        return 0;
    const qint64 total = u32At(data, 48);
    if (total < emfHeaderBytes || total > data.size()) return 0;
    qsizetype at = 0;
    while (total - at >= 8) {
        const quint32 type = u32At(data, at);
        const qint64 size = u32At(data, at + 4);
        if (size < 8 || size % 4 != 0 || size > total - at) return 0;
        if (type == 0 || type > emrLastType || (at == 0) != (type == emrHeader)) return 0;
        if (type == emrHeader && size < emfHeaderBytes) return 0;
        if (type == emrEof) return at + size;
        at += size;
    }
    return 0;
}

MetafileInfo checkEmf(const QByteArray &data) {
    MetafileInfo info;
    if (checkedEmfLength(data) == 0) return info;
    info.kind = MetafileInfo::Emf;
    // The frame, in hundredths of a millimetre.
    const double width = double(i32At(data, 32)) - i32At(data, 24);
    const double height = double(i32At(data, 36)) - i32At(data, 28);
    if (width > 0 && height > 0)
        info.sizePx = QSizeF(width, height) * (pixelsPerInch / himetricPerInch);
    return info;
}

// The header's description: the library reads it up to a null character it
// does not look for within the data. Nothing of it is drawn.
void clearEmfDescription(QByteArray &data) {
    constexpr qsizetype descriptionFields = 60; // its length, then its offset
    data.replace(descriptionFields, 8, QByteArray(8, '\0'));
}

QImage drawEmf(QByteArray data, QSize pixels) {
    data.truncate(checkedEmfLength(data));
    clearEmfDescription(data);
    generatorOptions options{};
    char noNamespace[] = "";
    options.nameSpace = noNamespace;
    options.svgDelimiter = true;
    // The plain records Word writes beside EMF+ ones draw the same picture.
    options.emfplus = false;
    options.imgWidth = pixels.width();
    options.imgHeight = pixels.height();
    char *svg = nullptr;
    size_t svgLength = 0;
    const int ok = emf2svg(data.data(), size_t(data.size()), &svg, &svgLength, &options);
    const QByteArray svgBytes = ok && svg ? QByteArray(svg, qsizetype(svgLength)) : QByteArray();
    std::free(svg);
    if (svgBytes.isEmpty()) return {};
    QSvgRenderer renderer(svgBytes);
    if (!renderer.isValid()) return {};
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) return {};
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(pixels)));
    return image;
}

int appendPng(void *context, char *buffer, int length) {
    if (length > 0) static_cast<QByteArray *>(context)->append(buffer, length);
    return length;
}

QImage drawWmf(QByteArray data, QSize pixels) {
    const bool placeable = data.size() >= placeableBytes && u32At(data, 0) == placeableKey;
    data.truncate(checkedWmfLength(data, placeable ? placeableBytes : 0));
    wmfAPI_Options options;
    std::memset(&options, 0, sizeof options);
    options.function = wmf_gd_function;
    wmfAPI *api = nullptr;
    const unsigned long flags =
        WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    if (wmf_api_create(&api, flags, &options) != wmf_E_None) {
        if (api) wmf_api_destroy(api);
        return {};
    }
    QByteArray png;
    bool played = false;
    if (wmf_mem_open(api, reinterpret_cast<unsigned char *>(data.data()), long(data.size())) ==
        wmf_E_None) {
        wmfD_Rect bounds;
        if (wmf_scan(api, 0, &bounds) == wmf_E_None && bounds.BR.x > bounds.TL.x &&
            bounds.BR.y > bounds.TL.y) {
            wmf_gd_t *device = WMF_GD_GetData(api);
            device->type = wmf_gd_png;
            device->flags |= WMF_GD_OUTPUT_MEMORY | WMF_GD_OWN_BUFFER;
            device->sink.context = &png;
            device->sink.function = appendPng;
            device->bbox = bounds;
            device->width = unsigned(pixels.width());
            device->height = unsigned(pixels.height());
            played = wmf_play(api, 0, &bounds) == wmf_E_None;
        }
        wmf_mem_close(api);
    }
    // The picture is handed to the sink as the library closes.
    const bool closed = wmf_api_destroy(api) == wmf_E_None;
    if (!played || !closed) return {};
    QImage image = QImage::fromData(png, "PNG");
    if (image.size() != pixels) return {};
    return image;
}

} // namespace

MetafileInfo checkMetafile(const QByteArray &data) {
    const MetafileInfo emf = checkEmf(data);
    return emf.kind != MetafileInfo::None ? emf : checkWmf(data);
}

QImage drawMetafile(const QByteArray &data, QSize pixels) {
    if (pixels.isEmpty() || pixels.width() > maxBitmapSide || pixels.height() > maxBitmapSide)
        return {};
    switch (checkMetafile(data).kind) {
    case MetafileInfo::Emf:
        return drawEmf(data, pixels);
    case MetafileInfo::Wmf:
        return drawWmf(data, pixels);
    case MetafileInfo::None:
        break;
    }
    return {};
}

namespace {

// The colours of the image, when it has at most 256: a formula or a sign
// drawn in a few colours on white is stored a byte a pixel, not three.
std::optional<QList<QRgb>> fewColours(const QImage &rgb) {
    constexpr qsizetype paletteSize = 256;
    QHash<QRgb, int> seen;
    QList<QRgb> colours;
    for (int y = 0; y < rgb.height(); ++y) {
        const uchar *row = rgb.constScanLine(y);
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb colour = qRgb(row[3 * x], row[3 * x + 1], row[3 * x + 2]);
            if (seen.contains(colour)) continue;
            if (colours.size() == paletteSize) return std::nullopt;
            seen.insert(colour, int(colours.size()));
            colours << colour;
        }
    }
    return colours;
}

// A device-independent bitmap, bottom row first: 8 bits a pixel with its
// palette when the image has few colours, 24 otherwise.
QByteArray dibOf(const QImage &rgb) {
    const quint32 width = quint32(rgb.width());
    const quint32 height = quint32(rgb.height());
    const std::optional<QList<QRgb>> palette = fewColours(rgb);
    const quint32 bitCount = palette ? 8 : 24;
    const quint32 stride = (width * bitCount / 8 + 3) / 4 * 4;
    QByteArray dib;
    putU32(dib, 40);
    putU32(dib, width);
    putU32(dib, height); // positive: bottom row first
    putU16(dib, 1);
    putU16(dib, bitCount);
    putU32(dib, 0);
    putU32(dib, stride * height);
    putU32(dib, 0);
    putU32(dib, 0);
    putU32(dib, palette ? quint32(palette->size()) : 0);
    putU32(dib, 0);
    QHash<QRgb, int> index;
    if (palette) {
        for (const QRgb colour : *palette) {
            index.insert(colour, int(index.size()));
            dib.append(char(qBlue(colour)));
            dib.append(char(qGreen(colour)));
            dib.append(char(qRed(colour)));
            dib.append('\0');
        }
    }
    const QByteArray padding(stride - width * bitCount / 8, '\0');
    for (int y = int(height) - 1; y >= 0; --y) {
        const uchar *row = rgb.constScanLine(y);
        for (quint32 x = 0; x < width; ++x) {
            if (palette) {
                dib.append(char(index.value(qRgb(row[3 * x], row[3 * x + 1], row[3 * x + 2]))));
            } else {
                dib.append(char(row[3 * x + 2]));
                dib.append(char(row[3 * x + 1]));
                dib.append(char(row[3 * x]));
            }
        }
        dib.append(padding);
    }
    return dib;
}

} // namespace

QByteArray bitmapMetafile(const QImage &image) {
    if (image.isNull() || image.width() > 0x7FFF || image.height() > 0x7FFF) return {};
    // Readers of this fallback know no transparency: it is shown on white.
    QImage rgb(image.size(), QImage::Format_RGB888);
    rgb.fill(Qt::white);
    {
        QPainter painter(&rgb);
        painter.drawImage(0, 0, image);
    }
    const quint32 width = quint32(rgb.width());
    const quint32 height = quint32(rgb.height());
    const QByteArray dib = dibOf(rgb);

    QByteArray records;
    auto record = [&records](quint32 function, std::initializer_list<quint32> words) {
        putU32(records, 3 + quint32(words.size()));
        putU16(records, function);
        for (const quint32 word : words)
            putU16(records, word);
    };
    record(0x020B, {0, 0});          // SETWINDOWORG: y, x
    record(0x020C, {height, width}); // SETWINDOWEXT
    const quint32 stretchWords = 3 + 2 + 1 + 8 + quint32(dib.size()) / 2;
    putU32(records, stretchWords);
    putU16(records, 0x0F43);     // STRETCHDIB
    putU32(records, 0x00CC0020); // SRCCOPY
    putU16(records, 0);          // colours are RGB values
    for (const quint32 word : {height, width, 0u, 0u, height, width, 0u, 0u})
        putU16(records, word);
    records.append(dib);
    record(0x0000, {}); // EOF

    QByteArray wmf;
    putU16(wmf, 1); // in memory
    putU16(wmf, 9);
    putU16(wmf, 0x300);
    putU32(wmf, quint32(18 + records.size()) / 2);
    putU16(wmf, 0);
    putU32(wmf, stretchWords);
    putU16(wmf, 0);
    return wmf + records;
}
