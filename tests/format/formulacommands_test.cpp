#include "document/textproperties.h"
#include "windowfixture.h"

#include <QAbstractButton>
#include <QTest>
#include <QTextBlock>

namespace {

// The window shown; what is typed goes through real keys.
class Fixture : public ShownWindowFixture {
public:
    void type(const QString &keys) { QTest::keyClicks(&exo, keys); }
    void undo() { QTest::keyClick(&exo, Qt::Key_Z, Qt::ControlModifier); }
    // Each character of the text with its offset: "H2O" with an index is
    // "H 2- O": "-" lowered, "+" raised, "|" a picture.
    QString levels() const {
        QString out;
        const QString text = exo.text();
        for (int i = 0; i < text.size(); ++i) {
            QTextCursor cursor(exo.document());
            cursor.setPosition(i + 1);
            const QTextCharFormat format = cursor.charFormat();
            if (format.isImageFormat()) {
                out += QLatin1Char('|');
                continue;
            }
            const int offset = textprops::offsetTwips(format);
            out += text.at(i);
            if (offset != 0) out += QLatin1Char(offset < 0 ? '-' : '+');
        }
        return out;
    }
};

} // namespace

class FormulaCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void anEquationSelectedIsFormattedInOneStep();
    void typedFormulasAreFormattedAsTheirWordEnds();
    void formattedAsTypedWithTheModes();
    void protectedTextStaysAsItIs();
};

void FormulaCommandsTest::anEquationSelectedIsFormattedInOneStep() {
    Fixture f;
    const QString equation = QStringLiteral("CH3COO- + H3O+ <=> CH3COOH + H2O");
    f.type(QStringLiteral("Soit ") + equation);
    const QString plain = f.levels();
    f.select(5, int(equation.size()));
    f.action("formules")->trigger();
    QCOMPARE(f.levels(), QStringLiteral("Soit CH3-COO-+ + H3-O++ | CH3-COOH + H2-O"));
    // The selection stays on the equation.
    QCOMPARE(f.exo.selStart(), 5);
    QCOMPARE(f.exo.selLength(), int(equation.size()) - 2);
    f.undo();
    QCOMPARE(f.exo.text(), QStringLiteral("Soit ") + equation);
    QCOMPARE(f.levels(), plain);
}

void FormulaCommandsTest::typedFormulasAreFormattedAsTheirWordEnds() {
    Fixture f;
    // Off at start: words stay as typed.
    QVERIFY(!f.action("formulesauto")->isChecked());
    f.type(QStringLiteral("H2O "));
    QCOMPARE(f.levels(), QStringLiteral("H2O "));
    f.action("formulesauto")->trigger();
    f.type(QStringLiteral("H2O "));
    QCOMPARE(f.levels(), QStringLiteral("H2O H2-O "));
    // The next undo takes back the formatting only.
    f.undo();
    QCOMPARE(f.levels(), QStringLiteral("H2O H2O "));
    f.type(QStringLiteral("A4 Cu2+,"));
    QCOMPARE(f.levels(), QStringLiteral("H2O H2O A4 Cu2+++,"));
    QTest::keyClick(&f.exo, Qt::Key_Return);
    f.type(QStringLiteral("m.s-2"));
    QTest::keyClick(&f.exo, Qt::Key_Tab);
    QCOMPARE(f.exo.document()->lastBlock().text(), QStringLiteral("m·s-2\t"));
    QCOMPARE(f.levels().section(QLatin1Char('\n'), 1), QStringLiteral("m·s-+2+\t"));
    // The caret stays after what was typed.
    QCOMPARE(f.exo.selStart(), int(f.exo.text().size()));
}

// The command gives the runs typing with the modes gives: same offsets, same
// sizes, the same RTF, with small characters and without.
void FormulaCommandsTest::formattedAsTypedWithTheModes() {
    for (bool small : {true, false}) {
        QByteArray byModes;
        {
            Fixture f;
            if (!small) f.action("check2")->trigger();
            f.type(QStringLiteral("SO"));
            f.control<QAbstractButton>("Option2", 1)->click();
            f.type(QStringLiteral("4"));
            f.control<QAbstractButton>("Option2", 2)->click();
            f.type(QStringLiteral("2-"));
            byModes = f.exo.textRTF();
        }
        Fixture f;
        if (!small) f.action("check2")->trigger();
        f.type(QStringLiteral("SO42-"));
        f.action("formules")->trigger();
        QCOMPARE(f.exo.textRTF(), byModes);
    }
}

void FormulaCommandsTest::protectedTextStaysAsItIs() {
    Fixture f;
    f.type(QStringLiteral("H2O et CO2"));
    f.select(0, 3);
    f.exo.setSelProtected(true);
    f.select(0, int(f.exo.text().size()));
    f.control<QAbstractButton>(QStringLiteral("boutonformules"))->click();
    QCOMPARE(f.levels(), QStringLiteral("H2O et CO2-"));
}

QTEST_MAIN(FormulaCommandsTest)
#include "formulacommands_test.moc"
