#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>

// The image as a file of the given kind ("PNG", "JPEG", "BMP") would hold it.
inline QByteArray encoded(const QImage &image, const char *kind) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, kind);
    return bytes;
}
