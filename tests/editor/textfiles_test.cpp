#include "app/mainwindow.h"
#include "editor/richtextbox.h"
#include "editor/textfiles.h"
#include "filebytes.h"
#include "filesizelimit.h"
#include "rtfdocument.h"
#include "rtffiles.h"
#include "windowfixture.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTextList>

// A main window with an exercise's statement and correction on disk, loaded
// the way opening an exercise loads them.
class ExerciseFixture : public WindowFixture {
public:
    QString statement = dir.filePath(QStringLiteral("enonce.rtf"));
    QString correction = dir.filePath(QStringLiteral("corrige.rtf"));
    QAction *textexo = window.findChild<QAction *>(QStringLiteral("textexo"));
    QAction *textcor = window.findChild<QAction *>(QStringLiteral("textcor"));
    RichTextBox *sujetampon = window.findChild<RichTextBox *>(QStringLiteral("sujetampon"));
    RichTextBox *corectampon = window.findChild<RichTextBox *>(QStringLiteral("corectampon"));

    ExerciseFixture() {
        writeRtf(statement, QStringLiteral("énoncé"));
        writeRtf(correction, QStringLiteral("corrigé"));
        window.textFiles().setTextPath(TextFiles::Text::Statement, statement);
        window.textFiles().setTextPath(TextFiles::Text::Correction, correction);
        textexo->setVisible(true);
        textcor->setVisible(true);
        sujetampon->loadFile(statement);
        corectampon->loadFile(correction);
        window.exo()->setTextRTF(sujetampon->textRTF());
        window.state().nomfichier = statement;
    }
    TextFiles &files() { return window.textFiles(); }
};

class TextFilesTest : public QObject {
    Q_OBJECT

private slots:
    void switchingGoesThroughTheBuffers();
    void switchingFromAnotherFileAsks();
    void reloadWarnsBeforeLosingChanges();
    void openLoadsRtfAndPlainText();
    void openFailureKeepsNameAndText();
    void saveAsAsksBeforeOverwriting();
    void saveFailuresAreReported();
    void saveBothWritesBothTexts();
    void fullDiskSaveKeepsFileAndChanges();
    void eachTextKeepsItsOwnChanges();
    void closingAsksAboutEveryChangedText();
    void changesGivenUpStayGivenUp();
    void filesThatAreNotTextAreRefused();
    void textsTooLongToLayOutAreRefused_data();
    void textsTooLongToLayOutAreRefused();
    void textsMadeInTheEditorAreNeverRefused_data();
    void textsMadeInTheEditorAreNeverRefused();
    void plainTextIsSavedUnderAnRtfName();
    void shorterTextsLeaveNothingOfLongerOnes();
};

void TextFilesTest::switchingGoesThroughTheBuffers() {
    ExerciseFixture f;
    f.files().showStatement(); // already shown: nothing at all
    QCOMPARE(f.window.windowTitle(), QStringLiteral("REDIGO - SANS NOM"));

    f.exo.setText(QStringLiteral("énoncé modifié"));
    f.window.state().sauvegarde = 0;
    f.files().showCorrection();
    QCOMPARE(f.exo.text(), QStringLiteral("corrigé"));
    QCOMPARE(f.sujetampon->text(), QStringLiteral("énoncé modifié"));
    QCOMPARE(f.window.windowTitle(), QStringLiteral("REDIGO - ") + f.correction);
    // The flag follows the text shown: the correction has no change yet.
    QCOMPARE(f.window.state().sauvegarde, 1);

    f.exo.setText(QStringLiteral("corrigé modifié"));
    f.files().showStatement();
    QCOMPARE(f.exo.text(), QStringLiteral("énoncé modifié"));
    QCOMPARE(f.corectampon->text(), QStringLiteral("corrigé modifié"));
    QVERIFY(f.dialogs.calls.isEmpty());

    // With the correction entry hidden, leaving it does not keep the editor.
    f.files().showCorrection();
    f.textcor->setVisible(false);
    f.exo.setText(QStringLiteral("perdu"));
    f.files().showStatement();
    QCOMPARE(f.corectampon->text(), QStringLiteral("corrigé modifié"));
    // Leaving the statement always keeps it, entry shown or not.
    f.textexo->setVisible(false);
    f.exo.setText(QStringLiteral("gardé"));
    f.files().showCorrection();
    QCOMPARE(f.sujetampon->text(), QStringLiteral("gardé"));
}

void TextFilesTest::switchingFromAnotherFileAsks() {
    ExerciseFixture f;
    const QString other = f.dir.filePath(QStringLiteral("autre.rtf"));
    f.window.state().nomfichier = other;
    f.exo.setText(QStringLiteral("autre texte"));
    f.window.state().sauvegarde = 0;
    f.dialogs.answers = {Answer::Yes};
    f.files().showStatement();
    QCOMPARE(f.dialogs.calls.first().message.text, QStringLiteral("Enregistrer modifications ?"));
    QCOMPARE(textOf(other), QStringLiteral("autre texte"));
    QCOMPARE(f.exo.text(), QStringLiteral("énoncé"));
    // The other file has no buffer: the statement's is not overwritten.
    QCOMPARE(f.sujetampon->text(), QStringLiteral("énoncé"));
}

void TextFilesTest::reloadWarnsBeforeLosingChanges() {
    ExerciseFixture f;
    f.files().showCorrection();
    f.exo.setText(QStringLiteral("changé"));
    f.window.state().sauvegarde = 0;
    f.dialogs.answers = {Answer::Cancel};
    f.files().reloadCorrection();
    const Message &warning = f.dialogs.last().message;
    QCOMPARE(warning.text, QStringLiteral("Attention : perte des modifications sur le texte."));
    QCOMPARE(warning.title, QStringLiteral("Ouvrir le corrigé"));
    QCOMPARE(warning.buttons, MessageButtons::OkCancel);
    QCOMPARE(f.exo.text(), QStringLiteral("changé"));

    // Reloading the statement keeps the correction's changes in its buffer:
    // nothing is lost, so nothing is asked.
    f.dialogs.calls.clear();
    f.files().reloadStatement();
    QVERIFY(f.dialogs.calls.isEmpty());
    QCOMPARE(f.exo.text(), QStringLiteral("énoncé"));
    QCOMPARE(f.window.state().sauvegarde, 1);
    QCOMPARE(f.window.windowTitle(), QStringLiteral("REDIGO - ") + f.statement);
    f.files().showCorrection();
    QCOMPARE(f.exo.text(), QStringLiteral("changé"));
    QCOMPARE(f.window.state().sauvegarde, 0);

    f.dialogs.answers = {Answer::Ok};
    f.files().reloadCorrection();
    QCOMPARE(f.exo.text(), QStringLiteral("corrigé"));
    QCOMPARE(f.window.state().sauvegarde, 1);

    QFile::remove(f.correction);
    f.files().reloadCorrection();
    const Message &failure = f.dialogs.last().message;
    QCOMPARE(failure.text, QStringLiteral("Erreur lors de l'ouverture du fichier ") + f.correction +
                               QStringLiteral(" : ce fichier n'existe pas."));
    QCOMPARE(failure.title, QStringLiteral("Lecture impossible"));
    QCOMPARE(failure.icon, MessageIcon::Critical);
    QCOMPARE(f.window.state().nomfichier, f.correction);
}

void TextFilesTest::openLoadsRtfAndPlainText() {
    ExerciseFixture f;
    const QString plain = f.dir.filePath(QStringLiteral("notes.txt"));
    writeFileBytes(plain, "ligne 1\r\nligne \xe9");
    f.window.state().sauvegarde = 0;
    f.dialogs.answers = {Answer::No};
    f.dialogs.fileNames = {plain};
    f.files().ouvre();
    QCOMPARE(f.dialogs.kinds(), QStringList({"message", "open"}));
    const FileRequest &request = f.dialogs.last().file;
    QCOMPARE(request.title, QStringLiteral("Ouvrir un fichier texte"));
    QCOMPARE(request.filter,
             QStringLiteral("Texte format rtf|*.rtf|Texte simple (*.TXT)|*.txt|Tous |*.*"));
    QCOMPARE(request.initialName, QStringLiteral("*.rtf"));
    QCOMPARE(f.exo.text(), QStringLiteral("ligne 1\nligne é"));
    QCOMPARE(f.window.state().nomfichier, plain);
    QCOMPARE(f.window.state().sauvegarde, 1);

    // Cancel changes nothing.
    f.dialogs.calls.clear();
    f.files().ouvre();
    QCOMPARE(f.window.state().nomfichier, plain);
}

void TextFilesTest::openFailureKeepsNameAndText() {
    ExerciseFixture f;
    const QString absent = f.dir.filePath(QStringLiteral("absent.rtf"));
    const QString folder = f.dir.filePath(QStringLiteral("dossier.rtf"));
    QDir().mkpath(folder);
    const QString locked = f.dir.filePath(QStringLiteral("verrou.rtf"));
    writeFileBytes(locked, "{\\rtf1 verrou}");
    QFile::setPermissions(locked, QFileDevice::WriteOwner);
    QList<std::pair<QString, QString>> failures = {
        {absent, QStringLiteral("ce fichier n'existe pas.")},
        {folder, QStringLiteral("c'est un dossier, pas un fichier.")}};
    // The superuser reads every file.
    if (!QFileInfo(locked).isReadable())
        failures.append({locked, QStringLiteral("vous n'avez pas le droit de le lire.")});
    for (const auto &[path, why] : failures) {
        f.dialogs.fileNames = {path};
        f.files().ouvre();
        QCOMPARE(f.dialogs.last().message.text,
                 QStringLiteral("Erreur lors de l'ouverture du fichier ") + path +
                     QStringLiteral(" : ") + why);
        QCOMPARE(f.window.state().nomfichier, f.statement);
        QCOMPARE(f.exo.text(), QStringLiteral("énoncé"));
    }
}

void TextFilesTest::saveAsAsksBeforeOverwriting() {
    ExerciseFixture f;
    const QString copy = f.dir.filePath(QStringLiteral("copie.rtf"));
    f.exo.setText(QStringLiteral("nouveau"));
    // No to the overwrite question reopens the dialog; there the copy is chosen.
    f.dialogs.fileNames = {f.correction, copy};
    f.dialogs.answers = {Answer::No};
    QVERIFY(f.files().sauve());
    QCOMPARE(f.dialogs.kinds(), QStringList({"save", "message", "save"}));
    const FileRequest &request = f.dialogs.calls.first().file;
    QCOMPARE(request.title, QStringLiteral("Enregistrer un fichier texte"));
    QCOMPARE(request.filter, QStringLiteral("Texte format rtf|*.rtf"));
    QCOMPARE(request.initialName, f.statement);
    const Message &question = f.dialogs.calls.at(1).message;
    QCOMPARE(question.text, QStringLiteral("Ecraser le fichier existant?"));
    QCOMPARE(question.title, QStringLiteral("Ce fichier existe déjà"));
    QCOMPARE(question.icon, MessageIcon::Exclamation);
    QCOMPARE(textOf(f.correction), QStringLiteral("corrigé"));
    QCOMPARE(textOf(copy), QStringLiteral("nouveau"));
    QCOMPARE(f.window.windowTitle(), QStringLiteral("REDIGO - ") + copy);
    QVERIFY(!f.files().sauvencours());

    // Saving over the file already named asks nothing.
    f.dialogs.calls.clear();
    f.dialogs.fileNames = {copy};
    QVERIFY(f.files().sauve());
    QCOMPARE(f.dialogs.kinds(), QStringList({"save"}));
}

void TextFilesTest::saveFailuresAreReported() {
    ExerciseFixture f;
    const QString nowhere = f.dir.filePath(QStringLiteral("absent/texte.rtf"));
    f.window.state().nomfichier = nowhere;
    f.window.state().sauvegarde = 0;
    QVERIFY(!f.files().resauve());
    const Message &failure = f.dialogs.last().message;
    QCOMPARE(failure.text, QStringLiteral("Impossible d'écrire sur ce disque"));
    QCOMPARE(failure.title, QStringLiteral("Enregistrement impossible"));
    QCOMPARE(failure.icon, MessageIcon::Critical);
    QCOMPARE(f.window.state().sauvegarde, 0);

    // Save-as: the failure message, then the dialog again; Cancel there.
    f.dialogs.calls.clear();
    f.dialogs.fileNames = {nowhere, std::nullopt};
    QVERIFY(!f.files().sauve());
    QCOMPARE(f.dialogs.kinds(), QStringList({"save", "message", "save"}));
    QCOMPARE(f.window.state().sauvegarde, 0);
}

void TextFilesTest::saveBothWritesBothTexts() {
    ExerciseFixture f;
    f.exo.setText(QStringLiteral("énoncé 2"));
    f.window.state().sauvegarde = 0;
    f.files().showCorrection();
    f.exo.setText(QStringLiteral("corrigé 2"));
    f.window.state().sauvegarde = 0;
    f.window.Command4_Click();
    QCOMPARE(textOf(f.statement), QStringLiteral("énoncé 2"));
    QCOMPARE(textOf(f.correction), QStringLiteral("corrigé 2"));
    QCOMPARE(f.window.state().sauvegarde, 1);
    QVERIFY(f.dialogs.calls.isEmpty());

    // One text that cannot be written: reported, the other still saved, and
    // the texts stay marked as modified.
    f.files().showStatement();
    f.exo.setText(QStringLiteral("énoncé 3"));
    f.window.state().sauvegarde = 0;
    f.files().showCorrection();
    f.files().setTextPath(TextFiles::Text::Correction,
                          f.dir.filePath(QStringLiteral("absent/corrige.rtf")));
    f.window.state().nomfichier = f.files().textPaths().correction;
    f.window.state().sauvegarde = 0;
    QVERIFY(!f.files().sauvetout());
    const Message &failure = f.dialogs.last().message;
    QCOMPARE(failure.text, QStringLiteral("Vérifier l'état du lecteur"));
    QCOMPARE(failure.title, QStringLiteral("Sauvegarde impossible"));
    QCOMPARE(textOf(f.statement), QStringLiteral("énoncé 3"));
    QCOMPARE(f.window.state().sauvegarde, 0);
}

void TextFilesTest::fullDiskSaveKeepsFileAndChanges() {
    ExerciseFixture f;
    const QByteArray before = fileBytes(f.statement);
    f.exo.setText(QStringLiteral("court"));
    QCOMPARE(f.window.state().sauvegarde, 0);
    {
        FileSizeLimit fullDisk(10);
        f.files().resauve();
        f.textcor->setVisible(false);
        f.window.Command4_Click();
        f.textcor->setVisible(true);
        f.window.Command4_Click(); // both texts: the correction has no change to write
    }
    QCOMPARE(fileBytes(f.statement), before);
    QCOMPARE(f.window.state().sauvegarde, 0);
    QCOMPARE(f.dialogs.kinds(), QStringList({"message", "message", "message"}));
    QCOMPARE(f.dialogs.calls.at(0).message.text,
             QStringLiteral("Impossible d'écrire sur ce disque"));
    QCOMPARE(f.dialogs.calls.at(2).message.text, QStringLiteral("Vérifier l'état du lecteur"));
    f.window.Command4_Click();
    QCOMPARE(textOf(f.statement), QStringLiteral("court"));
    QCOMPARE(f.window.state().sauvegarde, 1);
}

void TextFilesTest::eachTextKeepsItsOwnChanges() {
    ExerciseFixture f;
    f.exo.setText(QStringLiteral("énoncé modifié"));
    f.files().showCorrection();
    f.exo.setText(QStringLiteral("corrigé modifié"));
    QVERIFY(f.files().resauve()); // the correction alone
    QCOMPARE(textOf(f.correction), QStringLiteral("corrigé modifié"));
    QCOMPARE(textOf(f.statement), QStringLiteral("énoncé"));
    QCOMPARE(f.window.state().sauvegarde, 1);
    QVERIFY(f.files().anyUnsavedChanges());
    f.files().showStatement();
    QCOMPARE(f.exo.text(), QStringLiteral("énoncé modifié"));
    QCOMPARE(f.window.state().sauvegarde, 0);
    // Reloading the correction keeps the statement's changes waiting.
    f.files().reloadCorrection();
    f.files().showStatement();
    QCOMPARE(f.window.state().sauvegarde, 0);
    QVERIFY(f.dialogs.calls.isEmpty());
}

void TextFilesTest::closingAsksAboutEveryChangedText() {
    ExerciseFixture f;
    f.exo.setText(QStringLiteral("énoncé modifié"));
    f.files().showCorrection();
    f.window.state().sauvegarde = 1;
    f.dialogs.answers = {Answer::Yes};
    QVERIFY(f.window.close());
    QCOMPARE(f.dialogs.kinds(), QStringList({"message"}));
    QCOMPARE(f.dialogs.last().message.text,
             QStringLiteral("Enregistrer les modifications de l'énoncé ?"));
    QCOMPARE(textOf(f.statement), QStringLiteral("énoncé modifié"));

    // A save that fails keeps the window open.
    ExerciseFixture g;
    g.files().showCorrection();
    g.exo.setText(QStringLiteral("corrigé modifié"));
    g.files().showStatement();
    QFile::remove(g.correction);
    QVERIFY(QDir().mkdir(g.correction)); // a folder stands where the file goes
    g.dialogs.answers = {Answer::Yes};
    QVERIFY(!g.window.close());
    QCOMPARE(g.dialogs.calls.at(0).message.text,
             QStringLiteral("Enregistrer les modifications du corrigé ?"));
    QCOMPARE(g.dialogs.last().message.text, QStringLiteral("Vérifier l'état du lecteur"));
}

// "Non" to a question gives the changes up, though the command that asked
// went no further (open cancelled): neither opening again nor closing asks.
void TextFilesTest::changesGivenUpStayGivenUp() {
    ExerciseFixture f;
    QTest::keyClicks(&f.exo, QStringLiteral("lu "));
    f.files().showCorrection();
    QTest::keyClicks(&f.exo, QStringLiteral("revu "));
    f.dialogs.answers = {Answer::No};
    f.dialogs.fileNames = {std::nullopt};
    f.files().ouvre();
    QCOMPARE(f.dialogs.kinds(), QStringList({"message", "open"}));
    f.dialogs.calls.clear();
    f.dialogs.fileNames = {std::nullopt};
    f.files().ouvre();
    QCOMPARE(f.dialogs.kinds(), QStringList({"open"}));
    // The statement waiting in its buffer is asked about once.
    f.dialogs.calls.clear();
    QVERIFY(f.files().anyUnsavedChanges());
    f.dialogs.answers = {Answer::No};
    QVERIFY(f.files().settleAllUnsavedChanges());
    QCOMPARE(f.dialogs.kinds(), QStringList({"message"}));
    QVERIFY(!f.files().anyUnsavedChanges());
    f.dialogs.calls.clear();
    QVERIFY(f.window.close());
    QCOMPARE(f.dialogs.kinds(), QStringList());
}

void TextFilesTest::filesThatAreNotTextAreRefused() {
    ExerciseFixture f;
    const QString picture = f.dir.filePath(QStringLiteral("photo.png"));
    writeFileBytes(picture, QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    const QByteArray pictureBytes = fileBytes(picture);
    f.dialogs.fileNames = {picture};
    f.files().ouvre();
    QCOMPARE(
        f.dialogs.last().message.text,
        QStringLiteral("Le fichier ") + picture +
            QStringLiteral(" n'est ni un texte RTF ni un texte simple : il n'a pas été ouvert."));
    QCOMPARE(f.exo.text(), QStringLiteral("énoncé"));
    QCOMPARE(f.window.state().nomfichier, f.statement);
    f.window.Command4_Click();
    QCOMPARE(fileBytes(picture), pictureBytes);
}

void TextFilesTest::textsTooLongToLayOutAreRefused_data() {
    QTest::addColumn<QByteArray>("body");
    // 3,000 lines of 1,638-point letters: millions of pixels, more than Qt lays out.
    QTest::newRow("too tall") << "\\fs3276 " + QByteArray("a\\par\n").repeated(3000);
    // Seconds to minutes of layout, in one go.
    QTest::newRow("20,000 changes in a paragraph") << QByteArray("{\\b a} ").repeated(20'000);
    QTest::newRow("a numbered list of 1,000 items")
        << QByteArray("{\\pntext 1.\\tab}\\pard{\\*\\pn\\pnlvlbody\\pndec{\\pntxta .}}un\\par\n")
               .repeated(1000);
}

void TextFilesTest::textsTooLongToLayOutAreRefused() {
    QFETCH(QByteArray, body);
    ExerciseFixture f;
    const QString tall = f.dir.filePath(QStringLiteral("grand.rtf"));
    writeFileBytes(tall, "{\\rtf1\\ansi " + body + "}");
    f.dialogs.fileNames = {tall};
    f.files().ouvre();
    QCOMPARE(f.dialogs.last().message.text,
             QStringLiteral("Le texte ") + tall +
                 QStringLiteral(" est trop long pour être affiché : il n'a pas été ouvert."));
    QCOMPARE(f.exo.text(), QStringLiteral("énoncé"));
    QCOMPARE(f.window.state().nomfichier, f.statement);
}

void TextFilesTest::textsMadeInTheEditorAreNeverRefused_data() {
    QTest::addColumn<bool>("list");
    QTest::newRow("a numbered list of 600 items") << true;
    QTest::newRow("a word of 100,000 letters") << false;
}

// A file like these is refused, but the same text made in the editor goes
// through the buffers whole: refusing it there would lose it.
void TextFilesTest::textsMadeInTheEditorAreNeverRefused() {
    QFETCH(bool, list);
    ExerciseFixture f;
    QTextCursor cursor(f.exo.document());
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    if (list) {
        cursor.insertText(QStringLiteral("question"));
        cursor.createList(QTextListFormat::ListDecimal);
        for (int i = 1; i < 600; ++i) {
            cursor.insertBlock();
            cursor.insertText(QStringLiteral("question"));
        }
    } else {
        cursor.insertText(QString(100'000, u'a'));
    }
    cursor.endEditBlock();
    const QString made = f.exo.text();
    f.window.state().sauvegarde = 0;
    f.files().showCorrection();
    f.files().showStatement();
    QCOMPARE(f.exo.text(), made);
    if (list) QCOMPARE(f.exo.document()->lastBlock().textList()->count(), 600);
    f.window.Command4_Click();
    // Saved whole, though opening that file would refuse it.
    QCOMPARE(read(fileBytes(f.statement))->toPlainText(), made);
}

void TextFilesTest::plainTextIsSavedUnderAnRtfName() {
    ExerciseFixture f;
    const QString plain = f.dir.filePath(QStringLiteral("notes.txt"));
    writeFileBytes(plain, "des notes\n");
    f.dialogs.fileNames = {plain};
    f.files().ouvre();
    f.exo.setText(QStringLiteral("des notes revues"));
    f.dialogs.fileNames = {std::nullopt};
    f.window.Command4_Click();
    QCOMPARE(f.dialogs.last().kind, QStringLiteral("save"));
    QCOMPARE(f.dialogs.last().file.initialName, f.dir.filePath(QStringLiteral("notes.rtf")));
    QCOMPARE(fileBytes(plain), QByteArray("des notes\n"));
    QCOMPARE(f.window.state().sauvegarde, 0);

    // A name typed without an extension gets ".rtf".
    f.dialogs.fileNames = {f.dir.filePath(QStringLiteral("revues"))};
    QVERIFY(f.files().resauve());
    QCOMPARE(textOf(f.dir.filePath(QStringLiteral("revues.rtf"))),
             QStringLiteral("des notes revues"));
    QCOMPARE(fileBytes(plain), QByteArray("des notes\n"));
    QCOMPARE(f.window.state().nomfichier, f.dir.filePath(QStringLiteral("revues.rtf")));
}

// Saved over files that held longer texts, each way a text is saved: the
// file holds the new text's RTF and nothing after it.
void TextFilesTest::shorterTextsLeaveNothingOfLongerOnes() {
    ExerciseFixture f;
    const QString other = f.dir.filePath(QStringLiteral("autre.rtf"));
    for (const QString &path : {f.statement, f.correction, other})
        writeRtf(path, QStringLiteral("un ancien paragraphe bien plus long\n").repeated(300));
    f.files().showCorrection();
    f.exo.setText(QStringLiteral("corrigé court"));
    f.files().showStatement();
    f.exo.setText(QStringLiteral("énoncé court"));
    f.window.Command4_Click(); // the statement from the editor, the correction from its buffer
    QCOMPARE(fileBytes(f.statement), f.exo.textRTF());
    QCOMPARE(fileBytes(f.correction), f.corectampon->textRTF());
    QCOMPARE(textOf(f.correction), QStringLiteral("corrigé court"));

    f.dialogs.fileNames = {other};
    f.dialogs.answers = {Answer::Yes};
    QVERIFY(f.files().sauve());
    QCOMPARE(fileBytes(other), f.exo.textRTF());
    f.exo.setText(QStringLiteral("é"));
    QVERIFY(f.files().resauve());
    QCOMPARE(fileBytes(other), f.exo.textRTF());
    QCOMPARE(f.dialogs.kinds(), QStringList({"save", "message"}));
    for (const QString &path : {f.statement, f.correction, other})
        QVERIFY(!fileBytes(path).contains("ancien"));
}

QTEST_MAIN(TextFilesTest)
#include "textfiles_test.moc"
