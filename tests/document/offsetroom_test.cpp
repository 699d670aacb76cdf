#include "document/offsetroom.h"
#include "document/rtf/rtfreader.h"
#include "document/rtf/rtfwriter.h"
#include "document/textproperties.h"

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

#include <memory>
#include <optional>

namespace {

// A run of text and its offset in twips, at a size in points.
struct Run {
    QString text;
    int twips = 0;
    double points = 10;
};

void insertRuns(QTextCursor &cursor, const QList<Run> &runs) {
    for (const Run &run : runs) {
        QTextCharFormat format;
        format.setFontPointSize(run.points);
        textprops::setOffsetTwips(format, run.twips);
        cursor.insertText(run.text, format);
    }
}

// Cu2+ SO4 2- x2 with the charges raised and the indices lowered.
QList<Run> formulas(int raise, int lower, double shiftedPoints) {
    return {{QStringLiteral("Cu")},
            {QStringLiteral("2+"), raise, shiftedPoints},
            {QStringLiteral(" SO")},
            {QStringLiteral("4"), lower, shiftedPoints},
            {QStringLiteral("2-"), raise, shiftedPoints},
            {QStringLiteral(" x")},
            {QStringLiteral("2"), raise, shiftedPoints}};
}

std::unique_ptr<QTextDocument> newDocument(bool fitted = true) {
    auto document = std::make_unique<QTextDocument>();
    document->setDefaultFont(QFont(QStringLiteral("Arial"), 10));
    if (fitted) offsetroom::keepFitted(document.get());
    document->documentLayout();
    return document;
}

struct LineBand {
    double top;
    double bottom;
};

QList<LineBand> lineBands(const QTextDocument &document) {
    QList<LineBand> bands;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const double blockTop = document.documentLayout()->blockBoundingRect(block).top();
        const QTextLayout *layout = block.layout();
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            bands.append({blockTop + line.y(), blockTop + line.y() + line.height()});
        }
    }
    return bands;
}

// Rows of ink the characters [from, to) leave when drawn alone, from the top
// of the page.
std::pair<int, int> inkRows(const QTextDocument &document, int from, int to) {
    std::unique_ptr<QTextDocument> alone(document.clone());
    QTextCursor cursor(alone.get());
    cursor.select(QTextCursor::Document);
    QTextCharFormat hidden;
    hidden.setForeground(Qt::transparent);
    cursor.mergeCharFormat(hidden);
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    QTextCharFormat shown;
    shown.setForeground(Qt::black);
    cursor.mergeCharFormat(shown);
    alone->setTextWidth(document.textWidth());

    // Room above the document shows ink that would be cut off.
    constexpr int above = 40;
    QImage image(int(alone->size().width()) + 1, int(alone->size().height()) + 2 * above,
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.translate(0, above);
    // Each paragraph drawn where the page puts it, unclipped: ink the page
    // would cut off shows too. A layout knows its own position.
    for (QTextBlock block = alone->begin(); block.isValid(); block = block.next())
        block.layout()->draw(&painter, QPointF());
    painter.end();
    std::optional<int> top;
    int bottom = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 160) {
                if (!top) top = y - above;
                bottom = y - above;
                break;
            }
        }
    }
    return {top.value_or(bottom + 1), bottom};
}

int lineIndexAt(const QTextDocument &document, int position) {
    int index = 0;
    const QTextBlock found = document.findBlock(position);
    for (QTextBlock block = document.begin(); block != found; block = block.next())
        index += block.layout()->lineCount();
    return index + found.layout()->lineForTextPosition(position - found.position()).lineNumber();
}

// Each raised run stays under the line above (or the top of the page), each
// lowered one over the line below (or the foot of the page).
void checkNoOverprint(const QTextDocument &document) {
    const QList<LineBand> bands = lineBands(document);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int twips = textprops::offsetTwips(fragment.charFormat());
            if (twips == 0) continue;
            const int line = lineIndexAt(document, fragment.position());
            const auto [top, bottom] =
                inkRows(document, fragment.position(), fragment.position() + fragment.length());
            QVERIFY(top <= bottom);
            const QString what = QStringLiteral("\"%1\" on line %2: ink %3 to %4")
                                     .arg(fragment.text())
                                     .arg(line)
                                     .arg(top)
                                     .arg(bottom);
            if (twips > 0) {
                const double limit = line > 0 ? bands.at(line - 1).bottom : 0;
                QVERIFY2(top >= limit, qPrintable(what));
            } else {
                const double limit =
                    line + 1 < bands.size() ? bands.at(line + 1).top : document.size().height();
                QVERIFY2(bottom < limit, qPrintable(what));
            }
        }
    }
}

QRectF blockRect(const QTextDocument &document, int blockNumber) {
    return document.documentLayout()->blockBoundingRect(document.findBlockByNumber(blockNumber));
}

// From the foot of the paragraph before to the top of the one after.
double spaceTaken(const QTextDocument &document, int blockNumber) {
    return blockRect(document, blockNumber + 1).top() -
           blockRect(document, blockNumber - 1).bottom();
}

} // namespace

class OffsetRoomTest : public QObject {
    Q_OBJECT

private slots:
    void raisedAndLoweredCharactersStayOffTheirNeighbours_data();
    void raisedAndLoweredCharactersStayOffTheirNeighbours();
    void roomFollowsTheCharactersAndOnlyThem();
    void roomNeverReachesTheFile();
};

void OffsetRoomTest::raisedAndLoweredCharactersStayOffTheirNeighbours_data() {
    QTest::addColumn<int>("raise");
    QTest::addColumn<int>("lower");
    QTest::addColumn<double>("points");
    // The ordinary mode writes size x value twips, the small mode 10 x value.
    QTest::newRow("ordinary, value 20") << 200 << -200 << 10.0;
    QTest::newRow("ordinary, default values") << 80 << -50 << 10.0;
    QTest::newRow("small size, value 20") << 200 << -200 << 8.0;
}

void OffsetRoomTest::raisedAndLoweredCharactersStayOffTheirNeighbours() {
    QFETCH(int, raise);
    QFETCH(int, lower);
    QFETCH(double, points);
    const std::unique_ptr<QTextDocument> document = newDocument();
    QTextCursor cursor(document.get());
    // One paragraph wrapped over three lines, then one line per formula.
    insertRuns(cursor, formulas(raise, lower, points));
    const QList<Run> all = formulas(raise, lower, points);
    for (const QList<Run> &one : {all.mid(0, 2), all.mid(2, 3), all.mid(5, 2)}) {
        cursor.insertBlock();
        insertRuns(cursor, one);
    }
    document->setTextWidth(55);
    QCOMPARE(document->begin().layout()->lineCount(), 3);
    checkNoOverprint(*document);

    // Read from a file, the text needs the same room.
    const QByteArray rtf = writeRtf(*document);
    const std::unique_ptr<QTextDocument> reread = newDocument();
    QTextCursor reader(reread.get());
    readRtf(rtf, reader, RtfInsertMode::WholeDocument);
    offsetroom::fitAll(*reread);
    reread->setTextWidth(55);
    checkNoOverprint(*reread);
}

void OffsetRoomTest::roomFollowsTheCharactersAndOnlyThem() {
    const std::unique_ptr<QTextDocument> plain = newDocument();
    QTextCursor cursor(plain.get());
    cursor.insertText(QStringLiteral("Plain text above"));
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("Cu2+ SO42- x2"));
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("Plain text below"));
    const QTextBlockFormat untouched = plain->findBlockByNumber(1).blockFormat();
    const double plainHeight = blockRect(*plain, 0).height();
    const double formulaSpace = spaceTaken(*plain, 1);

    const std::unique_ptr<QTextDocument> shifted(plain->clone());
    offsetroom::keepFitted(shifted.get());
    shifted->documentLayout();
    QTextCursor editor(shifted.get());
    const auto setOffset = [&editor](int from, int to, int twips) {
        editor.setPosition(from);
        editor.setPosition(to, QTextCursor::KeepAnchor);
        QTextCharFormat format = editor.charFormat();
        textprops::setOffsetTwips(format, twips);
        editor.setCharFormat(format);
    };
    const int start = shifted->findBlockByNumber(1).position();
    setOffset(start + 2, start + 4, 200);
    QVERIFY(spaceTaken(*shifted, 1) > formulaSpace);
    QCOMPARE(blockRect(*shifted, 0).height(), plainHeight);
    QCOMPARE(blockRect(*shifted, 2).height(), plainHeight);

    // A lowered character needs room below only.
    setOffset(start + 2, start + 4, 0);
    setOffset(start + 7, start + 8, -200);
    const offsetroom::Room lowered = offsetroom::kept(shifted->findBlockByNumber(1).blockFormat());
    QCOMPARE(lowered.above, 0);
    QVERIFY(lowered.below > 0);

    // A bigger size needs more room; no offset left, no room left.
    setOffset(start + 7, start + 8, 200);
    const int raised = offsetroom::kept(shifted->findBlockByNumber(1).blockFormat()).above;
    editor.setPosition(start + 7);
    editor.setPosition(start + 8, QTextCursor::KeepAnchor);
    QTextCharFormat bigger = editor.charFormat();
    bigger.setFontPointSize(20);
    textprops::refreshBaseline(bigger);
    editor.setCharFormat(bigger);
    QVERIFY(offsetroom::kept(shifted->findBlockByNumber(1).blockFormat()).above > raised);
    editor.setCharFormat(QTextCharFormat());
    QCOMPARE(shifted->findBlockByNumber(1).blockFormat(), untouched);
    QCOMPARE(spaceTaken(*shifted, 1), formulaSpace);

    // Deleting the raised characters takes their room away.
    setOffset(start + 12, start + 13, 160);
    QVERIFY(offsetroom::kept(shifted->findBlockByNumber(1).blockFormat()).above > 0);
    editor.setPosition(start + 12);
    editor.setPosition(start + 13, QTextCursor::KeepAnchor);
    editor.removeSelectedText();
    QCOMPARE(shifted->findBlockByNumber(1).blockFormat(), untouched);
}

void OffsetRoomTest::roomNeverReachesTheFile() {
    const std::unique_ptr<QTextDocument> document = newDocument();
    QTextCursor cursor(document.get());
    insertRuns(cursor, formulas(200, -200, 10));
    const QByteArray withRoom = writeRtf(*document);
    QVERIFY(offsetroom::kept(document->begin().blockFormat()) != offsetroom::Room{});

    const std::unique_ptr<QTextDocument> roomless = newDocument(false);
    QTextCursor plain(roomless.get());
    insertRuns(plain, formulas(200, -200, 10));
    QCOMPARE(offsetroom::kept(roomless->begin().blockFormat()), offsetroom::Room{});
    QCOMPARE(writeRtf(*roomless), withRoom);
    for (const char *spacing : {"\\sb", "\\sa", "\\sl"})
        QVERIFY2(!withRoom.contains(spacing), spacing);

    const std::unique_ptr<QTextDocument> reread = newDocument();
    QTextCursor reader(reread.get());
    readRtf(withRoom, reader, RtfInsertMode::WholeDocument);
    offsetroom::fitAll(*reread);
    QCOMPARE(writeRtf(*reread), withRoom);
}

QTEST_MAIN(OffsetRoomTest)
#include "offsetroom_test.moc"
