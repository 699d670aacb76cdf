#include "document/picturefile.h"

#include "document/rtf/rtfpicturedecoder.h"

#include <QBuffer>
#include <QImageReader>
#include <cmath>

namespace {

qint64 pixelsOf(QSize size) {
    return qint64(size.width()) * size.height();
}

} // namespace

PictureFile readPictureFile(const QByteArray &bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    PictureFile picture;
    const QSize size = reader.size();
    if (!size.isValid()) {
        // Only the kinds that do not say their size first: Qt's own
        // allocation limit bounds them.
        picture.image = reader.read();
        if (picture.image.isNull()) return picture;
        picture.outcome = PictureFile::Outcome::Decoded;
        picture.sizePx = picture.image.size();
        return picture;
    }
    const qint64 budgetPixels = rtfPictureBudgetPixels(bytes.size());
    const bool whole = pixelsOf(size) <= budgetPixels;
    // JPEG alone is decoded smaller without being decoded whole first.
    const bool jpeg = reader.format() == "jpeg";
    if (!whole && !jpeg) {
        picture.outcome = PictureFile::Outcome::TooLarge;
        return picture;
    }
    if (!whole) {
        const double scale = std::sqrt(double(budgetPixels) / double(pixelsOf(size)));
        reader.setScaledSize(
            QSize(std::max(1, int(size.width() * scale)), std::max(1, int(size.height() * scale))));
    }
    picture.image = reader.read();
    if (picture.image.isNull()) return picture;
    picture.outcome = PictureFile::Outcome::Decoded;
    const bool turned = reader.transformation() & QImageIOHandler::TransformationRotate90;
    picture.sizePx = turned ? QSizeF(size.height(), size.width()) : QSizeF(size);
    // A PNG or a JPEG is written back as it came: a photo stays as small as
    // its file, and whole when it is drawn smaller. A turned one is drawn
    // turned, which readers of its bytes might not do.
    const QByteArray format = reader.format();
    if ((format == "png" || jpeg) &&
        reader.transformation() == QImageIOHandler::TransformationNone) {
        picture.keptBytes = bytes;
        picture.keptKind = jpeg ? QStringLiteral("jpeg") : QStringLiteral("png");
    }
    return picture;
}
