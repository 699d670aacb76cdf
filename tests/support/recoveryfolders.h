#pragma once

#include "app/mainwindow.h"
#include "app/textrecovery.h"
#include "base/recoverystore.h"
#include "editor/richtextbox.h"
#include "editor/textfiles.h"
#include "exercise/exercisecommands.h"
#include "exercisefile/recapfile.h"
#include "exercisefile/recordfile.h"
#include "scripteddialogs.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <csignal>

inline void writeRtf(const QString &path, const QString &text) {
    RichTextBox box;
    box.setText(text);
    QVERIFY(box.saveFile(path));
}

// The text of an RTF file as the editor shows it.
inline QString textOf(const QString &path) {
    RichTextBox box;
    return box.loadFile(path) == RichTextBox::LoadOutcome::Loaded ? box.text()
                                                                  : QStringLiteral("<unreadable>");
}

// The program's folder and the recovery folder of one test: they outlive the
// windows built on them, as they outlive a crash.
class Folders {
public:
    QTemporaryDir dir;
    QString recovery = dir.filePath(QStringLiteral("recovery"));

    QString path(const char *name) const { return dir.filePath(QLatin1String(name)); }
    // Every copy under the recovery folder, whichever run left it.
    QList<RecoveryCopy> copies() const {
        QList<RecoveryCopy> found;
        const QDir root(recovery);
        for (const QString &run : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            found += RecoveryStore(root.filePath(run)).copies();
        return found;
    }
    QList<RecoveryCopy::Kind> kinds() const {
        QList<RecoveryCopy::Kind> found;
        for (const RecoveryCopy &copy : copies())
            found << copy.kind;
        std::sort(found.begin(), found.end());
        return found;
    }
    // Record 5 of the running flag beside the program.
    QString flag() const {
        QFile file(path("TEMPts.tmp"));
        return file.open(QIODevice::ReadOnly) ? recordfile::recordText(file.readAll(), 5)
                                              : QString();
    }
    // An exercise in the given subfolder (a USB key) or in the program's
    // folder: its recap file's path.
    QString exercise(const QString &folder = QString()) const {
        const QString at = folder.isEmpty() ? dir.path() : dir.filePath(folder);
        QDir().mkpath(at);
        writeRtf(at + QStringLiteral("/enonce.rtf"), QStringLiteral("énoncé"));
        writeRtf(at + QStringLiteral("/corrige.rtf"), QStringLiteral("corrigé"));
        recap::Fields fields;
        fields.files = {QStringLiteral("enonce.rtf"), QString(), QStringLiteral("corrige.rtf"),
                        QString()};
        fields.title = QStringLiteral("Chute");
        recap::onenregistre(at + QStringLiteral("/chute.E51"), fields);
        return at + QStringLiteral("/chute.E51");
    }
    // Such an exercise whose two texts and title were edited and copied in a
    // window that then went away without closing, as in a crash.
    void interruptedExercise(const QString &folder = QString()) {
        const QString recap = exercise(folder);
        QVERIFY(QFile::exists(recap));
        ScriptedDialogs dialogs;
        MainWindow window(dialogs, dir.path(), recovery);
        dialogs.fileNames = {recap};
        window.exercise().openExercise();
        window.exercise().openPanel();
        QTest::keyClicks(window.exo(), QStringLiteral("1 "));
        window.textFiles().showCorrection();
        QTest::keyClicks(window.exo(), QStringLiteral("2 "));
        window.findChild<QLineEdit *>(QStringLiteral("titrexo"))
            ->setText(QStringLiteral("Chute libre"));
        window.recovery().writeCopies();
        QCOMPARE(kinds(), QList<RecoveryCopy::Kind>({RecoveryCopy::Kind::Statement,
                                                     RecoveryCopy::Kind::Correction,
                                                     RecoveryCopy::Kind::ExerciseFields}));
    }
};

// The recovery test's child program: a copy of the program running beside
// the test's windows, which the test kills or signals.
class ChildCopy {
public:
    QProcess process;
    QByteArray said;

    // Starts it on the test's folders, typing into file (a text or an
    // exercise), and waits until its copies are written.
    void start(const Folders &f, const QString &file = QString()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QStringList arguments = {f.dir.path(), f.recovery};
        if (!file.isEmpty()) arguments << file;
        process.start(QStringLiteral(REDIGO_RECOVERY_CHILD), arguments);
        while (!said.contains("ready") && process.waitForReadyRead(120'000))
            said += process.readAllStandardOutput();
        QVERIFY2(said.contains("ready"), said.constData());
    }
    // Sends the signal and waits for the end.
    void signal(int signalNumber) {
        QVERIFY(::kill(pid_t(process.processId()), signalNumber) == 0);
        QVERIFY(process.waitForFinished(120'000));
        said += process.readAllStandardOutput();
    }
};
