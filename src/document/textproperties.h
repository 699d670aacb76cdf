#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QTextFormat>
#include <QTextOption>

class QTextBlockFormat;
class QTextCharFormat;
class QTextImageFormat;

// Attributes the document keeps beside Qt's own formats. The document is the
// only place they live: readers, writers and the control all go through here.
namespace textprops {

enum : int {
    // int, twips; positive raises the characters. Qt only knows a baseline
    // offset in percent of the font height, so that one is derived from this.
    OffsetTwips = QTextFormat::UserProperty + 1,
    // bool: the user may not change these characters.
    Protected = QTextFormat::UserProperty + 2,
    // QByteArray on an image format: an RTF group (an \object, or a picture
    // Qt cannot decode) written back exactly as it was read.
    RawRtfGroup = QTextFormat::UserProperty + 3,
    // QByteArray on an image format: the picture's encoded bytes as read, so
    // that a JPEG stays a JPEG when written back.
    PictureBytes = QTextFormat::UserProperty + 4,
    // QString on an image format: "png" or "jpeg", the kind of PictureBytes.
    PictureKind = QTextFormat::UserProperty + 5,
    // int: hashes of list and byte-array properties, set beside them. Qt 6.4
    // hashes such a property by its type alone, so formats differing only in
    // their fonts, their tab stops or their kept RTF group would share one
    // hash, and every format added would be compared with all of them.
    FontFamiliesHash = QTextFormat::UserProperty + 6,
    TabStopsHash = QTextFormat::UserProperty + 7,
    RawRtfGroupHash = QTextFormat::UserProperty + 8,
    // QString: a font name kept for writing back while the characters are
    // drawn in the document's default font (see setFontNameKeptOnly).
    FontNameKept = QTextFormat::UserProperty + 9,
    // QByteArray on an image format with PictureBytes: the metafile holding
    // its bitmap for other readers, as read from our own file, so that
    // saving need not decode and encode the photo again.
    PictureCopy = QTextFormat::UserProperty + 10,
    // int, pixels, on a block format: the room kept above and below the
    // paragraph's lines for its raised and lowered characters (see
    // offsetroom.h). Display only: never read from nor written to files.
    RaisedRoom = QTextFormat::UserProperty + 20,
    LoweredRoom = QTextFormat::UserProperty + 21,
    // bool on a char format: characters shown but never written to files,
    // such as a footnote's number and its text shown at the paragraph's end;
    // the footnote itself is kept whole in an empty picture's RTF group.
    ShownOnly = QTextFormat::UserProperty + 22,
};

int offsetTwips(const QTextCharFormat &format);
// Stores the offset and sets the drawing offset that goes with the format's
// current size; call again (or refreshBaseline) after changing the size.
void setOffsetTwips(QTextCharFormat &format, int twips);
void refreshBaseline(QTextCharFormat &format);

bool isProtected(const QTextCharFormat &format);
void setProtected(QTextCharFormat &format, bool on);

// The first family of the format ("" when none is set).
QString fontName(const QTextCharFormat &format);
void setFontName(QTextCharFormat &format, const QString &name);
// Keeps the name, for reading and writing back, without asking Qt to draw
// with it: each distinct family costs Qt a font lookup when the text is
// first painted, so a document naming thousands of them would take minutes.
void setFontNameKeptOnly(QTextCharFormat &format, const QString &name);

// Tab stops as the program counts them: pixels from the left edge of the
// text area, whatever the indent. Qt counts them from the paragraph's left
// margin, so they are stored shifted by it.
QList<QTextOption::Tab> tabStops(const QTextBlockFormat &format);
void setTabStops(QTextBlockFormat &format, QList<QTextOption::Tab> stops);
// Moves the paragraph's left margin (pixels), its tab stops staying put.
void setLeftMargin(QTextBlockFormat &format, double pixels);

void setRawRtfGroup(QTextImageFormat &format, const QByteArray &group);

// Name of a document image resource not used yet in that document.
QString newImageName();

} // namespace textprops
