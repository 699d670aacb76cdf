#include "paragraph/ruler.h"

#include "editor/richtextbox.h"
#include "scripteddialogs.h"

#include <QImage>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include <cmath>

namespace {

const QColor grey(192, 192, 192);
const QColor white(255, 255, 255);
// Below the tick marks and the numbers.
constexpr int bandProbeYPx = 15;

// The ruler over an editor holding "un\ndeux", laid out in a shown window
// with a second field to take the focus away from the editor.
struct Editor {
    ScriptedDialogs dialogs;
    QWidget window;
    QLineEdit *elsewhere = new QLineEdit(&window);
    RichTextBox *exo = new RichTextBox(&window);
    Ruler *ruler = new Ruler(*exo, dialogs, &window);

    Editor() {
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(elsewhere);
        layout->addWidget(ruler);
        layout->addWidget(exo);
        window.resize(600, 300);
        exo->setText(QStringLiteral("un\ndeux"));
        window.show();
    }

    void selectParagraph(int index) {
        exo->setSelStart(index == 0 ? 0 : 3);
        exo->setSelLength(0);
    }
    void selectBoth() {
        exo->setSelStart(0);
        exo->setSelLength(7);
    }
    void setStops(const QList<double> &stopsPx) {
        exo->setSelTabCount(int(stopsPx.size()));
        for (int i = 0; i < stopsPx.size(); ++i)
            exo->setSelTabs(i, stopsPx[i]);
    }
    QList<double> stops() const {
        QList<double> result;
        for (int i = 0; i < exo->selTabCount().value_or(0); ++i)
            result << exo->selTabs(i).value_or(-1);
        return result;
    }
    QList<double> stopsOf(int paragraph) {
        selectParagraph(paragraph);
        return stops();
    }
    QWidget *marker(int i) const { return ruler->tiptab(i); }
};

QList<double> tenStops() {
    QList<double> stopsPx;
    for (int i = 1; i <= 10; ++i)
        stopsPx << 20.0 * i;
    return stopsPx;
}

double markerLeftCmFor(double stopPx) {
    return (stopPx - 16) / 38.2;
}

bool near(double actual, double expected) {
    return std::abs(actual - expected) < 1e-9;
}

} // namespace

class RulerTest : public QObject {
    Q_OBJECT

private slots:
    void clickAddsStopInOrder_data();
    void clickAddsStopInOrder();
    void mixedStopsRefuseTheClick();
    void markersFollowTheStops_data();
    void markersFollowTheStops();
    void dropMovesTheStop_data();
    void dropMovesTheStop();
    void bandsShowTheIndents_data();
    void bandsShowTheIndents();
    void scaleRunsToTheRightEnd_data();
    void scaleRunsToTheRightEnd();
};

void RulerTest::clickAddsStopInOrder_data() {
    QTest::addColumn<QList<double>>("before");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<int>("xPx");
    QTest::addColumn<QList<double>>("after");
    const QList<double> two{40, 200};
    const int threeCmPx = qRound(3 * 38.2);
    QTest::newRow("3 cm, between")
        << two << Qt::LeftButton << threeCmPx << QList<double>{40, 115, 200};
    QTest::newRow("right button") << two << Qt::RightButton << threeCmPx
                                  << QList<double>{40, 115, 200};
    QTest::newRow("on a stop") << two << Qt::LeftButton << 40 << QList<double>{40, 40, 200};
    QTest::newRow("before all") << two << Qt::LeftButton << 20 << QList<double>{20, 40, 200};
    QTest::newRow("after all") << two << Qt::LeftButton << 300 << QList<double>{40, 200, 300};
    QTest::newRow("first stop") << QList<double>{} << Qt::LeftButton << threeCmPx
                                << QList<double>{115};
    QTest::newRow("eleventh, no marker")
        << tenStops() << Qt::LeftButton << 300 << (tenStops() << 300);
}

void RulerTest::clickAddsStopInOrder() {
    QFETCH(QList<double>, before);
    QFETCH(Qt::MouseButton, button);
    QFETCH(int, xPx);
    QFETCH(QList<double>, after);
    Editor editor;
    QVERIFY(QTest::qWaitForWindowActive(&editor.window));
    editor.selectBoth();
    editor.setStops(before);
    editor.elsewhere->setFocus();

    QTest::mouseClick(editor.ruler, button, {}, QPoint(xPx, 8));

    QVERIFY(editor.dialogs.calls.isEmpty());
    QVERIFY(editor.exo->hasFocus());
    QCOMPARE(editor.stops(), after);
    for (int i = 0; i < std::min(int(after.size()), Ruler::markerCount); ++i) {
        QVERIFY(!editor.marker(i)->isHidden());
        QVERIFY(near(editor.ruler->markerLeftCm(i), markerLeftCmFor(after[i])));
    }
    QVERIFY(!editor.ruler->findChild<QWidget *>(QStringLiteral("tiptab(10)")));
    QCOMPARE(editor.stopsOf(0), after);
    QCOMPARE(editor.stopsOf(1), after);
}

void RulerTest::mixedStopsRefuseTheClick() {
    Editor editor;
    QVERIFY(QTest::qWaitForWindowActive(&editor.window));
    editor.selectParagraph(0);
    editor.setStops({40});
    editor.selectParagraph(1);
    editor.setStops({40, 200});
    editor.selectBoth();
    editor.elsewhere->setFocus();

    QTest::mouseClick(editor.ruler, Qt::LeftButton, {}, QPoint(115, 8));

    QCOMPARE(editor.dialogs.kinds(), QStringList{"message"});
    const Message &refusal = editor.dialogs.last().message;
    QCOMPARE(
        refusal.text,
        QStringLiteral("Ne sélectionner qu'une partie du texte avec des tabulations identiques"));
    QCOMPARE(refusal.title, QStringLiteral("Tabulation refusée"));
    QCOMPARE(refusal.icon, MessageIcon::Critical);
    QCOMPARE(refusal.buttons, MessageButtons::Ok);
    QVERIFY(editor.exo->hasFocus());
    QCOMPARE(editor.stopsOf(0), QList<double>{40});
    QCOMPARE(editor.stopsOf(1), (QList<double>{40, 200}));
}

void RulerTest::markersFollowTheStops_data() {
    QTest::addColumn<QList<double>>("stopsPx");
    QTest::newRow("none") << QList<double>{};
    QTest::newRow("three, with a fraction") << QList<double>{40, 115.25, 200};
    QTest::newRow("at the text's edge") << QList<double>{0};
    QTest::newRow("ten") << tenStops();
}

void RulerTest::markersFollowTheStops() {
    QFETCH(QList<double>, stopsPx);
    Editor editor;
    editor.selectParagraph(1);
    editor.setStops(tenStops());
    editor.ruler->majregle();
    editor.selectParagraph(0);
    editor.setStops(stopsPx);

    editor.ruler->majregle();
    // Paragraphs of different stops leave the markers where they stand.
    for (bool mixed : {false, true}) {
        if (mixed) {
            editor.selectBoth();
            editor.ruler->majregle();
        }
        for (int i = 0; i < Ruler::markerCount; ++i) {
            QWidget *marker = editor.marker(i);
            QCOMPARE(marker->objectName(), QStringLiteral("tiptab(%1)").arg(i));
            QCOMPARE(marker->isHidden(), i >= stopsPx.size());
            if (i >= stopsPx.size()) continue;
            QVERIFY(near(editor.ruler->markerLeftCm(i), markerLeftCmFor(stopsPx[i])));
            QCOMPARE(marker->geometry(), QRect(qRound(stopsPx[i] - 16), -4, 32, 32));
        }
    }
}

void RulerTest::dropMovesTheStop_data() {
    QTest::addColumn<bool>("moves");
    QTest::addColumn<int>("pointerXPx");
    QTest::addColumn<double>("draggedLeftCm");
    QTest::addColumn<double>("droppedStopPx");
    // The stop starts at 100.25 px; 573 twips are exactly 38.2 px.
    QTest::newRow("press and release") << false << 16 << markerLeftCmFor(100.25) << 99.53;
    QTest::newRow("16 px right") << true << 31 << markerLeftCmFor(116.25) << 115.53;
    QTest::newRow("clamped left") << true << -1000 << -0.4 << 0.0;
    QTest::newRow("clamped right") << true << 1000 << 8.1 << 324.7;
}

void RulerTest::dropMovesTheStop() {
    QFETCH(bool, moves);
    QFETCH(int, pointerXPx);
    QFETCH(double, draggedLeftCm);
    QFETCH(double, droppedStopPx);
    Editor editor;
    editor.selectParagraph(0);
    editor.setStops({40, 100.25});
    editor.ruler->majregle();
    QWidget *marker = editor.marker(1);

    QTest::mousePress(marker, Qt::LeftButton, {}, QPoint(16, 10));
    if (moves) QTest::mouseMove(marker, QPoint(pointerXPx, 10));
    QVERIFY(near(editor.ruler->markerLeftCm(1), draggedLeftCm));
    QCOMPARE(editor.stops(), (QList<double>{40, 100.25}));
    QTest::mouseRelease(marker, Qt::LeftButton, {}, QPoint(pointerXPx, 10));

    const QList<double> stops = editor.stops();
    QCOMPARE(stops.size(), 2);
    QCOMPARE(stops[0], 40.0);
    QVERIFY2(near(stops[1], droppedStopPx), qPrintable(QString::number(stops[1], 'g', 17)));
    QVERIFY(near(editor.ruler->markerLeftCm(1), markerLeftCmFor(stops[1])));
    QVERIFY(editor.dialogs.calls.isEmpty());
}

void RulerTest::bandsShowTheIndents_data() {
    QTest::addColumn<double>("indentPx");
    QTest::addColumn<double>("rightIndentPx");
    QTest::addColumn<int>("rightMarginPx");
    QTest::addColumn<int>("gaucheEdgePx");
    QTest::addColumn<int>("droiteEdgePx");
    QTest::newRow("1 cm indent") << 38.2 << 20.0 << 400 << 38 << 388;
    QTest::newRow("2 cm indent, no right indent") << 76.4 << 0.0 << 300 << 76 << 308;
}

void RulerTest::bandsShowTheIndents() {
    QFETCH(double, indentPx);
    QFETCH(double, rightIndentPx);
    QFETCH(int, rightMarginPx);
    QFETCH(int, gaucheEdgePx);
    QFETCH(int, droiteEdgePx);
    Editor editor;
    const QImage blank = editor.ruler->grab().toImage();
    QCOMPARE(blank.pixelColor(2, bandProbeYPx), white);
    editor.exo->setRightMargin(rightMarginPx);
    editor.selectParagraph(0);
    editor.exo->setSelIndent(indentPx);
    editor.exo->setSelRightIndent(rightIndentPx);

    editor.ruler->showIndents();

    const QImage image = editor.ruler->grab().toImage();
    QVERIFY(image.width() > droiteEdgePx + 2);
    QCOMPARE(image.pixelColor(gaucheEdgePx - 1, bandProbeYPx), grey);
    QCOMPARE(image.pixelColor(gaucheEdgePx + 1, bandProbeYPx), white);
    QCOMPARE(image.pixelColor(droiteEdgePx - 1, bandProbeYPx), white);
    QCOMPARE(image.pixelColor(droiteEdgePx + 1, bandProbeYPx), grey);
    QCOMPARE(image.pixelColor(image.width() - 1, bandProbeYPx), grey);

    // Paragraphs of different indents leave the bands where they stand.
    editor.selectParagraph(1);
    editor.exo->setSelIndent(indentPx + 38.2);
    editor.exo->setSelRightIndent(rightIndentPx + 38.2);
    editor.selectBoth();
    editor.ruler->showIndents();
    QCOMPARE(editor.ruler->grab().toImage(), image);
}

void RulerTest::scaleRunsToTheRightEnd_data() {
    QTest::addColumn<int>("windowWidthPx");
    QTest::newRow("narrow") << 400;
    QTest::newRow("wide") << 1000;
    QTest::newRow("very wide") << 1800;
}

// However wide the window, the last centimetre of the ruler has its ticks.
void RulerTest::scaleRunsToTheRightEnd() {
    QFETCH(int, windowWidthPx);
    Editor editor;
    editor.window.resize(windowWidthPx, 300);
    QTRY_COMPARE(editor.ruler->width(), editor.exo->width());
    const QImage image = editor.ruler->grab().toImage();
    const int lastCmLeftPx = image.width() - qCeil(Ruler::pixelsPerCm) - 1;
    int tickPixels = 0;
    for (int x = lastCmLeftPx; x < image.width(); ++x) {
        for (int y = qFloor(0.1 * Ruler::pixelsPerCm); y < qCeil(0.25 * Ruler::pixelsPerCm); ++y)
            tickPixels += image.pixelColor(x, y).lightness() < 100 ? 1 : 0;
    }
    QVERIFY2(tickPixels > 0, "the scale stops short of the ruler's end");
}

QTEST_MAIN(RulerTest)
#include "ruler_test.moc"
