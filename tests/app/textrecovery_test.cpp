#include "app/mainwindow.h"
#include "app/textrecovery.h"
#include "base/messages.h"
#include "base/recoverystore.h"
#include "editor/richtextbox.h"
#include "editor/textfiles.h"
#include "exercise/exercisecommands.h"
#include "exercise/exercisepanel.h"
#include "exercisefile/recapfile.h"
#include "exercisefile/recordfile.h"
#include "scripteddialogs.h"

#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

using Kind = RecoveryCopy::Kind;

void writeRtf(const QString &path, const QString &text) {
    RichTextBox box;
    box.setText(text);
    QVERIFY(box.saveFile(path));
}

QString textOf(const QString &path) {
    RichTextBox box;
    return box.loadFile(path) == RichTextBox::LoadOutcome::Loaded ? box.text()
                                                                  : QStringLiteral("<unreadable>");
}

QByteArray fileBytes(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// The program's folder and the recovery folder: they outlive the windows
// built on them, as they outlive a crash.
class Folders {
public:
    QTemporaryDir dir;
    QString recovery = dir.filePath(QStringLiteral("recovery"));
    RecoveryStore store{recovery};

    QString path(const char *name) const { return dir.filePath(QLatin1String(name)); }
    QList<Kind> kinds() const {
        QList<Kind> found;
        for (const RecoveryCopy &copy : store.copies())
            found << copy.kind;
        return found;
    }
    // An exercise whose two texts and title were edited and copied in a
    // window that then went away without closing, as in a crash.
    void interruptedExercise() {
        writeRtf(path("enonce.rtf"), QStringLiteral("énoncé"));
        writeRtf(path("corrige.rtf"), QStringLiteral("corrigé"));
        recap::Fields fields;
        fields.files = {QStringLiteral("enonce.rtf"), QString(), QStringLiteral("corrige.rtf"),
                        QString()};
        fields.title = QStringLiteral("Chute");
        QVERIFY(recap::onenregistre(path("chute.E51"), fields));
        ScriptedDialogs dialogs;
        MainWindow window(dialogs, dir.path(), recovery);
        dialogs.fileNames = {path("chute.E51")};
        window.exercise().openExercise();
        window.exercise().openPanel();
        QTest::keyClicks(window.exo(), QStringLiteral("1 "));
        window.textFiles().showCorrection();
        QTest::keyClicks(window.exo(), QStringLiteral("2 "));
        window.findChild<QLineEdit *>(QStringLiteral("titrexo"))
            ->setText(QStringLiteral("Chute libre"));
        window.recovery().writeCopies();
        QCOMPARE(kinds(), QList<Kind>({Kind::Statement, Kind::Correction, Kind::ExerciseFields}));
    }
};

class TextRecoveryTest : public QObject {
    Q_OBJECT

private slots:
    void copiesFollowUnsavedChanges();
    void anInterruptedExerciseComesBack();
    void noOrACleanRunLeavesTheTextsAlone();
    void theQuestionNamesEachCopy();
    void aKilledProgramLosesNothing();
};

void TextRecoveryTest::copiesFollowUnsavedChanges() {
    Folders f;
    ScriptedDialogs dialogs;
    MainWindow window(dialogs, f.dir.path(), f.recovery);
    window.recovery().writeCopies();
    QVERIFY(f.kinds().isEmpty());
    QTest::keyClicks(window.exo(), QStringLiteral("brouillon"));
    window.recovery().writeCopies();
    const QList<RecoveryCopy> copies = f.store.copies();
    QCOMPARE(copies.size(), 1);
    QCOMPARE(copies.first().originalPath, QStringLiteral("SANS NOM"));
    RichTextBox copied;
    copied.setTextRTF(copies.first().content);
    QCOMPARE(copied.text(), QStringLiteral("brouillon"));

    // Given up, saved, or left for another text: the copy goes at once.
    dialogs.answers = {Answer::No};
    window.Nouv_Click();
    QVERIFY(f.kinds().isEmpty());
    const QString notes = f.path("notes.rtf");
    writeRtf(notes, QStringLiteral("notes"));
    dialogs.fileNames = {notes};
    window.textFiles().ouvre();
    QTest::keyClicks(window.exo(), QStringLiteral("x"));
    window.recovery().writeCopies();
    QCOMPARE(f.store.copies().first().originalPath, notes);
    window.Command4_Click();
    QVERIFY(f.kinds().isEmpty());
    QTest::keyClicks(window.exo(), QStringLiteral("y"));
    window.recovery().writeCopies();
    dialogs.answers = {Answer::No};
    dialogs.fileNames = {notes};
    window.textFiles().ouvre();
    QVERIFY(f.kinds().isEmpty());
    QCOMPARE(dialogs.unanswered, 0);
}

void TextRecoveryTest::anInterruptedExerciseComesBack() {
    Folders f;
    f.interruptedExercise();
    const QByteArray recapBefore = fileBytes(f.path("chute.E51"));
    ScriptedDialogs dialogs;
    dialogs.answers = {Answer::Yes};
    MainWindow window(dialogs, f.dir.path(), f.recovery);
    QCOMPARE(dialogs.kinds(), QStringList({"message"}));
    const QString question = dialogs.last().message.text;
    QVERIFY(question.contains(QStringLiteral("- ") + f.path("enonce.rtf") +
                              QStringLiteral(" (copie du ")));
    QVERIFY(question.contains(QStringLiteral("- exercice ") + f.path("chute.E51")));
    // Each text in its place, modified; the files as they were.
    QCOMPARE(window.exo()->text(), QStringLiteral("2 corrigé"));
    QCOMPARE(window.state().nomfichier, f.path("corrige.rtf"));
    QCOMPARE(window.state().sauvegarde, 0);
    QCOMPARE(window.findChild<RichTextBox *>(QStringLiteral("sujetampon"))->text(),
             QStringLiteral("1 énoncé"));
    QVERIFY(window.textFiles().hasUnsavedChanges(TextFiles::Text::Statement));
    QCOMPARE(window.findChild<QLineEdit *>(QStringLiteral("titrexo"))->text(),
             QStringLiteral("Chute libre"));
    QVERIFY(window.exercise().panelHasUnsavedFields());
    QCOMPARE(textOf(f.path("enonce.rtf")), QStringLiteral("énoncé"));
    QCOMPARE(textOf(f.path("corrige.rtf")), QStringLiteral("corrigé"));
    QCOMPARE(fileBytes(f.path("chute.E51")), recapBefore);

    // The copies stay until their texts are saved; a clean close leaves none.
    QCOMPARE(f.kinds().size(), 3);
    QVERIFY(window.textFiles().sauvetout());
    QCOMPARE(textOf(f.path("enonce.rtf")), QStringLiteral("1 énoncé"));
    QCOMPARE(f.kinds(), QList<Kind>({Kind::ExerciseFields}));
    dialogs.answers = {Answer::No}; // the exercise's fields
    QVERIFY(window.close());
    QVERIFY(f.kinds().isEmpty());
    ScriptedDialogs next;
    MainWindow again(next, f.dir.path(), f.recovery);
    QVERIFY(next.calls.isEmpty());
}

void TextRecoveryTest::noOrACleanRunLeavesTheTextsAlone() {
    Folders f;
    f.interruptedExercise();
    {
        ScriptedDialogs dialogs;
        dialogs.answers = {Answer::No};
        MainWindow window(dialogs, f.dir.path(), f.recovery);
        QCOMPARE(dialogs.calls.size(), 1);
        QVERIFY(window.exo()->text().isEmpty());
        QCOMPARE(window.state().sauvegarde, 1);
        QVERIFY(f.kinds().isEmpty());
    }
    // After a run that ended normally, copies are not offered.
    f.interruptedExercise();
    QVERIFY(recordfile::writeRecordToFile(f.path("TEMPts.tmp"), 5, QStringLiteral("NON")));
    ScriptedDialogs dialogs;
    MainWindow window(dialogs, f.dir.path(), f.recovery);
    QVERIFY(dialogs.calls.isEmpty());
}

void TextRecoveryTest::theQuestionNamesEachCopy() {
    const QDateTime at(QDate(2026, 12, 8), QTime(16, 42));
    const auto copy = [](Kind kind, const QString &path, const QDateTime &copiedAt) {
        RecoveryCopy copy;
        copy.kind = kind;
        copy.originalPath = path;
        copy.copiedAt = copiedAt;
        return copy;
    };
    const QList<RecoveryCopy> copies = {
        copy(Kind::Statement, QStringLiteral("/cours/énoncé.rtf"), at),
        copy(Kind::Text, QStringLiteral("SANS NOM"), at.addSecs(60)),
        copy(Kind::ExerciseFields, QString(), at.addDays(1))};
    const Message question = messages::restoreCopiesQuestion(copies);
    QCOMPARE(question.text,
             QStringLiteral("Le programme ne s'est pas fermé normalement. Une copie de secours des "
                            "textes suivants, qui avaient des modifications non enregistrées, a "
                            "été gardée :\r\n\r\n"
                            "- /cours/énoncé.rtf (copie du 08/12/2026 à 16:42)\r\n"
                            "- SANS NOM (copie du 08/12/2026 à 16:43)\r\n"
                            "- exercice SANS NOM (copie du 09/12/2026 à 16:42)\r\n\r\n"
                            "Restaurer ces textes ? Si vous répondez Non, les copies seront "
                            "supprimées."));
    QCOMPARE(question.title, QStringLiteral("Récupération des textes"));
    QCOMPARE(question.buttons, MessageButtons::YesNo);
    QCOMPARE(question.icon, MessageIcon::Question);
}

void TextRecoveryTest::aKilledProgramLosesNothing() {
    Folders f;
    const QString notes = f.path("notes.rtf");
    writeRtf(notes, QStringLiteral("mes notes"));
    const QByteArray before = fileBytes(notes);
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QStringLiteral(REDIGO_RECOVERY_CHILD), {f.dir.path(), f.recovery, notes});
    QByteArray said;
    while (!said.contains("ready") && child.waitForReadyRead(120'000))
        said += child.readAllStandardOutput();
    QVERIFY2(said.contains("ready"), said.constData());
    QVERIFY(::kill(pid_t(child.processId()), SIGKILL) == 0);
    QVERIFY(child.waitForFinished());
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);

    ScriptedDialogs dialogs;
    dialogs.answers = {Answer::Yes};
    MainWindow window(dialogs, f.dir.path(), f.recovery);
    QCOMPARE(dialogs.kinds(), QStringList({"message"}));
    QVERIFY(dialogs.last().message.text.contains(QStringLiteral("- ") + notes));
    QCOMPARE(window.exo()->text(), QStringLiteral("tape avant la panne mes notes"));
    QCOMPARE(window.state().nomfichier, notes);
    QCOMPARE(window.state().sauvegarde, 0);
    QCOMPARE(fileBytes(notes), before);
}

QTEST_MAIN(TextRecoveryTest)
#include "textrecovery_test.moc"
