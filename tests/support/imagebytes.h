#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QList>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFormat>

// The document's pictures, in order.
inline QList<QTextImageFormat> images(const QTextDocument &document) {
    QList<QTextImageFormat> found;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().isImageFormat())
                found << it.fragment().charFormat().toImageFormat();
        }
    }
    return found;
}

// The image as a file of the given kind ("PNG", "JPEG", "BMP") would hold it.
inline QByteArray encoded(const QImage &image, const char *kind) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, kind);
    return bytes;
}
