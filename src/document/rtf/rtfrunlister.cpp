#include "document/rtf/rtfrunlister.h"

#include "document/rtf/rtfwriter_attributes.h"
#include "document/runwalker.h"
#include "document/textproperties.h"

#include <QImage>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>
#include <optional>

using rtfattributes::CharAttributes;
using rtfattributes::ParagraphAttributes;

namespace {

// C locale, at most two decimals, no trailing zeros.
QString number(double value) {
    QString text = QString::number(value, 'f', 2);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.'))) text.chop(1);
    if (text == QLatin1String("-0")) text = QStringLiteral("0");
    return text;
}

QString flag(bool on) {
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

QString jsonString(QStringView text) {
    QString json = QStringLiteral("\"");
    for (const QChar ch : text) {
        switch (ch.unicode()) {
        case u'"':
            json += QLatin1String("\\\"");
            break;
        case u'\\':
            json += QLatin1String("\\\\");
            break;
        case u'\t':
            json += QLatin1String("\\t");
            break;
        case u'\n':
            json += QLatin1String("\\n");
            break;
        default:
            if (ch.unicode() < 0x20)
                json += QStringLiteral("\\u%1").arg(ch.unicode(), 4, 16, QLatin1Char('0'));
            else
                json += ch;
        }
    }
    return json + QLatin1Char('"');
}

int alignmentCode(Qt::Alignment alignment) {
    if (alignment == Qt::AlignRight) return 1;
    if (alignment == Qt::AlignHCenter) return 2;
    return 0;
}

QString paragraphLine(const ParagraphAttributes &paragraph) {
    QStringList tabs;
    for (const rtfattributes::TabStop &tab : paragraph.tabs)
        tabs.append(number(tab.positionPx));
    return QLatin1String("P align=") + QString::number(alignmentCode(paragraph.alignment)) +
           QLatin1String(" li=") + number(paragraph.leftIndentPx) + QLatin1String(" ri=") +
           number(paragraph.rightIndentPx) + QLatin1String(" bullet=") + flag(paragraph.bullet) +
           QLatin1String(" tabs=") + tabs.join(QLatin1Char(',')) + QLatin1Char('\n');
}

QString runLine(const CharAttributes &run, QStringView text) {
    const QRgb color = run.color.value_or(qRgb(0, 0, 0));
    return QLatin1String("R font=") + jsonString(run.fontName) + QLatin1String(" size=") +
           number(run.sizePt) + QLatin1String(" b=") + flag(run.bold) + QLatin1String(" i=") +
           flag(run.italic) + QLatin1String(" u=") + flag(run.underline) + QLatin1String(" s=") +
           flag(run.strike) + QLatin1String(" color=") + QString::number(qRed(color)) +
           QLatin1Char(',') + QString::number(qGreen(color)) + QLatin1Char(',') +
           QString::number(qBlue(color)) + QLatin1String(" offset=") +
           QString::number(run.offsetTwips) + QLatin1String(" prot=") + flag(run.isProtected) +
           QLatin1String(" text=") + jsonString(text) + QLatin1Char('\n');
}

QString imageLine(const QTextDocument &document, const QTextImageFormat &format) {
    double widthPx = format.width();
    double heightPx = format.height();
    // An empty picture that keeps hidden text or a footnote is listed as it
    // is, 0 by 0, not at the size of its placeholder.
    const bool sized =
        format.hasProperty(QTextFormat::ImageWidth) && format.hasProperty(QTextFormat::ImageHeight);
    if (!sized && (widthPx <= 0 || heightPx <= 0)) {
        const QImage image = rtfattributes::documentImage(document, format);
        if (widthPx <= 0) widthPx = image.width();
        if (heightPx <= 0) heightPx = image.height();
    }
    return QLatin1String("I w=") + number(widthPx) + QLatin1String(" h=") + number(heightPx) +
           QLatin1Char('\n');
}

// Joins fragments of one look into one run line.
class RunCollector {
public:
    explicit RunCollector(QString &out) : m_out(out) {}
    void add(const CharAttributes &attributes, const QString &text) {
        if (m_pending && *m_pending != attributes) flush();
        m_pending = attributes;
        m_text += text;
    }
    void flush() {
        if (m_pending) m_out += runLine(*m_pending, m_text);
        m_pending.reset();
        m_text.clear();
    }

private:
    QString &m_out;
    std::optional<CharAttributes> m_pending;
    QString m_text;
};

} // namespace

QString listRuns(const QTextDocument &document) {
    const QFont defaultFont = document.defaultFont();
    QString out;
    RunCollector runs(out);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        out += paragraphLine(rtfattributes::paragraphAttributes(block));
        const int end = block.position() + block.length();
        runwalker::forEachFragment(block, block.position(), end, [&](const runwalker::Run &run) {
            const QTextCharFormat format = run.format();
            // Shown only, such as a footnote's number: its look is not kept.
            if (format.boolProperty(textprops::ShownOnly)) {
                runs.flush();
                out +=
                    QLatin1String("N text=") + jsonString(run.fragment.text()) + QLatin1Char('\n');
                return;
            }
            if (!format.isImageFormat()) {
                runs.add(rtfattributes::charAttributes(format, defaultFont), run.fragment.text());
                return;
            }
            runs.flush();
            for (const QChar ch : run.fragment.text()) {
                if (ch == QChar::ObjectReplacementCharacter)
                    out += imageLine(document, format.toImageFormat());
            }
        });
        runs.flush();
    }
    return out;
}
