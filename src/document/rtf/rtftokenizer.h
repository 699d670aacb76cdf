#pragma once

#include <QByteArrayView>
#include <QString>

// One lexical unit of RTF. Views point into the tokenizer's input, which must
// outlive the token.
struct RtfToken {
    enum Type {
        GroupStart,    // {
        GroupEnd,      // }
        ControlWord,   // \word or \wordN; name in text
        ControlSymbol, // \x for a non-letter x; x in symbol ('\'' for a broken \')
        HexByte,       // \'hh; value in byte
        Text,          // a run of plain bytes; CR and LF are never part of it
        Binary,        // the raw bytes that follow \binN
        End,
    };

    Type type = End;
    qsizetype offset = 0; // byte offset of the token's first byte
    QByteArrayView text;
    int param = 0;
    bool hasParam = false;
    char symbol = 0;
    unsigned char byte = 0;
};

// Splits RTF into tokens, one at a time. It never fails: damaged input gives
// the tokens that can be made of it, and the first damage is remembered.
class RtfTokenizer {
public:
    explicit RtfTokenizer(QByteArrayView input) : m_input(input) {}

    RtfToken next();

    // Empty when the input was well formed as far as tokens go.
    const QString &problem() const { return m_problem; }
    qsizetype problemAt() const { return m_problemAt; }

private:
    RtfToken readBackslash(qsizetype start);
    RtfToken readControlWord(qsizetype start);
    RtfToken readHexByte(qsizetype start);
    RtfToken readText(qsizetype start);
    void readParameter(RtfToken &token);
    void takeBinaryData(RtfToken &token);
    void report(const QString &problem, qsizetype at);

    QByteArrayView m_input;
    qsizetype m_pos = 0;
    QString m_problem;
    qsizetype m_problemAt = -1;
};
