#pragma once

// A statement with photos of an experiment, as teachers paste them: a
// paragraph of text, then a photo shown 10.6 x 7.9 cm, and again.

#include "document/rtf/rtfwriter.h"
#include "document/textproperties.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>

namespace {

// Smooth shapes and, for a JPEG, light grain, as a photo has: the file is of
// a photo's size. A PNG of grain would be ten times that, so it has none.
inline QImage photoImage(QSize sizePx, int number, bool grainy) {
    QImage image(sizePx, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, sizePx.width(), sizePx.height());
    sky.setColorAt(0, QColor::fromHsv(number * 47 % 360, 90, 230));
    sky.setColorAt(1, QColor::fromHsv((number * 47 + 120) % 360, 160, 90));
    painter.fillRect(image.rect(), sky);
    for (int i = 0; i < 12; ++i) {
        painter.setBrush(QColor::fromHsv((number * 13 + i * 29) % 360, 140, 200, 160));
        painter.drawEllipse(QPoint(sizePx.width() * ((i * 37) % 100) / 100,
                                   sizePx.height() * ((i * 53) % 100) / 100),
                            sizePx.width() / 8, sizePx.height() / 6);
    }
    painter.end();
    if (!grainy) return image;
    QRandomGenerator grain(quint32(number + 1));
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int d = int(grain.bounded(7)) - 3;
            const QRgb p = line[x];
            line[x] = qRgb(std::clamp(qRed(p) + d, 0, 255), std::clamp(qGreen(p) + d, 0, 255),
                           std::clamp(qBlue(p) + d, 0, 255));
        }
    }
    return image;
}

// `count` photos of `sizePx`, stored as JPEG or PNG ("jpeg", "png").
inline QByteArray generatePhotos(int count, QSize sizePx, const QString &kind) {
    QTextDocument document;
    QTextCursor cursor(&document);
    QTextCharFormat text;
    textprops::setFontName(text, QStringLiteral("Arial"));
    text.setFontPointSize(12);
    // 10.6 x 7.9 cm at 96 pixels an inch.
    const QSizeF shownPx(10.6 / 2.54 * 96, 7.9 / 2.54 * 96);
    for (int i = 0; i < count; ++i) {
        if (i > 0) cursor.insertBlock();
        cursor.insertText(
            QStringLiteral("Photo %1 : le montage de l'expérience, vu de face.").arg(i + 1), text);
        cursor.insertBlock();
        const QImage image = photoImage(sizePx, i, kind != QLatin1String("png"));
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, kind == QLatin1String("png") ? "PNG" : "JPEG", 85);
        const QString name = textprops::newImageName();
        document.addResource(QTextDocument::ImageResource, QUrl(name), image);
        QTextImageFormat format;
        format.setName(name);
        format.setWidth(shownPx.width());
        format.setHeight(shownPx.height());
        format.setProperty(textprops::PictureBytes, bytes);
        format.setProperty(textprops::PictureKind, kind);
        cursor.insertImage(format);
    }
    return writeRtf(document);
}

} // namespace
