#include "document/formulalook.h"

#include "document/equilibriumsign.h"
#include "document/runwalker.h"
#include "document/textproperties.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>
#include <cmath>
#include <vector>

namespace formulas {
namespace {

struct Piece {
    int from = 0;
    int to = 0;
    QTextCharFormat format;
};

// The formats of the levels, made once for each format met: measuring the
// font for the baseline costs more than the rest of a formula's edit.
class LevelFormats {
public:
    explicit LevelFormats(const LevelLook &look) : m_look(look) {}

    QTextCharFormat at(const QTextCharFormat &format, Level level, double normalPt) {
        for (const Made &made : m_made)
            if (made.level == level && made.normalPt == normalPt && made.from == format)
                return made.result;
        QTextCharFormat result = format;
        applyLevel(result, level, normalPt, m_look);
        // A text of a few looks fills it at once; one of thousands does
        // without it.
        if (m_made.size() < 64) m_made.push_back({format, level, normalPt, result});
        return result;
    }

private:
    struct Made {
        QTextCharFormat from;
        Level level;
        double normalPt;
        QTextCharFormat result;
    };
    LevelLook m_look;
    std::vector<Made> m_made;
};

double sizeOf(const QTextCharFormat &format, const QTextDocument &document) {
    return format.fontPointSize() > 0 ? format.fontPointSize()
                                      : document.defaultFont().pointSizeF();
}

// The edit's characters by runs of one format, and their text; none when
// one is protected or is a picture.
std::optional<std::vector<Piece>> piecesOf(QTextDocument &document, int from, int to,
                                           QString &text) {
    std::vector<Piece> pieces;
    bool usable = true;
    runwalker::forEachRun(
        document, from, to, runwalker::Marks::Included, [&](const runwalker::Run &run) {
            const QTextCharFormat format = run.format();
            if (run.isMark() || format.isImageFormat() || textprops::isProtected(format)) {
                usable = false;
                return false;
            }
            pieces.push_back({run.from, run.to, format});
            text +=
                QStringView(run.fragment.text()).mid(run.from - run.position, run.to - run.from);
            return true;
        });
    if (!usable || pieces.empty()) return std::nullopt;
    return pieces;
}

// The size of the formula's normal characters: that of its first character
// standing on the line.
double normalSizeOf(const std::vector<Piece> &pieces, const QTextDocument &document) {
    for (const Piece &piece : pieces)
        if (textprops::offsetTwips(piece.format) == 0) return sizeOf(piece.format, document);
    return sizeOf(pieces.front().format, document);
}

void insertSign(QTextCursor &cursor, const QTextCharFormat &look, double sizePt) {
    // As the palette draws it: as many pixels high as the text has points.
    const QColor colour =
        look.hasProperty(QTextFormat::ForegroundBrush) ? look.foreground().color() : Qt::black;
    const equilibriumsign::Picture sign = equilibriumsign::forText(
        int(std::lround(sizePt)), colour, look.fontWeight() >= QFont::Bold);
    QTextImageFormat format;
    format.setName(textprops::newImageName());
    cursor.document()->addResource(QTextDocument::ImageResource, QUrl(format.name()), sign.image);
    format.setWidth(sign.shownPx.width());
    format.setHeight(sign.shownPx.height());
    cursor.insertImage(format);
}

void replace(QTextDocument &document, const std::vector<Piece> &pieces, const Formatted &shown,
             LevelFormats &levels) {
    const double normalPt = normalSizeOf(pieces, document);
    QTextCharFormat base = pieces.front().format;
    for (const Piece &piece : pieces) {
        if (textprops::offsetTwips(piece.format) == 0) {
            base = piece.format;
            break;
        }
    }
    QTextCursor cursor(&document);
    cursor.setPosition(pieces.front().from);
    cursor.setPosition(pieces.back().to, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    qsizetype at = 0;
    while (at < shown.text.size()) {
        if (shown.text[at] == QChar(equilibriumSign)) {
            insertSign(cursor, base, normalPt);
            ++at;
            continue;
        }
        qsizetype end = at + 1;
        while (end < shown.text.size() && shown.levels[end] == shown.levels[at] &&
               shown.text[end] != QChar(equilibriumSign))
            ++end;
        const QTextCharFormat format = levels.at(base, shown.levels[at], normalPt);
        cursor.insertText(shown.text.mid(at, end - at), format);
        at = end;
    }
}

void relevel(QTextDocument &document, const std::vector<Piece> &pieces, const Formatted &shown,
             LevelFormats &levels) {
    const double normalPt = normalSizeOf(pieces, document);
    const int start = pieces.front().from;
    std::vector<Piece> changes;
    for (const Piece &piece : pieces) {
        int from = piece.from;
        while (from < piece.to) {
            const Level level = shown.levels[from - start];
            int to = from + 1;
            while (to < piece.to && shown.levels[to - start] == level)
                ++to;
            const QTextCharFormat format = levels.at(piece.format, level, normalPt);
            // A write that changes nothing would still leave a step to undo.
            if (format != piece.format) changes.push_back({from, to, format});
            from = to;
        }
    }
    QTextCursor cursor(&document);
    for (const Piece &change : changes) {
        cursor.setPosition(change.from);
        cursor.setPosition(change.to, QTextCursor::KeepAnchor);
        cursor.setCharFormat(change.format);
    }
}

} // namespace

void applyLevel(QTextCharFormat &format, Level level, double normalSizePt, const LevelLook &look) {
    if (level == Level::Normal) {
        format.setFontPointSize(normalSizePt);
        textprops::setOffsetTwips(format, 0);
        return;
    }
    const bool index = level == Level::Index;
    const int twentieths = index ? look.indexTwentieths : look.exponentTwentieths;
    const int sign = index ? -1 : 1;
    if (look.smallSize) {
        format.setFontPointSize(LevelLook::smallSizePt);
        textprops::setOffsetTwips(format, sign * 10 * twentieths);
    } else {
        format.setFontPointSize(normalSizePt);
        textprops::setOffsetTwips(format, sign * int(std::lround(normalSizePt * twentieths)));
    }
}

int apply(QTextDocument &document, int start, const QList<Edit> &edits, const LevelLook &look) {
    int made = 0;
    LevelFormats levels(look);
    // From the last: each edit leaves the positions before it where they were.
    for (auto edit = edits.rbegin(); edit != edits.rend(); ++edit) {
        const int from = start + int(edit->from);
        const int to = start + int(edit->to);
        QString original;
        const auto pieces = piecesOf(document, from, to, original);
        if (!pieces) continue;
        if (original == edit->shown.text)
            relevel(document, *pieces, edit->shown, levels);
        else
            replace(document, *pieces, edit->shown, levels);
        ++made;
    }
    return made;
}

} // namespace formulas
