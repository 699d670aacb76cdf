#include "app/mainwindow.h"
#include "editor/richtextbox.h"
#include "editor/textfiles.h"
#include "exercise/exercisecommands.h"
#include "exercisefile/recapfile.h"
#include "filebytes.h"
#include "rtffiles.h"
#include "windowfixture.h"

#include <QTest>

#include <sys/stat.h>

namespace {

enum class Shown { Statement, CorrectionInItsBuffer, OtherFile };

} // namespace

Q_DECLARE_METATYPE(Shown)

// An exercise opened from its recap file, its statement shown; another text
// beside it.
class OpenExercise : public WindowFixture {
public:
    QString statement = root + QStringLiteral("enonce.rtf");
    QString correction = root + QStringLiteral("corrige.rtf");
    QString other = root + QStringLiteral("autre.rtf");
    TextFiles &files = window.textFiles();

    OpenExercise() {
        writeRtf(statement, QStringLiteral("énoncé"));
        writeRtf(correction, QStringLiteral("corrigé"));
        writeRtf(other, QStringLiteral("autre"));
        recap::Fields fields;
        fields.files = {QStringLiteral("enonce.rtf"), QString(), QStringLiteral("corrige.rtf"),
                        QString()};
        QVERIFY(recap::onenregistre(root + QStringLiteral("exo.E51"), fields));
        QVERIFY(window.exercise().openExerciseFile(root + QStringLiteral("exo.E51")));
    }
    // Types into the text shown, as the teacher does.
    void type(const QString &text) {
        exo.moveCursor(QTextCursor::End);
        QTest::keyClicks(&exo, text);
    }
    // Changes that text and returns the path of its file.
    QString change(Shown which) {
        switch (which) {
        case Shown::Statement:
            type(QStringLiteral(" revu"));
            return statement;
        case Shown::CorrectionInItsBuffer:
            files.showCorrection();
            type(QStringLiteral(" revu"));
            files.showStatement();
            return correction;
        case Shown::OtherFile:
            files.openText(other);
            type(QStringLiteral(" revu"));
            return other;
        }
        return {};
    }
};

class DiskChangesTest : public QObject {
    Q_OBJECT

private slots:
    void anUnchangedTextIsNotWrittenBack();
    void aFileChangedOnDiskIsWrittenOverOnlyOnYes_data();
    void aFileChangedOnDiskIsWrittenOverOnlyOnYes();
    void aChangedFileShownUnmodifiedIsOfferedForReload();
    void writeProtectedTextsGoUnderAnotherName_data();
    void writeProtectedTextsGoUnderAnotherName();
};

void DiskChangesTest::anUnchangedTextIsNotWrittenBack() {
    OpenExercise f;
    f.type(QStringLiteral(" et une tres longue suite qui sera raccourcie"));
    // A colleague corrects the correction meanwhile.
    writeRtf(f.correction, QStringLiteral("corrigé du collègue"));
    f.window.Command4_Click();
    QCOMPARE(f.dialogs.kinds(), QStringList());
    QCOMPARE(textOf(f.statement), QStringLiteral("énoncé et une tres longue suite qui sera "
                                                 "raccourcie"));
    QCOMPARE(textOf(f.correction), QStringLiteral("corrigé du collègue"));
    // A shorter text over the longer one leaves nothing of it.
    f.exo.selectAll();
    QTest::keyClicks(&f.exo, QStringLiteral("court"));
    f.window.Command4_Click();
    QCOMPARE(textOf(f.statement), QStringLiteral("court"));
}

void DiskChangesTest::aFileChangedOnDiskIsWrittenOverOnlyOnYes_data() {
    QTest::addColumn<Shown>("which");
    QTest::addColumn<bool>("yes");
    QTest::newRow("statement shown, Non") << Shown::Statement << false;
    QTest::newRow("statement shown, Oui") << Shown::Statement << true;
    QTest::newRow("correction in its buffer, Non") << Shown::CorrectionInItsBuffer << false;
    QTest::newRow("correction in its buffer, Oui") << Shown::CorrectionInItsBuffer << true;
    QTest::newRow("another text, Non") << Shown::OtherFile << false;
    QTest::newRow("another text, Oui") << Shown::OtherFile << true;
}

void DiskChangesTest::aFileChangedOnDiskIsWrittenOverOnlyOnYes() {
    QFETCH(Shown, which);
    QFETCH(bool, yes);
    OpenExercise f;
    const QString path = f.change(which);
    writeRtf(path, QStringLiteral("version du collègue"));
    f.dialogs.answers = {yes ? Answer::Yes : Answer::No};
    f.window.Command4_Click();
    QCOMPARE(f.dialogs.kinds(), QStringList({"message"}));
    const Message &question = f.dialogs.last().message;
    QCOMPARE(question.text, QStringLiteral("Le fichier ") + path +
                                QStringLiteral(" a été modifié par un autre programme depuis son "
                                               "ouverture. L'enregistrer quand même ?"));
    QCOMPARE(question.buttons, MessageButtons::YesNo);
    QVERIFY(textOf(path).endsWith(yes ? QStringLiteral(" revu") : QStringLiteral("collègue")));
    // Non keeps the changes, to be saved later.
    QCOMPARE(f.files.anyUnsavedChanges(), !yes);
}

void DiskChangesTest::aChangedFileShownUnmodifiedIsOfferedForReload() {
    OpenExercise f;
    // The headless platform's own remark on a window shown, not ours.
    QTest::ignoreMessage(QtWarningMsg, "This plugin does not support propagateSizeHints()");
    f.window.show();
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    QCoreApplication::processEvents(); // the check of this first activation
    writeRtf(f.statement, QStringLiteral("version du collègue"));
    // The teacher comes back from the other program.
    QWidget elsewhere;
    elsewhere.show();
    elsewhere.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
    f.dialogs.answers = {Answer::No};
    f.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    QTRY_COMPARE(f.dialogs.kinds(), QStringList({"message"}));
    QCOMPARE(f.dialogs.unanswered, 0);
    QCOMPARE(f.dialogs.last().message.text,
             QStringLiteral("Le fichier ") + f.statement +
                 QStringLiteral(" a été modifié par un autre programme. Le recharger ?"));
    QCOMPARE(f.exo.text(), QStringLiteral("énoncé"));
    // Declined: not asked again about the same version.
    f.files.offerReloadOfChangedFile();
    QCOMPARE(f.dialogs.calls.size(), 1);

    writeRtf(f.statement, QStringLiteral("deuxième version"));
    f.dialogs.answers = {Answer::Yes};
    f.files.offerReloadOfChangedFile();
    QCOMPARE(f.exo.text(), QStringLiteral("deuxième version"));
    QCOMPARE(f.window.state().sauvegarde, 1);
    // Changes of the teacher's own are never offered away.
    f.type(QStringLiteral(" revue"));
    writeRtf(f.statement, QStringLiteral("troisième version"));
    f.files.offerReloadOfChangedFile();
    QCOMPARE(f.dialogs.calls.size(), 2);
    QCOMPARE(f.dialogs.unanswered, 0);
}

void DiskChangesTest::writeProtectedTextsGoUnderAnotherName_data() {
    QTest::addColumn<Shown>("which");
    QTest::addColumn<bool>("saveAs");
    QTest::newRow("statement shown") << Shown::Statement << false;
    QTest::newRow("correction in its buffer") << Shown::CorrectionInItsBuffer << false;
    QTest::newRow("another text") << Shown::OtherFile << false;
    QTest::newRow("save as onto it") << Shown::Statement << true;
}

// Read-only for its owner, as root sees it too.
void DiskChangesTest::writeProtectedTextsGoUnderAnotherName() {
    QFETCH(Shown, which);
    QFETCH(bool, saveAs);
    OpenExercise f;
    const QString path = f.change(which);
    QVERIFY(::chmod(QFile::encodeName(path).constData(), 0400) == 0);
    const QByteArray before = fileBytes(path);
    const QString copy = f.root + QStringLiteral("copie.rtf");
    f.dialogs.fileNames = {copy};
    if (saveAs) {
        f.dialogs.fileNames = {path, copy};
        QVERIFY(f.files.sauve());
        QCOMPARE(f.dialogs.kinds(), QStringList({"save", "message", "save"}));
    } else {
        f.window.Command4_Click();
    }
    QCOMPARE(fileBytes(path), before);
    const int refusal = saveAs ? 1 : 0;
    QCOMPARE(f.dialogs.calls.at(refusal).message.text,
             QStringLiteral("Le fichier ") + path + QStringLiteral(" est protégé en écriture."));
    // The text shown is offered another name; one in its buffer stays modified.
    if (which == Shown::CorrectionInItsBuffer) {
        QCOMPARE(f.dialogs.kinds(), QStringList({"message"}));
        QVERIFY(f.files.hasUnsavedChanges(TextFiles::Text::Correction));
        return;
    }
    QCOMPARE(f.dialogs.last().kind, QStringLiteral("save"));
    QVERIFY(textOf(copy).endsWith(QStringLiteral(" revu")));
    QCOMPARE(f.window.state().nomfichier, copy);
}

QTEST_MAIN(DiskChangesTest)
#include "diskchanges_test.moc"
