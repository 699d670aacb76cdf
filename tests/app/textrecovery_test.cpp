#include "recoveryfolders.h"

#include "base/messages.h"
#include "exercise/exercisepanel.h"
#include "filebytes.h"
#include "filesizelimit.h"

#include <QAction>

namespace {

using Kind = RecoveryCopy::Kind;

} // namespace

class TextRecoveryTest : public QObject {
    Q_OBJECT

private slots:
    void copiesFollowUnsavedChanges();
    void anInterruptedExerciseComesBack();
    void noOrACleanRunLeavesTheTextsAlone();
    void theQuestionNamesEachCopy();
    void aKilledProgramLosesNothing();
    void anExerciseThatCannotBeReadKeepsEachTextInItsPlace_data();
    void anExerciseThatCannotBeReadKeepsEachTextInItsPlace();
    void copiesThatCannotBeWrittenAreToldOnce_data();
    void copiesThatCannotBeWrittenAreToldOnce();
};

void TextRecoveryTest::copiesFollowUnsavedChanges() {
    Folders f;
    ScriptedDialogs dialogs;
    MainWindow window(dialogs, f.dir.path(), f.recovery);
    window.recovery().writeCopies();
    QVERIFY(f.kinds().isEmpty());
    QTest::keyClicks(window.exo(), QStringLiteral("brouillon"));
    window.recovery().writeCopies();
    const QList<RecoveryCopy> copies = f.copies();
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
    QCOMPARE(f.copies().first().originalPath, notes);
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
    // A run that ended normally leaves nothing to offer.
    {
        ScriptedDialogs dialogs;
        MainWindow window(dialogs, f.dir.path(), f.recovery);
        QTest::keyClicks(window.exo(), QStringLiteral("brouillon"));
        window.recovery().writeCopies();
        QCOMPARE(f.kinds(), QList<Kind>({Kind::Text}));
        dialogs.answers = {Answer::No};
        QVERIFY(window.close());
        QCOMPARE(f.flag(), QStringLiteral("NON"));
    }
    ScriptedDialogs dialogs;
    MainWindow window(dialogs, f.dir.path(), f.recovery);
    QVERIFY(dialogs.calls.isEmpty());
    QVERIFY(QDir(f.recovery).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size() == 1);
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
    ChildCopy child;
    child.start(f, notes);
    child.signal(SIGKILL);
    QCOMPARE(child.process.exitStatus(), QProcess::CrashExit);

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

void TextRecoveryTest::anExerciseThatCannotBeReadKeepsEachTextInItsPlace_data() {
    QTest::addColumn<QString>("damage");
    QTest::newRow("key pulled out") << "key";
    QTest::newRow("recap file gone") << "gone";
    QTest::newRow("not a recap file") << "foreign";
}

void TextRecoveryTest::anExerciseThatCannotBeReadKeepsEachTextInItsPlace() {
    QFETCH(QString, damage);
    Folders f;
    f.interruptedExercise(QStringLiteral("cle"));
    const QString key = f.path("cle");
    const QString statement = key + QStringLiteral("/enonce.rtf");
    const QString correction = key + QStringLiteral("/corrige.rtf");
    const QString recapPath = key + QStringLiteral("/chute.E51");
    const QByteArray recapBytes = fileBytes(recapPath);
    if (damage == QLatin1String("key"))
        QVERIFY(QDir().rename(key, f.path("cle-rangee")));
    else if (damage == QLatin1String("gone"))
        QVERIFY(QFile::remove(recapPath));
    else
        writeFileBytes(recapPath, QByteArray("\xff\xff pas un exercice"));

    // Twice: a crash after the restore loses nothing either.
    for (int start = 0; start < 2; ++start) {
        ScriptedDialogs dialogs;
        dialogs.answers = {Answer::Yes, Answer::Ok};
        MainWindow window(dialogs, f.dir.path(), f.recovery);
        QCOMPARE(dialogs.kinds(), QStringList({"message", "message"}));
        QCOMPARE(dialogs.last().message.text, messages::restoredWithoutExercise(recapPath).text);
        QCOMPARE(window.exo()->text(), QStringLiteral("1 énoncé"));
        QCOMPARE(window.state().nomfichier, statement);
        QCOMPARE(window.state().sauvegarde, 0);
        QCOMPARE(window.findChild<RichTextBox *>(QStringLiteral("corectampon"))->text(),
                 QStringLiteral("2 corrigé"));
        QVERIFY(window.textFiles().hasUnsavedChanges(TextFiles::Text::Correction));
        QCOMPARE(window.findChild<QLineEdit *>(QStringLiteral("titrexo"))->text(),
                 QStringLiteral("Chute libre"));
        for (const auto &[name, path] :
             {std::pair{"textexo", statement}, {"textcor", correction}}) {
            const auto *entry = window.findChild<QAction *>(QLatin1String(name));
            QVERIFY(entry->isVisible());
            QCOMPARE(entry->text(), path);
        }
        QCOMPARE(window.textFiles().textPaths().statement, statement);
        QCOMPARE(window.textFiles().textPaths().correction, correction);
        QVERIFY(window.findChild<QAction *>(QStringLiteral("az51"))->isEnabled());
        window.textFiles().showCorrection();
        QCOMPARE(window.exo()->text(), QStringLiteral("2 corrigé"));
        window.textFiles().showStatement();
        QCOMPARE(window.exo()->text(), QStringLiteral("1 énoncé"));
        // Every copy stays until its text is saved.
        QCOMPARE(f.kinds(), QList<Kind>({Kind::Statement, Kind::Correction, Kind::ExerciseFields}));
        window.recovery().writeCopies();
        QCOMPARE(f.kinds(), QList<Kind>({Kind::Statement, Kind::Correction, Kind::ExerciseFields}));
        QCOMPARE(dialogs.unanswered, 0);
    }

    // The exercise back: both texts saved where they belong.
    if (damage == QLatin1String("key"))
        QVERIFY(QDir().rename(f.path("cle-rangee"), key));
    else
        writeFileBytes(recapPath, recapBytes);
    ScriptedDialogs dialogs;
    dialogs.answers = {Answer::Yes};
    MainWindow window(dialogs, f.dir.path(), f.recovery);
    QCOMPARE(dialogs.calls.size(), 1);
    QVERIFY(window.textFiles().sauvetout());
    QCOMPARE(textOf(statement), QStringLiteral("1 énoncé"));
    QCOMPARE(textOf(correction), QStringLiteral("2 corrigé"));
    QCOMPARE(f.kinds(), QList<Kind>({Kind::ExerciseFields}));
}

void TextRecoveryTest::copiesThatCannotBeWrittenAreToldOnce_data() {
    QTest::addColumn<QString>("fault");
    QTest::newRow("full disk") << "full";
    QTest::newRow("folder taken by a file from the start") << "file";
    QTest::newRow("run folder gone") << "gone";
}

void TextRecoveryTest::copiesThatCannotBeWrittenAreToldOnce() {
    QFETCH(QString, fault);
    Folders f;
    std::optional<FileSizeLimit> fullDisk;
    const auto runFolder = [&f] {
        const QStringList runs =
            QDir(f.recovery).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        return runs.isEmpty() ? QString() : QDir(f.recovery).filePath(runs.first());
    };
    // A file where the folder should be: nothing can be written into it.
    const auto block = [&](const QString &folder) {
        QVERIFY(QDir(folder).removeRecursively());
        writeFileBytes(folder, "dossier");
    };
    const auto unblock = [&](const QString &folder) {
        fullDisk.reset();
        if (QFileInfo(folder).isFile()) QVERIFY(QFile::remove(folder));
    };
    if (fault == QLatin1String("file")) block(f.recovery);
    ScriptedDialogs dialogs;
    MainWindow window(dialogs, f.dir.path(), f.recovery);
    QTest::keyClicks(window.exo(), QStringLiteral("brouillon"));
    const QString blocked = fault == QLatin1String("file") ? f.recovery : runFolder();
    if (fault == QLatin1String("full")) fullDisk.emplace(8);
    if (fault == QLatin1String("gone")) block(blocked);
    const Message told = messages::recoveryCopiesUnwritable(QDir::toNativeSeparators(f.recovery));
    QVERIFY(told.text.contains(f.recovery));
    for (int period = 0; period < 3; ++period)
        window.recovery().writeCopies();
    QCOMPARE(dialogs.kinds(), QStringList({"message"}));
    QCOMPARE(dialogs.last().message.text, told.text);
    QCOMPARE(dialogs.last().message.title, told.title);

    // Working again: nothing said. Failing later: said again, once.
    unblock(blocked);
    window.recovery().writeCopies();
    QCOMPARE(f.kinds(), QList<Kind>({Kind::Text}));
    QCOMPARE(dialogs.calls.size(), 1);
    QTest::keyClicks(window.exo(), QStringLiteral("encore "));
    const QString run = runFolder();
    if (fault == QLatin1String("full"))
        fullDisk.emplace(8);
    else
        block(run);
    window.recovery().writeCopies();
    window.recovery().writeCopies();
    QCOMPARE(dialogs.calls.size(), 2);
    QCOMPARE(dialogs.last().message.text, told.text);
    unblock(run);
}

QTEST_MAIN(TextRecoveryTest)
#include "textrecovery_test.moc"
