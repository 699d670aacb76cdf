#include "app/mainwindow.h"
#include "app/selectionrefresh.h"
#include "editor/richtextbox.h"
#include "windowfixture.h"

#include <QAction>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

// A window with three paragraphs, the first two selected.
class Fixture : public WindowFixture {
public:
    Fixture() {
        exo.setText(QStringLiteral("un\ndeux\ntrois"));
        select(1, 4);
    }
};

class ParagraphToolsTest : public QObject {
    Q_OBJECT

private slots:
    void alignmentFromButtonsAndMenu_data();
    void alignmentFromButtonsAndMenu();
    void bulletsFromBoxAndMenu();
    void refreshShowsWithoutApplying();
};

void ParagraphToolsTest::alignmentFromButtonsAndMenu_data() {
    QTest::addColumn<int>("item"); // q24, q25, q26
    QTest::addColumn<int>("code");
    QTest::newRow("left") << 24 << 0;
    QTest::newRow("centre") << 25 << 2;
    QTest::newRow("right") << 26 << 1;
}

void ParagraphToolsTest::alignmentFromButtonsAndMenu() {
    QFETCH(int, item);
    QFETCH(int, code);
    Fixture f;
    f.control<QAction>(QStringLiteral("q2%1").arg(item - 20))->trigger();
    QCOMPARE(*f.exo.selAlignment(), code);
    QVERIFY(f.control<QToolButton>("Option3", item - 24)->isChecked());
    for (int other = 24; other <= 26; ++other)
        QCOMPARE(f.control<QAction>(QStringLiteral("q2%1").arg(other - 20))->isChecked(),
                 other == item);
    // The third paragraph was not touched.
    f.select(9, 0);
    QCOMPARE(*f.exo.selAlignment(), 0);
    // The buttons do the same as the menu.
    f.select(1, 4);
    f.control<QToolButton>("Option3", 0)->click();
    QCOMPARE(*f.exo.selAlignment(), 0);
}

void ParagraphToolsTest::bulletsFromBoxAndMenu() {
    Fixture f;
    f.control<QAction>(QStringLiteral("bull2"))->trigger();
    QVERIFY(f.control<QToolButton>(QStringLiteral("bull"))->isChecked());
    QCOMPARE(*f.exo.selBullet(), true);
    f.select(9, 0);
    QCOMPARE(*f.exo.selBullet(), false);
    QVERIFY(!f.control<QAction>(QStringLiteral("bull2"))->isChecked());
    f.select(1, 4);
    QVERIFY(f.control<QAction>(QStringLiteral("bull2"))->isChecked());
    f.control<QToolButton>(QStringLiteral("bull"))->click();
    QCOMPARE(*f.exo.selBullet(), false);
    QVERIFY(!f.control<QAction>(QStringLiteral("bull2"))->isChecked());
}

void ParagraphToolsTest::refreshShowsWithoutApplying() {
    Fixture f;
    f.control<QAction>(QStringLiteral("q25"))->trigger(); // centre "un" and "deux"
    const QByteArray before = f.exo.textRTF();
    // Over centred and left paragraphs the buttons keep what they showed.
    f.select(4, 6);
    QVERIFY(f.control<QToolButton>("Option3", 1)->isChecked());
    f.select(9, 0);
    QVERIFY(f.control<QToolButton>("Option3", 0)->isChecked());
    QVERIFY(f.control<QAction>(QStringLiteral("q24"))->isChecked());
    QCOMPARE(f.exo.textRTF(), before);
}

QTEST_MAIN(ParagraphToolsTest)
#include "paragraphtools_test.moc"
