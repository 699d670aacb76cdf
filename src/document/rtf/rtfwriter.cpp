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
    QImage image;              // what the bytes show, for the bitmap written beside them
    bool fileOfItsOwn = false; // a photo or picture file's bytes, not a picture drawn here
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

    const QTextDocument &document_;
    const QFont defaultFont_;
    int from_;
    int to_;
    QByteArray out_;
    RtfEmitter emit_{out_};

    // Run formats by document format index; -1 where not met yet.
    std::vector<int> runFormatSlots_;
    std::vector<RunFormat> runFormats_;
    QStringList fonts_;
    QHash<QString, int> fontIndexes_;
    QList<QRgb> colors_;
    QHash<QRgb, int> colorIndexes_; // 1 for the first entry
    bool hasBullets_ = false;
    int symbolFontIndex_ = -1;
    bool hasKeptOrPictures_ = false;
    int plainFontIndex_ = -1; // a font whose bytes mean what Windows-1252 says

    CharState state_;
    int lastBlockFormatIndex_ = -1;
    ParagraphAttributes lastParagraph_;
};

RtfWriter::RtfWriter(const QTextDocument &document, int from, int to)
    : document_(document), defaultFont_(document.defaultFont()) {
    const int documentEnd = document.characterCount() - 1;
    to_ = (to < 0 || to > documentEnd) ? documentEnd : to;
    from_ = std::clamp(from, 0, to_);
}

// Visits each paragraph the range touches with the part of its text inside
// the range. A paragraph whose separator is in the range is followed by the
// next one, even when none of that one's text is.
template <typename Visit> void RtfWriter::forEachParagraph(Visit visit) const {
    const QTextBlock first = document_.findBlock(from_);
    for (QTextBlock block = first; block.isValid(); block = block.next()) {
        const int position = block.position();
        if (block != first && position > to_) break;
        const int start = std::max(from_, position);
        const int end = std::min(to_, position + block.length() - 1);
        visit(block, start, std::max(start, end));
    }
}

QByteArray RtfWriter::write() {
    collectTables();
    out_.reserve(qsizetype(to_ - from_) * 5 / 4 + 1024);
    writeHeader();
    bool first = true;
    forEachParagraph([&](const QTextBlock &block, int start, int end) {
        writeParagraph(block, start, end, first);
        first = false;
    });
    emit_.raw("}\r\n");
    return out_;
}

void RtfWriter::collectTables() {
    forEachParagraph([&](const QTextBlock &block, int start, int end) {
        if (block.textList()) hasBullets_ = true;
        if (block.length() == 1)
            collectRun(block.charFormatIndex(), [&] { return block.charFormat(); });
        runwalker::forEachFragment(block, start, end, [&](const runwalker::Run &run) {
            collectRun(run.fragment.charFormatIndex(), [&] { return run.fragment.charFormat(); });
        });
    });
    if (fonts_.isEmpty())
        fontIndex(rtfattributes::charAttributes(QTextCharFormat(), defaultFont_).fontName);
    if (hasBullets_) symbolFontIndex_ = fontIndex(QStringLiteral("Symbol"));
    if (hasKeptOrPictures_) {
        const auto plain = std::find_if(fonts_.cbegin(), fonts_.cend(), [](const QString &name) {
            return !rtfattributes::isSymbolFont(name);
        });
        plainFontIndex_ = plain != fonts_.cend() ? int(plain - fonts_.cbegin())
                                                 : fontIndex(QStringLiteral("Times New Roman"));
    }
}

// Formats met once are not fetched again: copying a format costs a lookup.
template <typename FetchFormat> void RtfWriter::collectRun(int formatIndex, FetchFormat fetch) {
    if (formatIndex < 0) return;
    if (size_t(formatIndex) >= runFormatSlots_.size())
        runFormatSlots_.resize(size_t(formatIndex) + 1, -1);
    if (runFormatSlots_[size_t(formatIndex)] >= 0) return;
    const QTextCharFormat format = fetch();
    if (format.isImageFormat()) {
        hasKeptOrPictures_ = true;
        return;
    }
    RunFormat run;
    run.attributes = rtfattributes::charAttributes(format, defaultFont_);
    run.fontIndex = fontIndex(run.attributes.fontName);
    run.colorIndex = colorIndex(run.attributes.color);
    run.isSymbol = rtfattributes::isSymbolFont(run.attributes.fontName);
    run.shownOnly = format.boolProperty(textprops::ShownOnly);
    runFormatSlots_[size_t(formatIndex)] = int(runFormats_.size());
    runFormats_.push_back(std::move(run));
}

const RunFormat *RtfWriter::runFormat(int formatIndex) const {
    if (formatIndex < 0 || size_t(formatIndex) >= runFormatSlots_.size()) return nullptr;
    const int slot = runFormatSlots_[size_t(formatIndex)];
    return slot < 0 ? nullptr : &runFormats_[size_t(slot)];
}

int RtfWriter::fontIndex(const QString &name) {
    const auto known = fontIndexes_.constFind(name);
    if (known != fontIndexes_.constEnd()) return known.value();
    fonts_.append(name);
    return fontIndexes_.insert(name, int(fonts_.size() - 1)).value();
}

int RtfWriter::colorIndex(std::optional<QRgb> color) {
    if (!color) return 0;
    const auto known = colorIndexes_.constFind(*color);
    if (known != colorIndexes_.constEnd()) return known.value();
    colors_.append(*color);
    return colorIndexes_.insert(*color, int(colors_.size())).value();
}

void RtfWriter::writeHeader() {
    emit_.raw("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1036");
    writeFontTable();
    emit_.newline();
    writeColorTable();
    emit_.word("\\viewkind4\\uc1");
}

void RtfWriter::writeFontTable() {
    emit_.raw("{\\fonttbl");
    for (qsizetype i = 0; i < fonts_.size(); ++i) {
        emit_.raw("{\\f");
        emit_.rawNumber(int(i));
        emit_.raw(rtfattributes::isSymbolFont(fonts_[i]) ? "\\fnil\\fcharset2 "
                                                         : "\\fnil\\fcharset0 ");
        emit_.text(fonts_[i]);
        emit_.raw(";}");
    }
    emit_.raw("}");
}

void RtfWriter::writeColorTable() {
    if (colors_.isEmpty()) return;
    emit_.raw("{\\colortbl ;");
    for (const QRgb color : std::as_const(colors_)) {
        emit_.word("\\red", qRed(color));
        emit_.word("\\green", qGreen(color));
        emit_.word("\\blue", qBlue(color));
        emit_.raw(";");
    }
    emit_.raw("}");
    emit_.newline();
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
    if (first || blockFormatIndex != lastBlockFormatIndex_) {
        ParagraphAttributes paragraph = rtfattributes::paragraphAttributes(block);
        if (first || paragraph != lastParagraph_) {
            writeParagraphProperties(paragraph, block);
            lastParagraph_ = std::move(paragraph);
        } else if (lastParagraph_.bullet) {
            writeListLabel(lastParagraph_, block);
        }
        lastBlockFormatIndex_ = blockFormatIndex;
    } else if (lastParagraph_.bullet) {
        writeListLabel(lastParagraph_, block);
    }

    // An empty paragraph keeps the look of its mark (its line height).
    if (block.length() == 1) {
        if (const RunFormat *mark = runFormat(block.charFormatIndex())) writeRunState(*mark);
    }
    runwalker::forEachFragment(block, start, end, [&](const runwalker::Run &run) {
        writeFragment(run.fragment, run.position, run.from, run.to);
    });
    emit_.word("\\par");
    emit_.newline();
}

void RtfWriter::writeParagraphProperties(const ParagraphAttributes &paragraph,
                                         const QTextBlock &block) {
    emit_.word("\\pard");
    if (paragraph.list.isNumbered()) {
        writeListLabel(paragraph, block);
        // RichEdit numbers the paragraph from this; other readers show the labels.
        const rtflists::ListLook &look = paragraph.list;
        emit_.raw("{\\*\\pn\\pnlvlbody");
        emit_.word("\\pnf", labelFontIndex(block));
        emit_.word("\\pnindent0");
        emit_.word("\\pnstart", itemNumber(paragraph, block));
        emit_.word(rtflists::pnWordOf(look.style));
        if (!look.prefix.isEmpty()) {
            emit_.raw("{");
            emit_.word("\\pntxtb");
            emit_.text(look.prefix);
            emit_.raw("}");
        }
        if (!look.suffix.isEmpty()) {
            emit_.raw("{");
            emit_.word("\\pntxta");
            emit_.text(look.suffix);
            emit_.raw("}");
        }
        emit_.raw("}");
    } else if (paragraph.bullet) {
        writeBulletText();
        emit_.raw("{\\*\\pn\\pnlvlblt\\pnf");
        emit_.rawNumber(symbolFontIndex_);
        emit_.raw("\\pnindent0{\\pntxtb\\'B7}}");
    }
    if (paragraph.alignment == Qt::AlignHCenter)
        emit_.word("\\qc");
    else if (paragraph.alignment == Qt::AlignRight)
        emit_.word("\\qr");
    else if (paragraph.alignment == Qt::AlignJustify)
        emit_.word("\\qj");
    if (const int twips = pixelsToTwips(paragraph.leftIndentPx)) emit_.word("\\li", twips);
    if (const int twips = pixelsToTwips(paragraph.rightIndentPx)) emit_.word("\\ri", twips);
    if (const int twips = pixelsToTwips(paragraph.firstLineIndentPx)) emit_.word("\\fi", twips);
    for (const rtfattributes::TabStop &tab : paragraph.tabs) {
        if (tab.type == QTextOption::RightTab)
            emit_.word("\\tqr");
        else if (tab.type == QTextOption::CenterTab)
            emit_.word("\\tqc");
        else if (tab.type == QTextOption::DelimiterTab)
            emit_.word("\\tqdec");
        emit_.word("\\tx", pixelsToTwips(tab.positionPx));
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
        emit_.raw(destination);
        emit_.word("\\f", font);
        emit_.text(label);
        emit_.word("\\tab");
        emit_.raw("}");
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
    emit_.raw("{\\pntext\\f");
    emit_.rawNumber(symbolFontIndex_);
    emit_.raw("\\'B7\\tab}");
}

void RtfWriter::writeRunState(const RunFormat &format) {
    const CharAttributes &attributes = format.attributes;
    auto writeSwitch = [this](bool on, bool &current, std::string_view onWord,
                              std::string_view offWord) {
        if (on != current) {
            emit_.word(on ? onWord : offWord);
            current = on;
        }
    };
    writeSwitch(attributes.bold, state_.bold, "\\b", "\\b0");
    writeSwitch(attributes.italic, state_.italic, "\\i", "\\i0");
    writeSwitch(attributes.underline, state_.underline, "\\ul", "\\ulnone");
    writeSwitch(attributes.strike, state_.strike, "\\strike", "\\strike0");
    writeSwitch(attributes.caps, state_.caps, "\\caps", "\\caps0");
    writeSwitch(attributes.smallCaps, state_.smallCaps, "\\scaps", "\\scaps0");
    if (format.fontIndex != state_.fontIndex) {
        emit_.word("\\f", format.fontIndex);
        state_.fontIndex = format.fontIndex;
    }
    const int sizeHalfPt = pointsToHalfPoints(attributes.sizePt);
    if (sizeHalfPt != state_.sizeHalfPt) {
        emit_.word("\\fs", sizeHalfPt);
        state_.sizeHalfPt = sizeHalfPt;
    }
    if (format.colorIndex != state_.colorIndex) {
        emit_.word("\\cf", format.colorIndex);
        state_.colorIndex = format.colorIndex;
    }
    writeOffset(attributes.offsetTwips);
    writeSwitch(attributes.isProtected, state_.isProtected, "\\protect", "\\protect0");
}

// RTF counts offsets in half points; where ours falls between two, our own
// \rdgoffset keeps the exact twips, and other readers ignore it.
void RtfWriter::writeOffset(int offsetTwips) {
    if (offsetTwips == state_.offsetTwips) return;
    const int offsetHalfPt = twipsToHalfPoints(offsetTwips);
    if (offsetHalfPt < 0)
        emit_.word("\\dn", -offsetHalfPt);
    else
        emit_.word("\\up", offsetHalfPt);
    if (offsetHalfPt * units::twipsPerHalfPoint != offsetTwips)
        emit_.word("\\rdgoffset", offsetTwips);
    state_.offsetTwips = offsetTwips;
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
        emit_.symbolText(part);
    else
        emit_.text(part);
}

// Hidden text and footnotes are kept in the file's code page; read in the
// Symbol font their bytes would turn into other characters. LibreOffice
// drops a picture written in the Symbol font.
void RtfWriter::leaveSymbolFont() {
    const int current = state_.fontIndex < 0 ? 0 : state_.fontIndex;
    if (!rtfattributes::isSymbolFont(fonts_.value(current))) return;
    emit_.word("\\f", plainFontIndex_);
    state_.fontIndex = plainFontIndex_;
}

void RtfWriter::writeImage(const QTextImageFormat &format) {
    leaveSymbolFont();
    const QByteArray kept = format.property(textprops::RawRtfGroup).toByteArray();
    if (!kept.isEmpty()) {
        emit_.raw(kept);
        return;
    }
    const Picture pict = picture(format);
    const double widthPx = format.width() > 0 ? format.width() : pict.pixelSize.width();
    const double heightPx = format.height() > 0 ? format.height() : pict.pixelSize.height();
    // Readers that know no PNG or JPEG, RichEdit controls among them, draw
    // only the bitmap of \shppict, and so do word processors; our own kept
    // picture comes first, in a group they skip, and our reader skips the
    // \shppict after it.
    emit_.raw("{\\*\\rdgpict{\\pict");
    emit_.word(pict.blip);
    emit_.word("\\picw", pict.pixelSize.width());
    emit_.word("\\pich", pict.pixelSize.height());
    emit_.word("\\picwgoal", pixelsToTwips(widthPx));
    emit_.word("\\pichgoal", pixelsToTwips(heightPx));
    emit_.hexData(pict.bytes);
    emit_.raw("}}");
    const QByteArray copy = bitmapCopy(pict.image, pict.bytes.size());
    if (copy.isEmpty()) return;
    constexpr double himetricPerPixel = 2540.0 / 96.0;
    emit_.raw("{\\*\\shppict{\\pict");
    emit_.word("\\wmetafile8");
    emit_.word("\\picw", int(std::lround(widthPx * himetricPerPixel)));
    emit_.word("\\pich", int(std::lround(heightPx * himetricPerPixel)));
    emit_.word("\\picwgoal", pixelsToTwips(widthPx));
    emit_.word("\\pichgoal", pixelsToTwips(heightPx));
    emit_.hexData(copy);
    emit_.raw("}}");
}

Picture RtfWriter::picture(const QTextImageFormat &format) const {
    QImage image = rtfattributes::documentImage(document_, format);
    const QString kind = format.stringProperty(textprops::PictureKind);
    const QByteArray bytes = format.property(textprops::PictureBytes).toByteArray();
    if (!bytes.isEmpty() && (kind == QLatin1String("jpeg") || kind == QLatin1String("png"))) {
        if (image.isNull()) image = QImage::fromData(bytes);
        // The image shown may hold fewer pixels than the bytes kept.
        const QSize encoded = encodedImageSize(bytes);
        const QSize size = encoded.isValid() ? encoded : image.size();
        return {kind == QLatin1String("jpeg") ? "\\jpegblip" : "\\pngblip", bytes, size, image};
    }
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
    return {"\\pngblip", encodePng(image), image.size(), image};
}

} // namespace

QByteArray writeRtf(const QTextDocument &document, int from, int to) {
    return RtfWriter(document, from, to).write();
}
