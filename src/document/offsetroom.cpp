#include "document/offsetroom.h"

#include "document/textproperties.h"

#include <QFontMetricsF>
#include <QHash>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>

#include <algorithm>
#include <cmath>
#include <vector>

namespace offsetroom {
namespace {

struct Metrics {
    double ascent = 0;
    double descent = 0;
    double shift = 0; // upwards, as Qt draws the format's baseline offset
};

// Per format index: a paragraph's runs mostly share a handful of formats.
using MetricsCache = QHash<int, Metrics>;

Metrics metricsOf(const QTextFragment &fragment, const QFont &defaultFont, MetricsCache &cache) {
    const int index = fragment.charFormatIndex();
    const auto found = cache.constFind(index);
    if (found != cache.constEnd()) return *found;
    const QTextCharFormat format = fragment.charFormat();
    const QFontMetricsF fm(format.font().resolve(defaultFont));
    Metrics metrics;
    metrics.ascent = fm.ascent();
    metrics.descent = fm.descent();
    // Qt moves the baseline by this percentage of the font's height.
    metrics.shift = format.baselineOffset() / 100.0 * (fm.ascent() + fm.descent());
    cache.insert(index, metrics);
    return metrics;
}

struct Piece {
    Metrics metrics;
    bool spaceAtStart = false;
    bool spaceAtEnd = false;
    bool spaceInside = false;
};

// Neighbours looked at on each side: enough for a formula, and a paragraph
// of thousands of runs without a blank stays linear.
constexpr int neighbourReach = 8;

Room neededWith(const QTextBlock &block, MetricsCache &cache) {
    bool shifted = false;
    for (auto it = block.begin(); !it.atEnd() && !shifted; ++it)
        shifted = it.fragment().charFormat().hasProperty(QTextFormat::TextBaselineOffset);
    if (!shifted) return {};

    const QFont defaultFont = block.document()->defaultFont();
    const QString text = block.text();
    std::vector<Piece> pieces;
    int start = 0;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const int end = start + fragment.length();
        Piece piece;
        piece.metrics = metricsOf(fragment, defaultFont, cache);
        piece.spaceAtStart = text.at(start).isSpace();
        piece.spaceAtEnd = text.at(end - 1).isSpace();
        for (int i = start + 1; i < end - 1 && !piece.spaceInside; ++i)
            piece.spaceInside = text.at(i).isSpace();
        pieces.push_back(piece);
        start = end;
    }

    // A line is as tall as the unmoved characters on it, and the runs of the
    // same word share a line: "Cu" lends its ascent to the "2+" after it.
    double above = 0;
    double below = 0;
    const int count = int(pieces.size());
    for (int i = 0; i < count; ++i) {
        const Metrics &own = pieces[i].metrics;
        if (own.shift == 0) continue;
        double lineAscent = own.ascent;
        double lineDescent = own.descent;
        const auto lend = [&](const Piece &other) {
            lineAscent = std::max(lineAscent, other.metrics.ascent);
            lineDescent = std::max(lineDescent, other.metrics.descent);
        };
        for (int j = i - 1; j >= std::max(0, i - neighbourReach); --j) {
            if (pieces[j + 1].spaceAtStart || pieces[j].spaceAtEnd) break;
            lend(pieces[j]);
            if (pieces[j].spaceInside || pieces[j].spaceAtStart) break;
        }
        for (int j = i + 1; j < std::min(count, i + 1 + neighbourReach); ++j) {
            if (pieces[j - 1].spaceAtEnd || pieces[j].spaceAtStart) break;
            lend(pieces[j]);
            if (pieces[j].spaceInside || pieces[j].spaceAtEnd) break;
        }
        if (own.shift > 0)
            above = std::max(above, own.shift + own.ascent - lineAscent);
        else
            below = std::max(below, -own.shift + own.descent - lineDescent);
    }
    return {int(std::ceil(above)), int(std::ceil(below))};
}

} // namespace

Room needed(const QTextBlock &block) {
    MetricsCache cache;
    return neededWith(block, cache);
}

Room kept(const QTextBlockFormat &format) {
    return {format.intProperty(textprops::RaisedRoom), format.intProperty(textprops::LoweredRoom)};
}

void setRoom(QTextBlockFormat &format, Room room) {
    if (room.above <= 0 && room.below <= 0) {
        if (kept(format) == Room{}) return;
        for (int property : {int(textprops::RaisedRoom), int(textprops::LoweredRoom),
                             int(QTextFormat::BlockTopMargin), int(QTextFormat::LineHeight),
                             int(QTextFormat::LineHeightType)})
            format.clearProperty(property);
        return;
    }
    format.setProperty(textprops::RaisedRoom, room.above);
    format.setProperty(textprops::LoweredRoom, room.below);
    // The first line rises into the margin; the space after each line takes
    // the drop of its own characters and the rise of the next line's.
    format.setTopMargin(room.above);
    format.setLineHeight(room.above + room.below, QTextBlockFormat::LineDistanceHeight);
}

void fit(QTextDocument &document, int from, int to) {
    MetricsCache cache;
    struct Change {
        int position;
        QTextBlockFormat format;
    };
    std::vector<Change> changes;
    for (QTextBlock block = document.findBlock(from); block.isValid() && block.position() <= to;
         block = block.next()) {
        QTextBlockFormat format = block.blockFormat();
        const Room room = neededWith(block, cache);
        if (kept(format) == room) continue;
        setRoom(format, room);
        changes.push_back({block.position(), format});
    }
    // Qt drops the top margin of a frame's first paragraph: the page's own
    // margin makes that room instead.
    QTextFrameFormat page = document.rootFrame()->frameFormat();
    const int pageRoom = page.intProperty(textprops::RaisedRoom);
    const int firstRoom = changes.empty() || changes.front().position != 0
                              ? kept(document.begin().blockFormat()).above
                              : kept(changes.front().format).above;
    const bool pageChanges = pageRoom != firstRoom;
    if (changes.empty() && !pageChanges) return;

    QTextCursor editor(&document);
    editor.joinPreviousEditBlock();
    for (const Change &change : changes) {
        editor.setPosition(change.position);
        editor.setBlockFormat(change.format);
    }
    if (pageChanges) {
        page.setTopMargin(page.topMargin() - pageRoom + firstRoom);
        if (firstRoom > 0)
            page.setProperty(textprops::RaisedRoom, firstRoom);
        else
            page.clearProperty(textprops::RaisedRoom);
        document.rootFrame()->setFrameFormat(page);
    }
    editor.endEditBlock();
}

bool mayChange(const QTextDocument &document, int from, int to, const QTextCharFormat &typing) {
    if (typing.hasProperty(QTextFormat::TextBaselineOffset)) return true;
    const QTextBlock last = document.findBlock(to);
    for (QTextBlock block = document.findBlock(from); block.isValid(); block = block.next()) {
        if (kept(block.blockFormat()) != Room{}) return true;
        if (block == last) break;
    }
    return false;
}

void fitAll(QTextDocument &document) {
    const QList<QTextFormat> formats = document.allFormats();
    const bool any = std::any_of(formats.begin(), formats.end(), [](const QTextFormat &format) {
        return format.hasProperty(QTextFormat::TextBaselineOffset) ||
               format.hasProperty(textprops::RaisedRoom) ||
               format.hasProperty(textprops::LoweredRoom);
    });
    if (any) fit(document, 0, document.characterCount());
}

namespace {

const QString keeperName = QStringLiteral("offsetroom-keeper");

// Gathers what each edit touched and fits it once the edit is over, when Qt
// lets the document be changed again.
class Keeper : public QObject {
public:
    explicit Keeper(QTextDocument *document) : QObject(document), document_(document) {
        setObjectName(keeperName);
        connect(document, &QTextDocument::contentsChange, this, [this](int at, int, int added) {
            if (fitting_) return;
            from_ = from_ < 0 ? at : std::min(from_, at);
            to_ = std::max(to_, at + added);
        });
        connect(document, &QTextDocument::contentsChanged, this, [this] {
            if (fitting_ || from_ < 0) return;
            const int from = from_;
            const int to = to_;
            from_ = to_ = -1;
            // Only an undo leaves steps to redo: changing anything now would
            // drop them, and the step brought its room back anyway.
            if (document_->availableRedoSteps() > 0) return;
            fitting_ = true;
            fit(*document_, from, to);
            fitting_ = false;
        });
    }

private:
    QTextDocument *document_;
    int from_ = -1;
    int to_ = -1;
    bool fitting_ = false;
};

} // namespace

void keepFitted(QTextDocument *document) {
    if (document->findChild<QObject *>(keeperName, Qt::FindDirectChildrenOnly)) return;
    new Keeper(document);
}

} // namespace offsetroom
