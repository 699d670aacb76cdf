#include "app/mainwindow.h"
#include "editor/richtextbox.h"
#include "format/indexexponenttools.h"
#include "windowfixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// A window whose text is "H2O" at 12 points, the "2" selected.
class Fixture : public WindowFixture {
public:
    IndexExponentTools &modes = window.modeTools();

    Fixture() {
        exo.setText(QStringLiteral("H2O"));
        select(0, 3);
        exo.setSelFontSize(12);
        select(1, 1);
    }
    void select(int start, int length) {
        exo.setSelStart(start);
        exo.setSelLength(length);
    }
    void choose(int option) { control<QRadioButton>("Option2", option)->click(); }
    double size() const { return exo.selFontSize().value_or(-1); }
    int offset() const { return exo.selCharOffset().value_or(-9999); }
};

class IndexExponentToolsTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::French, QLocale::France)); }
    void offsetArithmetic_data();
    void offsetArithmetic();
    void normalRestoresTheSavedSize();
    void switchesFollowTheOptions();
    void accessKeysApplyToTheNextKey();
    void promptsAcceptOneToTwenty_data();
    void promptsAcceptOneToTwenty();
    void aligningNeedsASelection();
    void aligningWalksTheSelection();
};

void IndexExponentToolsTest::offsetArithmetic_data() {
    QTest::addColumn<bool>("smallSize");
    QTest::addColumn<int>("option");
    QTest::addColumn<double>("size");
    QTest::addColumn<int>("offset");
    QTest::newRow("exponent") << false << 2 << 12.0 << 96;
    QTest::newRow("index") << false << 1 << 12.0 << -60;
    QTest::newRow("small exponent") << true << 2 << 8.0 << 80;
    QTest::newRow("small index") << true << 1 << 8.0 << -50;
}

void IndexExponentToolsTest::offsetArithmetic() {
    QFETCH(bool, smallSize);
    QFETCH(int, option);
    QFETCH(double, size);
    QFETCH(int, offset);
    Fixture f;
    f.window.show();
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    f.control<QAction>(QStringLiteral("check2"))->setChecked(smallSize);
    f.choose(option);
    QCOMPARE(f.size(), size);
    QCOMPARE(f.offset(), offset);
    // Typing goes on in the editor, not on the option button.
    QTRY_VERIFY(f.exo.hasFocus());
}

void IndexExponentToolsTest::normalRestoresTheSavedSize() {
    Fixture f;
    // Normal before any index or exponent leaves the size alone.
    f.choose(0);
    QCOMPARE(f.size(), 12.0);
    f.choose(1); // saves 12, small size: 8
    f.choose(2); // keeps the size saved first
    QCOMPARE(f.size(), 8.0);
    QCOMPARE(f.window.state().taillenormale, 12);
    f.choose(0);
    QCOMPARE(f.size(), 12.0);
    QCOMPARE(f.offset(), 0);
    QVERIFY(!f.modes.taillesauvee());
}

void IndexExponentToolsTest::switchesFollowTheOptions() {
    Fixture f;
    f.control<QCheckBox>("Check3", 0)->click(); // exposant
    QVERIFY(f.control<QRadioButton>("Option2", 2)->isChecked());
    QVERIFY(f.offset() > 0);
    f.control<QCheckBox>("Check3", 1)->click(); // indice: the other box clears
    QVERIFY(f.control<QRadioButton>("Option2", 1)->isChecked());
    QVERIFY(!f.control<QCheckBox>("Check3", 0)->isChecked());
    QVERIFY(f.offset() < 0);
    f.control<QCheckBox>("Check3", 1)->click(); // cleared: back to normal
    QVERIFY(f.control<QRadioButton>("Option2", 0)->isChecked());
    QCOMPARE(f.offset(), 0);
    QCOMPARE(f.size(), 12.0);
}

// Typed at full speed, with no pause after an access key: every key lands in
// the editor, in the mode just chosen.
void IndexExponentToolsTest::accessKeysApplyToTheNextKey() {
    Fixture f;
    f.exo.setText(QString());
    f.window.show();
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    f.exo.setFocus();
    const auto type = [](const QString &keys) {
        for (const QChar key : keys)
            QTest::keyClick(QApplication::focusWidget(), key.toLatin1());
    };
    const auto alt = [](Qt::Key key) {
        QTest::keyClick(QApplication::focusWidget(), key, Qt::AltModifier);
    };
    type(QStringLiteral("Cu"));
    alt(Qt::Key_X);
    type(QStringLiteral("2+"));
    alt(Qt::Key_N);
    type(QStringLiteral(" H"));
    alt(Qt::Key_I);
    type(QStringLiteral("2"));
    alt(Qt::Key_N);
    type(QStringLiteral("O"));
    // The same with the mouse, on the options and on the toolbar's boxes.
    QTest::mouseClick(f.control<QRadioButton>("Option2", 2), Qt::LeftButton);
    type(QStringLiteral("3"));
    QTest::mouseClick(f.control<QCheckBox>("Check3", 1), Qt::LeftButton);
    type(QStringLiteral("4"));
    QCOMPARE(f.exo.text(), QStringLiteral("Cu2+ H2O34"));
    QCOMPARE(QApplication::focusWidget(), &f.exo);
    const QList<int> offsets = {0, 0, 80, 80, 0, 0, -50, 0, 80, -50};
    for (int i = 0; i < offsets.size(); ++i) {
        f.select(i, 1);
        QCOMPARE(f.offset(), offsets.at(i));
    }
}

void IndexExponentToolsTest::promptsAcceptOneToTwenty_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("value"); // 0: refused with the message, -1: nothing at all
    QTest::newRow("one") << "1" << 1;
    QTest::newRow("twenty") << "20" << 20;
    QTest::newRow("decimal comma") << "7,9" << 7;
    QTest::newRow("zero") << "0" << 0;
    QTest::newRow("twenty-one") << "21" << 0;
    QTest::newRow("not a number") << "sept" << 0;
    QTest::newRow("empty") << "" << -1;
}

void IndexExponentToolsTest::promptsAcceptOneToTwenty() {
    QFETCH(QString, answer);
    QFETCH(int, value);
    Fixture f;
    f.choose(2); // the new value applies at once to an exponent
    f.dialogs.inputs = {answer};
    f.modes.decaexp_Click();
    const ScriptedDialogs::Call &prompt = f.dialogs.calls.first();
    QCOMPARE(prompt.text, QStringLiteral("Valeur du décalage (de 1 à 20)"));
    QCOMPARE(prompt.message.title, QStringLiteral("Décalage des exposants"));
    if (value > 0) {
        QCOMPARE(f.modes.udexp(), value);
        QCOMPARE(f.control<QLabel>(QStringLiteral("decexp"))->text(), QString::number(value));
        // Always in proportion to the size, small-size mode or not.
        QCOMPARE(f.offset(), 8 * value);
    } else {
        QCOMPARE(f.modes.udexp(), 8);
    }
    QCOMPARE(f.dialogs.calls.size(), value == 0 ? 2 : 1);
    if (value == 0) {
        QCOMPARE(f.dialogs.last().message.text, QStringLiteral("Intervalle autorisé; [ 1 ; 20 ]"));
        QCOMPARE(f.dialogs.last().message.title, QStringLiteral("Valeur non valide"));
    }
}

void IndexExponentToolsTest::aligningNeedsASelection() {
    Fixture f;
    f.select(1, 0);
    f.modes.toutexpo_Click();
    f.modes.toutindi_Click();
    QCOMPARE(f.dialogs.kinds(), QStringList({"message", "message"}));
    QCOMPARE(f.dialogs.calls.at(0).message.text,
             QStringLiteral("Il faut sélectionner du texte pour pouvoir le formater!"));
    QCOMPARE(f.dialogs.calls.at(1).message.text,
             QStringLiteral("Il faut sélectiooner du texte pour pouvoir le formater!"));
    QCOMPARE(f.dialogs.calls.at(1).message.title, QStringLiteral("Opération impossible"));
    QCOMPARE(f.window.state().typedecalage, 2);
}

void IndexExponentToolsTest::aligningWalksTheSelection() {
    Fixture f;
    f.control<QAction>(QStringLiteral("check2"))->setChecked(false);
    f.choose(2); // "2" raised by 96 twips at 12 points
    f.select(0, 3);
    // OK in the dialog as soon as it shows.
    f.dialogs.dialogAnswers << [](QDialog &dialog) {
        [&] { QCOMPARE(dialog.windowTitle(), QStringLiteral("Modifier les exposants")); }();
        dialog.findChild<QAbstractButton *>(QStringLiteral("Command1"))->click();
        return dialog.result();
    };
    f.modes.toutexpo_Click();
    f.select(1, 1);
    QCOMPARE(f.size(), 8.0);
    QCOMPARE(f.offset(), 64); // 8 x 8 twips, exact through the copy's RTF
    f.select(0, 1);
    QCOMPARE(f.size(), 12.0);
    QCOMPARE(f.offset(), 0);
}

QTEST_MAIN(IndexExponentToolsTest)
#include "indexexponenttools_test.moc"
