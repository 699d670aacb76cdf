#include "searchsupport.h"

#include "base/sharedstate.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTest>

using namespace searchscript;

class FindTest : public QObject {
    Q_OBJECT

private slots:
    void proposesTheSelectedWordAndFindsItInTheSelection();
    void anotherTextInTheSelectionIsNotFound();
    void optionsComeBackWithTheDialog();
    void cancelForgetsTheText();
    void findNextWrapsOnceThenStartsOverAfterAFailure();
    void findNextOnF3WhereverTheFocusIs();
    void noCaptionIsCut();
};

void FindTest::proposesTheSelectedWordAndFindsItInTheSelection() {
    WindowFixture f;
    f.exo.setText(QStringLiteral("le chat et le chat noir"));
    f.select(14, 4);
    int foundAt = -1;
    QString proposed;
    f.dialogs.dialogAnswers << [&](QDialog &dialog) {
        proposed = fieldText(dialog, "Text1");
        click(dialog, "Command1");
        foundAt = f.exo.selStart();
        return dialog.result();
    };
    f.control<QAbstractButton>(QStringLiteral("Command13"))->click();
    QCOMPARE(dialogsOpened(f.dialogs), QStringList{"Chercher"});
    QCOMPARE(f.dialogs.calls.first().message.title, QStringLiteral("Rechercher"));
    QCOMPARE(proposed, QStringLiteral("chat"));
    QCOMPARE(foundAt, 14);
    QCOMPARE(f.window.state().chaine, QStringLiteral("chat"));
    // Find next follows at once, from the position it last stored plus
    // one: 1 since the start, so the first "chat" of the text.
    QCOMPARE(f.exo.selStart(), 3);
    QCOMPARE(f.exo.selLength(), 4);
    QCOMPARE(f.window.state().positionrecherche, 3);
    QVERIFY(messagesShown(f.dialogs).isEmpty());
}

void FindTest::anotherTextInTheSelectionIsNotFound() {
    WindowFixture f;
    f.exo.setText(QStringLiteral("alpha beta alpha"));
    f.select(6, 4);
    bool stayedOpen = false;
    f.dialogs.dialogAnswers << [&](QDialog &dialog) {
        type(dialog, "Text1", QStringLiteral("alpha"));
        click(dialog, "Command1");
        stayedOpen = dialog.result() == 0;
        click(dialog, "Command2");
        return dialog.result();
    };
    f.action("rechercher")->trigger();
    QVERIFY(stayedOpen);
    QCOMPARE(messagesShown(f.dialogs),
             QStringList{"Texte introuvable: Impossible de trouver alpha"});
    QCOMPARE(f.dialogs.calls.at(1).message.buttons, MessageButtons::Ok);
    // Nothing outside the selection was taken.
    QCOMPARE(f.exo.selStart(), 6);
    QCOMPARE(f.exo.selLength(), 4);
}

void FindTest::optionsComeBackWithTheDialog() {
    WindowFixture f;
    f.exo.setText(QStringLiteral("Chat chat chats"));
    f.select(0, 0);
    f.dialogs.dialogAnswers << [](QDialog &dialog) {
        type(dialog, "Text1", QStringLiteral("chat"));
        dialog.findChild<QCheckBox *>(QStringLiteral("Check1"))->click();
        dialog.findChild<QCheckBox *>(QStringLiteral("Check2"))->click();
        click(dialog, "Command1");
        return dialog.result();
    };
    bool matchCase = false;
    bool wholeWord = false;
    QString proposed;
    f.dialogs.dialogAnswers << [&](QDialog &dialog) {
        matchCase = dialog.findChild<QCheckBox *>(QStringLiteral("Check1"))->isChecked();
        wholeWord = dialog.findChild<QCheckBox *>(QStringLiteral("Check2"))->isChecked();
        proposed = fieldText(dialog, "Text1");
        click(dialog, "Command2");
        return dialog.result();
    };
    f.action("rechercher")->trigger();
    QCOMPARE(f.window.state().optionsrecherche, 6);
    // Only the lower-case whole word matches.
    QCOMPARE(f.exo.selStart(), 5);
    f.select(f.exo.selStart(), 0);
    f.action("rechercher")->trigger();
    QVERIFY(matchCase);
    QVERIFY(wholeWord);
    QCOMPARE(proposed, QStringLiteral("chat"));
}

void FindTest::cancelForgetsTheText() {
    for (const bool byEscape : {false, true}) {
        WindowFixture f;
        f.exo.setText(QStringLiteral("ab cd ab"));
        f.select(4, 0);
        f.window.state().chaine = QStringLiteral("ab");
        f.dialogs.dialogAnswers << [byEscape](QDialog &dialog) {
            if (byEscape)
                QTest::keyClick(&dialog, Qt::Key_Escape);
            else
                click(dialog, "Command2");
            return dialog.result();
        };
        f.action("rechercher")->trigger();
        QVERIFY(f.window.state().chaine.isEmpty());
        // No find next after the dialog: the caret stays.
        QCOMPARE(f.exo.selStart(), 4);
        QCOMPARE(f.exo.selLength(), 0);
        QVERIFY(messagesShown(f.dialogs).isEmpty());
    }
}

void FindTest::findNextWrapsOnceThenStartsOverAfterAFailure() {
    WindowFixture f;
    SharedState &state = f.window.state();
    f.exo.setText(QStringLiteral("ab cd ab"));
    state.chaine = QStringLiteral("ab");
    state.positionrecherche = 6;
    // Nothing after the last match: round to the first, at 0.
    f.action("contrech")->trigger();
    QCOMPARE(f.exo.selStart(), 0);
    QCOMPARE(state.positionrecherche, 0);
    f.action("contrech")->trigger();
    QCOMPARE(f.exo.selStart(), 6);

    state.chaine = QStringLiteral("zz");
    f.action("contrech")->trigger();
    QCOMPARE(messagesShown(f.dialogs), QStringList{"Texte introuvable: Impossible de trouver zz"});
    QCOMPARE(state.positionrecherche, -1);

    // After the failure the search starts at 0 again, not behind the
    // last match.
    state.chaine = QStringLiteral("ab");
    f.select(7, 0);
    f.action("contrech")->trigger();
    QCOMPARE(f.exo.selStart(), 0);
    QCOMPARE(f.exo.selLength(), 2);
    QCOMPARE(messagesShown(f.dialogs).size(), 1);
}

void FindTest::findNextOnF3WhereverTheFocusIs() {
    WindowFixture f;
    f.window.show();
    QApplication::setActiveWindow(&f.window);
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    f.exo.setText(QStringLiteral("un deux un deux un"));
    f.window.state().chaine = QStringLiteral("deux");
    f.exo.setFocus();
    QTest::keyClick(&f.exo, Qt::Key_F3);
    QCOMPARE(f.exo.selStart(), 3);
    QCOMPARE(f.exo.selLength(), 4);

    auto *fontList = f.control<QComboBox>(QStringLiteral("Combo1"));
    fontList->setFocus();
    QTest::keyClick(fontList, Qt::Key_F3);
    QCOMPARE(f.exo.selStart(), 11);
    QCOMPARE(f.window.state().positionrecherche, 11);
}

// Every caption shows whole, whatever the font: each button, check box and
// frame holds its text, and the window holds each of them.
void FindTest::noCaptionIsCut() {
    WindowFixture f;
    f.exo.setText(QStringLiteral("x"));
    f.select(0, 1);
    QStringList captions;
    const auto inspect = [&captions](QDialog &dialog) {
        for (const QAbstractButton *button : dialog.findChildren<QAbstractButton *>()) {
            captions << dialog.objectName() + QLatin1Char(':') + button->text();
            if (button->sizeHint().width() > button->width())
                qWarning("%s: %s is cut", qPrintable(dialog.objectName()),
                         qPrintable(button->text()));
            QVERIFY(button->sizeHint().width() <= button->width());
            const QRect inDialog(button->mapTo(&dialog, QPoint(0, 0)), button->size());
            QVERIFY(dialog.rect().contains(inDialog));
        }
        for (const QWidget *child : dialog.findChildren<QWidget *>())
            if (child->parentWidget() == &dialog)
                QVERIFY(dialog.rect().contains(child->geometry()));
    };
    f.dialogs.dialogAnswers << [&](QDialog &dialog) {
        inspect(dialog);
        click(dialog, "Command3");
        return dialog.result();
    };
    f.dialogs.dialogAnswers << [&](QDialog &dialog) {
        inspect(dialog);
        click(dialog, "Command3");
        return dialog.result();
    };
    f.dialogs.dialogAnswers << [&](QDialog &dialog) {
        inspect(dialog);
        click(dialog, "Command3");
        return dialog.result();
    };
    f.action("rechercher")->trigger();
    QCOMPARE(dialogsOpened(f.dialogs), QStringList({"Chercher", "remplaceur", "Choixremp"}));
    QCOMPARE(captions,
             QStringList(
                 {"Chercher:Rechercher mot entier", "Chercher:Différencier Majuscules / Minuscules",
                  "Chercher:&Rechercher", "Chercher:&Annuler", "Chercher:Remplacer",
                  "remplaceur:Différencier Majuscules / Minuscules", "remplaceur:Mot entier",
                  "remplaceur:&Remplacer", "remplaceur:Remplacer &tout", "remplaceur:&Annuler",
                  "Choixremp:&Remplacer", "Choixremp:&Sauter", "Choixremp:&Annuler",
                  "Choixremp:Remplacer &tout"}));
}

QTEST_MAIN(FindTest)
#include "find_test.moc"
