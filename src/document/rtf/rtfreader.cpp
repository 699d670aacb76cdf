#include "document/rtf/rtfreader.h"

#include "document/rtf/rtfreader_impl.h"

namespace rtfread {

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
    if (top().dest == Dest::KeptCopy &&
        (token.type != RtfToken::ControlWord || token.text != QByteArrayView("pict")))
        return;
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
            dest = m_lastPicturePosition >= 0 ? Dest::KeptCopy : Dest::Skip;
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
        if ((current != Dest::Body && current != Dest::ObjectResult && current != Dest::KeptCopy) ||
            m_picture.active)
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
        m_picture.copyOfLast = current == Dest::KeptCopy;
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

void RtfReader::report(const QString &problem, qsizetype at) {
    if (!m_result.ok) return;
    m_result.ok = false;
    m_result.problem = problem;
    m_result.problemAt = at;
}

} // namespace rtfread

RtfReadResult readRtf(const QByteArray &rtf, QTextCursor &cursor, RtfInsertMode mode,
                      RtfLongLists longLists) {
    if (cursor.isNull()) return {false, QStringLiteral("no document to read into"), 0};
    rtfread::RtfReader reader(rtf, cursor, mode, longLists);
    return reader.read();
}
