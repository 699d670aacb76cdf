#include "document/rtf/rtfreader_impl.h"

// The body text: character and paragraph formats, runs and paragraphs.
namespace rtfread {

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

} // namespace rtfread
