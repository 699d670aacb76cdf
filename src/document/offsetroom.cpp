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

// What measuring needs, kept across the paragraphs of one fit: a paragraph's
// runs mostly share a handful of formats.
struct Measure {
    QFont defaultFont;
    QHash<int, Metrics> metrics; // per format index
    QHash<int, bool> moves;      // per format index: its baseline is offset
    struct Piece {
        QTextFragment fragment;
        int start;
        int end;
        Metrics metrics; // measured only in a paragraph with offset characters
    };
    std::vector<Piece> pieces;
};

Metrics metricsOf(const QTextFragment &fragment, Measure &measure) {
    const int index = fragment.charFormatIndex();
    const auto found = measure.metrics.constFind(index);
    if (found != measure.metrics.constEnd()) return *found;
    const QTextCharFormat format = fragment.charFormat();
    const QFontMetricsF fm(format.font().resolve(measure.defaultFont));
    Metrics metrics;
    metrics.ascent = fm.ascent();
    metrics.descent = fm.descent();
    // Qt moves the baseline by this percentage of the font's height.
    metrics.shift = format.baselineOffset() / 100.0 * (fm.ascent() + fm.descent());
    measure.metrics.insert(index, metrics);
    return metrics;
}

// Neighbours looked at on each side: enough for a formula, and a paragraph
// of thousands of runs without a blank stays linear.
constexpr int neighbourReach = 8;

Room neededWith(const QTextBlock &block, Measure &measure) {
    std::vector<Measure::Piece> &pieces = measure.pieces;
    pieces.clear();
    bool shifted = false;
    int start = 0;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const int index = fragment.charFormatIndex();
        auto moves = measure.moves.constFind(index);
        if (moves == measure.moves.constEnd())
            moves = measure.moves.insert(index, fragment.charFormat().baselineOffset() != 0);
        shifted = shifted || *moves;
        const int length = fragment.length();
        pieces.push_back({fragment, start, start + length, {}});
        start += length;
    }
    // Most paragraphs: no font to measure.
    if (!shifted) return {};
    for (Measure::Piece &piece : pieces)
        piece.metrics = metricsOf(piece.fragment, measure);

    // Read only when a neighbour could lend: copying every paragraph's text
    // would cost a large document more than the rest of the measure.
    QString text;
    const auto spaceAt = [&text, &block](int at) {
        if (text.isNull()) text = block.text();
        return at < text.size() && text.at(at).isSpace();
    };
    const auto spaceInside = [&spaceAt](const Measure::Piece &piece) {
        for (int at = piece.start + 1; at < piece.end - 1; ++at) {
            if (spaceAt(at)) return true;
        }
        return false;
    };

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
        const auto lend = [&](const Measure::Piece &other) {
            lineAscent = std::max(lineAscent, other.metrics.ascent);
            lineDescent = std::max(lineDescent, other.metrics.descent);
        };
        const int first = std::max(0, i - neighbourReach);
        const int last = std::min(count - 1, i + neighbourReach);
        bool mayLend = false;
        for (int j = first; j <= last && !mayLend; ++j)
            mayLend =
                pieces[j].metrics.ascent > own.ascent || pieces[j].metrics.descent > own.descent;
        for (int j = i - 1; mayLend && j >= first; --j) {
            const Measure::Piece &other = pieces[j];
            if (spaceAt(other.end) || spaceAt(other.end - 1)) break;
            lend(other);
            if (spaceAt(other.start) || spaceInside(other)) break;
        }
        for (int j = i + 1; mayLend && j <= last; ++j) {
            const Measure::Piece &other = pieces[j];
            if (spaceAt(other.start - 1) || spaceAt(other.start)) break;
            lend(other);
            if (spaceAt(other.end - 1) || spaceInside(other)) break;
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
    Measure measure;
    measure.defaultFont = block.document()->defaultFont();
    return neededWith(block, measure);
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
    Measure measure;
    measure.defaultFont = document.defaultFont();
    // Neighbours given the same format change together, as one run.
    struct Change {
        QTextBlock first;
        QTextBlock last;
        quint64 key;
        QTextBlockFormat format;
    };
    std::vector<Change> changes;
    // Paragraphs share their formats too: each one met is read, and each one
    // made, once.
    QHash<int, Room> keptRooms;
    QHash<quint64, QTextBlockFormat> made; // by format index and room
    const QTextBlock last = document.findBlock(to);
    for (QTextBlock block = document.findBlock(from); block.isValid(); block = block.next()) {
        const int index = block.blockFormatIndex();
        auto keptRoom = keptRooms.constFind(index);
        if (keptRoom == keptRooms.constEnd())
            keptRoom = keptRooms.insert(index, kept(block.blockFormat()));
        const Room room = neededWith(block, measure);
        if (*keptRoom != room) {
            const quint64 key = quint64(quint32(index)) << 32 | quint64(quint16(room.above)) << 16 |
                                quint16(room.below);
            if (!changes.empty() && changes.back().key == key &&
                changes.back().last.next() == block) {
                changes.back().last = block;
            } else {
                auto format = made.find(key);
                if (format == made.end()) {
                    format = made.insert(key, block.blockFormat());
                    setRoom(*format, room);
                }
                changes.push_back({block, block, key, *format});
            }
        }
        if (block == last) break;
    }
    // Qt drops the top margin of a frame's first paragraph: the page's own
    // margin makes that room instead.
    QTextFrameFormat page = document.rootFrame()->frameFormat();
    const int pageRoom = page.intProperty(textprops::RaisedRoom);
    const int firstRoom = changes.empty() || changes.front().first != document.begin()
                              ? kept(document.begin().blockFormat()).above
                              : kept(changes.front().format).above;
    const bool pageChanges = pageRoom != firstRoom;
    if (changes.empty() && !pageChanges) return;

    QTextCursor editor(&document);
    editor.joinPreviousEditBlock();
    for (const Change &change : changes) {
        editor.setPosition(change.first.position());
        editor.setPosition(change.last.position(), QTextCursor::KeepAnchor);
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
    explicit Keeper(QTextDocument *document) : QObject(document), m_document(document) {
        setObjectName(keeperName);
        connect(document, &QTextDocument::contentsChange, this, [this](int at, int, int added) {
            if (m_fitting) return;
            m_from = m_from < 0 ? at : std::min(m_from, at);
            m_to = std::max(m_to, at + added);
        });
        connect(document, &QTextDocument::contentsChanged, this, [this] {
            if (m_fitting || m_from < 0) return;
            const int from = m_from;
            const int to = m_to;
            m_from = m_to = -1;
            // Only an undo leaves steps to redo: changing anything now would
            // drop them, and the step brought its room back anyway.
            if (m_document->availableRedoSteps() > 0) return;
            m_fitting = true;
            fit(*m_document, from, to);
            m_fitting = false;
        });
    }

private:
    QTextDocument *m_document;
    int m_from = -1;
    int m_to = -1;
    bool m_fitting = false;
};

} // namespace

void keepFitted(QTextDocument *document) {
    if (document->findChild<QObject *>(keeperName, Qt::FindDirectChildrenOnly)) return;
    new Keeper(document);
}

} // namespace offsetroom
