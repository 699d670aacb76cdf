#pragma once

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

// The RTF reader's own parts: its limits, the state of the destinations it
// reads, and the reader itself, whose members are defined by concern in
// rtfreader.cpp (the dispatch) and rtfreader_*.cpp.
namespace rtfread {

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

std::shared_ptr<CodePage> makeCodePage(std::unique_ptr<codepages::ByteDecoder> decoder);

// Characters of bytes that are all there, such as a font's name.
QString decodeWhole(const CodePage &page, QByteArrayView bytes);

struct FontEntry {
    QString name;
    int codePage = 0; // 0: the document's
};

// The \pict group being read.
struct PictureBuilder {
    bool active = false;
    bool forObject = false;
    bool copyOfLast = false;  // the bitmap other readers draw for the picture before it
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

inline int hexDigitValue(unsigned char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

inline bool isSpaceByte(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\f' || c == '\v';
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
    void keepCopyOfLastPicture(const RtfPicture &copy);
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
    int m_lastPicturePosition = -1;  // where the photo just read went, for its kept copy
};

// The key of a \pn list by its labels.
inline QString labelsKey(const rtflists::ListLook &look) {
    return QString::number(look.style) + u'\n' + look.prefix + u'\n' + look.suffix;
}

} // namespace rtfread
