#include "document/clipboardformats.h"

#include "base/codepages.h"
#include "document/rtf/rtfwriter.h"
#include "document/rtf/rtfwriter_attributes.h"
#include "document/runwalker.h"
#include "document/textproperties.h"

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QMimeData>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextImageFormat>

#include <algorithm>
#include <optional>

namespace clipboardformats {
namespace {

// Windows puts the Symbol font's glyphs at U+F000 + code; text pasted from
// such a program may keep them so.
constexpr char16_t symbolPrivateBase = 0xF000;

// The range clipped to the document's characters; empty when nothing is left.
struct Range {
    int from = 0;
    int to = 0;
    bool isEmpty() const { return from >= to; }
};

Range clipped(const QTextDocument &document, int from, int to) {
    const int last = document.characterCount() - 1;
    return {std::clamp(from, 0, last), std::clamp(to, 0, last)};
}

QStringView textOf(const runwalker::Run &run, const QString &fragmentText) {
    return QStringView(fragmentText).mid(run.from - run.position, run.to - run.from);
}

bool isSymbolText(const QTextCharFormat &format) {
    return rtfattributes::isSymbolFont(textprops::fontName(format));
}

// Qt's marks for pictures and frames, which stand for no character.
bool isPlaceholder(QChar ch) {
    return ch == QChar::ObjectReplacementCharacter || ch == u'\uFDD0' || ch == u'\uFDD1';
}

// Control characters mean nothing to a reader, and a terminal may act on
// some (a DEL, which a palette button gives, erases); a tab stays.
bool isControl(QChar ch) {
    const char16_t code = ch.unicode();
    return code != u'\t' && (code < 0x20 || (code >= 0x7F && code <= 0x9F));
}

// The Unicode letter of a character of the Symbol font. The document keeps
// most of them so already; those in the private-use area are mapped back.
QChar unicodeOf(QChar ch, bool symbolFont) {
    const char16_t code = ch.unicode();
    if (symbolFont && code >= symbolPrivateBase + 0x20 && code <= symbolPrivateBase + 0xFF)
        return codepages::fromSymbol(static_cast<unsigned char>(code - symbolPrivateBase));
    return ch;
}

// ------------------------------------------------------------------- HTML

// What the HTML keeps of a run's look.
struct Look {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    std::optional<QRgb> color; // none for the automatic colour and black
    int offsetSign = 0;        // 1 raised, -1 lowered

    bool operator==(const Look &) const = default;
};

Look lookOf(const QTextCharFormat &format, const QFont &defaultFont) {
    const rtfattributes::CharAttributes attributes =
        rtfattributes::charAttributes(format, defaultFont);
    Look look;
    look.bold = attributes.bold;
    look.italic = attributes.italic;
    look.underline = attributes.underline;
    look.strike = attributes.strike;
    // The colour comes without its alpha: 0 is black.
    if (attributes.color && *attributes.color != 0) look.color = attributes.color;
    look.offsetSign = (attributes.offsetTwips > 0) - (attributes.offsetTwips < 0);
    return look;
}

QString openingTags(const Look &look) {
    QString tags;
    if (look.color)
        tags += QLatin1String("<span style=\"color:%1\">").arg(QColor(*look.color).name());
    if (look.bold) tags += QLatin1String("<b>");
    if (look.italic) tags += QLatin1String("<i>");
    if (look.underline) tags += QLatin1String("<u>");
    if (look.strike) tags += QLatin1String("<s>");
    if (look.offsetSign > 0) tags += QLatin1String("<sup>");
    if (look.offsetSign < 0) tags += QLatin1String("<sub>");
    return tags;
}

QString closingTags(const Look &look) {
    QString tags;
    if (look.offsetSign < 0) tags += QLatin1String("</sub>");
    if (look.offsetSign > 0) tags += QLatin1String("</sup>");
    if (look.strike) tags += QLatin1String("</s>");
    if (look.underline) tags += QLatin1String("</u>");
    if (look.italic) tags += QLatin1String("</i>");
    if (look.bold) tags += QLatin1String("</b>");
    if (look.color) tags += QLatin1String("</span>");
    return tags;
}

void appendEscaped(QString &out, QChar ch) {
    switch (ch.unicode()) {
    case u'&':
        out += QLatin1String("&amp;");
        return;
    case u'<':
        out += QLatin1String("&lt;");
        return;
    case u'>':
        out += QLatin1String("&gt;");
        return;
    case u'"':
        out += QLatin1String("&quot;");
        return;
    case QChar::LineSeparator:
        out += QLatin1String("<br>");
        return;
    default:
        if (!isControl(ch)) out += ch;
    }
}

// A picture's bytes and their MIME type; empty bytes when it has none.
struct EncodedPicture {
    QByteArray bytes;
    QLatin1String type;
    QSize sizePx;
};

// A picture read in PNG or JPEG keeps its bytes: they are taken as they are,
// which spares encoding it again at each change of the selection, and a photo
// stays a JPEG. Others are encoded in PNG.
EncodedPicture encoded(const QTextDocument &document, const QTextImageFormat &format) {
    const QByteArray kept = format.property(textprops::PictureBytes).toByteArray();
    const QString kind = format.stringProperty(textprops::PictureKind);
    if (!kept.isEmpty() && (kind == QLatin1String("png") || kind == QLatin1String("jpeg"))) {
        const bool hasSize = format.width() > 0 && format.height() > 0;
        return {kept, kind == QLatin1String("png") ? QLatin1String("png") : QLatin1String("jpeg"),
                hasSize ? QSize() : QImage::fromData(kept).size()};
    }
    const QImage image = rtfattributes::documentImage(document, format);
    if (image.isNull()) return {{}, QLatin1String("png"), {}};
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) png.clear();
    return {png, QLatin1String("png"), image.size()};
}

QString pictureTag(const QTextDocument &document, const QTextImageFormat &format) {
    const EncodedPicture picture = encoded(document, format);
    if (picture.bytes.isEmpty()) return {};
    const int widthPx = qRound(format.width() > 0 ? format.width() : picture.sizePx.width());
    const int heightPx = qRound(format.height() > 0 ? format.height() : picture.sizePx.height());
    const QByteArray base64 = picture.bytes.toBase64();
    return QLatin1String("<img src=\"data:image/") + picture.type + QLatin1String(";base64,") +
           QLatin1String(base64) +
           QStringLiteral("\" width=\"%1\" height=\"%2\" alt=\"\">").arg(widthPx).arg(heightPx);
}

QString paragraphOpening(const QTextBlock &block) {
    // The editor sets paragraphs without space between them and keeps every
    // space typed.
    QString style = QStringLiteral("margin:0;white-space:pre-wrap");
    const Qt::Alignment alignment = block.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
    if (alignment & (Qt::AlignRight | Qt::AlignTrailing))
        style += QLatin1String(";text-align:right");
    else if (alignment & Qt::AlignHCenter)
        style += QLatin1String(";text-align:center");
    else if ((alignment & Qt::AlignJustify) == Qt::AlignJustify)
        style += QLatin1String(";text-align:justify");
    return QLatin1String("<p style=\"") + style + QLatin1String("\">");
}

// One paragraph's part of the range, runs of one look sharing their tags.
class ParagraphWriter {
public:
    ParagraphWriter(QString &out, const QTextDocument &document)
        : m_out(out), m_document(document) {}

    void write(const QTextBlock &block, Range range) {
        m_out += paragraphOpening(block);
        const qsizetype start = m_out.size();
        runwalker::forEachFragment(block, range.from, range.to, [this](const runwalker::Run &run) {
            const QTextCharFormat format = run.fragment.charFormat();
            const QString fragmentText = run.fragment.text();
            const QStringView text = textOf(run, fragmentText);
            if (format.isImageFormat()) {
                for (const QChar ch : text) {
                    if (ch == QChar::ObjectReplacementCharacter) picture(format.toImageFormat());
                }
                return;
            }
            setLook(lookOf(format, m_document.defaultFont()));
            const bool symbol = isSymbolText(format);
            for (const QChar ch : text) {
                if (!isPlaceholder(ch)) appendEscaped(m_out, unicodeOf(ch, symbol));
            }
        });
        closeLook();
        // An empty paragraph still takes its line.
        if (m_out.size() == start) m_out += QLatin1String("<br>");
        m_out += QLatin1String("</p>\n");
    }

private:
    void setLook(const Look &look) {
        if (m_look && *m_look == look) return;
        closeLook();
        m_out += openingTags(look);
        m_look = look;
    }
    void closeLook() {
        if (m_look) m_out += closingTags(*m_look);
        m_look.reset();
    }
    void picture(const QTextImageFormat &format) {
        const QString tag = pictureTag(m_document, format);
        if (tag.isEmpty()) return;
        closeLook();
        m_out += tag;
    }

    QString &m_out;
    const QTextDocument &m_document;
    std::optional<Look> m_look;
};

} // namespace

QString plainText(const QTextDocument &document, int from, int to) {
    const Range range = clipped(document, from, to);
    QString text;
    if (range.isEmpty()) return text;
    runwalker::forEachRun(document, range.from, range.to, runwalker::Marks::Included,
                          [&text](const runwalker::Run &run) {
                              if (run.isMark()) {
                                  text += QLatin1Char('\n');
                                  return;
                              }
                              const QTextCharFormat format = run.fragment.charFormat();
                              if (format.isImageFormat()) return;
                              const bool symbol = isSymbolText(format);
                              const QString fragmentText = run.fragment.text();
                              for (const QChar ch : textOf(run, fragmentText)) {
                                  if (ch == QChar::LineSeparator)
                                      text += QLatin1Char('\n');
                                  else if (!isPlaceholder(ch) && !isControl(ch))
                                      text += unicodeOf(ch, symbol);
                              }
                          });
    return text;
}

QString html(const QTextDocument &document, int from, int to) {
    const Range range = clipped(document, from, to);
    if (range.isEmpty()) return {};
    // Without its charset some readers take the UTF-8 for Latin-1.
    QString out = QStringLiteral("<meta charset=\"utf-8\">\n");
    ParagraphWriter paragraphs(out, document);
    for (QTextBlock block = document.findBlock(range.from);
         block.isValid() && block.position() < range.to; block = block.next())
        paragraphs.write(block, range);
    return out;
}

QMimeData *mimeData(const QTextDocument &document, int from, int to) {
    auto *data = new QMimeData;
    data->setData(QStringLiteral("text/rtf"), writeRtf(document, from, to));
    const QString text = plainText(document, from, to);
    data->setText(text);
    // X11 offers setText's text only as UTF8_STRING, STRING and text/plain;
    // mail and browsers may ask for it under this name.
    data->setData(QStringLiteral("text/plain;charset=utf-8"), text.toUtf8());
    data->setHtml(html(document, from, to));
    return data;
}

} // namespace clipboardformats
