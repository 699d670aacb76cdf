#include "app/mainwindow.h"
#include "app/welcomepanel.h"
#include "editor/richtextbox.h"
#include "editor/textfiles.h"
#include "exercise/exercisecommands.h"
#include "exercise/exercisepanel.h"
#include "exercisefile/recapfile.h"
#include "exercisefile/recordfile.h"
#include "filebytes.h"
#include "rtffiles.h"
#include "windowfixture.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTest>

// A main window and an exercise folder holding a statement and a correction.
class Fixture : public WindowFixture {
public:
    ExerciseCommands &exercise = window.exercise();

    Fixture() {
        writeRtf(root + QStringLiteral("enonce.rtf"), QStringLiteral("énoncé"));
        writeRtf(root + QStringLiteral("corrige.rtf"), QStringLiteral("corrigé"));
    }
    void fillPanel() {
        control<QLabel>("ficex", 0)->setText(QStringLiteral("enonce.rtf"));
        control<QLabel>("ficex", 2)->setText(QStringLiteral("corrige.rtf"));
        control<QLineEdit>(QStringLiteral("titrexo"))->setText(QStringLiteral(" Chute libre "));
        control<QComboBox>(QStringLiteral("ComboZ1"))->setCurrentIndex(2);
        control<QSpinBox>(QStringLiteral("UpDown2"))->setValue(4);
        control<QPlainTextEdit>(QStringLiteral("TextZ1"))
            ->setPlainText(QStringLiteral("Lâcher une bille."));
    }
    // Saves the panel as the exercise at path, answering the dialogs.
    void saveAs(const QString &path) {
        dialogs.fileNames = {path};
        exercise.saveExercise();
    }
};

class ExerciseCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void noExerciseHidesItsCommands();
    void anExerciseTravelsToItsFilesAndBack();
    void savingNeedsAStatement();
    void savingAsksBeforeOverwriting();
    void openingChecksTheExtension_data();
    void openingChecksTheExtension();
    void reopeningTheSamePathKeepsTheTexts();
    void missingAndUnsafeTextsAreReported();
    void closingSavesBothTextsFirst();
    void changesGivenUpAreNotAskedAboutAgain();
    void choosingFilesKeepsNamesOnly();
    void extensionIsForced_data();
    void extensionIsForced();
    void aTextThatCannotBeReadIsNeverSavedOver();
    void fieldsTheFileCannotHoldAreRefused();
    void damagedRecapFilesAreRefused_data();
    void damagedRecapFilesAreRefused();
    void readOnlyExercisesOpen();
    void newExercisesGoBesideTheirTexts();
    void anExerciseWithoutStatementSavesThroughSaveAs();
    void closingAsksAboutTheExerciseFields();
};

void ExerciseCommandsTest::noExerciseHidesItsCommands() {
    Fixture f;
    for (const char *name : {"sepatext", "textexo", "textcor"})
        QVERIFY(!f.action(name)->isVisible());
    QVERIFY(!f.action("az52")->isEnabled());
    QVERIFY(!f.action("az51")->isEnabled());
    auto *exot = f.window.findChild<QMenu *>(QStringLiteral("exot"));
    emit exot->aboutToShow();
    QVERIFY(!f.action("az55")->isEnabled());
    QVERIFY(!f.window.welcomePanel()->isLinkVisible(WelcomePanel::Enonce));
    QVERIFY(!f.window.welcomePanel()->isLinkVisible(WelcomePanel::Corrige));
    QCOMPARE(f.control<QComboBox>(QStringLiteral("ComboZ1"))->count(), 4);
    QCOMPARE(f.control<QComboBox>(QStringLiteral("ComboZ1"))->itemText(3),
             QStringLiteral("*** difficile"));
    QCOMPARE(f.control<QLabel>(QStringLiteral("Label3"))->text(), QStringLiteral("1"));
}

void ExerciseCommandsTest::anExerciseTravelsToItsFilesAndBack() {
    Fixture f;
    f.exercise.openPanel();
    auto *side = f.window.findChild<QStackedWidget *>(QStringLiteral("volet"));
    QCOMPARE(side->currentWidget(), f.control<ExercisePanel>(QStringLiteral("Frame1(1)")));
    f.fillPanel();
    f.saveAs(f.root + QStringLiteral("chute.txt"));
    const FileRequest &request = f.dialogs.calls.first().file;
    QCOMPARE(request.title, QStringLiteral("Enregistrer le fichier exercice"));
    QCOMPARE(request.filter, QStringLiteral("*.E51"));
    QCOMPARE(request.initialName, QStringLiteral("*.E51"));

    const QString path = f.root + QStringLiteral("chute.E51");
    const QByteArray file = fileBytes(path);
    QCOMPARE(recordfile::recordText(file, 1), QStringLiteral("enonce.rtf"));
    QCOMPARE(recordfile::recordText(file, 5), QStringLiteral(" 2"));
    QCOMPARE(recordfile::recordText(file, 12), QStringLiteral(" 4"));
    QCOMPARE(f.window.state().repertoire, f.root);
    QCOMPARE(side->currentWidget(), f.window.welcomePanel());
    QCOMPARE(f.control<QLineEdit>(QStringLiteral("Text1"))->text(), path);
    QCOMPARE(f.control<QLineEdit>(QStringLiteral("Text1"))->toolTip(), path);
    // The texts are loaded from the files the exercise names.
    QCOMPARE(f.window.exo()->text(), QStringLiteral("énoncé"));
    QCOMPARE(f.window.state().nomfichier, f.root + QStringLiteral("enonce.rtf"));
    QCOMPARE(f.window.textFiles().textPaths().correction, f.root + QStringLiteral("corrige.rtf"));
    QCOMPARE(f.action("textcor")->text(), f.root + QStringLiteral("corrige.rtf"));
    QVERIFY(f.action("textexo")->isVisible() && f.action("textcor")->isVisible());
    QVERIFY(f.action("az51")->isEnabled() && f.action("az52")->isEnabled());
    QVERIFY(f.window.welcomePanel()->isLinkVisible(WelcomePanel::Corrige));
    f.window.textFiles().showCorrection();
    QCOMPARE(f.window.exo()->text(), QStringLiteral("corrigé"));

    // Closing the exercise empties everything.
    f.exercise.closeExercise();
    QCOMPARE(f.control<QLineEdit>(QStringLiteral("Text1"))->text(), QString());
    QCOMPARE(f.control<QLineEdit>(QStringLiteral("titrexo"))->text(), QString());
    QCOMPARE(f.control<QSpinBox>(QStringLiteral("UpDown2"))->value(), 1);
    QVERIFY(!f.action("textexo")->isVisible());
    QCOMPARE(f.window.windowTitle(), QStringLiteral("REDIGO - SANS NOM"));

    // Opening it again: texts and fields at once.
    f.dialogs.calls.clear();
    f.dialogs.fileNames = {path};
    f.exercise.openExercise();
    const FileRequest &open = f.dialogs.last().file;
    QCOMPARE(open.title, QStringLiteral("Ouvrir un fichier exercice"));
    QCOMPARE(open.filter, QStringLiteral("Simulateur A|*.E51"));
    QCOMPARE(open.initialName, QStringLiteral("*.E51"));
    QCOMPARE(f.window.exo()->text(), QStringLiteral("énoncé"));
    emit f.window.findChild<QMenu *>(QStringLiteral("exot"))->aboutToShow();
    QVERIFY(f.action("az55")->isEnabled());
    QCOMPARE(f.control<QLineEdit>(QStringLiteral("titrexo"))->text(),
             QStringLiteral("Chute libre"));
    QCOMPARE(f.control<QComboBox>(QStringLiteral("ComboZ1"))->currentIndex(), 2);
    QCOMPARE(f.control<QSpinBox>(QStringLiteral("UpDown2"))->value(), 4);
    QCOMPARE(f.control<QLabel>(QStringLiteral("Label3"))->text(), QStringLiteral("4"));
    QCOMPARE(f.control<QPlainTextEdit>(QStringLiteral("TextZ1"))->toPlainText(),
             QStringLiteral("Lâcher une bille."));
    QCOMPARE(f.control<QLabel>("ficex", 2)->text(), QStringLiteral("corrige.rtf"));
    QCOMPARE(f.dialogs.unanswered, 0);
}

void ExerciseCommandsTest::savingNeedsAStatement() {
    Fixture f;
    f.exercise.saveExercise();
    QCOMPARE(f.dialogs.kinds(), QStringList({"message"}));
    const Message &message = f.dialogs.last().message;
    QCOMPARE(message.text,
             QStringLiteral("Il n'y a pas d'énoncé (obligatoire) pour cet exercice."));
    QCOMPARE(message.title, QStringLiteral("Enregistrement impossible"));
    QCOMPARE(message.icon, MessageIcon::Critical);
}

void ExerciseCommandsTest::savingAsksBeforeOverwriting() {
    Fixture f;
    const QString path = f.root + QStringLiteral("exo.E51");
    writeFileBytes(path, "ancien");
    f.fillPanel();
    f.dialogs.answers = {Answer::No};
    f.saveAs(path);
    const Message &question = f.dialogs.last().message;
    QCOMPARE(question.text, QStringLiteral("Ecraser le fichier existant"));
    QCOMPARE(question.title, QStringLiteral("Ce fichier existe déjà"));
    QCOMPARE(question.icon, MessageIcon::Question);
    QCOMPARE(fileBytes(path), QByteArray("ancien"));
    QCOMPARE(f.control<QLineEdit>(QStringLiteral("Text1"))->text(), QString());

    // A recap file that cannot be written is reported in four lines.
    f.dialogs.calls.clear();
    f.saveAs(f.root + QStringLiteral("absent/exo.E51"));
    const Message &failure = f.dialogs.last().message;
    QCOMPARE(failure.title, QStringLiteral("Sauvegarde impossible"));
    QCOMPARE(failure.text,
             QStringLiteral("Vérifier:\r\n- le nom du fichier,\r\n- l'espace "
                            "disponible sur le disque\r\n- la protection en écriture."));
}

void ExerciseCommandsTest::openingChecksTheExtension_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("module's extension") << "exo.E51" << true;
    QTest::newRow("lower case") << "exo.e51" << true;
    QTest::newRow("another module") << "exo.E53" << false;
    QTest::newRow("no extension") << "exo" << false;
}

void ExerciseCommandsTest::openingChecksTheExtension() {
    QFETCH(QString, name);
    QFETCH(bool, accepted);
    Fixture f;
    f.dialogs.fileNames = {f.root + name};
    f.exercise.openExercise();
    QCOMPARE(f.control<QLineEdit>(QStringLiteral("Text1"))->text(),
             accepted ? f.root + name : QString());
    if (!accepted) {
        const Message &message = f.dialogs.last().message;
        QCOMPARE(message.title, QStringLiteral("Fichier non valide"));
        QCOMPARE(message.text, QStringLiteral("Le nom du fichier doit se terminer par .E51 pour le "
                                              "module sélectionné."));
    } else {
        // A recap file that did not exist is created empty; no text loads.
        QVERIFY(QFile::exists(f.root + name));
        QCOMPARE(f.dialogs.kinds(), QStringList({"open"}));
    }
}

void ExerciseCommandsTest::reopeningTheSamePathKeepsTheTexts() {
    Fixture f;
    f.fillPanel();
    f.saveAs(f.root + QStringLiteral("exo.E51"));
    f.window.exo()->setText(QStringLiteral("modifié"));
    f.dialogs.calls.clear();
    f.dialogs.fileNames = {f.root + QStringLiteral("exo.E51")};
    f.exercise.openExercise();
    QCOMPARE(f.window.exo()->text(), QStringLiteral("modifié"));
}

void ExerciseCommandsTest::missingAndUnsafeTextsAreReported() {
    Fixture f;
    const QString path = f.root + QStringLiteral("exo.E51");
    recap::Fields fields;
    fields.files = {QStringLiteral("absent.rtf"), QString(), QStringLiteral("../dehors.rtf"),
                    QString()};
    QVERIFY(recap::onenregistre(path, fields));
    // Beside the exercise folder, still inside the temporary directory.
    writeRtf(f.dir.filePath(QStringLiteral("dehors.rtf")), QStringLiteral("hors de l'exercice"));
    f.dialogs.fileNames = {path};
    f.exercise.openExercise();
    QCOMPARE(f.dialogs.kinds(), QStringList({"open", "message", "message"}));
    const Message &missing = f.dialogs.calls.at(1).message;
    QCOMPARE(missing.text,
             QStringLiteral("Fichier ") + f.root + QStringLiteral("absent.rtf introuvable."));
    QCOMPARE(missing.title, QStringLiteral("Ouverture du texte impossible"));
    QCOMPARE(f.dialogs.calls.at(2).message.text,
             QStringLiteral("Fichier ") + f.root + QStringLiteral("../dehors.rtf introuvable."));
    // The correction is never read from outside, nor offered for saving.
    QVERIFY(!f.action("textcor")->isVisible());
    QVERIFY(!f.window.exo()->text().contains(QStringLiteral("hors")));
    // The empty statement types in the look of a new text, not in the
    // desktop's font at the paper's edge.
    RichTextBox &exo = *f.window.exo();
    QVERIFY(exo.text().isEmpty());
    QTest::keyClicks(&exo, QStringLiteral("Vrai"));
    exo.setSelStart(0);
    exo.setSelLength(4);
    QCOMPARE(exo.selFontName().value_or(QString()), QStringLiteral("Arial"));
    QCOMPARE(exo.selFontSize().value_or(0), 10.0);
    QCOMPARE(exo.selIndent().value_or(-1), 19.0);
    QCOMPARE(exo.selRightIndent().value_or(-1), 12.0);
}

void ExerciseCommandsTest::closingSavesBothTextsFirst() {
    Fixture f;
    f.fillPanel();
    f.saveAs(f.root + QStringLiteral("exo.E51"));
    // Changes in the correction wait in its buffer while the statement shows.
    f.window.textFiles().showCorrection();
    f.window.exo()->setText(QStringLiteral("corrigé revu"));
    f.window.textFiles().showStatement();
    f.window.state().sauvegarde = 0;
    f.dialogs.calls.clear();
    f.dialogs.answers = {Answer::Yes};
    f.exercise.closeExercise();
    QCOMPARE(f.dialogs.kinds(), QStringList({"message"}));
    RichTextBox reader;
    QCOMPARE(reader.loadFile(f.root + QStringLiteral("corrige.rtf")),
             RichTextBox::LoadOutcome::Loaded);
    QCOMPARE(reader.text(), QStringLiteral("corrigé revu"));
    QCOMPARE(f.control<QLineEdit>(QStringLiteral("Text1"))->text(), QString());
}

// "Non" gives the changes up even when the command goes no further: nothing
// asks about them again until the user changes something.
void ExerciseCommandsTest::changesGivenUpAreNotAskedAboutAgain() {
    Fixture f;
    RichTextBox &exo = *f.window.exo();
    QTest::keyClicks(&exo, QStringLiteral("brouillon"));
    f.dialogs.answers = {Answer::No};
    f.dialogs.fileNames = {std::nullopt};
    f.exercise.openExercise();
    QCOMPARE(f.dialogs.kinds(), QStringList({"message", "open"}));
    f.dialogs.calls.clear();
    f.window.Nouv_Click();
    QCOMPARE(f.dialogs.kinds(), QStringList());

    // Both texts of an exercise: the correction changed in its buffer, the
    // statement in the editor.
    f.fillPanel();
    f.saveAs(f.root + QStringLiteral("exo.E51"));
    f.window.textFiles().showCorrection();
    QTest::keyClicks(&exo, QStringLiteral("revu "));
    f.window.textFiles().showStatement();
    QTest::keyClicks(&exo, QStringLiteral("lu "));
    f.dialogs.calls.clear();
    f.dialogs.answers = {Answer::No, Answer::No};
    f.dialogs.fileNames = {std::nullopt};
    f.exercise.openExercise();
    QCOMPARE(f.dialogs.kinds(), QStringList({"message", "message", "open"}));
    QVERIFY(!f.window.textFiles().anyUnsavedChanges());
    f.dialogs.calls.clear();
    f.exercise.closeExercise();
    QCOMPARE(f.dialogs.kinds(), QStringList());
    // A change made afterwards is asked about as usual.
    QTest::keyClicks(&exo, QStringLiteral("neuf"));
    f.dialogs.answers = {Answer::No};
    f.window.Nouv_Click();
    QCOMPARE(f.dialogs.kinds(), QStringList({"message"}));
}

void ExerciseCommandsTest::choosingFilesKeepsNamesOnly() {
    Fixture f;
    f.dialogs.fileNames = {QStringLiteral("/ailleurs/depart.P51"),
                           QStringLiteral("/ailleurs/texte.rtf"), std::nullopt};
    f.control<QPushButton>("CommandZ10", 1)->click();
    f.control<QPushButton>("CommandZ10", 0)->click();
    f.control<QPushButton>("CommandZ10", 3)->click(); // cancelled
    QCOMPARE(f.dialogs.calls.at(0).file.filter, QStringLiteral("*.P51"));
    QCOMPARE(f.dialogs.calls.at(0).file.initialName, QStringLiteral("*.P51"));
    QCOMPARE(f.dialogs.calls.at(0).file.title, QStringLiteral("Ouvrir un fichier exercice"));
    QCOMPARE(f.dialogs.calls.at(1).file.filter, QStringLiteral("*.RTF"));
    QCOMPARE(f.control<QLabel>("ficex", 1)->text(), QStringLiteral("depart.P51"));
    QCOMPARE(f.control<QLabel>("ficex", 0)->text(), QStringLiteral("texte.rtf"));
    QCOMPARE(f.control<QLabel>("ficex", 3)->text(), QString());
    f.control<QPushButton>("CommandZ14", 1)->click();
    QCOMPARE(f.control<QLabel>("ficex", 1)->text(), QString());
}

void ExerciseCommandsTest::extensionIsForced_data() {
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("saved");
    QTest::newRow("no extension") << "/d/exo1"
                                  << "/d/exo1.E51";
    QTest::newRow("other extension") << "/d/exo1.txt"
                                     << "/d/exo1.E51";
    QTest::newRow("dotted directory") << "/d.v2/exo1"
                                      << "/d.v2/exo1.E51";
}

void ExerciseCommandsTest::extensionIsForced() {
    QFETCH(QString, chosen);
    QFETCH(QString, saved);
    QCOMPARE(withExtension(chosen, QStringLiteral("E51")), saved);
}

void ExerciseCommandsTest::aTextThatCannotBeReadIsNeverSavedOver() {
    Fixture f;
    f.fillPanel();
    f.saveAs(f.root + QStringLiteral("a.E51"));
    // Exercise B: its statement is a picture, its correction is missing.
    const QString statement = f.root + QStringLiteral("image.rtf");
    writeFileBytes(statement, QByteArray("\x89PNG\r\n\x1a\n\0\0", 10));
    const QByteArray pictureBytes = fileBytes(statement);
    recap::Fields fields;
    fields.files = {QStringLiteral("image.rtf"), QString(), QStringLiteral("absent.rtf"),
                    QString()};
    QVERIFY(recap::onenregistre(f.root + QStringLiteral("b.E51"), fields));
    f.dialogs.calls.clear();
    f.dialogs.fileNames = {f.root + QStringLiteral("b.E51")};
    f.exercise.openExercise();
    QCOMPARE(f.dialogs.kinds(), QStringList({"open", "message", "message"}));
    QVERIFY(f.dialogs.calls.at(1).message.text.contains(statement));
    QVERIFY(f.dialogs.calls.at(2).message.text.contains(QStringLiteral("absent.rtf")));
    // Nothing of exercise A passes for B's texts.
    QCOMPARE(f.window.exo()->text(), QString());
    f.window.textFiles().showCorrection();
    QCOMPARE(f.window.exo()->text(), QString());
    f.window.textFiles().showStatement();
    f.dialogs.calls.clear();
    f.dialogs.fileNames = {std::nullopt};
    f.window.Command4_Click();
    QCOMPARE(f.dialogs.kinds(), QStringList({"save"}));
    QCOMPARE(fileBytes(statement), pictureBytes);
    QVERIFY(!QFile::exists(f.root + QStringLiteral("absent.rtf")));
    QCOMPARE(fileBytes(f.root + QStringLiteral("corrige.rtf")).contains("corrig"), true);
}

void ExerciseCommandsTest::fieldsTheFileCannotHoldAreRefused() {
    Fixture f;
    f.exercise.openPanel();
    f.fillPanel();
    f.control<QLineEdit>(QStringLiteral("titrexo"))->setText(QStringLiteral("Angle α → Ω"));
    f.exercise.saveExercise();
    QCOMPARE(f.dialogs.kinds(), QStringList({"message"}));
    QVERIFY(f.dialogs.last().message.text.contains(QStringLiteral("α→Ω")));
    QCOMPARE(f.dialogs.last().message.title, QStringLiteral("Enregistrement impossible"));
    QVERIFY(QDir(f.root).entryList({QStringLiteral("*.E51")}).isEmpty());
    auto *side = f.window.findChild<QStackedWidget *>(QStringLiteral("volet"));
    QCOMPARE(side->currentWidget(), f.control<ExercisePanel>(QStringLiteral("Frame1(1)")));
}

void ExerciseCommandsTest::damagedRecapFilesAreRefused_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("picture") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    QByteArray tooLong(128, 'a');
    tooLong[0] = char(127);
    tooLong[1] = 0;
    QTest::newRow("record longer than a record") << tooLong;
    QByteArray control(128, '\0');
    control[0] = 3;
    control.replace(2, 3, "a\x01b");
    QTest::newRow("control character") << control;
}

void ExerciseCommandsTest::damagedRecapFilesAreRefused() {
    QFETCH(QByteArray, bytes);
    Fixture f;
    const QString path = f.root + QStringLiteral("faux.E51");
    writeFileBytes(path, bytes);
    f.window.exo()->setText(QStringLiteral("texte en cours"));
    f.dialogs.answers = {Answer::No};
    f.dialogs.fileNames = {path};
    f.exercise.openExercise();
    QCOMPARE(f.dialogs.last().message.text,
             QStringLiteral("Le fichier ") + path +
                 QStringLiteral(" n'est pas un fichier exercice valide."));
    QCOMPARE(f.control<QLineEdit>(QStringLiteral("Text1"))->text(), QString());
    QCOMPARE(f.window.exo()->text(), QStringLiteral("texte en cours"));
    QCOMPARE(fileBytes(path), bytes);
}

void ExerciseCommandsTest::readOnlyExercisesOpen() {
    // Not even root may write to this file: reading must not ask to.
    QVERIFY(recap::readOrCreate(QStringLiteral("/proc/version")).has_value());
    Fixture f;
    f.fillPanel();
    f.saveAs(f.root + QStringLiteral("exo.E51"));
    QFile::setPermissions(f.root + QStringLiteral("exo.E51"), QFile::ReadOwner);
    f.exercise.closeExercise();
    f.dialogs.fileNames = {f.root + QStringLiteral("exo.E51")};
    f.exercise.openExercise();
    QCOMPARE(f.window.exo()->text(), QStringLiteral("énoncé"));
}

void ExerciseCommandsTest::newExercisesGoBesideTheirTexts() {
    Fixture f;
    QTemporaryDir elsewhere;
    const QString text = elsewhere.filePath(QStringLiteral("texte.rtf"));
    writeRtf(text, QStringLiteral("ailleurs"));
    f.dialogs.fileNames = {text};
    f.control<QPushButton>("CommandZ10", 0)->click();
    f.dialogs.fileNames = {f.root + QStringLiteral("exo.E51")};
    f.exercise.saveExercise();
    QCOMPARE(f.dialogs.calls.at(1).file.initialName, elsewhere.path() + QStringLiteral("/*.E51"));
    // Saved elsewhere than its text: the teacher is told.
    QCOMPARE(f.dialogs.calls.at(2).message.text,
             QStringLiteral("Le fichier texte.rtf n'est pas dans le dossier du fichier exercice : "
                            "le fichier exercice n'en garde que le nom, il faudra l'y copier."));
}

void ExerciseCommandsTest::anExerciseWithoutStatementSavesThroughSaveAs() {
    Fixture f;
    recap::Fields fields;
    fields.title = QStringLiteral("Sans énoncé");
    QVERIFY(recap::onenregistre(f.root + QStringLiteral("vide.E51"), fields));
    f.dialogs.fileNames = {f.root + QStringLiteral("vide.E51")};
    f.exercise.openExercise();
    QCOMPARE(f.window.windowTitle(), QStringLiteral("REDIGO - SANS NOM"));
    f.window.exo()->setText(QStringLiteral("nouveau"));
    f.dialogs.calls.clear();
    f.dialogs.fileNames = {f.root + QStringLiteral("nouveau.rtf")};
    f.window.Command4_Click();
    QCOMPARE(f.dialogs.kinds(), QStringList({"save"}));
    QCOMPARE(f.window.state().sauvegarde, 1);
}

void ExerciseCommandsTest::closingAsksAboutTheExerciseFields() {
    Fixture f;
    QVERIFY(f.window.close()); // nothing typed: nothing asked
    QVERIFY(f.dialogs.calls.isEmpty());

    Fixture g;
    g.exercise.openPanel();
    g.fillPanel();
    g.dialogs.answers = {Answer::Yes};
    g.dialogs.fileNames = {g.root + QStringLiteral("exo.E51")};
    QVERIFY(g.window.close());
    QCOMPARE(g.dialogs.calls.at(0).message.text,
             QStringLiteral("Enregistrer les modifications de l'exercice ?"));
    QCOMPARE(recordfile::recordText(fileBytes(g.root + QStringLiteral("exo.E51")), 1),
             QStringLiteral("enonce.rtf"));

    // Saved, then changed in the panel: asked again; a cancelled save keeps the window.
    g.control<QLineEdit>(QStringLiteral("titrexo"))->setText(QStringLiteral("Autre titre"));
    g.dialogs.calls.clear();
    g.dialogs.answers = {Answer::Yes};
    g.dialogs.fileNames = {std::nullopt};
    QVERIFY(!g.window.close());
    QCOMPARE(g.dialogs.kinds(), QStringList({"message", "save"}));
}

QTEST_MAIN(ExerciseCommandsTest)
#include "exercisecommands_test.moc"
