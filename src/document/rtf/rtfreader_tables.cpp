#include "document/rtf/rtfreader_impl.h"

// The font and colour tables, and the code pages their fonts name.
namespace rtfread {

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

// Text read so far keeps the font it was read in: the symbol font decides
// what its bytes and \uN codes stand for.
void RtfReader::setDefaultFont(int index) {
    flushRun();
    m_defaultFont = index;
    m_formats.clear();
    m_currentPage = nullptr;
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

} // namespace rtfread
