#include "recoveryfolders.h"

#include "base/messages.h"

#include <memory>

namespace {

using Kind = RecoveryCopy::Kind;

RichTextBox *buffer(MainWindow &window, const char *name) {
    return window.findChild<RichTextBox *>(QLatin1String(name));
}

} // namespace

// Several copies of the program at once: each keeps its own recovery copies,
// and the running flag reads "OUI" while any of them runs.
class RunningCopiesTest : public QObject {
    Q_OBJECT

private slots:
    void aSecondCopyLeavesTheFirstOnesCopiesAlone();
    void aSecondCopyThenACrashLoseNothing_data();
    void aSecondCopyThenACrashLoseNothing();
    void aTerminationSignalEndsAsACloseWithoutAsking_data();
    void aTerminationSignalEndsAsACloseWithoutAsking();
};

void RunningCopiesTest::aSecondCopyLeavesTheFirstOnesCopiesAlone() {
    Folders f;
    ScriptedDialogs firstDialogs;
    auto first = std::make_unique<MainWindow>(firstDialogs, f.dir.path(), f.recovery);
    QTest::keyClicks(first->exo(), QStringLiteral("premier"));
    first->recovery().writeCopies();
    QCOMPARE(f.flag(), QStringLiteral("OUI"));
    for (const Answer answer : {Answer::No, Answer::Yes}) {
        ScriptedDialogs dialogs;
        dialogs.answers = {answer};
        MainWindow second(dialogs, f.dir.path(), f.recovery);
        QVERIFY(dialogs.calls.isEmpty());
        QVERIFY(second.exo()->text().isEmpty());
        QTest::keyClicks(second.exo(), QStringLiteral("second"));
        second.recovery().writeCopies();
        QCOMPARE(f.kinds(), QList<Kind>({Kind::Text, Kind::Text}));
        // Discarded, or saved as a file of its own: the first's copy stays.
        dialogs.fileNames = {f.path("second.rtf")};
        QVERIFY(second.close());
        QCOMPARE(f.kinds(), QList<Kind>({Kind::Text}));
        QCOMPARE(f.flag(), QStringLiteral("OUI"));
    }

    first.reset(); // a crash
    ScriptedDialogs dialogs;
    dialogs.answers = {Answer::Yes};
    MainWindow third(dialogs, f.dir.path(), f.recovery);
    QCOMPARE(dialogs.kinds(), QStringList({"message"}));
    QCOMPARE(third.exo()->text(), QStringLiteral("premier"));
    QCOMPARE(f.flag(), QStringLiteral("OUI"));
    dialogs.answers = {Answer::No};
    QVERIFY(third.close());
    QCOMPARE(f.flag(), QStringLiteral("NON"));
    QVERIFY(f.kinds().isEmpty());
}

void RunningCopiesTest::aSecondCopyThenACrashLoseNothing_data() {
    QTest::addColumn<bool>("keyPulledOut");
    QTest::newRow("exercise at hand") << false;
    QTest::newRow("exercise on a key pulled out") << true;
}

void RunningCopiesTest::aSecondCopyThenACrashLoseNothing() {
    QFETCH(bool, keyPulledOut);
    Folders f;
    const QString recapPath = f.exercise(QStringLiteral("cle"));
    ChildCopy child;
    child.start(f, recapPath);
    {
        // A second RTF opened from the desktop while the first copy runs.
        ScriptedDialogs dialogs;
        MainWindow second(dialogs, f.dir.path(), f.recovery);
        QVERIFY(dialogs.calls.isEmpty());
        QVERIFY(second.close());
        QCOMPARE(f.flag(), QStringLiteral("OUI"));
    }
    child.signal(SIGKILL);
    QCOMPARE(child.process.exitStatus(), QProcess::CrashExit);
    if (keyPulledOut) QVERIFY(QDir().rename(f.path("cle"), f.path("cle-rangee")));

    ScriptedDialogs dialogs;
    dialogs.answers = {Answer::Yes, Answer::Ok};
    MainWindow window(dialogs, f.dir.path(), f.recovery);
    QCOMPARE(dialogs.calls.size(), keyPulledOut ? 2 : 1);
    QVERIFY(dialogs.calls.first().message.text.contains(QStringLiteral("- exercice ") + recapPath));
    if (keyPulledOut)
        QCOMPARE(dialogs.last().message.text, messages::restoredWithoutExercise(recapPath).text);
    // The child had the correction shown: each text where it belongs.
    QCOMPARE(window.textFiles().shownText(),
             keyPulledOut ? TextFiles::Text::Statement : TextFiles::Text::Correction);
    const TextFiles::Text waiting =
        keyPulledOut ? TextFiles::Text::Correction : TextFiles::Text::Statement;
    QCOMPARE(window.exo()->text(), keyPulledOut ? QStringLiteral("tape dans l'enonce énoncé")
                                                : QStringLiteral("tape dans le corrige corrigé"));
    QCOMPARE(buffer(window, keyPulledOut ? "corectampon" : "sujetampon")->text(),
             keyPulledOut ? QStringLiteral("tape dans le corrige corrigé")
                          : QStringLiteral("tape dans l'enonce énoncé"));
    QVERIFY(window.textFiles().hasUnsavedChanges(waiting));
    QCOMPARE(window.state().sauvegarde, 0);
    QCOMPARE(window.findChild<QLineEdit *>(QStringLiteral("titrexo"))->text(),
             QStringLiteral("Titre tapé"));
    QCOMPARE(f.kinds(), QList<Kind>({Kind::Statement, Kind::Correction, Kind::ExerciseFields}));
    QCOMPARE(f.flag(), QStringLiteral("OUI"));
}

void RunningCopiesTest::aTerminationSignalEndsAsACloseWithoutAsking_data() {
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
    QTest::newRow("SIGHUP") << int(SIGHUP);
}

void RunningCopiesTest::aTerminationSignalEndsAsACloseWithoutAsking() {
    QFETCH(int, signalNumber);
    Folders f;
    const QString notes = f.path("notes.rtf");
    writeRtf(notes, QStringLiteral("mes notes"));
    ChildCopy child;
    child.start(f, notes);
    QCOMPARE(f.flag(), QStringLiteral("OUI"));
    child.signal(signalNumber);
    QCOMPARE(child.process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.process.exitCode(), 0);
    QVERIFY2(child.said.contains("asked 0"), child.said.constData());
    QCOMPARE(f.flag(), QStringLiteral("NON"));
    QCOMPARE(textOf(notes), QStringLiteral("mes notes"));

    ScriptedDialogs dialogs;
    dialogs.answers = {Answer::Yes};
    MainWindow window(dialogs, f.dir.path(), f.recovery);
    QCOMPARE(dialogs.kinds(), QStringList({"message"}));
    QCOMPARE(window.exo()->text(), QStringLiteral("tape avant la panne mes notes"));
    QCOMPARE(window.state().nomfichier, notes);
}

QTEST_MAIN(RunningCopiesTest)
#include "runningcopies_test.moc"
