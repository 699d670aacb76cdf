#include "document/rtf/rtfreader_impl.h"

#include "document/lazypictures.h"
#include "document/rtf/rtfmetafile.h"

// Pictures and embedded objects.
namespace rtfread {

void RtfReader::applyPictureProperty(Prop prop, int param) {
    RtfPicture &picture = m_picture.picture;
    switch (prop) {
    case PicWidth:
        picture.widthPx = param;
        break;
    case PicHeight:
        picture.heightPx = param;
        break;
    case PicGoalWidth:
        picture.goalWidthTwips = param;
        break;
    case PicGoalHeight:
        picture.goalHeightTwips = param;
        break;
    case PicScaleX:
        picture.scaleXPercent = param;
        break;
    case PicScaleY:
        picture.scaleYPercent = param;
        break;
    case PngBlip:
        picture.type = RtfPicture::Png;
        break;
    case JpegBlip:
        picture.type = RtfPicture::Jpeg;
        break;
    case DibBlip:
        picture.type = RtfPicture::Dib;
        break;
    case WinBitmap:
        picture.type = RtfPicture::WinBitmap;
        break;
    case MetafileBlip:
        picture.type = RtfPicture::Metafile;
        break;
    case PicBitsPerPixel:
        picture.bitsPerPixel = param;
        break;
    case PicWidthBytes:
        picture.widthBytes = param;
        break;
    default:
        break;
    }
}

void RtfReader::applyObjectProperty(Prop prop, int param) {
    if (prop == ObjectWidth)
        m_object.widthTwips = param;
    else if (prop == ObjectHeight)
        m_object.heightTwips = param;
}

void RtfReader::startPicture(bool forObject, qsizetype wordOffset) {
    m_picture = PictureBuilder();
    m_picture.active = true;
    m_picture.forObject = forObject;
    m_picture.wordOffset = wordOffset;
}

void RtfReader::appendPictureHex(QByteArrayView text, qsizetype offset) {
    QByteArray &data = m_picture.picture.data;
    const qsizetype oldSize = data.size();
    data.resize(oldSize + text.size() / 2 + 1);
    char *const begin = data.data();
    char *out = begin + oldSize;
    int pending = m_picture.pendingNibble;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const int value = hexDigitValue(byte);
        if (value < 0) {
            if (!isSpaceByte(byte))
                report(QStringLiteral("picture data is not hexadecimal"), offset + i);
            continue;
        }
        if (pending < 0) {
            pending = value;
        } else {
            *out++ = static_cast<char>(pending * 16 + value);
            pending = -1;
        }
    }
    m_picture.pendingNibble = pending;
    data.resize(out - begin);
}

void RtfReader::finishPicture(qsizetype endOffset, int missingBraces) {
    const PictureBuilder builder = std::exchange(m_picture, PictureBuilder());
    const RtfPicture &picture = builder.picture;
    if (builder.copyOfLast) {
        keepCopyOfLastPicture(picture);
        return;
    }
    const bool drawn = picture.type != RtfPicture::Metafile || m_metafilesLeft-- > 0;
    // An object's picture is written back from what is shown: it keeps its
    // pixels. Any other PNG or JPEG is decoded when first drawn.
    const double pixelRatio = builder.forObject ? 0 : screenPixelRatio();
    RtfPictureImage decoded =
        drawn ? decodeRtfPicture(picture, m_pixelsLeft, pixelRatio, !builder.forObject)
              : RtfPictureImage();
    const bool deferred = decoded.deferredSizePx.isValid();
    if (decoded.image.isNull() && !deferred && !decoded.tooLarge &&
        picture.type != RtfPicture::Metafile)
        report(QStringLiteral("picture data could not be decoded"), builder.wordOffset);

    QSizeF sizePx = rtfPictureSizePx(picture, decoded.headerSize);
    const bool fits = takePictureHeight(sizePx.height());
    if (!fits) {
        // Shown smaller, it would be written back smaller: it keeps its group.
        decoded.image = QImage();
        sizePx = QSizeF(smallPictureSidePx, smallPictureSidePx);
    }
    const bool shown = !decoded.image.isNull() || (deferred && fits);
    // Counted whole, though shown with fewer pixels: printing decodes it whole.
    const qint64 wholePixels =
        shown && decoded.headerSize.isValid()
            ? qint64(decoded.headerSize.width()) * decoded.headerSize.height()
            : 0;
    m_pixelsLeft -= std::max(qint64(decoded.image.width()) * decoded.image.height(), wholePixels);
    const bool placeholder = !shown;
    QTextImageFormat format = imageFormat(sizePx, placeholder);
    // A metafile is drawn, but only its own bytes are written back.
    if (placeholder || picture.type == RtfPicture::Metafile) {
        textprops::setRawRtfGroup(format, rawGroup(builder.wordOffset, endOffset, missingBraces));
    } else if (picture.type == RtfPicture::Png || picture.type == RtfPicture::Jpeg) {
        format.setProperty(textprops::PictureBytes, picture.data);
        format.setProperty(textprops::PictureKind, picture.type == RtfPicture::Png
                                                       ? QStringLiteral("png")
                                                       : QStringLiteral("jpeg"));
    }

    if (!builder.forObject && !placeholder && deferred) {
        lazypictures::of(*m_cursor.document())
            .add(format.name(), picture.data, decoded.deferredSizePx);
        insertImage(format, QImage());
    } else if (!builder.forObject) {
        insertImage(format, placeholder ? rtfPlaceholderImage() : decoded.image);
    } else if (m_object.active && !m_object.hasResult) {
        m_object.hasResult = true;
        m_object.resultFormat = format;
        m_object.resultImage = placeholder ? rtfPlaceholderImage() : decoded.image;
    }
    const bool keepsBytes = !builder.forObject && format.hasProperty(textprops::PictureBytes);
    m_lastPicturePosition = keepsBytes ? m_cursor.position() - 1 : -1;
}

// The bitmap our own file holds beside a photo for other readers: kept with
// the photo, it is written back without decoding the photo again.
void RtfReader::keepCopyOfLastPicture(const RtfPicture &copy) {
    const int position = std::exchange(m_lastPicturePosition, -1);
    if (copy.type != RtfPicture::Metafile || position < 0 ||
        checkMetafile(copy.data).kind == MetafileInfo::None)
        return;
    QTextCursor cursor(m_cursor.document());
    cursor.setPosition(position);
    cursor.setPosition(position + 1, QTextCursor::KeepAnchor);
    QTextCharFormat format = cursor.charFormat();
    if (!format.isImageFormat() || !format.hasProperty(textprops::PictureBytes)) return;
    format.setProperty(textprops::PictureCopy, copy.data);
    cursor.setCharFormat(format);
}

void RtfReader::finishObject(qsizetype endOffset, int missingBraces) {
    const ObjectBuilder object = std::exchange(m_object, ObjectBuilder());
    QTextImageFormat format;
    QImage image;
    if (object.hasResult) {
        format = object.resultFormat;
        image = object.resultImage;
        format.clearProperty(textprops::PictureBytes);
        format.clearProperty(textprops::PictureKind);
    } else {
        QSizeF sizePx = boundedPictureSizePx(
            {object.widthTwips > 0 ? double(object.widthTwips) / units::twipsPerPixel
                                   : smallPictureSidePx,
             object.heightTwips > 0 ? double(object.heightTwips) / units::twipsPerPixel
                                    : smallPictureSidePx});
        if (!takePictureHeight(sizePx.height()))
            sizePx = QSizeF(smallPictureSidePx, smallPictureSidePx);
        image = rtfPlaceholderImage();
        format = imageFormat(sizePx, true);
    }
    textprops::setRawRtfGroup(format, rawGroup(object.wordOffset, endOffset, missingBraces));
    insertImage(format, image);
}

// The bytes of a picture or object, from its word to the } of its group, as a
// group of its own: what came before the word in that group was read as
// text, and would come back twice. A group the input cut short gets the
// braces it lacks, so that it can be written back whole.
QByteArray RtfReader::rawGroup(qsizetype wordOffset, qsizetype endOffset, int missingBraces) const {
    QByteArray raw = '{' + m_input.mid(wordOffset, endOffset - wordOffset);
    if (missingBraces == 0) return raw + '}';
    // Binary data cut short would swallow the braces added here, and the
    // text written after the group with them.
    if (m_cutBinaryAt >= wordOffset) raw.truncate(1 + m_cutBinaryAt - wordOffset);
    qsizetype backslashes = 0;
    while (backslashes < raw.size() && raw[raw.size() - 1 - backslashes] == '\\')
        ++backslashes;
    if (backslashes % 2 == 1) raw.chop(1);
    raw.append(QByteArray(missingBraces, '}'));
    return raw;
}

// True when a picture that tall still fits in the height pictures may take.
bool RtfReader::takePictureHeight(double heightPx) {
    if (heightPx > m_pictureHeightLeftPx) return false;
    m_pictureHeightLeftPx -= heightPx;
    return true;
}

QTextImageFormat RtfReader::imageFormat(QSizeF sizePx, bool placeholder) {
    QTextImageFormat format;
    format.merge(charFormat(top().chars));
    format.setName(placeholder ? rtfPlaceholderImageName() : textprops::newImageName());
    format.setWidth(sizePx.width());
    format.setHeight(sizePx.height());
    return format;
}

void RtfReader::insertImage(const QTextImageFormat &format, const QImage &image) {
    if (m_pendingBreak) insertPendingBreak();
    flushRun();
    const bool placeholder = format.name() == rtfPlaceholderImageName();
    if (image.isNull()) {
        // Drawn from its bytes when first shown.
    } else if (!placeholder || !std::exchange(m_placeholderAdded, true))
        m_cursor.document()->addResource(QTextDocument::ImageResource, QUrl(format.name()), image);
    m_cursor.insertImage(format);
}

} // namespace rtfread
