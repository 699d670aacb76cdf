#include "document/rtf/rtfwriter.h"

#include "base/units.h"
#include "document/rtf/rtfemitter.h"
#include "document/rtf/rtfmetafile.h"
#include "document/rtf/rtfwriter_attributes.h"
#include "document/runwalker.h"
#include "document/textproperties.h"

#include <QBuffer>
#include <QHash>
#include <QImage>
#include <QImageReader>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QTextList>
#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

using rtfattributes::CharAttributes;
using rtfattributes::ParagraphAttributes;

namespace {

constexpr char16_t objectReplacement = QChar::ObjectReplacementCharacter;

int pixelsToTwips(double px) {
    return int(std::lround(px * units::twipsPerPixel));
}
int pointsToHalfPoints(double pt) {
    return int(std::lround(pt * units::halfPointsPerPoint));
}
int twipsToHalfPoints(int twips) {
    return int(std::lround(double(twips) / units::twipsPerHalfPoint));
}

// A run format as written: its attributes and its font and colour table entries.
struct RunFormat {
    CharAttributes attributes;
    int fontIndex = 0;
    int colorIndex = 0; // 0: automatic
    bool isSymbol = false;
    bool shownOnly = false; // kept in a group of its own, such as a footnote's
};

// What the reader of our file has in force, in the units written.
struct CharState {
    int fontIndex = -1; // -1: nothing written yet
    int sizeHalfPt = -1;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool caps = false;
    bool smallCaps = false;
    int colorIndex = 0;
    int offsetTwips = 0;
    bool isProtected = false;
};

// A picture ready to be written as \pngblip or \jpegblip.
struct Picture {
    const char *blip = "\\pngblip";
    QByteArray bytes;
    QSize pixelSize;
    QImage image;          // what the bytes show, for the bitmap written beside them
    QByteArray bitmapCopy; // that bitmap, when kept from the file the photo was read from
};

QByteArray encodePng(const QImage &image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// The picture as a bitmap in a WMF, the one form RichEdit controls and word
// processors all draw, at the picture's own density where the bytes allow:
// a photo's RTF stays within three times its file, and a small picture's (a
// formula or a sign drawn here) within 40 KB.
QByteArray bitmapCopy(const QImage &image, qsizetype pictureBytes) {
    if (image.isNull()) return {};
    // Hex digits double every byte; line ends and control words take a little more.
    constexpr double smallRtfBytes = 40 * 1024;
    const double budgetBytes =
        std::max(0.45 * pictureBytes, (smallRtfBytes - 2.0 * pictureBytes) / 2 - 1024);
    // From a byte a pixel, as a picture of few colours takes, then a few
    // tries, each scaled to the bytes the last one took.
    double scale = std::min(1.0, std::sqrt(budgetBytes / (double(image.width()) * image.height())));
    for (int attempt = 0;; ++attempt) {
        const QSize size(std::max(1, int(image.width() * scale)),
                         std::max(1, int(image.height() * scale)));
        const QByteArray wmf =
            bitmapMetafile(size == image.size() ? image
                                                : image.scaled(size, Qt::IgnoreAspectRatio,
                                                               Qt::SmoothTransformation));
        if (wmf.size() <= budgetBytes || attempt == 3 || size == QSize(1, 1)) return wmf;
        scale *= std::sqrt(budgetBytes / double(wmf.size())) * 0.95;
    }
}

QSize encodedImageSize(const QByteArray &bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return QImageReader(&buffer).size();
}

class RtfWriter {
public:
    RtfWriter(const QTextDocument &document, int from, int to);
    QByteArray write();

private:
    template <typename Visit> void forEachParagraph(Visit visit) const;

    void collectTables();
    template <typename FetchFormat> void collectRun(int formatIndex, FetchFormat fetch);
    // The run format of a text format; null for an image format.
    const RunFormat *runFormat(int formatIndex) const;
    int fontIndex(const QString &name);
    int colorIndex(std::optional<QRgb> color);

    void writeHeader();
    void writeFontTable();
    void writeColorTable();
    void writeParagraph(const QTextBlock &block, int start, int end, bool first);
    void writeParagraphProperties(const ParagraphAttributes &paragraph, const QTextBlock &block);
    void writeListLabel(const ParagraphAttributes &paragraph, const QTextBlock &block);
    void writeBulletText();
    int labelFontIndex(const QTextBlock &block) const;
    static int itemNumber(const ParagraphAttributes &paragraph, const QTextBlock &block);
    void writeRunState(const RunFormat &format);
    void writeOffset(int offsetTwips);
    void writeFragment(const QTextFragment &fragment, int position, int start, int end);
    void writeImage(const QTextImageFormat &format);
    void leaveSymbolFont();
    Picture picture(const QTextImageFormat &format) const;

    const QTextDocument &m_document;
    const QFont m_defaultFont;
    int m_from;
    int m_to;
    QByteArray m_out;
    RtfEmitter m_emit{m_out};

    // Run formats by document format index; -1 where not met yet.
    std::vector<int> m_runFormatSlots;
    std::vector<RunFormat> m_runFormats;
    QStringList m_fonts;
    QHash<QString, int> m_fontIndexes;
    QList<QRgb> m_colors;
    QHash<QRgb, int> m_colorIndexes; // 1 for the first entry
    bool m_hasBullets = false;
    int m_symbolFontIndex = -1;
    bool m_hasKeptOrPictures = false;
    int m_plainFontIndex = -1; // a font whose bytes mean what Windows-1252 says

    CharState m_state;
    int m_lastBlockFormatIndex = -1;
    ParagraphAttributes m_lastParagraph;
};

RtfWriter::RtfWriter(const QTextDocument &document, int from, int to)
    : m_document(document), m_defaultFont(document.defaultFont()) {
    const int documentEnd = document.characterCount() - 1;
    m_to = (to < 0 || to > documentEnd) ? documentEnd : to;
    m_from = std::clamp(from, 0, m_to);
}

// Visits each paragraph the range touches with the part of its text inside
// the range. A paragraph whose separator is in the range is followed by the
// next one, even when none of that one's text is.
template <typename Visit> void RtfWriter::forEachParagraph(Visit visit) const {
    const QTextBlock first = m_document.findBlock(m_from);
    for (QTextBlock block = first; block.isValid(); block = block.next()) {
        const int position = block.position();
        if (block != first && position > m_to) break;
        const int start = std::max(m_from, position);
        const int end = std::min(m_to, position + block.length() - 1);
        visit(block, start, std::max(start, end));
    }
}

QByteArray RtfWriter::write() {
    collectTables();
    m_out.reserve(qsizetype(m_to - m_from) * 5 / 4 + 1024);
    writeHeader();
    bool first = true;
    forEachParagraph([&](const QTextBlock &block, int start, int end) {
        writeParagraph(block, start, end, first);
        first = false;
    });
    m_emit.raw("}\r\n");
    return m_out;
}

void RtfWriter::collectTables() {
    forEachParagraph([&](const QTextBlock &block, int start, int end) {
        if (block.textList()) m_hasBullets = true;
        if (block.length() == 1)
            collectRun(block.charFormatIndex(), [&] { return block.charFormat(); });
        runwalker::forEachFragment(block, start, end, [&](const runwalker::Run &run) {
            collectRun(run.fragment.charFormatIndex(), [&] { return run.fragment.charFormat(); });
        });
    });
    if (m_fonts.isEmpty())
        fontIndex(rtfattributes::charAttributes(QTextCharFormat(), m_defaultFont).fontName);
    if (m_hasBullets) m_symbolFontIndex = fontIndex(QStringLiteral("Symbol"));
    if (m_hasKeptOrPictures) {
        const auto plain = std::find_if(m_fonts.cbegin(), m_fonts.cend(), [](const QString &name) {
            return !rtfattributes::isSymbolFont(name);
        });
        m_plainFontIndex = plain != m_fonts.cend() ? int(plain - m_fonts.cbegin())
                                                   : fontIndex(QStringLiteral("Times New Roman"));
    }
}

// Formats met once are not fetched again: copying a format costs a lookup.
template <typename FetchFormat> void RtfWriter::collectRun(int formatIndex, FetchFormat fetch) {
    if (formatIndex < 0) return;
    if (size_t(formatIndex) >= m_runFormatSlots.size())
        m_runFormatSlots.resize(size_t(formatIndex) + 1, -1);
    if (m_runFormatSlots[size_t(formatIndex)] >= 0) return;
    const QTextCharFormat format = fetch();
    if (format.isImageFormat()) {
        m_hasKeptOrPictures = true;
        return;
    }
    RunFormat run;
    run.attributes = rtfattributes::charAttributes(format, m_defaultFont);
    run.fontIndex = fontIndex(run.attributes.fontName);
    run.colorIndex = colorIndex(run.attributes.color);
    run.isSymbol = rtfattributes::isSymbolFont(run.attributes.fontName);
    run.shownOnly = format.boolProperty(textprops::ShownOnly);
    m_runFormatSlots[size_t(formatIndex)] = int(m_runFormats.size());
    m_runFormats.push_back(std::move(run));
}

const RunFormat *RtfWriter::runFormat(int formatIndex) const {
    if (formatIndex < 0 || size_t(formatIndex) >= m_runFormatSlots.size()) return nullptr;
    const int slot = m_runFormatSlots[size_t(formatIndex)];
    return slot < 0 ? nullptr : &m_runFormats[size_t(slot)];
}

int RtfWriter::fontIndex(const QString &name) {
    const auto known = m_fontIndexes.constFind(name);
    if (known != m_fontIndexes.constEnd()) return known.value();
    m_fonts.append(name);
    return m_fontIndexes.insert(name, int(m_fonts.size() - 1)).value();
}

int RtfWriter::colorIndex(std::optional<QRgb> color) {
    if (!color) return 0;
    const auto known = m_colorIndexes.constFind(*color);
    if (known != m_colorIndexes.constEnd()) return known.value();
    m_colors.append(*color);
    return m_colorIndexes.insert(*color, int(m_colors.size())).value();
}

void RtfWriter::writeHeader() {
    m_emit.raw("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1036");
    writeFontTable();
    m_emit.newline();
    writeColorTable();
    m_emit.word("\\viewkind4\\uc1");
}

void RtfWriter::writeFontTable() {
    m_emit.raw("{\\fonttbl");
    for (qsizetype i = 0; i < m_fonts.size(); ++i) {
        m_emit.raw("{\\f");
        m_emit.rawNumber(int(i));
        m_emit.raw(rtfattributes::isSymbolFont(m_fonts[i]) ? "\\fnil\\fcharset2 "
                                                           : "\\fnil\\fcharset0 ");
        m_emit.text(m_fonts[i]);
        m_emit.raw(";}");
    }
    m_emit.raw("}");
}

void RtfWriter::writeColorTable() {
    if (m_colors.isEmpty()) return;
    m_emit.raw("{\\colortbl ;");
    for (const QRgb color : std::as_const(m_colors)) {
        m_emit.word("\\red", qRed(color));
        m_emit.word("\\green", qGreen(color));
        m_emit.word("\\blue", qBlue(color));
        m_emit.raw(";");
    }
    m_emit.raw("}");
    m_emit.newline();
}

void RtfWriter::writeParagraph(const QTextBlock &block, int start, int end, bool first) {
    // A list label takes the size in force: that of the paragraph's first
    // characters, not the paragraph's before.
    if (block.textList()) {
        const QTextBlock::iterator firstRun = block.begin();
        const int formatIndex =
            firstRun.atEnd() ? block.charFormatIndex() : firstRun.fragment().charFormatIndex();
        if (const RunFormat *run = runFormat(formatIndex)) writeRunState(*run);
    }
    const int blockFormatIndex = block.blockFormatIndex();
    if (first || blockFormatIndex != m_lastBlockFormatIndex) {
        ParagraphAttributes paragraph = rtfattributes::paragraphAttributes(block);
        if (first || paragraph != m_lastParagraph) {
            writeParagraphProperties(paragraph, block);
            m_lastParagraph = std::move(paragraph);
        } else if (m_lastParagraph.bullet) {
            writeListLabel(m_lastParagraph, block);
        }
        m_lastBlockFormatIndex = blockFormatIndex;
    } else if (m_lastParagraph.bullet) {
        writeListLabel(m_lastParagraph, block);
    }

    // An empty paragraph keeps the look of its mark (its line height).
    if (block.length() == 1) {
        if (const RunFormat *mark = runFormat(block.charFormatIndex())) writeRunState(*mark);
    }
    runwalker::forEachFragment(block, start, end, [&](const runwalker::Run &run) {
        writeFragment(run.fragment, run.position, run.from, run.to);
    });
    m_emit.word("\\par");
    m_emit.newline();
}

void RtfWriter::writeParagraphProperties(const ParagraphAttributes &paragraph,
                                         const QTextBlock &block) {
    m_emit.word("\\pard");
    if (paragraph.list.isNumbered()) {
        writeListLabel(paragraph, block);
        // RichEdit numbers the paragraph from this; other readers show the labels.
        const rtflists::ListLook &look = paragraph.list;
        m_emit.raw("{\\*\\pn\\pnlvlbody");
        m_emit.word("\\pnf", labelFontIndex(block));
        m_emit.word("\\pnindent0");
        m_emit.word("\\pnstart", itemNumber(paragraph, block));
        m_emit.word(rtflists::pnWordOf(look.style));
        if (!look.prefix.isEmpty()) {
            m_emit.raw("{");
            m_emit.word("\\pntxtb");
            m_emit.text(look.prefix);
            m_emit.raw("}");
        }
        if (!look.suffix.isEmpty()) {
            m_emit.raw("{");
            m_emit.word("\\pntxta");
            m_emit.text(look.suffix);
            m_emit.raw("}");
        }
        m_emit.raw("}");
    } else if (paragraph.bullet) {
        writeBulletText();
        m_emit.raw("{\\*\\pn\\pnlvlblt\\pnf");
        m_emit.rawNumber(m_symbolFontIndex);
        m_emit.raw("\\pnindent0{\\pntxtb\\'B7}}");
    }
    if (paragraph.alignment == Qt::AlignHCenter)
        m_emit.word("\\qc");
    else if (paragraph.alignment == Qt::AlignRight)
        m_emit.word("\\qr");
    else if (paragraph.alignment == Qt::AlignJustify)
        m_emit.word("\\qj");
    if (const int twips = pixelsToTwips(paragraph.leftIndentPx)) m_emit.word("\\li", twips);
    if (const int twips = pixelsToTwips(paragraph.rightIndentPx)) m_emit.word("\\ri", twips);
    if (const int twips = pixelsToTwips(paragraph.firstLineIndentPx)) m_emit.word("\\fi", twips);
    for (const rtfattributes::TabStop &tab : paragraph.tabs) {
        if (tab.type == QTextOption::RightTab)
            m_emit.word("\\tqr");
        else if (tab.type == QTextOption::CenterTab)
            m_emit.word("\\tqc");
        else if (tab.type == QTextOption::DelimiterTab)
            m_emit.word("\\tqdec");
        m_emit.word("\\tx", pixelsToTwips(tab.positionPx));
    }
}

// Numbered paragraphs carry their label twice: \\pntext for RichEdit and
// older readers, \\listtext for the readers of Word's lists. The latter is
// starred, so that a reader knowing neither shows the label once.
void RtfWriter::writeListLabel(const ParagraphAttributes &paragraph, const QTextBlock &block) {
    if (!paragraph.list.isNumbered()) {
        writeBulletText();
        return;
    }
    const QString label = rtflists::labelText(paragraph.list, itemNumber(paragraph, block));
    const int font = labelFontIndex(block);
    for (const char *destination : {"{\\pntext", "{\\*\\listtext"}) {
        m_emit.raw(destination);
        m_emit.word("\\f", font);
        m_emit.text(label);
        m_emit.word("\\tab");
        m_emit.raw("}");
    }
}

// RichEdit numbers on from the \\pnstart of the paragraph that has \\pn.
int RtfWriter::itemNumber(const ParagraphAttributes &paragraph, const QTextBlock &block) {
    const QTextList *list = block.textList();
    return paragraph.list.start + (list ? list->itemNumber(block) : 0);
}

// The label takes the font of the paragraph's first characters.
int RtfWriter::labelFontIndex(const QTextBlock &block) const {
    const QTextBlock::iterator first = block.begin();
    const int formatIndex =
        first.atEnd() ? block.charFormatIndex() : first.fragment().charFormatIndex();
    const RunFormat *run = runFormat(formatIndex);
    return run && !run->isSymbol ? run->fontIndex : 0;
}

void RtfWriter::writeBulletText() {
    m_emit.raw("{\\pntext\\f");
    m_emit.rawNumber(m_symbolFontIndex);
    m_emit.raw("\\'B7\\tab}");
}

void RtfWriter::writeRunState(const RunFormat &format) {
    const CharAttributes &attributes = format.attributes;
    auto writeSwitch = [this](bool on, bool &current, std::string_view onWord,
                              std::string_view offWord) {
        if (on != current) {
            m_emit.word(on ? onWord : offWord);
            current = on;
        }
    };
    writeSwitch(attributes.bold, m_state.bold, "\\b", "\\b0");
    writeSwitch(attributes.italic, m_state.italic, "\\i", "\\i0");
    writeSwitch(attributes.underline, m_state.underline, "\\ul", "\\ulnone");
    writeSwitch(attributes.strike, m_state.strike, "\\strike", "\\strike0");
    writeSwitch(attributes.caps, m_state.caps, "\\caps", "\\caps0");
    writeSwitch(attributes.smallCaps, m_state.smallCaps, "\\scaps", "\\scaps0");
    if (format.fontIndex != m_state.fontIndex) {
        m_emit.word("\\f", format.fontIndex);
        m_state.fontIndex = format.fontIndex;
    }
    const int sizeHalfPt = pointsToHalfPoints(attributes.sizePt);
    if (sizeHalfPt != m_state.sizeHalfPt) {
        m_emit.word("\\fs", sizeHalfPt);
        m_state.sizeHalfPt = sizeHalfPt;
    }
    if (format.colorIndex != m_state.colorIndex) {
        m_emit.word("\\cf", format.colorIndex);
        m_state.colorIndex = format.colorIndex;
    }
    writeOffset(attributes.offsetTwips);
    writeSwitch(attributes.isProtected, m_state.isProtected, "\\protect", "\\protect0");
}

// RTF counts offsets in half points; where ours falls between two, our own
// \rdgoffset keeps the exact twips, and other readers ignore it.
void RtfWriter::writeOffset(int offsetTwips) {
    if (offsetTwips == m_state.offsetTwips) return;
    const int offsetHalfPt = twipsToHalfPoints(offsetTwips);
    if (offsetHalfPt < 0)
        m_emit.word("\\dn", -offsetHalfPt);
    else
        m_emit.word("\\up", offsetHalfPt);
    if (offsetHalfPt * units::twipsPerHalfPoint != offsetTwips)
        m_emit.word("\\rdgoffset", offsetTwips);
    m_state.offsetTwips = offsetTwips;
}

void RtfWriter::writeFragment(const QTextFragment &fragment, int position, int start, int end) {
    const QString text = fragment.text();
    const QStringView part = QStringView(text).mid(start - position, end - start);
    const RunFormat *run = runFormat(fragment.charFormatIndex());
    if (run && run->shownOnly) return;
    if (!run) {
        const QTextImageFormat image = fragment.charFormat().toImageFormat();
        for (const QChar ch : part) {
            if (ch == objectReplacement) writeImage(image);
        }
        return;
    }
    writeRunState(*run);
    if (run->isSymbol)
        m_emit.symbolText(part);
    else
        m_emit.text(part);
}

// Hidden text and footnotes are kept in the file's code page; read in the
// Symbol font their bytes would turn into other characters. LibreOffice
// drops a picture written in the Symbol font.
void RtfWriter::leaveSymbolFont() {
    const int current = m_state.fontIndex < 0 ? 0 : m_state.fontIndex;
    if (!rtfattributes::isSymbolFont(m_fonts.value(current))) return;
    m_emit.word("\\f", m_plainFontIndex);
    m_state.fontIndex = m_plainFontIndex;
}

void RtfWriter::writeImage(const QTextImageFormat &format) {
    leaveSymbolFont();
    const QByteArray kept = format.property(textprops::RawRtfGroup).toByteArray();
    if (!kept.isEmpty()) {
        m_emit.raw(kept);
        return;
    }
    const Picture pict = picture(format);
    const double widthPx = format.width() > 0 ? format.width() : pict.pixelSize.width();
    const double heightPx = format.height() > 0 ? format.height() : pict.pixelSize.height();
    // Readers that know no PNG or JPEG, RichEdit controls among them, draw
    // only the bitmap of \shppict, and so do word processors; our own kept
    // picture comes first, in a group they skip, and our reader skips the
    // \shppict after it.
    m_emit.raw("{\\*\\rdgpict{\\pict");
    m_emit.word(pict.blip);
    m_emit.word("\\picw", pict.pixelSize.width());
    m_emit.word("\\pich", pict.pixelSize.height());
    m_emit.word("\\picwgoal", pixelsToTwips(widthPx));
    m_emit.word("\\pichgoal", pixelsToTwips(heightPx));
    m_emit.hexData(pict.bytes);
    m_emit.raw("}}");
    const QByteArray copy =
        pict.bitmapCopy.isEmpty() ? bitmapCopy(pict.image, pict.bytes.size()) : pict.bitmapCopy;
    if (copy.isEmpty()) return;
    constexpr double himetricPerPixel = 2540.0 / 96.0;
    m_emit.raw("{\\*\\shppict{\\pict");
    m_emit.word("\\wmetafile8");
    m_emit.word("\\picw", int(std::lround(widthPx * himetricPerPixel)));
    m_emit.word("\\pich", int(std::lround(heightPx * himetricPerPixel)));
    m_emit.word("\\picwgoal", pixelsToTwips(widthPx));
    m_emit.word("\\pichgoal", pixelsToTwips(heightPx));
    m_emit.hexData(copy);
    m_emit.raw("}}");
}

Picture RtfWriter::picture(const QTextImageFormat &format) const {
    const QString kind = format.stringProperty(textprops::PictureKind);
    const QByteArray bytes = format.property(textprops::PictureBytes).toByteArray();
    if (!bytes.isEmpty() && (kind == QLatin1String("jpeg") || kind == QLatin1String("png"))) {
        Picture photo;
        photo.blip = kind == QLatin1String("jpeg") ? "\\jpegblip" : "\\pngblip";
        photo.bytes = bytes;
        photo.bitmapCopy = format.property(textprops::PictureCopy).toByteArray();
        photo.pixelSize = encodedImageSize(bytes);
        // A photo is held with the pixels it is shown with, or not decoded
        // yet; its copy for other readers is made from all of them.
        if (photo.bitmapCopy.isEmpty() || !photo.pixelSize.isValid()) {
            photo.image = QImage::fromData(bytes);
            if (!photo.pixelSize.isValid()) photo.pixelSize = photo.image.size();
        }
        return photo;
    }
    QImage image = rtfattributes::documentImage(m_document, format);
    // A side longer than libpng takes would be written as no picture at all:
    // such a picture is stored smaller, and shown at the same size.
    constexpr int maxPngSidePx = 1'000'000;
    if (image.width() > maxPngSidePx || image.height() > maxPngSidePx)
        image = image.scaled(maxPngSidePx, maxPngSidePx, Qt::KeepAspectRatio);
    if (image.isNull()) {
        // Nothing to show: keep the place the picture takes, blank.
        const QSize size(std::max(1, int(std::lround(format.width()))),
                         std::max(1, int(std::lround(format.height()))));
        image = QImage(size, QImage::Format_RGB32);
        image.fill(Qt::white);
    }
    return {"\\pngblip", encodePng(image), image.size(), image, {}};
}

} // namespace

QByteArray writeRtf(const QTextDocument &document, int from, int to) {
    return RtfWriter(document, from, to).write();
}
