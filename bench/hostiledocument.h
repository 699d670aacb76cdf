#pragma once

// Hostile RTF for the benchmarks: small files built to make a reader spend
// memory or time out of proportion with their size. Each kind repeats one
// unit, numbered, until the wanted size is reached.

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QStringList>
#include <functional>

namespace hostile {

inline const QStringList kinds = {
    QStringLiteral("bad-pictures"), QStringLiteral("big-pictures"), QStringLiteral("fonts"),
    QStringLiteral("tabs"),         QStringLiteral("colours"),      QStringLiteral("nesting"),
    QStringLiteral("binary"),       QStringLiteral("numbers"),      QStringLiteral("tall"),
    QStringLiteral("changes"),      QStringLiteral("word"),         QStringLiteral("pn-items"),
    QStringLiteral("ls-items"),     QStringLiteral("bullets"),      QStringLiteral("lists"),
};

// A PNG that inflates to sidePx × sidePx blank RGB pixels: a few tens of
// kilobytes that decode to tens of megabytes.
inline QByteArray blankPng(int sidePx) {
    QImage image(sidePx, sidePx, QImage::Format_RGB888);
    image.fill(Qt::white);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG", 0);
    return bytes;
}

// head, then unit(0), unit(1)… until the file holds wantedBytes, then tail.
inline QByteArray repeat(qint64 wantedBytes, const QByteArray &head,
                         const std::function<QByteArray(int)> &unit, const QByteArray &tail) {
    QByteArray rtf = head;
    rtf.reserve(wantedBytes + tail.size() + 1024);
    for (int i = 0; rtf.size() + tail.size() < wantedBytes; ++i)
        rtf += unit(i);
    return rtf + tail;
}

inline QByteArray number(qint64 n) {
    return QByteArray::number(n);
}

// Empty when the kind is not known.
inline QByteArray generate(const QString &kind, qint64 wantedBytes) {
    const QByteArray head = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\r\n";
    if (kind == QLatin1String("bad-pictures")) {
        // Metafiles are never decoded: each shows a placeholder as large as
        // its goal size asks.
        return repeat(
            wantedBytes, head,
            [](int) { return QByteArray("{\\pict\\wmetafile8\\picwgoal9999\\pichgoal9999 01}"); },
            "}");
    }
    if (kind == QLatin1String("big-pictures")) {
        const QByteArray hex = blankPng(4000).toHex();
        return repeat(
            wantedBytes, head, [&hex](int) { return "{\\pict\\pngblip " + hex + "}\\par\r\n"; },
            "}");
    }
    if (kind == QLatin1String("fonts")) {
        // A font table naming every font, then one run in each.
        const qint64 count = std::max<qint64>(1, wantedBytes / 48);
        QByteArray rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl";
        for (qint64 i = 0; i < count; ++i)
            rtf += "{\\f" + number(i) + " Police " + number(i) + ";}";
        rtf += "}\r\n";
        for (qint64 i = 0; i < count; ++i)
            rtf += "{\\f" + number(i) + " a }";
        return rtf + "}";
    }
    if (kind == QLatin1String("tabs")) {
        // As many stops in each paragraph, at places no other paragraph has.
        return repeat(
            wantedBytes, head,
            [](int i) {
                return "\\pard\\tx" + number(100 + i) + "\\tqr\\tx" + number(9000 + i % 7) +
                       " a\\tab b\\par\r\n";
            },
            "}");
    }
    if (kind == QLatin1String("colours")) {
        const qint64 count = std::max<qint64>(1, wantedBytes / 40);
        QByteArray rtf = head + "{\\colortbl ;";
        for (qint64 i = 0; i < count; ++i) {
            const QColor colour = QColor::fromRgb(QRgb(i * 2654435761u));
            rtf += "\\red" + number(colour.red()) + "\\green" + number(colour.green()) + "\\blue" +
                   number(colour.blue()) + ";";
        }
        rtf += "}\r\n";
        for (qint64 i = 0; i < count; ++i)
            rtf += "{\\cf" + number(i + 1) + " a }";
        return rtf + "}";
    }
    if (kind == QLatin1String("nesting")) {
        const qint64 depth = std::max<qint64>(1, (wantedBytes - head.size()) / 3);
        return head + QByteArray(depth, '{') + QByteArray(depth, 'a') + QByteArray(depth, '}') +
               "}";
    }
    if (kind == QLatin1String("binary")) {
        // \bin lengths far past the end, and pictures of raw bytes.
        return repeat(
            wantedBytes, head,
            [](int i) {
                return "{\\pict\\pngblip\\bin64 " + QByteArray(64, char(i)) +
                       "}{\\*\\x\\bin8 }}}}{{{{}a\\bin4 }}}}";
            },
            "\\bin2147483647 }");
    }
    if (kind == QLatin1String("numbers")) {
        // Every length and size at the ends of the int range, or past them;
        // one paragraph in 16 at the largest font size.
        return repeat(
            wantedBytes, head,
            [](int i) {
                const QByteArray big = i % 2 ? "2147483647" : "99999999999999999999";
                const QByteArray sign = i % 3 ? "" : "-";
                return "\\pard\\li" + sign + big + "\\ri" + big + "\\fi-" + big + "\\tx" + big +
                       "\\tx" + number(i) + "{" + (i % 16 ? "" : "\\fs" + big) + "\\up" + big +
                       "\\cf" + big + "\\f" + big + " a\\tab b}{\\pict\\wbitmap0\\picw" + big +
                       "\\pich" + big + "\\picscalex" + big + "\\picwgoal" + sign + big +
                       " 00}\\par\r\n";
            },
            "}");
    }
    if (kind == QLatin1String("tall")) {
        // Lines at the largest font size: a document taller than Qt's layout
        // can count.
        return repeat(
            wantedBytes, head + "\\fs3276 ", [](int) { return QByteArray("a\\par\r\n"); }, "}");
    }
    if (kind == QLatin1String("changes")) {
        // One paragraph whose every character turns bold on or off: 7 bytes
        // a change.
        return repeat(
            wantedBytes, head, [](int) { return QByteArray("{\\b a} "); }, "}");
    }
    if (kind == QLatin1String("word")) {
        // The same in one word, with no place to break a line: 7 bytes a
        // change.
        return repeat(
            wantedBytes, head, [](int) { return QByteArray("{\\i a}b"); }, "}");
    }
    if (kind == QLatin1String("pn-items")) {
        // One numbered list, RichEdit's way: each item repeats its numbering.
        return repeat(
            wantedBytes, head,
            [](int i) {
                return "{\\pntext " + number(i + 1) +
                       ".\\tab}\\pard{\\*\\pn\\pnlvlbody\\pndec\\pnstart1{\\pntxta .}}a\\par\r\n";
            },
            "}");
    }
    if (kind == QLatin1String("ls-items")) {
        // One numbered list, Word's way: a list table, then items naming it.
        const QByteArray tables =
            "{\\*\\listtable{\\list\\listtemplateid1{\\listlevel\\levelnfc0\\levelstartat1"
            "{\\leveltext\\'02\\'00.;}{\\levelnumbers\\'01;}}\\listid7}}"
            "{\\*\\listoverridetable{\\listoverride\\listid7\\listoverridecount0\\ls1}}\r\n";
        return repeat(
            wantedBytes, head + tables,
            [](int i) {
                return "{\\listtext " + number(i + 1) + ".\\tab}\\pard\\ls1\\ilvl0 a\\par\r\n";
            },
            "}");
    }
    if (kind == QLatin1String("bullets")) {
        return repeat(
            wantedBytes, head,
            [](int) {
                return QByteArray(
                    "{\\pntext \\'b7\\tab}\\pard{\\*\\pn\\pnlvlblt{\\pntxtb \\'b7}}a\\par\r\n");
            },
            "}");
    }
    if (kind == QLatin1String("lists")) {
        // Lists of one item each, numbered and lettered by turns so that none
        // joins the one before.
        return repeat(
            wantedBytes, head,
            [](int i) {
                return QByteArray("\\pard{\\*\\pn\\pnlvlbody") + (i % 2 ? "\\pnlcltr" : "\\pndec") +
                       "\\pnstart" + number(1 + i % 7) + "{\\pntxta )}}a\\par\r\n";
            },
            "}");
    }
    return {};
}

} // namespace hostile
