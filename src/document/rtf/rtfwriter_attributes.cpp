#include "document/rtf/rtfwriter_attributes.h"

#include "document/textproperties.h"

#include <QImage>
#include <QPixmap>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QTextList>
#include <QUrl>

namespace rtfattributes {
namespace {

// RTF's own default size, for a default font given in pixels.
constexpr double fallbackSizePt = 12;
constexpr auto fallbackFontName = "Arial";

Qt::Alignment horizontalAlignment(Qt::Alignment alignment) {
    const Qt::Alignment horizontal = alignment & Qt::AlignHorizontal_Mask;
    if (horizontal & (Qt::AlignRight | Qt::AlignTrailing)) return Qt::AlignRight;
    if (horizontal & Qt::AlignHCenter) return Qt::AlignHCenter;
    if ((horizontal & Qt::AlignJustify) == Qt::AlignJustify) return Qt::AlignJustify;
    return Qt::AlignLeft;
}

} // namespace

CharAttributes charAttributes(const QTextCharFormat &format, const QFont &defaultFont) {
    CharAttributes attributes;
    attributes.fontName = textprops::fontName(format);
    if (attributes.fontName.isEmpty()) attributes.fontName = defaultFont.family();
    if (attributes.fontName.isEmpty()) attributes.fontName = QString::fromLatin1(fallbackFontName);
    attributes.sizePt = format.fontPointSize();
    if (attributes.sizePt <= 0) attributes.sizePt = defaultFont.pointSizeF();
    if (attributes.sizePt <= 0) attributes.sizePt = fallbackSizePt;
    attributes.bold = format.fontWeight() >= QFont::Bold;
    attributes.italic = format.fontItalic();
    attributes.underline = format.fontUnderline();
    attributes.strike = format.fontStrikeOut();
    attributes.caps = format.fontCapitalization() == QFont::AllUppercase;
    attributes.smallCaps = format.fontCapitalization() == QFont::SmallCaps;
    if (format.hasProperty(QTextFormat::ForegroundBrush)) {
        const QBrush brush = format.foreground();
        if (brush.style() != Qt::NoBrush) attributes.color = brush.color().rgb() & RGB_MASK;
    }
    attributes.offsetTwips = textprops::offsetTwips(format);
    attributes.isProtected = textprops::isProtected(format);
    return attributes;
}

ParagraphAttributes paragraphAttributes(const QTextBlock &block) {
    const QTextBlockFormat format = block.blockFormat();
    ParagraphAttributes attributes;
    attributes.alignment = horizontalAlignment(format.alignment());
    attributes.leftIndentPx = format.leftMargin();
    attributes.rightIndentPx = format.rightMargin();
    attributes.firstLineIndentPx = format.textIndent();
    for (const QTextOption::Tab &tab : textprops::tabStops(format))
        attributes.tabs.append({tab.position, tab.type});
    if (const QTextList *list = block.textList()) {
        attributes.bullet = true;
        attributes.list = rtflists::lookOf(list->format());
        if (attributes.list.isNumbered()) attributes.listObject = list->objectIndex();
    }
    return attributes;
}

QImage documentImage(const QTextDocument &document, const QTextImageFormat &format) {
    const QVariant resource = document.resource(QTextDocument::ImageResource, QUrl(format.name()));
    switch (resource.typeId()) {
    case QMetaType::QImage:
        return resource.value<QImage>();
    case QMetaType::QPixmap:
        return resource.value<QPixmap>().toImage();
    case QMetaType::QByteArray:
        return QImage::fromData(resource.toByteArray());
    default:
        return {};
    }
}

bool isSymbolFont(const QString &fontName) {
    return fontName.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0;
}

} // namespace rtfattributes
