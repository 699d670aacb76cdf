#include "searchsupport.h"

#include "base/sharedstate.h"

#include <QTest>

using namespace searchscript;

namespace {

const QString finished = QStringLiteral("Remplacement achevé: Remplacement de %1 par %2 terminé.");

// Replace dialog filled and sent one by one, then the confirmations.
void confirmEach(WindowFixture &f, const QString &text, const QString &by,
                 const QList<const char *> &answers) {
    f.dialogs.dialogAnswers << replacing(text, by, "Command3");
    for (const char *answer : answers)
        f.dialogs.dialogAnswers << clicking(answer);
    f.action("remplace")->trigger();
}

void replaceAll(WindowFixture &f, const QString &text, const QString &by) {
    f.dialogs.dialogAnswers << replacing(text, by, "Command1");
    f.action("remplace")->trigger();
}

int confirmationsShown(const ScriptedDialogs &dialogs) {
    return int(dialogsOpened(dialogs).count(QStringLiteral("Choixremp")));
}

} // namespace

class ReplaceTest : public QObject {
    Q_OBJECT

private slots:
    void allFromTheConfirmationStartsOverIncludingSkipped();
    void skipGoesOnOneCharacterAfterTheMatch();
    void cancelInTheConfirmationStops();
    void replacementContainingTheTextEnds();
    void emptyReplacementDeletes();
    void emptySearchTextIsRefused();
    void absentTextIsReportedOnce();
    void afterTheEndTheFindDialogDoesNotSearchAgain();
    void oneUndoPerReplaceCommand();
    void protectedMatchesAreLeftAlone();
    void selectionCollapsesWhenTheDialogCloses();
    void replacementTakesTheLookOfTheFirstCharacter_data();
    void replacementTakesTheLookOfTheFirstCharacter();
};

void ReplaceTest::allFromTheConfirmationStartsOverIncludingSkipped() {
    WindowFixture f;
    f.exo.setText(QStringLiteral("a1 a2 a3"));
    confirmEach(f, QStringLiteral("a"), QStringLiteral("b"), {"Command2", "Command4"});
    QCOMPARE(f.exo.text(), QStringLiteral("b1 b2 b3"));
    QCOMPARE(confirmationsShown(f.dialogs), 2);
    QCOMPARE(messagesShown(f.dialogs), QStringList{finished.arg("a", "b")});
    QCOMPARE(f.window.state().remplacementencours, 1);
    QCOMPARE(f.window.state().remplacant, QStringLiteral("b"));
}

void ReplaceTest::skipGoesOnOneCharacterAfterTheMatch() {
    WindowFixture f;
    f.exo.setText(QStringLiteral("aaa"));
    QList<int> offered;
    f.dialogs.dialogAnswers << replacing(QStringLiteral("aa"), QStringLiteral("b"), "Command3");
    // "&Sauter", then the window's frame, which skips as well.
    for (const bool byFrame : {false, true})
        f.dialogs.dialogAnswers << [&f, &offered, byFrame](QDialog &dialog) {
            offered << f.exo.selStart();
            if (byFrame) {
                dialog.show();
                dialog.close();
            } else {
                click(dialog, "Command2");
            }
            return dialog.result();
        };
    f.action("remplace")->trigger();
    // The overlapping match at 1 is offered too.
    QCOMPARE(offered, QList<int>({0, 1}));
    QCOMPARE(f.exo.text(), QStringLiteral("aaa"));
    QCOMPARE(messagesShown(f.dialogs), QStringList{finished.arg("aa", "b")});
}

void ReplaceTest::cancelInTheConfirmationStops() {
    WindowFixture f;
    f.exo.setText(QStringLiteral("a a a"));
    confirmEach(f, QStringLiteral("a"), QStringLiteral("b"), {"Command1", "Command3"});
    QCOMPARE(f.exo.text(), QStringLiteral("b a a"));
    QCOMPARE(confirmationsShown(f.dialogs), 2);
    QVERIFY(messagesShown(f.dialogs).isEmpty());
    QCOMPARE(f.window.state().positionrecherche, 0);
    QCOMPARE(f.window.state().remplacementencours, 0);
}

void ReplaceTest::replacementContainingTheTextEnds() {
    {
        WindowFixture f;
        f.exo.setText(QStringLiteral("x y x"));
        replaceAll(f, QStringLiteral("x"), QStringLiteral("xx"));
        QCOMPARE(f.exo.text(), QStringLiteral("xx y xx"));
        QCOMPARE(messagesShown(f.dialogs), QStringList{finished.arg("x", "xx")});
    }
    {
        // Every offer replaced: each x of the text is offered once, the
        // ones just inserted never.
        WindowFixture f;
        f.exo.setText(QStringLiteral("x y x"));
        confirmEach(f, QStringLiteral("x"), QStringLiteral("xx"),
                    {"Command1", "Command1", "Command1", "Command1"});
        QCOMPARE(f.exo.text(), QStringLiteral("xx y xx"));
        QCOMPARE(confirmationsShown(f.dialogs), 2);
        QCOMPARE(messagesShown(f.dialogs), QStringList{finished.arg("x", "xx")});
    }
}

void ReplaceTest::emptyReplacementDeletes() {
    {
        WindowFixture f;
        f.exo.setText(QStringLiteral("a-b-c"));
        replaceAll(f, QStringLiteral("-"), QString());
        QCOMPARE(f.exo.text(), QStringLiteral("abc"));
        QCOMPARE(messagesShown(f.dialogs), QStringList{finished.arg("-", "")});
    }
    {
        // A deletion at 0 is still a replacement, not a cancel.
        WindowFixture f;
        f.exo.setText(QStringLiteral("-a-b"));
        confirmEach(f, QStringLiteral("-"), QString(), {"Command1", "Command1"});
        QCOMPARE(f.exo.text(), QStringLiteral("ab"));
        QCOMPARE(messagesShown(f.dialogs), QStringList{finished.arg("-", "")});
    }
}

void ReplaceTest::emptySearchTextIsRefused() {
    for (const char *button : {"Command1", "Command3"}) {
        WindowFixture f;
        f.exo.setText(QStringLiteral("abc"));
        bool stayedOpen = false;
        f.dialogs.dialogAnswers << [&](QDialog &dialog) {
            type(dialog, "Text1", QString());
            click(dialog, button);
            stayedOpen = dialog.result() == 0;
            click(dialog, "Command2");
            return dialog.result();
        };
        f.action("remplace")->trigger();
        QVERIFY(stayedOpen);
        QCOMPARE(messagesShown(f.dialogs),
                 QStringList{"Remplacement impossible: Il faut saisir une chaîne à remplacer"});
        QCOMPARE(f.dialogs.calls.at(1).message.icon, MessageIcon::Critical);
        QCOMPARE(f.exo.text(), QStringLiteral("abc"));
    }
}

void ReplaceTest::absentTextIsReportedOnce() {
    for (const char *button : {"Command1", "Command3"}) {
        WindowFixture f;
        f.exo.setText(QStringLiteral("abc"));
        f.dialogs.dialogAnswers << replacing(QStringLiteral("zz"), QStringLiteral("y"), button);
        f.action("remplace")->trigger();
        QCOMPARE(messagesShown(f.dialogs),
                 QStringList{"Texte introuvable: Impossible de trouver zz"});
        QCOMPARE(f.window.state().remplacementencours, 1);
        QCOMPARE(f.exo.text(), QStringLiteral("abc"));
    }
}

void ReplaceTest::afterTheEndTheFindDialogDoesNotSearchAgain() {
    for (const char *button : {"Command1", "Command3"}) {
        WindowFixture f;
        f.exo.setText(QStringLiteral("un deux un"));
        f.dialogs.dialogAnswers << clicking("Command3");
        f.dialogs.dialogAnswers << replacing(QStringLiteral("un"), QStringLiteral("trois"), button);
        f.dialogs.dialogAnswers << clicking("Command1") << clicking("Command1");
        f.action("rechercher")->trigger();
        QCOMPARE(f.exo.text(), QStringLiteral("trois deux trois"));
        QCOMPARE(messagesShown(f.dialogs), QStringList{finished.arg("un", "trois")});
        QCOMPARE(f.dialogs.kinds().last(), QStringLiteral("message"));
        // No find next: the caret stays where the dialog left it.
        QCOMPARE(f.exo.selLength(), 0);
    }
}

void ReplaceTest::oneUndoPerReplaceCommand() {
    WindowFixture f;
    f.window.show();
    const QString before = QStringLiteral("le chat, le chat et le chat");
    f.exo.setText(before);
    f.exo.document()->clearUndoRedoStacks();
    f.window.state().sauvegarde = 1;
    replaceAll(f, QStringLiteral("chat"), QStringLiteral("chien"));
    QCOMPARE(f.exo.text(), QStringLiteral("le chien, le chien et le chien"));
    QCOMPARE(f.window.state().sauvegarde, 0);
    QTest::keyClick(&f.exo, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f.exo.text(), before);

    // Each confirmed replacement is its own step.
    confirmEach(f, QStringLiteral("chat"), QStringLiteral("chien"),
                {"Command1", "Command2", "Command1"});
    QCOMPARE(f.exo.text(), QStringLiteral("le chien, le chat et le chien"));
    QTest::keyClick(&f.exo, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f.exo.text(), QStringLiteral("le chien, le chat et le chat"));
}

void ReplaceTest::protectedMatchesAreLeftAlone() {
    const auto protectedMiddle = [](WindowFixture &f, const QString &text, int from, int length) {
        f.exo.setText(text);
        f.select(from, length);
        f.exo.setSelProtected(true);
        f.select(0, 0);
    };
    {
        WindowFixture f;
        protectedMiddle(f, QStringLiteral("a [a] a"), 2, 3);
        replaceAll(f, QStringLiteral("a"), QStringLiteral("b"));
        QCOMPARE(f.exo.text(), QStringLiteral("b [a] b"));
        QCOMPARE(messagesShown(f.dialogs), QStringList{finished.arg("a", "b")});
    }
    {
        WindowFixture f;
        protectedMiddle(f, QStringLiteral("a [a] a"), 2, 3);
        confirmEach(f, QStringLiteral("a"), QStringLiteral("b"), {"Command1", "Command1"});
        QCOMPARE(f.exo.text(), QStringLiteral("b [a] b"));
        QCOMPARE(confirmationsShown(f.dialogs), 2);
    }
    for (const char *button : {"Command1", "Command3"}) {
        // Nothing replaced: no word of an end, but why nothing changed.
        WindowFixture f;
        protectedMiddle(f, QStringLiteral("x [a] y"), 2, 3);
        f.dialogs.dialogAnswers << replacing(QStringLiteral("a"), QStringLiteral("b"), button);
        f.action("remplace")->trigger();
        QCOMPARE(f.exo.text(), QStringLiteral("x [a] y"));
        QCOMPARE(confirmationsShown(f.dialogs), 0);
        QCOMPARE(messagesShown(f.dialogs),
                 QStringList{"Remplacement impossible: Aucun remplacement n'a été fait : chaque "
                             "a trouvé est dans du texte protégé en écriture."});
        QCOMPARE(f.window.state().remplacementencours, 1);
    }
}

void ReplaceTest::selectionCollapsesWhenTheDialogCloses() {
    WindowFixture f;
    f.exo.setText(QStringLiteral("un deux trois"));
    f.select(3, 4);
    QString proposed;
    f.dialogs.dialogAnswers << [&](QDialog &dialog) {
        proposed = fieldText(dialog, "Text1");
        QTest::keyClick(&dialog, Qt::Key_Escape);
        return dialog.result();
    };
    f.action("remplace")->trigger();
    QCOMPARE(proposed, QStringLiteral("deux"));
    QCOMPARE(f.exo.selStart(), 3);
    QCOMPARE(f.exo.selLength(), 0);
    QVERIFY(f.window.state().chaine.isEmpty());
}

void ReplaceTest::replacementTakesTheLookOfTheFirstCharacter_data() {
    QTest::addColumn<QList<const char *>>("answers"); // none: "Remplacer tout"
    QTest::addColumn<int>("undoSteps");
    QTest::newRow("each confirmed") << QList<const char *>{"Command1", "Command1"} << 2;
    QTest::newRow("all from the confirmation") << QList<const char *>{"Command4"} << 1;
    QTest::newRow("all") << QList<const char *>{} << 1;
}

// "m2" with its 2 raised, its m red, becomes a red "cm" on the line; undoing
// brings the raised 2 back, and Qt has nothing to say about the positions.
void ReplaceTest::replacementTakesTheLookOfTheFirstCharacter() {
    QFETCH(QList<const char *>, answers);
    QFETCH(int, undoSteps);
    WindowFixture f;
    f.window.show();
    f.exo.setText(QStringLiteral("Une aire en m2. Une autre aire en m2 aussi, bien plus grande."));
    for (const int at : {12, 34}) {
        f.select(at, 1);
        f.exo.setSelColor(0xC00000);
        f.select(at + 1, 1);
        f.exo.setSelCharOffset(100);
    }
    f.exo.document()->clearUndoRedoStacks();
    const QByteArray before = f.exo.textRTF();
    if (answers.isEmpty())
        replaceAll(f, QStringLiteral("m2"), QStringLiteral("cm"));
    else
        confirmEach(f, QStringLiteral("m2"), QStringLiteral("cm"), answers);
    QCOMPARE(f.exo.text(),
             QStringLiteral("Une aire en cm. Une autre aire en cm aussi, bien plus grande."));
    for (const int at : {12, 34}) {
        f.select(at, 2);
        QCOMPARE(f.exo.selCharOffset().value_or(-1), 0);
        QCOMPARE(f.exo.selColor().value_or(0), QRgb(0xC00000));
    }
    f.select(f.exo.text().size(), 0);
    for (int step = 0; step < undoSteps; ++step)
        QTest::keyClick(&f.exo, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f.exo.textRTF(), before);
}

QTEST_MAIN(ReplaceTest)
#include "replace_test.moc"
