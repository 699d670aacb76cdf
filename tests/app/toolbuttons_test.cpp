#include "commandeffects.h"

#include <QToolBar>

using namespace commandeffects;

// Every button of the tool strips, clicked by its name, does what its tip or
// caption says, strip by strip.
namespace {

struct Row {
    const char *strip;
    const char *name;
    Effect effect;
};

// The selection's writing colour, named by its strongest channel; "noir"
// when every channel is dark. It starts grey.
Effect colour(const QString &expected) {
    return {[](Fixture &f) {
                f.select(eauAt, eauLength);
                f.exo.setSelColor(0x808080);
                f.select(eauAt, eauLength);
            },
            [expected](Fixture &f) {
                const QRgb rgb = f.exo.selColor().value_or(0x808080);
                const int red = (rgb >> 16) & 0xFF;
                const int green = (rgb >> 8) & 0xFF;
                const int blue = rgb & 0xFF;
                QString seen = QStringLiteral("noir");
                if (std::max({red, green, blue}) > 64)
                    seen = red > green && red > blue     ? QStringLiteral("rouge")
                           : green > red && green > blue ? QStringLiteral("vert")
                           : blue > red && blue > green  ? QStringLiteral("bleu")
                                                         : QStringLiteral("mêlé");
                QCOMPARE(seen, expected);
            }};
}

// The selected "2" as a normal character, an index or an exponent: small
// ones are 8 points, the text is 12. The normal option starts from an
// exponent.
Effect mode(int expectedSign) {
    return {[expectedSign](Fixture &f) {
                f.select(twoAt, 1);
                if (expectedSign == 0) f.control<QAbstractButton>("Option2", 2)->click();
            },
            [expectedSign](Fixture &f) {
                QCOMPARE(f.offset() > 0 ? 1 : f.offset() < 0 ? -1 : 0, expectedSign);
                QCOMPARE(f.size(), expectedSign == 0 ? 12.0 : 8.0);
                for (int option = 0; option < 3; ++option)
                    QCOMPARE(f.control<QAbstractButton>("Option2", option)->isChecked(),
                             option == (expectedSign == 0  ? 0
                                        : expectedSign < 0 ? 1
                                                           : 2));
            }};
}

const std::vector<Row> &rows() {
    static const std::vector<Row> all = {
        {"Fichiers", "Command2", effect::newText()},
        {"Fichiers", "Command3", effect::openText()},
        {"Fichiers", "Command4", effect::saveText()},
        {"Fichiers", "Command5", effect::quit()},
        {"Fichiers", "Command7", effect::cut()},
        {"Fichiers", "Command6", effect::copy()},
        {"Fichiers", "Command8", effect::paste()},
        {"Fichiers", "annule", effect::undo()},
        {"Fichiers", "Command13", effect::find()},
        {"Fichiers", "Command11", effect::insertPicture()},
        {"Fichiers", "Command9", effect::ionFormula()},
        {"Fichiers", "boutonformules", effect::formulas()},
        {"Fichiers", "Command18", effect::print()},

        {"Indices et exposants", "Option2(0)", mode(0)},
        {"Indices et exposants", "Option2(1)", mode(-1)},
        {"Indices et exposants", "Option2(2)", mode(1)},
        {"Indices et exposants",
         "Check3(0)",
         {[](Fixture &f) { f.select(twoAt, 1); },
          [](Fixture &f) {
              QVERIFY(f.offset() > 0);
              QVERIFY(f.control<QAbstractButton>("Option2", 2)->isChecked());
          }}},
        {"Indices et exposants",
         "Check3(1)",
         {[](Fixture &f) { f.select(twoAt, 1); },
          [](Fixture &f) {
              QVERIFY(f.offset() < 0);
              QVERIFY(f.control<QAbstractButton>("Option2", 1)->isChecked());
          }}},

        {"Caractères", "Check1(1)", effect::style(1, 0, 0)},
        {"Caractères", "Check1(2)", effect::style(0, 1, 0)},
        {"Caractères", "Check1(3)", effect::style(0, 0, 1)},
        {"Caractères", "optcoul(0)", colour(QStringLiteral("bleu"))},
        {"Caractères", "optcoul(1)", colour(QStringLiteral("noir"))},
        {"Caractères", "optcoul(2)", colour(QStringLiteral("rouge"))},
        {"Caractères", "optcoul(3)", colour(QStringLiteral("vert"))},
        {"Caractères",
         "Command12",
         {[](Fixture &f) { f.cancelDialog(); },
          [](Fixture &f) { QCOMPARE(f.asked("dialog"), QStringList{"coul|Couleurs"}); }}},
        // Italic in Arial, whatever the font was.
        {"Caractères",
         "Command15",
         {[](Fixture &f) {
              f.select(eauAt, eauLength);
              f.exo.setSelFontName(QStringLiteral("Courier New"));
          },
          [](Fixture &f) {
              QCOMPARE(f.exo.selFontName().value_or(QString()), QStringLiteral("Arial"));
              QVERIFY(f.exo.selItalic().value_or(false));
              QVERIFY(!f.exo.selBold().value_or(true));
          }}},
        {"Caractères", "Option3(0)",
         effect::alignment(RichTextBox::AlignLeft, RichTextBox::AlignRight)},
        {"Caractères", "Option3(1)",
         effect::alignment(RichTextBox::AlignCenter, RichTextBox::AlignLeft)},
        {"Caractères", "Option3(2)",
         effect::alignment(RichTextBox::AlignRight, RichTextBox::AlignLeft)},
        {"Caractères", "bull", effect::bullet()},
    };
    return all;
}

} // namespace

class ToolButtonsTest : public QObject {
    Q_OBJECT

private slots:
    void everyButtonHasItsRow();
    void buttonDoesWhatItsTipSays_data();
    void buttonDoesWhatItsTipSays();
};

void ToolButtonsTest::everyButtonHasItsRow() {
    WindowFixture f;
    QStringList buttons;
    for (const QToolBar *strip : f.window.findChildren<QToolBar *>())
        for (const QAbstractButton *button : strip->findChildren<QAbstractButton *>())
            if (!button->objectName().startsWith(QLatin1String("qt_")))
                buttons << button->objectName();
    QStringList named;
    for (const Row &row : rows())
        named << QLatin1String(row.name);
    buttons.sort();
    named.sort();
    QCOMPARE(named, buttons);
}

void ToolButtonsTest::buttonDoesWhatItsTipSays_data() {
    QTest::addColumn<int>("row");
    for (int i = 0; i < int(rows().size()); ++i)
        QTest::newRow(qPrintable(QStringLiteral("%1 / %2").arg(
            QString::fromUtf8(rows().at(i).strip), QLatin1String(rows().at(i).name))))
            << i;
}

void ToolButtonsTest::buttonDoesWhatItsTipSays() {
    QFETCH(int, row);
    const Row &r = rows().at(row);
    Fixture f;
    if (r.effect.prepare) r.effect.prepare(f);
    QVERIFY2(!QTest::currentTestFailed(), "prepared");
    f.click(QLatin1String(r.name));
    r.effect.check(f);
    if (QTest::currentTestFailed()) return;
    // Nothing was asked that the button's effect did not answer.
    QCOMPARE(f.dialogs.unanswered, 0);
}

QTEST_MAIN(ToolButtonsTest)
#include "toolbuttons_test.moc"
