#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>
#include <string_view>

// Appends RTF to a byte array: control words with the delimiter space only
// where the next byte would otherwise extend them, text escaped for the
// Windows-1252 or the Symbol code page, and hex picture data.
class RtfEmitter {
public:
    explicit RtfEmitter(QByteArray &out) : m_out(out) {}

    // A control word such as "\\b", with or without a numeric parameter.
    void word(std::string_view word);
    void word(std::string_view word, int parameter);
    // Bytes written as they are: braces, header parts, groups kept from a file.
    void raw(QByteArrayView bytes);
    void rawNumber(int value);
    // CRLF; it also ends a control word.
    void newline();

    // Text of a run in the file's code page (Windows-1252).
    void text(QStringView text);
    // Text of a run in the Symbol font, whose bytes have their own meaning.
    void symbolText(QStringView text);
    // Picture data as hex digits, 128 digits a line.
    void hexData(const QByteArray &bytes);

private:
    void delimit();
    void appendPlain(const char16_t *begin, const char16_t *end);
    void plainByte(char byte);
    bool writeLayoutCharacter(char16_t ch);
    void escapedAscii(char ch);
    void hexByte(unsigned char byte);
    void unicode(char16_t codeUnit);
    const char16_t *unicodeCharacter(const char16_t *at, const char16_t *end);

    QByteArray &m_out;
    // The last thing written was a control word: text must not touch it.
    bool m_pendingDelimiter = false;
};
