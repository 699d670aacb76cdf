#pragma once

#include "document/rtf/rtflists.h"

#include <QFont>
#include <QList>
#include <QRgb>
#include <QString>
#include <QTextOption>
#include <optional>

class QImage;
class QTextBlock;
class QTextCharFormat;
class QTextDocument;
class QTextImageFormat;

// The attributes the RTF writer and the run listing see in a document: what a
// run or a paragraph looks like once the document's defaults are filled in.
namespace rtfattributes {

struct CharAttributes {
    QString fontName;
    double sizePt = 12;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool caps = false;
    bool smallCaps = false;
    std::optional<QRgb> color; // none: the automatic colour
    int offsetTwips = 0;       // positive raises
    bool isProtected = false;

    bool operator==(const CharAttributes &) const = default;
};

// Characters without a font or a size take the document's default font.
CharAttributes charAttributes(const QTextCharFormat &format, const QFont &defaultFont);

// A tab stop as RTF has it: the decimal tab's separator is not part of it.
struct TabStop {
    double positionPx = 0;
    QTextOption::TabType type = QTextOption::LeftTab;

    bool operator==(const TabStop &) const = default;
};

struct ParagraphAttributes {
    // One of Qt::AlignLeft, AlignRight, AlignHCenter, AlignJustify.
    Qt::Alignment alignment = Qt::AlignLeft;
    double leftIndentPx = 0;
    double rightIndentPx = 0;
    double firstLineIndentPx = 0; // relative to the left indent
    QList<TabStop> tabs;
    bool bullet = false; // in a list, bulleted or numbered
    rtflists::ListLook list;
    int listObject = -1; // which numbered list: neighbours of one look stay apart

    bool operator==(const ParagraphAttributes &) const = default;
};

ParagraphAttributes paragraphAttributes(const QTextBlock &block);

// The picture a document shows for an image format (null when it has none).
QImage documentImage(const QTextDocument &document, const QTextImageFormat &format);

// The Symbol font has its own code page (RTF \fcharset2).
bool isSymbolFont(const QString &fontName);

} // namespace rtfattributes
