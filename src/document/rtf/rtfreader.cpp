#include "document/rtf/rtfreader.h"

#include "base/codepages.h"
#include "base/units.h"
#include "document/rtf/rtfemitter.h"
#include "document/rtf/rtfgroupstate.h"
#include "document/rtf/rtfkeywords.h"
#include "document/rtf/rtflists.h"
#include "document/rtf/rtfpicturedecoder.h"
#include "document/rtf/rtftokenizer.h"
#include "document/textproperties.h"

#include <QColor>
#include <QHash>
#include <QImage>
#include <QList>
#include <QPointer>
#include <QSet>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QUrl>
#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace {

using namespace rtfread;

// Deeper groups are read without text, so that no input can exhaust memory.
constexpr int maxGroupDepth = 512;
// Distinct font families a document may ask Qt to draw with.
constexpr int maxDrawnFamilies = 256;
constexpr int maxSizeHalfPt = 3276; // 1638 pt
constexpr int maxOffsetHalfPt = 3276;
constexpr int maxTabStops = 256;
// Indents and tab stops within 22 inches either way, as word processors
// allow: Qt's layout counts in 1/64 px and overflows far beyond.
constexpr int maxIndentTwips = 31680;
// Qt 6.4's layout never ends once a document passes about 8 million pixels
// in height: past this much in all, pictures show as small placeholders.
constexpr double maxPicturesHeightPx = 2'000'000;
constexpr double smallPictureSidePx = 32;
// Drawing a metafile costs some milliseconds whatever its size (its library
// loads a font for each): past this many, they show as placeholders.
constexpr int maxDrawnMetafiles = 500;
constexpr char16_t replacementChar = 0xFFFD;
// Where a footnote's \par and \chftn came, among its characters: neither
// can come from the file as a character.
constexpr char16_t notePar = QChar::ParagraphSeparator;
constexpr char16_t noteMark = QChar::ObjectReplacementCharacter;
// Qt marks every item of a list changed whenever one more joins it, so a list
// costs the square of its length to build. Past this many items, bullets go
// on in a new list that looks the same; numbers would start again at 1, so
// a longer numbered list is read whole only when the caller asks.
constexpr int maxListItems = 500;

// Byte-to-character tables; 0 marks a byte that gives no character alone:
// a lead byte, or a control code other than tab, which would break the
// document's structure.
using ByteTable = std::array<char16_t, 256>;

// A code page as the reader uses it: the table serves the bytes that stand
// alone, the decoder the sequences of a multi-byte code page.
struct CodePage {
    ByteTable table{};
    bool multiByte = false;
    std::unique_ptr<codepages::ByteDecoder> decoder;
};

std::shared_ptr<CodePage> makeCodePage(std::unique_ptr<codepages::ByteDecoder> decoder) {
    auto page = std::make_shared<CodePage>();
    for (int byte = 0; byte < 256; ++byte) {
        const char16_t ch = decoder->single(static_cast<unsigned char>(byte));
        page->table[byte] = (ch < 0x20 && ch != '\t') ? 0 : ch;
    }
    page->multiByte = decoder->isMultiByte();
    page->decoder = std::move(decoder);
    return page;
}

// Characters of bytes that are all there, such as a font's name.
QString decodeWhole(const CodePage &page, QByteArrayView bytes) {
    QString text;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        const int trail = page.multiByte ? page.decoder->trailCount(byte) : 0;
        if (trail > 0 && i + trail < bytes.size()) {
            text += page.decoder->decodeSequence(bytes.sliced(i, trail + 1));
            i += trail;
        } else if (page.table[byte] >= 0x20) {
            text += QChar(page.table[byte]);
        }
    }
    return text;
}

struct FontEntry {
    QString name;
    int codePage = 0; // 0: the document's
};

// The \pict group being read.
struct PictureBuilder {
    bool active = false;
    bool forObject = false;
    qsizetype wordOffset = 0; // where its \pict word begins
    RtfPicture picture;
    int pendingNibble = -1; // high half of a byte whose low half is to come
};

struct ObjectBuilder {
    bool active = false;
    qsizetype wordOffset = 0; // where its \object word begins
    int widthTwips = 0;
    int heightTwips = 0;
    bool hasResult = false;
    QTextImageFormat resultFormat;
    QImage resultImage;
};

int hexDigitValue(unsigned char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool isSpaceByte(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\f' || c == '\v';
}

QString labelsKey(const rtflists::ListLook &look) {
    return QString::number(look.style) + u'\n' + look.prefix + u'\n' + look.suffix;
}

QTextList *listLike(const QTextBlock &block, const rtflists::ListLook &look) {
    if (!block.isValid()) return nullptr;
    QTextList *list = block.textList();
    if (list && rtflists::lookOf(list->format()) == look) return list;
    return nullptr;
}

// The \pn group being read.
struct NumberingBuilder {
    bool shown = false;
    bool bullet = false;
    rtflists::ListLook look{QTextListFormat::ListDecimal};
};

class RtfReader {
public:
    RtfReader(const QByteArray &rtf, QTextCursor &cursor, RtfInsertMode mode,
              RtfLongLists longLists);
    RtfReadResult read();

private:
    GroupState &top() { return m_stack.back(); }
    void handle(const RtfToken &token, bool starred);

    void openGroup(qsizetype offset);
    void closeGroup(qsizetype endOffset, int missingBraces);
    void closeMatchedGroup(qsizetype offset);
    void closeOpenGroups();
    qsizetype lastStrayBrace(qsizetype from) const;
    bool skipsCharacter();

    void handleWord(const RtfToken &token, bool starred);
    void enterDestination(Dest dest, qsizetype wordOffset);
    void handleSymbol(const RtfToken &token);
    void handleText(QByteArrayView text, qsizetype offset);
    void handleHexByte(unsigned char byte);
    void handleCharacter(char16_t ch);
    void handleUnicode(int param, qsizetype offset);

    void applyBodyProperty(Prop prop, int param, bool hasParam);
    void applyCharProperty(Prop prop, int param, bool hasParam);
    void applyParaProperty(Prop prop, int param);
    void applyFontTableProperty(Prop prop, int param);
    void setDefaultFont(int index);
    void applyColorTableProperty(Prop prop, int param);
    void applyPictureProperty(Prop prop, int param);
    void applyObjectProperty(Prop prop, int param);
    void setDocumentCodePage(Prop prop, int param);

    // Code pages.
    int documentCodePage() const;
    int codePageOf(int fontIndex) const;
    CodePage &codePage(int number);
    CodePage &currentCodePage();
    void decodeByte(unsigned char byte);
    void decodeBytes(QByteArrayView bytes);
    static bool continuesSequence(const RtfToken &token);

    // Text shown elsewhere than where it comes, or kept hidden.
    void appendAsideChar(QString &text, char16_t ch);
    void flushHidden();
    void insertFootnoteMark();
    void finishFootnote();
    void keepFootnoteMarkShownOnly();
    void flushNotes();

    void applyNumberingProperty(Prop prop, int param);
    void applyListTableProperty(Prop prop, int param);
    void appendLabelBytes(QByteArrayView bytes);
    void finishLabelGroup(Dest dest);

    // Body text.
    void prepareBodyContent();
    void appendBodyBytes(QByteArrayView bytes);
    void appendBodyChar(char16_t ch);
    void flushRun();
    void endParagraph();
    void insertPendingBreak();
    void applyParagraph(const ParaState &para, const QTextCharFormat *markFormat);
    std::optional<rtflists::ListLook> listLook(const ParaState &para) const;
    bool keepsLabel(const ParaState &para) const;
    void placeListLabel();
    QTextList *listFor(const ParaState &para, const rtflists::ListLook &look,
                       const QTextBlock &block);
    QTextBlockFormat blockFormat(const ParaState &para) const;
    const QTextCharFormat &charFormat(const CharState &state);
    const FontEntry *font(int index) const;
    bool isSymbolFont(int index) const;

    // Tables.
    void appendFontNameBytes(QByteArrayView bytes);
    void commitFont();
    void appendColorTableText(QByteArrayView text);

    // Pictures and objects.
    void startPicture(bool forObject, qsizetype wordOffset);
    void appendPictureHex(QByteArrayView text, qsizetype offset);
    void finishPicture(qsizetype endOffset, int missingBraces);
    void finishObject(qsizetype endOffset, int missingBraces);
    QByteArray rawGroup(qsizetype wordOffset, qsizetype endOffset, int missingBraces) const;
    bool takePictureHeight(double heightPx);
    QTextImageFormat imageFormat(QSizeF sizePx, bool placeholder);
    void insertImage(const QTextImageFormat &format, const QImage &image);

    void report(const QString &problem, qsizetype at);

    const QByteArray &m_input;
    QTextCursor &m_cursor;
    const RtfInsertMode m_mode;
    const RtfLongLists m_longLists;
    RtfReadResult m_result;

    std::vector<GroupState> m_stack;
    int m_overflowDepth = 0; // groups beyond maxGroupDepth
    int m_skipCount = 0;     // characters still to skip after \uN
    bool m_documentClosed = false;
    qsizetype m_lastStrayBrace = -1;
    bool m_ignoreRest = false;    // the document has ended
    qsizetype m_cutBinaryAt = -1; // the \binN whose data the input's end cut short
    ParaState m_endPara;

    QHash<int, FontEntry> m_fonts;
    int m_defaultFont = 0;
    QString m_fallbackFamily;
    QSet<QString> m_drawnFamilies;
    int m_fontIndex = 0;
    int m_fontCharset = -1;     // -1: the entry names none
    int m_fontCodePage = 0;     // \cpgN of the entry; 0 when none
    QByteArray m_fontNameBytes; // read, in the entry's code page
    QString m_fontName;
    QList<QColor> m_colors;
    int m_red = -1;
    int m_green = -1;
    int m_blue = -1;
    NumberingBuilder m_numbering;
    rtflists::ListTable m_lists;
    QString m_labelText;    // of the label group being read
    QString m_pendingLabel; // the paragraph's \listtext, placed with its first text
    QHash<qint64, QPointer<QTextList>> m_numberedLists; // by \ls and \ilvl
    QHash<QString, QPointer<QTextList>> m_pnLists;      // the last, by its labels

    int m_ansiCodePage = 0;                         // \ansicpgN; 0 when not given
    int m_charsetCodePage = codepages::windows1252; // \ansi, \mac, \pc or \pca
    // One code page each, by number; code pages Qt lacks share Windows-1252's.
    std::unordered_map<int, std::shared_ptr<CodePage>> m_codePages;
    CodePage *m_currentPage = nullptr; // the code page of m_currentPageFont
    int m_currentPageFont = 0;
    QByteArray m_sequence; // a multi-byte character's bytes read so far

    QString m_hiddenText;
    int m_footnotes = 0; // footnotes read whole so far
    // The footnote being read, with notePar and noteMark where its \par and
    // \chftn came; written back from this, in our code page and fonts.
    QString m_footnoteText;
    bool m_footnoteMarkShown = false; // its number was shown in the text
    int m_footnoteMarkStart = 0;      // where, in the document
    int m_footnoteMarkEnd = 0;
    QString m_pendingNotes; // shown at the end of the paragraph

    QString m_run;
    CharState m_runState;
    char16_t m_highSurrogate = 0;
    QHash<CharState, QTextCharFormat> m_formats; // built formats, by state
    mutable std::optional<std::pair<ParaState, QTextBlockFormat>> m_lastBlockFormat;

    bool m_pendingBreak = false;
    ParaState m_breakPara;
    QTextCharFormat m_breakMarkFormat;
    // The paragraph format of the block the cursor is in, when this reader
    // gave it; set again only when it changes.
    std::optional<ParaState> m_blockPara;
    bool m_insertedBlock = false;
    QTextBlockFormat m_hostBlockFormat;
    QTextCharFormat m_hostBlockCharFormat;

    PictureBuilder m_picture;
    ObjectBuilder m_object;
    qint64 m_pixelsLeft = 0; // what pictures may still decode to
    double m_pictureHeightLeftPx = maxPicturesHeightPx;
    bool m_placeholderAdded = false;
    int m_metafilesLeft = maxDrawnMetafiles;
    bool m_shapePictureRead = false; // a \shppict whose \nonshppict is to be skipped
    bool m_ownPictureRead = false;   // a \rdgpict whose \shppict is to be skipped
};

RtfReader::RtfReader(const QByteArray &rtf, QTextCursor &cursor, RtfInsertMode mode,
                     RtfLongLists longLists)
    : m_input(rtf), m_cursor(cursor), m_mode(mode), m_longLists(longLists),
      m_pixelsLeft(rtfPictureBudgetPixels(rtf.size())) {
    m_stack.reserve(maxGroupDepth + 1);
    m_stack.emplace_back();
    m_fallbackFamily = cursor.document()->defaultFont().family();
    m_codePages.emplace(codepages::windows1252,
                        makeCodePage(codepages::ByteDecoder::create(codepages::windows1252)));
}

RtfReadResult RtfReader::read() {
    const QByteArray start = m_input.left(16).trimmed();
    if (!start.startsWith("{\\rtf"))
        report(QStringLiteral("the input does not start with {\\rtf"), 0);

    m_cursor.beginEditBlock();
    m_cursor.removeSelectedText();
    if (m_mode == RtfInsertMode::Fragment) {
        m_hostBlockFormat = m_cursor.blockFormat();
        m_hostBlockCharFormat = m_cursor.blockCharFormat();
    }

    RtfTokenizer tokenizer(m_input);
    // \* marks the group it opens as a destination that may be skipped;
    // further inside a group, as some writers put it, it marks nothing.
    bool starred = false;
    bool groupJustOpened = false;
    for (RtfToken token = tokenizer.next(); token.type != RtfToken::End; token = tokenizer.next()) {
        const bool starThis = std::exchange(starred, false);
        if (token.type == RtfToken::Binary && token.param > token.text.size())
            m_cutBinaryAt = token.offset;
        if (token.type == RtfToken::ControlSymbol && token.symbol == '*') {
            starred = groupJustOpened;
            continue;
        }
        groupJustOpened = token.type == RtfToken::GroupStart;
        handle(token, starThis);
    }
    if (!tokenizer.problem().isEmpty() &&
        (m_result.ok || tokenizer.problemAt() < m_result.problemAt)) {
        m_result.ok = false;
        m_result.problem = tokenizer.problem();
        m_result.problemAt = tokenizer.problemAt();
    }

    closeOpenGroups();
    flushNotes();
    flushHidden();
    flushRun();
    if (m_mode == RtfInsertMode::WholeDocument) {
        if (m_pendingBreak)
            applyParagraph(m_breakPara, &m_breakMarkFormat);
        else
            applyParagraph(m_endPara, nullptr);
    } else if (m_insertedBlock) {
        // The unterminated last piece joined the text after the cursor.
        m_cursor.setBlockFormat(m_hostBlockFormat);
        m_cursor.setBlockCharFormat(m_hostBlockCharFormat);
    }
    m_cursor.endEditBlock();
    return m_result;
}

void RtfReader::handle(const RtfToken &token, bool starred) {
    if (m_ignoreRest) return;
    // A lead byte whose trail bytes do not follow gives nothing.
    if (!m_sequence.isEmpty() && !continuesSequence(token)) m_sequence.clear();
    if (token.type == RtfToken::GroupStart) {
        openGroup(token.offset);
        return;
    }
    if (token.type == RtfToken::GroupEnd) {
        closeMatchedGroup(token.offset);
        return;
    }
    if (m_overflowDepth > 0 || top().dest == Dest::Skip) return;
    if (token.type == RtfToken::Text) {
        handleText(token.text, token.offset);
        return;
    }
    if (skipsCharacter()) return;
    switch (token.type) {
    case RtfToken::ControlWord:
        handleWord(token, starred);
        break;
    case RtfToken::ControlSymbol:
        handleSymbol(token);
        break;
    case RtfToken::HexByte:
        handleHexByte(token.byte);
        break;
    case RtfToken::Binary:
        if (top().dest == Dest::Picture) m_picture.picture.data.append(token.text);
        break;
    default:
        break;
    }
}

// The characters that stand in for a \uN character are skipped: each token
// counts as one character, except that text counts byte by byte.
bool RtfReader::skipsCharacter() {
    return m_skipCount > 0 && (--m_skipCount, true);
}

void RtfReader::openGroup(qsizetype offset) {
    m_skipCount = 0;
    if (m_overflowDepth > 0 || int(m_stack.size()) > maxGroupDepth) {
        if (m_overflowDepth == 0) report(QStringLiteral("groups nested too deeply"), offset);
        ++m_overflowDepth;
        return;
    }
    GroupState state = m_stack.back();
    state.ownsDest = false;
    m_stack.push_back(std::move(state));
}

void RtfReader::closeMatchedGroup(qsizetype offset) {
    m_skipCount = 0;
    if (m_overflowDepth > 0) {
        --m_overflowDepth;
        return;
    }
    if (m_stack.size() <= 1) {
        report(QStringLiteral("unmatched }"), offset);
        if (m_documentClosed && offset >= m_lastStrayBrace) m_ignoreRest = true;
        return;
    }
    closeGroup(offset, 0);
}

void RtfReader::closeOpenGroups() {
    if (m_stack.size() <= 1 && m_overflowDepth == 0) {
        if (!m_documentClosed) m_endPara = m_stack.front().para;
        return;
    }
    report(QStringLiteral("missing } at the end"), m_input.size());
    int missingBraces = m_overflowDepth;
    m_overflowDepth = 0;
    while (m_stack.size() > 1)
        closeGroup(m_input.size(), ++missingBraces);
}

// What follows the document's closing brace is not part of it, unless more
// braces close than open after it: then that brace was a stray one inside
// the document, and the text up to the last stray brace is the document's
// too. Gives the offset of that last stray brace, or -1 when there is none.
qsizetype RtfReader::lastStrayBrace(qsizetype from) const {
    int depth = 0;
    int lowest = 0;
    qsizetype last = -1;
    for (qsizetype i = from; i < m_input.size(); ++i) {
        const char c = m_input[i];
        if (c == '\\')
            ++i;
        else if (c == '{')
            ++depth;
        else if (c == '}' && --depth < lowest) {
            lowest = depth;
            last = i;
        }
    }
    return last;
}

void RtfReader::closeGroup(qsizetype endOffset, int missingBraces) {
    GroupState closing = std::move(m_stack.back());
    m_stack.pop_back();
    if (closing.dest == Dest::FontTable) commitFont();
    if (closing.ownsDest) {
        switch (closing.dest) {
        case Dest::Picture:
            finishPicture(endOffset, missingBraces);
            break;
        case Dest::Object:
            finishObject(endOffset, missingBraces);
            break;
        case Dest::ListLevel:
            if (m_numbering.shown)
                top().para.numbering = m_numbering.bullet ? rtflists::ListLook() : m_numbering.look;
            break;
        case Dest::NumberBefore:
        case Dest::NumberAfter:
        case Dest::LevelText:
        case Dest::ListLabel:
            finishLabelGroup(closing.dest);
            break;
        case Dest::Footnote:
            finishFootnote();
            break;
        default:
            break;
        }
    }
    if (m_stack.size() == 1) {
        m_endPara = closing.para;
        // Damaged input is looked at once only, so that it costs no more
        // than reading it.
        if (!m_documentClosed) {
            m_lastStrayBrace = lastStrayBrace(endOffset + 1);
            m_ignoreRest = m_lastStrayBrace < 0;
        }
        m_documentClosed = true;
    }
}

void RtfReader::handleWord(const RtfToken &token, bool starred) {
    const Keyword *keyword = findKeyword(token.text);
    if (starred && (!keyword || keyword->kind != Kind::Destination)) {
        enterDestination(Dest::Skip, token.offset);
        return;
    }
    if (!keyword) return;
    const int param = token.hasParam ? token.param : keyword->defaultParam;
    switch (keyword->kind) {
    case Kind::Destination:
        enterDestination(static_cast<Dest>(keyword->id), token.offset);
        return;
    case Kind::Character:
        handleCharacter(char16_t(keyword->id));
        return;
    case Kind::Property:
        break;
    }

    const auto prop = static_cast<Prop>(keyword->id);
    if (prop == Unicode) {
        if (token.hasParam) handleUnicode(token.param, token.offset);
        return;
    }
    if (prop == UnicodeSkip) {
        top().unicodeSkip = std::max(0, param);
        return;
    }
    switch (top().dest) {
    case Dest::Body:
        applyBodyProperty(prop, param, token.hasParam);
        break;
    case Dest::FontTable:
        applyFontTableProperty(prop, param);
        break;
    case Dest::ColorTable:
        applyColorTableProperty(prop, param);
        break;
    case Dest::Picture:
        applyPictureProperty(prop, param);
        break;
    case Dest::Object:
        applyObjectProperty(prop, param);
        break;
    case Dest::ListLevel:
        applyNumberingProperty(prop, param);
        break;
    case Dest::ListTable:
    case Dest::Overrides:
        applyListTableProperty(prop, param);
        break;
    case Dest::Footnote:
        // Its fonts decide what its bytes are; its hidden text stays out.
        if (prop <= Protect)
            applyCharProperty(prop, param, token.hasParam);
        else if (prop == Par)
            m_footnoteText.append(notePar);
        else if (prop == FootnoteMark)
            m_footnoteText.append(noteMark);
        break;
    default:
        break;
    }
}

void RtfReader::enterDestination(Dest dest, qsizetype wordOffset) {
    GroupState &group = top();
    const Dest current = group.dest;
    // A picture or object is finished by the group that began it.
    if (group.ownsDest && (current == Dest::Picture || current == Dest::Object)) return;
    switch (dest) {
    case Dest::Keep:
        return;
    case Dest::OwnPicture:
        m_ownPictureRead = true;
        return;
    case Dest::ShapePicture:
        if (std::exchange(m_ownPictureRead, false)) {
            dest = Dest::Skip;
            break;
        }
        m_shapePictureRead = true;
        return;
    case Dest::PictureCopy:
        // Read only when the picture it stands in for was not.
        if (!std::exchange(m_shapePictureRead, false)) return;
        dest = Dest::Skip;
        break;
    case Dest::Picture:
        if ((current != Dest::Body && current != Dest::ObjectResult) || m_picture.active)
            dest = Dest::Skip;
        break;
    case Dest::Object:
        if (current != Dest::Body || m_object.active) dest = Dest::Skip;
        break;
    case Dest::ObjectResult:
        // \result outside an object holds ordinary text.
        if (current != Dest::Object) return;
        break;
    case Dest::FontTable:
    case Dest::ColorTable:
    case Dest::ListLevel:
    case Dest::Footnote:
    case Dest::ListTable:
    case Dest::Overrides:
    case Dest::ListLabel:
        if (current != Dest::Body) dest = Dest::Skip;
        break;
    case Dest::UprAnsi:
        group.uprOuter = current;
        break;
    case Dest::UprUnicode:
        // Outside an \upr it holds ordinary text. The destination it goes
        // back to belongs to an outer group, which alone may finish it.
        if (current == Dest::UprAnsi) {
            group.dest = group.uprOuter;
            group.ownsDest = false;
        }
        return;
    case Dest::NumberBefore:
    case Dest::NumberAfter:
        if (current != Dest::ListLevel) dest = Dest::Skip;
        break;
    case Dest::LevelText:
        if (current != Dest::ListTable) dest = Dest::Skip;
        break;
    default:
        break;
    }
    group.dest = dest;
    group.ownsDest = true;
    switch (dest) {
    case Dest::Picture:
        startPicture(current == Dest::ObjectResult, wordOffset);
        break;
    case Dest::Object:
        m_object = ObjectBuilder();
        m_object.active = true;
        m_object.wordOffset = wordOffset;
        break;
    case Dest::FontTable:
        m_fontName.clear();
        m_fontNameBytes.clear();
        m_fontCharset = -1;
        m_fontCodePage = 0;
        break;
    case Dest::ListLevel:
        m_numbering = NumberingBuilder();
        break;
    case Dest::NumberBefore:
    case Dest::NumberAfter:
    case Dest::LevelText:
    case Dest::ListLabel:
        m_labelText.clear();
        break;
    case Dest::Footnote:
        m_footnoteText.clear();
        break;
    default:
        break;
    }
}

void RtfReader::handleSymbol(const RtfToken &token) {
    switch (token.symbol) {
    case '\\':
    case '{':
    case '}':
        // Escaped, they may be the trail byte of a double-byte character.
        if (!m_sequence.isEmpty())
            decodeByte(static_cast<unsigned char>(token.symbol));
        else
            handleCharacter(char16_t(token.symbol));
        break;
    case '~':
        handleCharacter(0x00A0);
        break;
    case '_':
        handleCharacter(0x2011);
        break;
    case '-':
        handleCharacter(0x00AD);
        break;
    case '\n':
        if (top().dest == Dest::Body) endParagraph();
        break;
    default:
        break;
    }
}

void RtfReader::handleText(QByteArrayView text, qsizetype offset) {
    if (m_skipCount > 0) {
        const qsizetype skipped = std::min<qsizetype>(m_skipCount, text.size());
        m_skipCount -= int(skipped);
        text = text.sliced(skipped);
        offset += skipped;
    }
    if (text.isEmpty()) return;
    switch (top().dest) {
    case Dest::Body:
        // Past a stray closing brace, only real text counts.
        if (m_documentClosed && m_stack.size() == 1 &&
            std::all_of(text.begin(), text.end(), [](char c) {
                return c == 0 || isSpaceByte(static_cast<unsigned char>(c));
            }))
            return;
        if (top().chars.hidden)
            decodeBytes(text);
        else
            appendBodyBytes(text);
        break;
    case Dest::Footnote:
        decodeBytes(text);
        break;
    case Dest::FontTable:
        appendFontNameBytes(text);
        break;
    case Dest::ColorTable:
        appendColorTableText(text);
        break;
    case Dest::Picture:
        appendPictureHex(text, offset);
        break;
    case Dest::NumberBefore:
    case Dest::NumberAfter:
    case Dest::LevelText:
    case Dest::ListLabel:
        appendLabelBytes(text);
        break;
    default:
        break;
    }
}

void RtfReader::handleHexByte(unsigned char byte) {
    switch (top().dest) {
    case Dest::Body:
    case Dest::Footnote:
        decodeByte(byte);
        break;
    case Dest::FontTable:
        appendFontNameBytes(QByteArrayView(reinterpret_cast<const char *>(&byte), 1));
        break;
    case Dest::LevelText:
        // Its length and its level numbers are written as bytes below 9.
        if (byte < 0x20) {
            m_labelText.append(QChar(byte));
            break;
        }
        [[fallthrough]];
    case Dest::NumberBefore:
    case Dest::NumberAfter:
    case Dest::ListLabel:
        appendLabelBytes(QByteArrayView(reinterpret_cast<const char *>(&byte), 1));
        break;
    default:
        break;
    }
}

void RtfReader::handleCharacter(char16_t ch) {
    switch (top().dest) {
    case Dest::Body:
        if (top().chars.hidden)
            appendAsideChar(m_hiddenText, ch);
        else
            appendBodyChar(ch);
        break;
    case Dest::Footnote:
        if (!top().chars.hidden) appendAsideChar(m_footnoteText, ch);
        break;
    case Dest::FontTable:
        if (ch >= 0x20) {
            m_fontName += decodeWhole(codePage(documentCodePage()), m_fontNameBytes);
            m_fontNameBytes.clear();
            m_fontName.append(QChar(ch));
        }
        break;
    case Dest::NumberBefore:
    case Dest::NumberAfter:
    case Dest::LevelText:
    case Dest::ListLabel:
        if (ch >= 0x20 || ch == '\t') m_labelText.append(QChar(ch));
        break;
    default:
        break;
    }
}

void RtfReader::handleUnicode(int param, qsizetype offset) {
    // RTF writes the code as a signed 16-bit number.
    int code = param < 0 ? param + 0x10000 : param;
    if (code < 0 || code > 0xFFFF) {
        report(QStringLiteral("\\u value out of range"), offset);
        code = replacementChar;
    }
    // Symbol fonts' characters may come as U+F0xx.
    constexpr int symbolPrivateBase = 0xF000;
    if (code >= symbolPrivateBase + 0x20 && code <= symbolPrivateBase + 0xFF &&
        isSymbolFont(top().chars.fontIndex))
        code =
            codepages::fromSymbol(static_cast<unsigned char>(code - symbolPrivateBase)).unicode();
    handleCharacter(char16_t(code));
    m_skipCount = top().unicodeSkip;
}

void RtfReader::applyBodyProperty(Prop prop, int param, bool hasParam) {
    if (prop <= Protect)
        applyCharProperty(prop, param, hasParam);
    else if (prop == Par)
        endParagraph();
    else if (prop >= ParDefault && prop <= ListLevelIndex)
        applyParaProperty(prop, param);
    else if (prop == DefaultFont)
        setDefaultFont(param);
    else if (prop >= AnsiCodePage && prop <= CharsetPca)
        setDocumentCodePage(prop, param);
    else if (prop == FootnoteMark)
        insertFootnoteMark();
}

void RtfReader::setDocumentCodePage(Prop prop, int param) {
    switch (prop) {
    case AnsiCodePage:
        m_ansiCodePage = std::max(0, param);
        break;
    case CharsetAnsi:
        m_charsetCodePage = codepages::windows1252;
        break;
    case CharsetMac:
        m_charsetCodePage = 10000;
        break;
    case CharsetPc:
        m_charsetCodePage = 437;
        break;
    case CharsetPca:
        m_charsetCodePage = 850;
        break;
    default:
        break;
    }
    m_currentPage = nullptr;
}

int RtfReader::documentCodePage() const {
    return m_ansiCodePage > 0 ? m_ansiCodePage : m_charsetCodePage;
}

// A font's own code page wins over the document's.
int RtfReader::codePageOf(int fontIndex) const {
    const FontEntry *entry = font(fontIndex);
    return entry && entry->codePage > 0 ? entry->codePage : documentCodePage();
}

CodePage &RtfReader::codePage(int number) {
    // Each costs Qt a converter: damaged input naming thousands gets no more.
    constexpr size_t maxCodePages = 32;
    const auto known = m_codePages.find(number);
    if (known != m_codePages.end()) return *known->second;
    std::unique_ptr<codepages::ByteDecoder> decoder;
    if (m_codePages.size() < maxCodePages) decoder = codepages::ByteDecoder::create(number);
    std::shared_ptr<CodePage> page =
        decoder ? makeCodePage(std::move(decoder)) : m_codePages.at(codepages::windows1252);
    if (m_codePages.size() < maxCodePages) m_codePages.emplace(number, page);
    return *page;
}

// The code page of the characters being read, looked up again only when
// their font or the tables change.
CodePage &RtfReader::currentCodePage() {
    const int fontIndex = top().chars.fontIndex;
    if (!m_currentPage || m_currentPageFont != fontIndex) {
        m_currentPage = &codePage(codePageOf(fontIndex));
        m_currentPageFont = fontIndex;
    }
    return *m_currentPage;
}

// Double-byte code pages may split a character over two \'hh, or give its
// trail byte as plain text: the lead byte waits for the rest.
void RtfReader::decodeByte(unsigned char byte) {
    CodePage &page = currentCodePage();
    if (page.multiByte) {
        codepages::ByteDecoder &decoder = *page.decoder;
        if (!m_sequence.isEmpty()) {
            if (decoder.isTrail(byte)) {
                m_sequence.append(static_cast<char>(byte));
                const auto lead = static_cast<unsigned char>(m_sequence[0]);
                if (m_sequence.size() > decoder.trailCount(lead)) {
                    const QString decoded = decoder.decodeSequence(m_sequence);
                    m_sequence.clear();
                    for (const QChar ch : decoded)
                        handleCharacter(ch.unicode());
                }
                return;
            }
            m_sequence.clear();
            handleCharacter(replacementChar);
        }
        if (decoder.trailCount(byte) > 0) {
            m_sequence.append(static_cast<char>(byte));
            return;
        }
    }
    if (page.table[byte] != 0) handleCharacter(page.table[byte]);
}

void RtfReader::decodeBytes(QByteArrayView bytes) {
    for (const char byte : bytes)
        decodeByte(static_cast<unsigned char>(byte));
}

bool RtfReader::continuesSequence(const RtfToken &token) {
    return token.type == RtfToken::HexByte || token.type == RtfToken::Text ||
           (token.type == RtfToken::ControlSymbol &&
            (token.symbol == '\\' || token.symbol == '{' || token.symbol == '}'));
}

void RtfReader::appendAsideChar(QString &text, char16_t ch) {
    if (ch < 0x20 && ch != '\t') return;
    if (ch == QChar::ObjectReplacementCharacter || ch == 0xFDD0 || ch == 0xFDD1) return;
    text.append(QChar(ch));
}

// Qt cannot hide text: hidden text becomes an empty picture that keeps it,
// and is written back as it came.
void RtfReader::flushHidden() {
    if (m_hiddenText.isEmpty()) return;
    QByteArray group;
    RtfEmitter emitter(group);
    emitter.raw("{");
    emitter.word("\\v");
    emitter.text(std::exchange(m_hiddenText, QString()));
    emitter.raw("}");
    QTextImageFormat format = imageFormat(QSizeF(0, 0), true);
    textprops::setRawRtfGroup(format, group);
    insertImage(format, rtfPlaceholderImage());
}

// The reference to a footnote shows its number, raised; the number is
// written back as the footnote's own mark.
// It stays ordinary text, written back as such, unless its footnote follows.
void RtfReader::insertFootnoteMark() {
    CharState &chars = top().chars;
    const CharState saved = chars;
    m_footnoteMarkShown = !chars.hidden && top().dest == Dest::Body;
    if (chars.superSub == SuperSub::None && !chars.hasExplicitOffset)
        chars.superSub = SuperSub::Super;
    if (m_footnoteMarkShown) {
        prepareBodyContent();
        flushRun();
        m_footnoteMarkStart = m_cursor.position();
    }
    for (const QChar digit : QString::number(m_footnotes + 1))
        handleCharacter(digit.unicode());
    top().chars = saved;
    if (m_footnoteMarkShown) {
        flushRun();
        m_footnoteMarkEnd = m_cursor.position();
    }
}

// The mark of the footnote just read is written back within its group.
void RtfReader::keepFootnoteMarkShownOnly() {
    QTextCursor mark(m_cursor.document());
    mark.setPosition(m_footnoteMarkStart);
    mark.setPosition(m_footnoteMarkEnd, QTextCursor::KeepAnchor);
    QTextCharFormat shownOnly;
    shownOnly.setProperty(textprops::ShownOnly, true);
    mark.mergeCharFormat(shownOnly);
}

// Qt has no footnotes: the note is kept as a group of its own in an empty
// picture at its place, written back as a footnote, and its text shows at
// the paragraph's end.
void RtfReader::finishFootnote() {
    // Counted once read whole: a note cut short is not kept, and does not
    // take a number from the notes that are.
    ++m_footnotes;
    const QString note = std::exchange(m_footnoteText, QString());
    QByteArray group;
    RtfEmitter emitter(group);
    // Its mark is its own when nothing stands between them; a mark further
    // back stays ordinary text, so that saving moves nothing.
    flushRun();
    const bool markJustBefore =
        m_hiddenText.isEmpty() && !m_pendingBreak && m_cursor.position() == m_footnoteMarkEnd;
    if (std::exchange(m_footnoteMarkShown, false) && markJustBefore) {
        keepFootnoteMarkShownOnly();
        emitter.raw("{\\super\\chftn}");
    }
    emitter.raw("{");
    // The note's text takes the font in force, which the writer makes a
    // plain one, not Symbol; it is never raised with its mark.
    emitter.word("\\footnote\\pard\\nosupersub");
    QString shown;
    qsizetype pieceStart = 0;
    for (qsizetype i = 0; i <= note.size(); ++i) {
        if (i < note.size() && note[i] != notePar && note[i] != noteMark) continue;
        emitter.text(QStringView(note).mid(pieceStart, i - pieceStart));
        shown += QStringView(note).mid(pieceStart, i - pieceStart);
        pieceStart = i + 1;
        if (i == note.size()) break;
        if (note[i] == notePar) {
            emitter.word("\\par");
            shown += u' ';
        } else {
            emitter.raw("{\\super\\chftn}");
            shown += QString::number(m_footnotes);
        }
    }
    emitter.raw("}");
    shown = shown.simplified();
    if (!shown.isEmpty()) m_pendingNotes += QStringLiteral(" [") + shown + u']';
    flushHidden();
    QTextImageFormat format = imageFormat(QSizeF(0, 0), true);
    format.clearProperty(textprops::ShownOnly);
    textprops::setRawRtfGroup(format, group);
    insertImage(format, rtfPlaceholderImage());
}

// The footnotes of a paragraph show at its end, in brackets, in the
// paragraph's own characters.
void RtfReader::flushNotes() {
    if (m_pendingNotes.isEmpty()) return;
    CharState &chars = top().chars;
    const CharState saved = chars;
    chars.superSub = SuperSub::None;
    chars.hasExplicitOffset = false;
    chars.hidden = false;
    chars.shownOnly = true;
    for (const QChar ch : std::exchange(m_pendingNotes, QString()))
        appendBodyChar(ch.unicode());
    top().chars = saved;
}

// Text read so far keeps the font it was read in: the symbol font decides
// what its bytes and \uN codes stand for.
void RtfReader::setDefaultFont(int index) {
    flushRun();
    m_defaultFont = index;
    m_formats.clear();
    m_currentPage = nullptr;
}

void RtfReader::applyCharProperty(Prop prop, int param, bool hasParam) {
    CharState &chars = top().chars;
    const bool on = param != 0;
    const auto setExplicitOffset = [&chars](int halfPoints) {
        halfPoints = std::clamp(halfPoints, -maxOffsetHalfPt, maxOffsetHalfPt);
        chars.hasExplicitOffset = halfPoints != 0;
        chars.explicitOffsetTwips = halfPoints * units::twipsPerHalfPoint;
    };
    switch (prop) {
    case Plain:
        chars = CharState();
        break;
    case Bold:
        chars.bold = on;
        break;
    case Italic:
        chars.italic = on;
        break;
    case Underline:
        chars.underline = on;
        break;
    case UnderlineNone:
        chars.underline = false;
        break;
    case Strike:
        chars.strike = on;
        break;
    case Font:
        chars.fontIndex = param;
        break;
    case FontSize:
        chars.sizeHalfPt = std::clamp(param, minSizeHalfPt, maxSizeHalfPt);
        break;
    case Color:
        chars.colorIndex = param;
        break;
    case Up:
        setExplicitOffset(hasParam ? param : 6);
        break;
    case Down:
        setExplicitOffset(-(hasParam ? std::max(param, -maxOffsetHalfPt) : 6));
        break;
    case Super:
        chars.superSub = SuperSub::Super;
        break;
    case Sub:
        chars.superSub = SuperSub::Sub;
        break;
    case NoSuperSub:
        chars.superSub = SuperSub::None;
        chars.hasExplicitOffset = false;
        break;
    case OffsetTwips:
        chars.hasExplicitOffset = param != 0;
        chars.explicitOffsetTwips = std::clamp(param, -maxOffsetHalfPt * units::twipsPerHalfPoint,
                                               maxOffsetHalfPt * units::twipsPerHalfPoint);
        break;
    case Protect:
        chars.protect = on;
        break;
    case Caps:
        chars.caps = on;
        break;
    case SmallCaps:
        chars.smallCaps = on;
        break;
    case Hidden:
        chars.hidden = on;
        break;
    default:
        break;
    }
}

void RtfReader::applyParaProperty(Prop prop, int param) {
    ParaState &para = top().para;
    switch (prop) {
    case ParDefault: {
        // Word writes a paragraph's \listtext before its \pard.
        const bool textLabel = para.textLabel;
        para = ParaState();
        para.textLabel = textLabel;
        break;
    }
    case AlignLeft:
        para.alignment = Qt::AlignLeft;
        break;
    case AlignCenter:
        para.alignment = Qt::AlignHCenter;
        break;
    case AlignRight:
        para.alignment = Qt::AlignRight;
        break;
    case AlignJustify:
        para.alignment = Qt::AlignJustify;
        break;
    case LeftIndent:
        para.leftTwips = std::clamp(param, -maxIndentTwips, maxIndentTwips);
        break;
    case RightIndent:
        para.rightTwips = std::clamp(param, -maxIndentTwips, maxIndentTwips);
        break;
    case FirstIndent:
        para.firstLineTwips = std::clamp(param, -maxIndentTwips, maxIndentTwips);
        break;
    case TabPosition:
        if (param >= 0 && param <= maxIndentTwips && para.tabs.size() < maxTabStops) {
            // Decimal tabs line up on the decimal comma of French numbers.
            const QChar delimiter =
                para.nextTabType == QTextOption::DelimiterTab ? QChar(u',') : QChar();
            para.tabs.append(QTextOption::Tab(double(param) / units::twipsPerPixel,
                                              para.nextTabType, delimiter));
        }
        para.nextTabType = QTextOption::LeftTab;
        break;
    case TabRight:
        para.nextTabType = QTextOption::RightTab;
        break;
    case TabCenter:
        para.nextTabType = QTextOption::CenterTab;
        break;
    case TabDecimal:
        para.nextTabType = QTextOption::DelimiterTab;
        break;
    case ListOverride:
        para.listOverride = std::max(0, param);
        break;
    case ListLevelIndex:
        para.listLevel = std::clamp(param, 0, 8);
        break;
    default:
        break;
    }
}

void RtfReader::applyFontTableProperty(Prop prop, int param) {
    if (prop == Font) {
        if (!m_fontName.trimmed().isEmpty() || !m_fontNameBytes.trimmed().isEmpty()) commitFont();
        m_fontIndex = param;
    } else if (prop == FontCharset) {
        m_fontCharset = param;
    } else if (prop == FontCodePage) {
        m_fontCodePage = std::max(0, param);
    }
}

void RtfReader::applyColorTableProperty(Prop prop, int param) {
    const int value = std::clamp(param, 0, 255);
    if (prop == Red)
        m_red = value;
    else if (prop == Green)
        m_green = value;
    else if (prop == Blue)
        m_blue = value;
}

void RtfReader::applyPictureProperty(Prop prop, int param) {
    RtfPicture &picture = m_picture.picture;
    switch (prop) {
    case PicWidth:
        picture.widthPx = param;
        break;
    case PicHeight:
        picture.heightPx = param;
        break;
    case PicGoalWidth:
        picture.goalWidthTwips = param;
        break;
    case PicGoalHeight:
        picture.goalHeightTwips = param;
        break;
    case PicScaleX:
        picture.scaleXPercent = param;
        break;
    case PicScaleY:
        picture.scaleYPercent = param;
        break;
    case PngBlip:
        picture.type = RtfPicture::Png;
        break;
    case JpegBlip:
        picture.type = RtfPicture::Jpeg;
        break;
    case DibBlip:
        picture.type = RtfPicture::Dib;
        break;
    case WinBitmap:
        picture.type = RtfPicture::WinBitmap;
        break;
    case MetafileBlip:
        picture.type = RtfPicture::Metafile;
        break;
    case PicBitsPerPixel:
        picture.bitsPerPixel = param;
        break;
    case PicWidthBytes:
        picture.widthBytes = param;
        break;
    default:
        break;
    }
}

void RtfReader::applyObjectProperty(Prop prop, int param) {
    if (prop == ObjectWidth)
        m_object.widthTwips = param;
    else if (prop == ObjectHeight)
        m_object.heightTwips = param;
}

void RtfReader::applyNumberingProperty(Prop prop, int param) {
    switch (prop) {
    case ListLevelShown:
        m_numbering.shown = true;
        break;
    case ListLevelBullet:
        m_numbering.shown = true;
        m_numbering.bullet = true;
        break;
    case ListLevelContinued:
        m_numbering.shown = false;
        break;
    case ListNumberStyle:
        m_numbering.look.style =
            param >= QTextListFormat::ListUpperRoman && param <= QTextListFormat::ListDecimal
                ? static_cast<QTextListFormat::Style>(param)
                : QTextListFormat::ListDecimal;
        break;
    case ListNumberStart:
        m_numbering.look.start = std::clamp(param, 0, rtflists::maxListStart);
        break;
    default:
        break;
    }
}

void RtfReader::applyListTableProperty(Prop prop, int param) {
    const bool inTable = top().dest == Dest::ListTable;
    switch (prop) {
    case ListBegin:
        if (inTable) m_lists.beginList();
        break;
    case ListLevelBegin:
        if (inTable) m_lists.beginLevel();
        break;
    case LevelFormat:
        if (inTable) m_lists.setLevelFormat(param);
        break;
    case LevelStart:
        if (inTable) m_lists.setLevelStart(param);
        break;
    case ListId:
        if (inTable)
            m_lists.setListId(param);
        else
            m_lists.setOverrideListId(param);
        break;
    case OverrideBegin:
        if (!inTable) m_lists.beginOverride();
        break;
    case ListOverride:
        if (!inTable) m_lists.setOverrideNumber(param);
        break;
    default:
        break;
    }
}

void RtfReader::appendLabelBytes(QByteArrayView bytes) {
    for (const char byte : bytes) {
        const QChar ch = codepages::fromWindows1252(static_cast<unsigned char>(byte));
        if (!ch.isNull()) m_labelText.append(ch);
    }
}

void RtfReader::finishLabelGroup(Dest dest) {
    switch (dest) {
    case Dest::NumberBefore:
        m_numbering.look.prefix = m_labelText;
        break;
    case Dest::NumberAfter:
        m_numbering.look.suffix = m_labelText;
        break;
    case Dest::LevelText:
        m_lists.setLevelText(m_labelText);
        break;
    case Dest::ListLabel:
        m_pendingLabel = m_labelText;
        top().para.textLabel = !rtflists::isBulletLabel(m_labelText);
        break;
    default:
        break;
    }
    m_labelText.clear();
}

void RtfReader::prepareBodyContent() {
    flushHidden();
    if (m_pendingBreak) insertPendingBreak();
    if (!m_pendingLabel.isEmpty()) placeListLabel();
    if (!(m_runState == top().chars)) {
        flushRun();
        m_runState = top().chars;
    }
}

void RtfReader::appendBodyBytes(QByteArrayView bytes) {
    prepareBodyContent();
    if (m_highSurrogate != 0) {
        m_run.append(QChar(replacementChar));
        m_highSurrogate = 0;
    }
    const CodePage &page = currentCodePage();
    if (page.multiByte || !m_sequence.isEmpty()) {
        decodeBytes(bytes);
        return;
    }
    const ByteTable &table = page.table;
    const qsizetype oldSize = m_run.size();
    m_run.resize(oldSize + bytes.size());
    char16_t *const begin = reinterpret_cast<char16_t *>(m_run.data());
    char16_t *out = begin + oldSize;
    for (const char byte : bytes) {
        const char16_t ch = table[static_cast<unsigned char>(byte)];
        *out = ch;
        out += ch != 0;
    }
    m_run.resize(out - begin);
}

void RtfReader::appendBodyChar(char16_t ch) {
    prepareBodyContent();
    if (ch < 0x20 && ch != '\t') return;
    // Characters that would break the document's structure if inserted.
    if (ch == QChar::ObjectReplacementCharacter || ch == 0xFDD0 || ch == 0xFDD1) return;
    if (ch == QChar::ParagraphSeparator) ch = QChar::LineSeparator;

    const char16_t pendingHigh = std::exchange(m_highSurrogate, 0);
    if (QChar::isHighSurrogate(ch)) {
        if (pendingHigh != 0) m_run.append(QChar(replacementChar));
        m_highSurrogate = ch;
        return;
    }
    if (QChar::isLowSurrogate(ch)) {
        if (pendingHigh != 0) m_run.append(QChar(pendingHigh));
        m_run.append(QChar(pendingHigh != 0 ? ch : replacementChar));
        return;
    }
    if (pendingHigh != 0) m_run.append(QChar(replacementChar));
    m_run.append(QChar(ch));
}

void RtfReader::flushRun() {
    if (m_highSurrogate != 0) {
        m_run.append(QChar(replacementChar));
        m_highSurrogate = 0;
    }
    if (m_run.isEmpty()) return;
    m_cursor.insertText(m_run, charFormat(m_runState));
    m_run.resize(0);
}

// The paragraph's attributes go to its block at once; the break itself waits
// for more content, so that a final \par adds no empty paragraph.
void RtfReader::endParagraph() {
    m_footnoteMarkShown = false; // a mark whose footnote never came
    if (!m_pendingLabel.isEmpty()) placeListLabel();
    flushNotes();
    flushHidden();
    flushRun();
    if (m_pendingBreak) insertPendingBreak();
    m_pendingBreak = true;
    m_breakPara = top().para;
    m_breakMarkFormat = charFormat(top().chars);
}

void RtfReader::insertPendingBreak() {
    flushRun();
    m_pendingBreak = false;
    applyParagraph(m_breakPara, &m_breakMarkFormat);
    // The next paragraph most likely looks like this one.
    m_cursor.insertBlock(blockFormat(m_breakPara), m_breakMarkFormat);
    m_blockPara = m_breakPara;
    m_insertedBlock = true;
}

void RtfReader::applyParagraph(const ParaState &para, const QTextCharFormat *markFormat) {
    const QTextBlock block = m_cursor.block();
    if (markFormat && block.length() <= 1) m_cursor.setBlockCharFormat(*markFormat);
    const std::optional<rtflists::ListLook> look = listLook(para);
    if (!look && m_blockPara == para) return;
    QTextBlockFormat format = blockFormat(para);
    if (!look) {
        m_cursor.setBlockFormat(format);
        return;
    }
    QTextList *list = listFor(para, *look, block);
    if (list && list != block.textList() && list->count() >= maxListItems) {
        if (!look->isNumbered()) {
            list = nullptr;
        } else {
            m_result.tooLongToShow = true;
            if (m_longLists == RtfLongLists::GiveUp) {
                m_ignoreRest = true;
                return;
            }
        }
    }
    if (list) format.setObjectIndex(list->objectIndex());
    m_cursor.setBlockFormat(format);
    if (!list) {
        list = m_cursor.createList(look->listFormat());
        if (look->isNumbered() && para.listOverride > 0)
            m_numberedLists.insert(qint64(para.listOverride) << 4 | para.listLevel, list);
        else if (look->isNumbered())
            m_pnLists.insert(labelsKey(*look), list);
    }
}

// A paragraph's list: from the list table when it names one, else from \pn.
// A list the table lacks shows a bullet, unless its label is a number: that
// one is kept as text, so that "10." is not lost.
std::optional<rtflists::ListLook> RtfReader::listLook(const ParaState &para) const {
    if (para.listOverride > 0) {
        bool found = false;
        std::optional<rtflists::ListLook> look =
            m_lists.look(para.listOverride, para.listLevel, found);
        if (found) return look;
        if (para.textLabel) return std::nullopt;
        return rtflists::ListLook();
    }
    return para.numbering;
}

bool RtfReader::keepsLabel(const ParaState &para) const {
    if (para.listOverride <= 0 || !para.textLabel) return false;
    bool found = false;
    m_lists.look(para.listOverride, para.listLevel, found);
    return !found;
}

void RtfReader::placeListLabel() {
    const QString label = std::exchange(m_pendingLabel, QString());
    if (!keepsLabel(top().para)) return;
    for (const QChar ch : label)
        appendBodyChar(ch.unicode());
}

// Bullets join the list just before; numbered items of one \ls level keep
// counting across the paragraphs between them, as word processors do.
QTextList *RtfReader::listFor(const ParaState &para, const rtflists::ListLook &look,
                              const QTextBlock &block) {
    if (QTextList *own = listLike(block, look)) return own;
    if (look.isNumbered() && para.listOverride > 0) {
        QTextList *list = m_numberedLists.value(qint64(para.listOverride) << 4 | para.listLevel);
        return list && rtflists::lookOf(list->format()) == look ? list : nullptr;
    }
    if (look.isNumbered()) {
        // \pn starting where an earlier list of the same labels stopped
        // continues it, across other paragraphs and lists.
        QTextList *last = m_pnLists.value(labelsKey(look));
        if (last && rtflists::lookOf(last->format()).start + last->count() == look.start)
            return last;
    }
    return listLike(block.previous(), look);
}

QTextBlockFormat RtfReader::blockFormat(const ParaState &para) const {
    // Paragraphs mostly follow one like themselves: the last format made is kept.
    if (m_lastBlockFormat && m_lastBlockFormat->first == para) return m_lastBlockFormat->second;
    QTextBlockFormat format;
    format.setAlignment(para.alignment);
    format.setLeftMargin(double(para.leftTwips) / units::twipsPerPixel);
    format.setRightMargin(double(para.rightTwips) / units::twipsPerPixel);
    format.setTextIndent(double(para.firstLineTwips) / units::twipsPerPixel);
    textprops::setTabStops(format, para.tabs);
    m_lastBlockFormat.emplace(para, format);
    return format;
}

const QTextCharFormat &RtfReader::charFormat(const CharState &state) {
    const auto known = m_formats.constFind(state);
    if (known != m_formats.constEnd()) return known.value();
    QTextCharFormat format;
    const FontEntry *entry = font(state.fontIndex);
    const QString name = entry ? entry->name : m_fallbackFamily;
    // Past a few hundred families, further ones are kept for saving but drawn
    // in the default font: a real exercise never needs more.
    if (m_drawnFamilies.contains(name) || m_drawnFamilies.size() < maxDrawnFamilies) {
        m_drawnFamilies.insert(name);
        textprops::setFontName(format, name);
    } else {
        textprops::setFontNameKeptOnly(format, name);
    }
    format.setFontPointSize(double(state.shownSizeHalfPt()) / units::halfPointsPerPoint);
    if (state.bold) format.setFontWeight(QFont::Bold);
    if (state.italic) format.setFontItalic(true);
    if (state.underline) format.setFontUnderline(true);
    if (state.strike) format.setFontStrikeOut(true);
    if (state.colorIndex >= 0 && state.colorIndex < m_colors.size() &&
        m_colors[state.colorIndex].isValid())
        format.setForeground(m_colors[state.colorIndex]);
    textprops::setOffsetTwips(format, state.offsetTwips());
    if (state.protect) textprops::setProtected(format, true);
    if (state.shownOnly) format.setProperty(textprops::ShownOnly, true);
    if (state.smallCaps)
        format.setFontCapitalization(QFont::SmallCaps);
    else if (state.caps)
        format.setFontCapitalization(QFont::AllUppercase);
    constexpr qsizetype maxKeptFormats = 1024;
    if (m_formats.size() >= maxKeptFormats) m_formats.clear();
    return m_formats.insert(state, format).value();
}

const FontEntry *RtfReader::font(int index) const {
    auto it = m_fonts.constFind(index < 0 ? m_defaultFont : index);
    if (it == m_fonts.constEnd()) it = m_fonts.constFind(m_defaultFont);
    return it == m_fonts.constEnd() ? nullptr : &it.value();
}

bool RtfReader::isSymbolFont(int index) const {
    return codePageOf(index) == codepages::symbol;
}

void RtfReader::appendFontNameBytes(QByteArrayView bytes) {
    for (const char byte : bytes) {
        if (byte == ';')
            commitFont();
        else
            m_fontNameBytes.append(byte);
    }
}

// A font's \cpgN wins over its \fcharsetN; a font that names neither takes
// the document's code page.
void RtfReader::commitFont() {
    int codePage = m_fontCodePage;
    if (codePage == 0 && m_fontCharset >= 0) codePage = codepages::charsetCodePage(m_fontCharset);
    // Its name is written in its code page, unless that is the Symbol font's.
    const int nameCodePage =
        codePage > 0 && codePage != codepages::symbol ? codePage : documentCodePage();
    m_fontName += decodeWhole(this->codePage(nameCodePage), m_fontNameBytes);
    m_fontNameBytes.clear();
    const QString name = m_fontName.trimmed();
    m_fontName.clear();
    if (!name.isEmpty()) {
        // The Symbol font's bytes are its own whatever the entry says, as our
        // writer takes them.
        if (name.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0)
            codePage = codepages::symbol;
        flushRun(); // in the font it was read in
        m_fonts.insert(m_fontIndex, FontEntry{name, codePage});
    }
    m_fontCharset = -1;
    m_fontCodePage = 0;
    // Formats built so far may name the font just defined.
    m_formats.clear();
    m_currentPage = nullptr;
}

void RtfReader::appendColorTableText(QByteArrayView text) {
    for (const char byte : text) {
        if (byte != ';') continue;
        const bool automatic = m_red < 0 && m_green < 0 && m_blue < 0;
        m_colors.append(
            automatic ? QColor()
                      : QColor(std::max(m_red, 0), std::max(m_green, 0), std::max(m_blue, 0)));
        m_red = m_green = m_blue = -1;
    }
    m_formats.clear();
}

void RtfReader::startPicture(bool forObject, qsizetype wordOffset) {
    m_picture = PictureBuilder();
    m_picture.active = true;
    m_picture.forObject = forObject;
    m_picture.wordOffset = wordOffset;
}

void RtfReader::appendPictureHex(QByteArrayView text, qsizetype offset) {
    QByteArray &data = m_picture.picture.data;
    const qsizetype oldSize = data.size();
    data.resize(oldSize + text.size() / 2 + 1);
    char *const begin = data.data();
    char *out = begin + oldSize;
    int pending = m_picture.pendingNibble;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const int value = hexDigitValue(byte);
        if (value < 0) {
            if (!isSpaceByte(byte))
                report(QStringLiteral("picture data is not hexadecimal"), offset + i);
            continue;
        }
        if (pending < 0) {
            pending = value;
        } else {
            *out++ = static_cast<char>(pending * 16 + value);
            pending = -1;
        }
    }
    m_picture.pendingNibble = pending;
    data.resize(out - begin);
}

void RtfReader::finishPicture(qsizetype endOffset, int missingBraces) {
    const PictureBuilder builder = std::exchange(m_picture, PictureBuilder());
    const RtfPicture &picture = builder.picture;
    const bool drawn = picture.type != RtfPicture::Metafile || m_metafilesLeft-- > 0;
    RtfPictureImage decoded = drawn ? decodeRtfPicture(picture, m_pixelsLeft) : RtfPictureImage();
    if (decoded.image.isNull() && !decoded.tooLarge && picture.type != RtfPicture::Metafile)
        report(QStringLiteral("picture data could not be decoded"), builder.wordOffset);

    QSizeF sizePx = rtfPictureSizePx(picture, decoded.headerSize);
    if (!takePictureHeight(sizePx.height())) {
        // Shown smaller, it would be written back smaller: it keeps its group.
        decoded.image = QImage();
        sizePx = QSizeF(smallPictureSidePx, smallPictureSidePx);
    }
    m_pixelsLeft -= qint64(decoded.image.width()) * decoded.image.height();
    const bool placeholder = decoded.image.isNull();
    QTextImageFormat format = imageFormat(sizePx, placeholder);
    // A metafile is drawn, but only its own bytes are written back.
    if (placeholder || picture.type == RtfPicture::Metafile) {
        textprops::setRawRtfGroup(format, rawGroup(builder.wordOffset, endOffset, missingBraces));
    } else if (picture.type == RtfPicture::Png || picture.type == RtfPicture::Jpeg) {
        format.setProperty(textprops::PictureBytes, picture.data);
        format.setProperty(textprops::PictureKind, picture.type == RtfPicture::Png
                                                       ? QStringLiteral("png")
                                                       : QStringLiteral("jpeg"));
    }

    const QImage &shown = placeholder ? rtfPlaceholderImage() : decoded.image;
    if (!builder.forObject) {
        insertImage(format, shown);
    } else if (m_object.active && !m_object.hasResult) {
        m_object.hasResult = true;
        m_object.resultFormat = format;
        m_object.resultImage = shown;
    }
}

void RtfReader::finishObject(qsizetype endOffset, int missingBraces) {
    const ObjectBuilder object = std::exchange(m_object, ObjectBuilder());
    QTextImageFormat format;
    QImage image;
    if (object.hasResult) {
        format = object.resultFormat;
        image = object.resultImage;
        format.clearProperty(textprops::PictureBytes);
        format.clearProperty(textprops::PictureKind);
    } else {
        QSizeF sizePx = boundedPictureSizePx(
            {object.widthTwips > 0 ? double(object.widthTwips) / units::twipsPerPixel
                                   : smallPictureSidePx,
             object.heightTwips > 0 ? double(object.heightTwips) / units::twipsPerPixel
                                    : smallPictureSidePx});
        if (!takePictureHeight(sizePx.height()))
            sizePx = QSizeF(smallPictureSidePx, smallPictureSidePx);
        image = rtfPlaceholderImage();
        format = imageFormat(sizePx, true);
    }
    textprops::setRawRtfGroup(format, rawGroup(object.wordOffset, endOffset, missingBraces));
    insertImage(format, image);
}

// The bytes of a picture or object, from its word to the } of its group, as a
// group of its own: what came before the word in that group was read as
// text, and would come back twice. A group the input cut short gets the
// braces it lacks, so that it can be written back whole.
QByteArray RtfReader::rawGroup(qsizetype wordOffset, qsizetype endOffset, int missingBraces) const {
    QByteArray raw = '{' + m_input.mid(wordOffset, endOffset - wordOffset);
    if (missingBraces == 0) return raw + '}';
    // Binary data cut short would swallow the braces added here, and the
    // text written after the group with them.
    if (m_cutBinaryAt >= wordOffset) raw.truncate(1 + m_cutBinaryAt - wordOffset);
    qsizetype backslashes = 0;
    while (backslashes < raw.size() && raw[raw.size() - 1 - backslashes] == '\\')
        ++backslashes;
    if (backslashes % 2 == 1) raw.chop(1);
    raw.append(QByteArray(missingBraces, '}'));
    return raw;
}

// True when a picture that tall still fits in the height pictures may take.
bool RtfReader::takePictureHeight(double heightPx) {
    if (heightPx > m_pictureHeightLeftPx) return false;
    m_pictureHeightLeftPx -= heightPx;
    return true;
}

QTextImageFormat RtfReader::imageFormat(QSizeF sizePx, bool placeholder) {
    QTextImageFormat format;
    format.merge(charFormat(top().chars));
    format.setName(placeholder ? rtfPlaceholderImageName() : textprops::newImageName());
    format.setWidth(sizePx.width());
    format.setHeight(sizePx.height());
    return format;
}

void RtfReader::insertImage(const QTextImageFormat &format, const QImage &image) {
    if (m_pendingBreak) insertPendingBreak();
    flushRun();
    const bool placeholder = format.name() == rtfPlaceholderImageName();
    if (!placeholder || !std::exchange(m_placeholderAdded, true))
        m_cursor.document()->addResource(QTextDocument::ImageResource, QUrl(format.name()), image);
    m_cursor.insertImage(format);
}

void RtfReader::report(const QString &problem, qsizetype at) {
    if (!m_result.ok) return;
    m_result.ok = false;
    m_result.problem = problem;
    m_result.problemAt = at;
}

} // namespace

RtfReadResult readRtf(const QByteArray &rtf, QTextCursor &cursor, RtfInsertMode mode,
                      RtfLongLists longLists) {
    if (cursor.isNull()) return {false, QStringLiteral("no document to read into"), 0};
    RtfReader reader(rtf, cursor, mode, longLists);
    return reader.read();
}
