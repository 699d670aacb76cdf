#include "app/mainwindow.h"
#include "app/welcomepanel.h"
#include "editor/richtextbox.h"
#include "exercise/exercisecommands.h"
#include "exercisefile/recapfile.h"
#include "exercisefile/recordfile.h"
#include "filebytes.h"
#include "rtffiles.h"
#include "windowfixture.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <sys/stat.h>

// Two exercises in one folder: A with a correction, B without.
class TwoExercises : public WindowFixture {
public:
    ExerciseCommands &exercise = window.exercise();
    QString a = root + QStringLiteral("a.E51");
    QString b = root + QStringLiteral("b.E51");

    TwoExercises() {
        writeRtf(root + QStringLiteral("enonce.rtf"), QStringLiteral("énoncé"));
        writeRtf(root + QStringLiteral("corrige.rtf"), QStringLiteral("corrigé"));
        recap::Fields fields;
        fields.files = {QStringLiteral("enonce.rtf"), QStringLiteral("depart.P51"),
                        QStringLiteral("corrige.rtf"), QStringLiteral("fin.P51")};
        fields.difficulty = 2;
        fields.hourglasses = 4;
        fields.title = QStringLiteral("Titre A");
        fields.description = QStringLiteral("Description A");
        QVERIFY(recap::onenregistre(a, fields));
        fields.files = {QStringLiteral("enonce.rtf"), QString(), QString(), QString()};
        fields.difficulty = 1;
        fields.hourglasses = 2;
        fields.title = QStringLiteral("Titre B");
        fields.description.clear();
        QVERIFY(recap::onenregistre(b, fields));
    }
    QString title() const { return control<QLineEdit>(QStringLiteral("titrexo"))->text(); }
    QPlainTextEdit *description() const {
        return control<QPlainTextEdit>(QStringLiteral("TextZ1"));
    }
    // Command20, answering the save dialog with path and then the questions.
    void save(const QString &path, const QList<Answer> &answers) {
        dialogs.calls.clear();
        dialogs.fileNames = {path};
        dialogs.answers = answers;
        control<QPushButton>(QStringLiteral("Command20"))->click();
    }
};

class ExerciseFieldsTest : public QObject {
    Q_OBJECT

private slots:
    void openingAnExerciseShowsAllItsFields();
    void commandsDroppingTheFieldsAskFirst_data();
    void commandsDroppingTheFieldsAskFirst();
    void aShorterDescriptionReplacesALongerOne();
    void aRecapFileChangedOnDiskIsAskedAbout();
    void aWriteProtectedRecapFileIsRefused();
};

void ExerciseFieldsTest::openingAnExerciseShowsAllItsFields() {
    TwoExercises f;
    QVERIFY(f.exercise.openExerciseFile(f.a));
    f.exercise.openPanel();
    QCOMPARE(f.title(), QStringLiteral("Titre A"));
    f.dialogs.fileNames = {f.b};
    f.exercise.openExercise();
    QCOMPARE(f.dialogs.kinds(), QStringList({"open"}));
    // Every field is B's, at once, with the panel still open.
    QCOMPARE(f.title(), QStringLiteral("Titre B"));
    QCOMPARE(f.description()->toPlainText(), QString());
    for (int i = 1; i < 4; ++i)
        QCOMPARE(f.control<QLabel>("ficex", i)->text(), QString());
    QCOMPARE(f.control<QComboBox>(QStringLiteral("ComboZ1"))->currentIndex(), 1);
    QCOMPARE(f.control<QSpinBox>(QStringLiteral("UpDown2"))->value(), 2);
    QCOMPARE(f.control<QLineEdit>(QStringLiteral("Text1"))->text(), f.b);

    // Saving B writes B's own fields back.
    f.save(f.b, {Answer::Yes});
    const QByteArray file = fileBytes(f.b);
    QCOMPARE(recordfile::recordText(file, recap::Title), QStringLiteral("Titre B"));
    QCOMPARE(recordfile::recordText(file, recap::CorrectionFile), QString());
    QCOMPARE(recordfile::recordText(file, recap::FirstDescription), QString());
    QCOMPARE(recordfile::recordText(file, recap::Hourglasses), QStringLiteral(" 2"));
    QCOMPARE(f.dialogs.unanswered, 0);

    // A new, empty exercise holds no hourglass count: B's does not stay.
    QVERIFY(f.exercise.openExerciseFile(f.root + QStringLiteral("neuf.E51")));
    QCOMPARE(f.control<QSpinBox>(QStringLiteral("UpDown2"))->value(), 1);
    QCOMPARE(f.title(), QString());
}

void ExerciseFieldsTest::commandsDroppingTheFieldsAskFirst_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("yes");
    for (const char *command : {"Fermer exercice", "Nouveau", "Ouvrir un exercice"}) {
        QTest::addRow("%s, Oui", command) << QString::fromUtf8(command) << true;
        QTest::addRow("%s, Non", command) << QString::fromUtf8(command) << false;
    }
}

void ExerciseFieldsTest::commandsDroppingTheFieldsAskFirst() {
    QFETCH(QString, command);
    QFETCH(bool, yes);
    TwoExercises f;
    QVERIFY(f.exercise.openExerciseFile(f.a));
    f.exercise.openPanel();
    f.description()->moveCursor(QTextCursor::End);
    QTest::keyClicks(f.description(), QStringLiteral(" et la suite"));
    f.dialogs.calls.clear();
    // Yes: the save dialog, then "Ecraser ?" for A's own file.
    f.dialogs.answers = yes ? QList<Answer>{Answer::Yes, Answer::Yes} : QList<Answer>{Answer::No};
    f.dialogs.fileNames = yes ? QList<std::optional<QString>>{f.a, std::nullopt}
                              : QList<std::optional<QString>>{std::nullopt};
    if (command == QLatin1String("Fermer exercice")) {
        emit f.window.findChild<QMenu *>(QStringLiteral("exot"))->aboutToShow();
        f.action("az55")->trigger();
    } else if (command == QLatin1String("Nouveau")) {
        emit f.window.welcomePanel()->linkActivated(WelcomePanel::Nouveau);
    } else {
        f.action("az54")->trigger();
    }
    QVERIFY(!f.dialogs.calls.isEmpty());
    const Message &question = f.dialogs.calls.first().message;
    QCOMPARE(question.text, QStringLiteral("Enregistrer les modifications de l'exercice ?"));
    QCOMPARE(question.buttons, MessageButtons::YesNo);
    QCOMPARE(recordfile::recordText(fileBytes(f.a), recap::FirstDescription),
             yes ? QStringLiteral("Description A et la suite") : QStringLiteral("Description A"));
}

// Every record of the description is written, the empty ones too: the old
// text never shows through a shorter new one.
void ExerciseFieldsTest::aShorterDescriptionReplacesALongerOne() {
    TwoExercises f;
    QVERIFY(f.exercise.openExerciseFile(f.a));
    f.exercise.openPanel();
    f.description()->setPlainText(QString(480, QLatin1Char('x')));
    f.save(f.a, {Answer::Yes});
    QCOMPARE(recordfile::recordText(fileBytes(f.a), recap::LastDescription), QString(120, 'x'));
    f.exercise.openPanel();
    f.description()->setPlainText(QStringLiteral("Court."));
    f.save(f.a, {Answer::Yes});
    const QByteArray file = fileBytes(f.a);
    QCOMPARE(recordfile::recordText(file, recap::FirstDescription), QStringLiteral("Court."));
    for (int record = recap::FirstDescription + 1; record <= recap::LastDescription; ++record)
        QCOMPARE(recordfile::recordText(file, record), QString());
    f.exercise.closeExercise();
    QVERIFY(f.exercise.openExerciseFile(f.a));
    QCOMPARE(f.description()->toPlainText(), QStringLiteral("Court."));
}

void ExerciseFieldsTest::aRecapFileChangedOnDiskIsAskedAbout() {
    TwoExercises f;
    QVERIFY(f.exercise.openExerciseFile(f.a));
    f.exercise.openPanel();
    // A colleague renames the exercise meanwhile.
    recap::Fields theirs = f.exercise.panelFields();
    theirs.title = QStringLiteral("Titre du collègue");
    QVERIFY(recap::onenregistre(f.a, theirs));
    f.control<QLineEdit>(QStringLiteral("titrexo"))->setText(QStringLiteral("Mon titre"));
    f.save(f.a, {Answer::Yes, Answer::No});
    QCOMPARE(f.dialogs.kinds(), QStringList({"save", "message", "message"}));
    const Message &question = f.dialogs.last().message;
    QCOMPARE(question.text, QStringLiteral("Le fichier ") + f.a +
                                QStringLiteral(" a été modifié par un autre programme depuis son "
                                               "ouverture. L'enregistrer quand même ?"));
    QCOMPARE(question.buttons, MessageButtons::YesNo);
    QCOMPARE(recordfile::recordText(fileBytes(f.a), recap::Title),
             QStringLiteral("Titre du collègue"));
    f.save(f.a, {Answer::Yes, Answer::Yes});
    QCOMPARE(recordfile::recordText(fileBytes(f.a), recap::Title), QStringLiteral("Mon titre"));
    // Written by us since: only "Ecraser ?" is asked.
    f.exercise.openPanel();
    f.save(f.a, {Answer::Yes});
    QCOMPARE(f.dialogs.calls.at(1).message.text, QStringLiteral("Ecraser le fichier existant"));
    for (const ScriptedDialogs::Call &call : f.dialogs.calls)
        QVERIFY(!call.message.text.contains(QStringLiteral("modifié")));
}

void ExerciseFieldsTest::aWriteProtectedRecapFileIsRefused() {
    TwoExercises f;
    QVERIFY(f.exercise.openExerciseFile(f.a));
    f.exercise.openPanel();
    QVERIFY(::chmod(QFile::encodeName(f.a).constData(), 0400) == 0);
    const QByteArray before = fileBytes(f.a);
    f.control<QLineEdit>(QStringLiteral("titrexo"))->setText(QStringLiteral("Autre titre"));
    f.save(f.a, {Answer::Yes});
    QCOMPARE(f.dialogs.kinds(), QStringList({"save", "message"}));
    QCOMPARE(f.dialogs.last().message.text,
             QStringLiteral("Le fichier ") + f.a + QStringLiteral(" est protégé en écriture."));
    QCOMPARE(fileBytes(f.a), before);
    // Another name is taken.
    const QString copy = f.root + QStringLiteral("copie.E51");
    f.save(copy, {});
    QCOMPARE(recordfile::recordText(fileBytes(copy), recap::Title), QStringLiteral("Autre titre"));
}

QTEST_MAIN(ExerciseFieldsTest)
#include "exercisefields_test.moc"
