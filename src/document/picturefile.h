#pragma once

#include <QByteArray>
#include <QImage>
#include <QSizeF>
#include <QString>

// A picture file the user inserts, decoded within the same pixel budget as
// the pictures of a file read: a few bytes that would inflate to hundreds of
// megabytes are not decoded whole.
struct PictureFile {
    enum class Outcome { Decoded, TooLarge, NotAPicture };

    Outcome outcome = Outcome::NotAPicture;
    QImage image;  // what is drawn: fewer pixels than the picture has when it is large
    QSizeF sizePx; // the picture's own size, which it is shown at
    // A PNG or JPEG file's bytes, written back in place of the image drawn,
    // and their kind ("png", "jpeg"); empty for other kinds.
    QByteArray keptBytes;
    QString keptKind;
};

PictureFile readPictureFile(const QByteArray &bytes);
