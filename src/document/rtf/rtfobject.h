#pragma once

#include <QByteArray>
#include <QSizeF>
#include <QString>
#include <optional>

class QImage;

// Files embedded in a text as packages, the kind of object that RTF readers
// everywhere know: an \object group holding the file's name and bytes in its
// \objdata, and the picture it is shown by in its \result, which readers that
// cannot open the package show instead.
namespace rtfobject {

struct EmbeddedFile {
    QString fileName; // without folder
    QByteArray bytes;
};

// The whole group, from "{\object" to its closing brace. shown is drawn at
// shownSizePx on the page; it may be denser, to print sharp.
QByteArray packageGroup(const EmbeddedFile &file, const QImage &shown, QSizeF shownSizePx);

// True for a kept RTF group that is an object of any kind.
bool isObjectGroup(const QByteArray &group);

// The file a package group carries; nothing for another kind of object or
// for data that does not hold together.
std::optional<EmbeddedFile> packagedFile(const QByteArray &objectGroup);

} // namespace rtfobject
