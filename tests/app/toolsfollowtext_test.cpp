#include "editor/textfiles.h"
#include "format/charactertools.h"
#include "paragraph/ruler.h"
#include "windowfixture.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTextBlock>
#include <QTextList>
#include <QToolButton>

namespace {

// A red, bold, 14-point, centred title indented by 2 cm (1146 twips), then a
// plain paragraph.
const QByteArray titledText = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}"
                              "{\\colortbl ;\\red200\\green0\\blue0;}"
                              "\\pard\\qc\\li1146\\f0\\fs28\\cf1\\b Titre\\par"
                              "\\pard\\li0\\fs20\\cf0\\b0 suite\\par}";

// The window shown with an exercise whose statement and correction both
// start with that title, the editor showing a plain text of its own.
class Fixture : public WindowFixture {
public:
    QString statement = root + QStringLiteral("enonce.rtf");
    QString correction = root + QStringLiteral("corrige.rtf");

    Fixture() {
        write(statement, titledText);
        write(correction, titledText);
        QAction *textexo = action("textexo");
        QAction *textcor = action("textcor");
        window.textFiles().setTextPath(TextFiles::Text::Statement, statement);
        window.textFiles().setTextPath(TextFiles::Text::Correction, correction);
        textexo->setVisible(true);
        textcor->setVisible(true);
        control<RichTextBox>(QStringLiteral("sujetampon"))->loadFile(statement);
        control<RichTextBox>(QStringLiteral("corectampon"))->loadFile(correction);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window)) qFatal("The window does not show");
        exo.setFocus();
    }

    // The editor on a plain paragraph, the tools showing it.
    void showPlainText() {
        exo.setTextRTF("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\pard\\li0\\f0\\fs20 avant\\par}");
        window.state().nomfichier = statement;
        window.state().sauvegarde = 1;
        select(2, 0);
    }
    static void write(const QString &path, const QByteArray &bytes) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
    }
};

using Switch = void (*)(Fixture &);

} // namespace

class ToolsFollowTextTest : public QObject {
    Q_OBJECT

private slots:
    void toolsShowTheTextShown_data();
    void toolsShowTheTextShown();
    void bulletButtonFollowsTheParagraph_data();
    void bulletButtonFollowsTheParagraph();
    void colourLabelTakesTheChosenColour_data();
    void colourLabelTakesTheChosenColour();
};

void ToolsFollowTextTest::toolsShowTheTextShown_data() {
    QTest::addColumn<Switch>("showTitledText");
    QTest::newRow("correction link")
        << Switch([](Fixture &f) { f.window.textFiles().showCorrection(); });
    QTest::newRow("Exercice menu") << Switch([](Fixture &f) {
        f.action("az51")->setEnabled(true);
        f.action("az51")->trigger();
    });
    QTest::newRow("back to the statement") << Switch([](Fixture &f) {
        f.window.textFiles().showCorrection();
        f.control<RichTextBox>(QStringLiteral("sujetampon"))->setTextRTF(titledText);
        f.select(int(f.exo.text().indexOf(QLatin1String("suite"))), 0);
        QCOMPARE(f.control<QLineEdit>(QStringLiteral("taille"))->text(), QStringLiteral("10"));
        f.window.textFiles().showStatement();
    });
    QTest::newRow("reload") << Switch([](Fixture &f) { f.action("textexo")->trigger(); });
    QTest::newRow("open") << Switch(
        [](Fixture &f) { f.window.textFiles().openText(f.correction); });
}

void ToolsFollowTextTest::toolsShowTheTextShown() {
    QFETCH(Switch, showTitledText);
    Fixture f;
    f.showPlainText();
    auto *taille = f.control<QLineEdit>(QStringLiteral("taille"));
    auto *bold = f.control<QToolButton>("Check1", 1);
    auto *cotext = f.control<QLabel>(QStringLiteral("cotext"));
    QCOMPARE(taille->text(), QStringLiteral("10"));
    QVERIFY(!bold->isChecked());
    QCOMPARE(f.window.ruler()->gaucheWidthCm(), 0.0);

    showTitledText(f);
    QCOMPARE(f.exo.selStart(), 0);
    QCOMPARE(taille->text(), QStringLiteral("14"));
    QVERIFY(bold->isChecked());
    QVERIFY(f.control<QRadioButton>("optcoul", 2)->isChecked());
    QCOMPARE(cotext->palette().color(QPalette::WindowText), QColor(200, 0, 0));
    QVERIFY(f.control<QToolButton>("Option3", 1)->isChecked());
    QVERIFY(qAbs(f.window.ruler()->gaucheWidthCm() - 2.0) < 0.1);
}

void ToolsFollowTextTest::bulletButtonFollowsTheParagraph_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("byMenu");
    QTest::addColumn<QList<QKeyCombination>>("keysAfter"); // what takes the bullet away
    const QList<QKeyCombination> undo{QKeyCombination(Qt::ControlModifier, Qt::Key_Z)};
    QTest::newRow("Ctrl+Z") << QStringLiteral("un\ndeux") << false << undo;
    QTest::newRow("Ctrl+Z, bullet from the menu") << QStringLiteral("un\ndeux") << true << undo;
    QTest::newRow("Ctrl+Z in an empty text") << QString() << false << undo;
    QTest::newRow("Ctrl+Z on an empty paragraph") << QStringLiteral("un\n") << false << undo;
    QTest::newRow("Ctrl+Z twice, after typing")
        << QStringLiteral("un\ndeux") << false
        << QList<QKeyCombination>{QKeyCombination(Qt::Key_X), undo[0], undo[0]};
    // The caret stays where it is: no selection change tells the tools.
    QTest::newRow("Backspace at the paragraph's start")
        << QStringLiteral("un\ndeux") << false
        << QList<QKeyCombination>{QKeyCombination(Qt::Key_Home),
                                  QKeyCombination(Qt::Key_Backspace)};
    QTest::newRow("Return on an empty bulleted paragraph")
        << QStringLiteral("un\ndeux") << false
        << QList<QKeyCombination>{QKeyCombination(Qt::Key_Return), QKeyCombination(Qt::Key_Return)};
}

void ToolsFollowTextTest::bulletButtonFollowsTheParagraph() {
    QFETCH(QString, typed);
    QFETCH(bool, byMenu);
    QFETCH(QList<QKeyCombination>, keysAfter);
    Fixture f;
    auto *bull = f.control<QToolButton>(QStringLiteral("bull"));
    QAction *bull2 = f.action("bull2");
    for (const QChar c : typed) {
        if (c == QLatin1Char('\n'))
            QTest::keyClick(&f.exo, Qt::Key_Return);
        else
            QTest::keyClicks(&f.exo, QString(c));
    }
    if (byMenu)
        bull2->trigger();
    else
        QTest::mouseClick(bull, Qt::LeftButton);
    QVERIFY(f.exo.selBullet().value_or(false));
    QVERIFY(bull->isChecked());

    for (const QKeyCombination key : keysAfter)
        QTest::keyClick(&f.exo, key.key(), key.keyboardModifiers());
    QVERIFY(!f.exo.selBullet().value_or(true));
    QVERIFY(!bull->isChecked());
    QVERIFY(!bull2->isChecked());
    // Wherever the caret goes, the button and the menu mark say what is there.
    for (const Qt::Key key : {Qt::Key_Up, Qt::Key_Down, Qt::Key_Z}) {
        QTest::keyClick(&f.exo, key, key == Qt::Key_Z ? Qt::ControlModifier : Qt::NoModifier);
        QCOMPARE(bull->isChecked(), f.exo.selBullet().value_or(false));
        QCOMPARE(bull2->isChecked(), f.exo.selBullet().value_or(false));
    }
}

void ToolsFollowTextTest::colourLabelTakesTheChosenColour_data() {
    QTest::addColumn<int>("option");
    QTest::addColumn<int>("selectedChars");
    QTest::addColumn<bool>("focusStays");
    for (int option = 0; option < 4; ++option) {
        QTest::addRow("optcoul(%d), caret", option) << option << 0 << false;
        QTest::addRow("optcoul(%d), selection", option) << option << 3 << false;
        // A click that leaves the focus in the text: no focus comes back to
        // the editor to refresh the tools.
        QTest::addRow("optcoul(%d), caret, focus in the text", option) << option << 0 << true;
        QTest::addRow("optcoul(%d), selection, focus in the text", option) << option << 3 << true;
    }
}

void ToolsFollowTextTest::colourLabelTakesTheChosenColour() {
    QFETCH(int, option);
    QFETCH(int, selectedChars);
    QFETCH(bool, focusStays);
    Fixture f;
    f.exo.setText(QStringLiteral("des mots"));
    f.exo.selectAll();
    f.exo.setSelColor(qRgb(120, 60, 200));
    f.select(4, selectedChars);
    auto *cotext = f.control<QLabel>(QStringLiteral("cotext"));
    QCOMPARE(cotext->palette().color(QPalette::WindowText), QColor(120, 60, 200));

    auto *button = f.control<QRadioButton>("optcoul", option);
    if (focusStays) {
        button->setFocusPolicy(Qt::TabFocus);
        QVERIFY(f.exo.hasFocus());
    }
    QTest::mouseClick(button, Qt::LeftButton);
    const QColor chosen = QColor(CharacterTools::writingColours.at(option));
    QCOMPARE(QColor(*f.exo.selColor()), chosen);
    QCOMPARE(cotext->palette().color(QPalette::WindowText), chosen);
    QVERIFY(button->isChecked());
}

QTEST_MAIN(ToolsFollowTextTest)
#include "toolsfollowtext_test.moc"
