#include "app/mainwindow.h"
#include "app/selectionrefresh.h"
#include "editor/richtextbox.h"
#include "editor/textfiles.h"
#include "exercisefile/recordfile.h"
#include "paragraph/ruler.h"
#include "scripteddialogs.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSpinBox>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QWindow>

namespace {

QByteArray fileBytes(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The caret's look as the tools show it, one entry per attribute.
QStringList caretLook(const RichTextBox &exo) {
    auto text = [](const auto &value) {
        return value ? QVariant(*value).toString() : QStringLiteral("mixed");
    };
    return {text(exo.selFontName()),   text(exo.selFontSize()),  text(exo.selColor()),
            text(exo.selBold()),       text(exo.selItalic()),    text(exo.selUnderline()),
            text(exo.selCharOffset()), text(exo.selAlignment()), text(exo.selIndent()),
            text(exo.selRightIndent())};
}

// What the tool strips and the ruler show, one entry per tool.
QStringList toolsLook(const MainWindow &window) {
    QStringList look;
    const auto named = [&window](const QString &name) { return window.findChild<QWidget *>(name); };
    look << window.findChild<QComboBox *>(QStringLiteral("Combo1"))->currentText()
         << window.findChild<QLineEdit *>(QStringLiteral("taille"))->text()
         << QString::number(window.findChild<QSpinBox *>(QStringLiteral("UpDown1"))->value())
         << named(QStringLiteral("cotext"))->palette().color(QPalette::WindowText).name();
    for (const QString &box :
         {QStringLiteral("Check1(1)"), QStringLiteral("Check1(2)"), QStringLiteral("Check1(3)"),
          QStringLiteral("Option2(0)"), QStringLiteral("optcoul(1)"), QStringLiteral("Option3(0)")})
        look << box + QLatin1Char('=') +
                    QString::number(qobject_cast<QAbstractButton *>(named(box))->isChecked());
    const Ruler *ruler = window.findChild<Ruler *>();
    look << QString::number(ruler->gaucheWidthCm()) << QString::number(ruler->droiteLeftCm());
    return look;
}

QStringList actionNames(const QMenu *menu) {
    QStringList names;
    for (const QAction *action : menu->actions())
        names << action->objectName() + (action->isSeparator() ? QStringLiteral("-") : QString());
    return names;
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void startUpState();
    void fileMenuAndButtons();
    void runningFlagKeepsOtherRecords();
    void moduleSelection();
    void newAsksAboutChanges();
    void newStartsWithTheStartUpLook();
    void newShowsTheNewTextsLookInTheTools();
    void closeAsksAboutChanges_data();
    void closeAsksAboutChanges();
    void closeSavesOnlyTheOpenText();
    void menusInTheirOrder();
    void helpOpensTheHelpFile();
    void ownDialogsAreAnsweredLikeMessages();
    void smallScreens_data();
    void smallScreens();
    void windowFitsItsScreen_data();
    void windowFitsItsScreen();
    void shownFrameLiesOnTheScreen();
    void windowCanShrinkToTheScreenWhateverTheDesktopFont_data();
    void windowCanShrinkToTheScreenWhateverTheDesktopFont();
    void quitButtonIsNotACross();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString flagPath() const { return m_dir->filePath(QStringLiteral("TEMPts.tmp")); }
};

void MainWindowTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
}

void MainWindowTest::startUpState() {
    ScriptedDialogs dialogs;
    MainWindow window(dialogs, m_dir->path());
    QCOMPARE(window.windowTitle(), QStringLiteral("REDIGO - SANS NOM"));
    QCOMPARE(window.state().nomfichier, QStringLiteral("SANS NOM"));
    QCOMPARE(window.state().sauvegarde, 1);
    QCOMPARE(window.state().extension, QStringLiteral("E51"));
    QCOMPARE(window.state().policesymbole, QStringLiteral("Windings"));
    QCOMPARE(recordfile::recordText(fileBytes(flagPath()), 5), QStringLiteral("OUI"));

    RichTextBox *exo = window.exo();
    QCOMPARE(*exo->selIndent(), 19);
    QCOMPARE(*exo->selRightIndent(), 12);
    QCOMPARE(*exo->selFontName(), QStringLiteral("Arial"));
    QCOMPARE(*exo->selFontSize(), 10.0);
    QCOMPARE(*exo->selColor(), QRgb(0));
    QCOMPARE(*exo->selBold(), false);

    const auto *fonts = window.findChild<QComboBox *>(QStringLiteral("Combo1"));
    QCOMPARE(fonts->itemText(0), QStringLiteral(" "));
    QCOMPARE(fonts->currentText(), QStringLiteral("Arial"));
    QCOMPARE(window.findChild<QLineEdit *>(QStringLiteral("taille"))->text(), QStringLiteral("10"));
    const auto *modules = window.findChild<QComboBox *>(QStringLiteral("Combo2"));
    QCOMPARE(modules->count(), 15);
    QCOMPARE(modules->currentText(), QStringLiteral("Simulateur A"));
    QVERIFY(dialogs.calls.isEmpty());

    window.close();
    QCOMPARE(recordfile::recordText(fileBytes(flagPath()), 5), QStringLiteral("NON"));
}

void MainWindowTest::fileMenuAndButtons() {
    ScriptedDialogs dialogs;
    MainWindow window(dialogs, m_dir->path());
    auto *fichi = window.findChild<QMenu *>(QStringLiteral("fichi"));
    QCOMPARE(fichi->title(), QStringLiteral("&Fichier"));
    QCOMPARE(actionNames(fichi),
             QStringList({"Nouv", "s1-", "ouvre", "recents", "resauve", "sauvetout", "sauve", "s2-",
                          "configimp", "imprimons", "apercu", "exportpdf", "sep2002-", "quitter",
                          "sepatext-", "textexo", "textcor"}));
    const auto caption = [&](const char *name) {
        return window.findChild<QAction *>(QLatin1String(name))->text();
    };
    QCOMPARE(caption("ouvre"), QStringLiteral("&Ouvrir un fichier texte"));
    QCOMPARE(caption("resauve"), QStringLiteral("E&nregistrer le fichier texte"));
    QCOMPARE(caption("sauvetout"), QStringLiteral("Enregistrer l'énoncé et la correc&tion"));
    QCOMPARE(caption("sauve"), QStringLiteral("&Enregistrer le fichier texte sous..."));
    QCOMPARE(caption("configimp"), QStringLiteral("&Configurer imprimante"));
    for (const char *hidden : {"sepatext", "textexo", "textcor"})
        QVERIFY(!window.findChild<QAction *>(QLatin1String(hidden))->isVisible());

    // Saving both texts is offered only when the exercise names both.
    auto *sauvetout = window.findChild<QAction *>(QStringLiteral("sauvetout"));
    emit fichi->aboutToShow();
    QVERIFY(!sauvetout->isEnabled());
    for (const char *shown : {"textexo", "textcor"})
        window.findChild<QAction *>(QLatin1String(shown))->setVisible(true);
    emit fichi->aboutToShow();
    QVERIFY(sauvetout->isEnabled());

    const QStringList tips = {"Nouveau", "Ouvrir", "Enregistrer", "Quitter"};
    for (int i = 0; i < tips.size(); ++i) {
        const auto *button =
            window.findChild<QToolButton *>(QStringLiteral("Command%1").arg(i + 2));
        QCOMPARE(button->toolTip(), tips.at(i));
        QVERIFY(!button->icon().isNull());
    }
}

void MainWindowTest::runningFlagKeepsOtherRecords() {
    QByteArray existing;
    for (int record = 1; record <= 4; ++record)
        recordfile::setRecordText(existing, record, QStringLiteral("fichier%1.rtf").arg(record));
    existing.append(700 - existing.size(), 'x');
    QFile file(flagPath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(existing);
    file.close();
    {
        ScriptedDialogs dialogs;
        MainWindow window(dialogs, m_dir->path() + QLatin1Char('/'));
        window.close();
    }
    const QByteArray after = fileBytes(flagPath());
    QCOMPARE(after.size(), existing.size());
    QCOMPARE(after.left(4 * 128), existing.left(4 * 128));
    QCOMPARE(recordfile::recordText(after, 5), QStringLiteral("NON"));
    QCOMPARE(after.mid(4 * 128 + 5), existing.mid(4 * 128 + 5));

    // A directory that cannot be written is no obstacle to starting.
    ScriptedDialogs dialogs;
    MainWindow window(dialogs, m_dir->filePath(QStringLiteral("missing/dir")));
    QVERIFY(dialogs.calls.isEmpty());
}

void MainWindowTest::moduleSelection() {
    ScriptedDialogs dialogs;
    MainWindow window(dialogs, m_dir->path());
    auto *modules = window.findChild<QComboBox *>(QStringLiteral("Combo2"));
    modules->setCurrentIndex(2);
    window.Combo2_Click();
    QCOMPARE(window.state().extension, QStringLiteral("E53"));
    // A text that names no module keeps the one in force.
    modules->setEditable(true);
    modules->setCurrentText(QStringLiteral("simulateur c"));
    window.Combo2_Click();
    QCOMPARE(window.state().extension, QStringLiteral("E53"));
}

void MainWindowTest::newAsksAboutChanges() {
    ScriptedDialogs dialogs;
    MainWindow window(dialogs, m_dir->path());
    window.exo()->setText(QStringLiteral("brouillon"));
    window.state().sauvegarde = 0;

    // Yes, then the save-as dialog cancelled: the text stays.
    dialogs.answers = {Answer::Yes};
    window.Nouv_Click();
    QCOMPARE(dialogs.kinds(), QStringList({"message", "save"}));
    const ScriptedDialogs::Call &question = dialogs.calls.first();
    QCOMPARE(question.message.text, QStringLiteral("Enregistrer modifications ?"));
    QCOMPARE(question.message.title, QStringLiteral("Avertissement"));
    QCOMPARE(question.message.buttons, MessageButtons::YesNo);
    QCOMPARE(question.message.icon, MessageIcon::Question);
    QCOMPARE(window.exo()->text(), QStringLiteral("brouillon"));

    // No: a new empty text, no file, unmodified.
    dialogs.calls.clear();
    dialogs.answers = {Answer::No};
    window.Nouv_Click();
    QCOMPARE(dialogs.kinds(), QStringList({"message"}));
    QCOMPARE(window.exo()->text(), QString());
    QCOMPARE(window.windowTitle(), QStringLiteral("REDIGO - SANS NOM"));
    QCOMPARE(window.state().sauvegarde, 1);
    QCOMPARE(*window.exo()->selFontSize(), 10.0);
    QCOMPARE(*window.exo()->selIndent(), 19);

    // Unmodified text: no question.
    dialogs.calls.clear();
    window.Nouv_Click();
    QVERIFY(dialogs.calls.isEmpty());
}

// Whatever look the last text ended with, a new text starts as the program
// did.
void MainWindowTest::newStartsWithTheStartUpLook() {
    ScriptedDialogs dialogs;
    MainWindow window(dialogs, m_dir->path());
    RichTextBox *exo = window.exo();
    const QStringList startUp = caretLook(*exo);
    exo->setText(QStringLiteral("titre"));
    exo->setSelStart(0);
    exo->setSelLength(5);
    exo->setSelFontName(QStringLiteral("Courier New"));
    exo->setSelFontSize(20);
    exo->setSelColor(qRgb(255, 0, 0));
    exo->setSelBold(true);
    exo->setSelItalic(true);
    exo->setSelUnderline(true);
    exo->setSelCharOffset(60);
    exo->setSelAlignment(RichTextBox::AlignCenter);
    exo->setSelIndent(40);
    exo->setSelRightIndent(30);
    exo->setSelStart(5);
    QVERIFY(caretLook(*exo) != startUp);
    window.state().sauvegarde = 1;

    window.Nouv_Click();
    QCOMPARE(caretLook(*exo), startUp);
}

// New from the menu leaves the focus where it was, in the editor: the tools
// and the ruler still follow the new text, not the one it replaced.
void MainWindowTest::newShowsTheNewTextsLookInTheTools() {
    ScriptedDialogs dialogs;
    MainWindow window(dialogs, m_dir->path());
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    RichTextBox *exo = window.exo();
    exo->setFocus();
    const QStringList startUp = toolsLook(window);
    // Typed as the user does, in a size chosen with the arrows.
    window.findChild<QSpinBox *>(QStringLiteral("UpDown1"))->setValue(16);
    QTest::keyClicks(exo, QStringLiteral("titre"));
    QCOMPARE(window.findChild<QLineEdit *>(QStringLiteral("taille"))->text(), QStringLiteral("16"));
    exo->setSelStart(0);
    exo->setSelLength(5);
    exo->setSelFontName(QStringLiteral("DejaVu Serif"));
    exo->setSelFontSize(16);
    exo->setSelColor(qRgb(200, 0, 0));
    exo->setSelBold(true);
    exo->setSelCharOffset(60);
    exo->setSelAlignment(RichTextBox::AlignCenter);
    exo->setSelIndent(40);
    exo->setSelRightIndent(30);
    window.refresh().maj();
    QVERIFY(toolsLook(window) != startUp);
    window.state().sauvegarde = 1;

    window.findChild<QAction *>(QStringLiteral("Nouv"))->trigger();
    QCOMPARE(QApplication::focusWidget(), exo);
    QCOMPARE(toolsLook(window), startUp);
    // The size arrows step from the size shown.
    window.findChild<QSpinBox *>(QStringLiteral("UpDown1"))->stepUp();
    QCOMPARE(*exo->selFontSize(), 12.0);
}

void MainWindowTest::closeAsksAboutChanges_data() {
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<bool>("saveAsGivesName");
    QTest::addColumn<bool>("closes");
    QTest::newRow("no discards") << Answer::No << false << true;
    QTest::newRow("yes and saved") << Answer::Yes << true << true;
    QTest::newRow("yes but cancelled") << Answer::Yes << false << false;
}

void MainWindowTest::closeAsksAboutChanges() {
    QFETCH(Answer, answer);
    QFETCH(bool, saveAsGivesName);
    QFETCH(bool, closes);
    ScriptedDialogs dialogs;
    MainWindow window(dialogs, m_dir->path());
    window.show();
    window.exo()->setText(QStringLiteral("texte"));
    window.state().sauvegarde = 0;
    const QString path = m_dir->filePath(QStringLiteral("texte.rtf"));
    dialogs.answers = {answer};
    dialogs.fileNames = {saveAsGivesName ? std::optional<QString>(path) : std::nullopt};

    QCOMPARE(window.close(), closes);
    QCOMPARE(dialogs.calls.first().message.text, QStringLiteral("Enregistrer modifications ?"));
    QCOMPARE(QFile::exists(path), saveAsGivesName);
    QCOMPARE(recordfile::recordText(fileBytes(flagPath()), 5),
             closes ? QStringLiteral("NON") : QStringLiteral("OUI"));
    if (!closes) QCOMPARE(window.exo()->text(), QStringLiteral("texte"));
}

void MainWindowTest::closeSavesOnlyTheOpenText() {
    ScriptedDialogs dialogs;
    MainWindow window(dialogs, m_dir->path());
    const QString path = m_dir->filePath(QStringLiteral("seul.rtf"));
    window.exo()->setText(QStringLiteral("seul"));
    window.state().nomfichier = path;
    window.state().sauvegarde = 0;
    dialogs.answers = {Answer::Yes};
    QVERIFY(window.close());
    QCOMPARE(dialogs.kinds(), QStringList({"message"}));
    RichTextBox reader;
    QCOMPARE(reader.loadFile(path), RichTextBox::LoadOutcome::Loaded);
    QCOMPARE(reader.text(), QStringLiteral("seul"));
}

void MainWindowTest::menusInTheirOrder() {
    ScriptedDialogs dialogs;
    MainWindow window(dialogs, m_dir->path());
    QStringList titles;
    for (const QAction *menu : window.menuBar()->actions())
        titles << menu->text();
    QCOMPARE(titles,
             QStringList({"&Fichier", "&Edition", "In&sertion", "For&mat", "In&dices et exposants",
                          "Op&tions", "&Outils", "Exer&cice", "&Aide"}));
    QCOMPARE(actionNames(window.findChild<QMenu *>(QStringLiteral("insert"))),
             QStringList({"objet", "insertext", "ima", "sdfd-", "SPECIALCAr", "ionpoly",
                          "sqqsqsqsqsqsq55-", "champreponse"}));
    QCOMPARE(
        actionNames(window.findChild<QMenu *>(QStringLiteral("outil"))),
        QStringList({"rechercher", "contrech", "sep54-", "remplace", "sep55-", "orthographe"}));
    QCOMPARE(actionNames(window.findChild<QMenu *>(QStringLiteral("for0"))),
             QStringList({"q21", "q22", "q23", "sep524-", "protection", "ecorsep-", "bull2",
                          "sep41-", "q24", "q25", "q26", "sep2001-", "margo", "tabulo"}));
    QCOMPARE(actionNames(window.findChild<QMenu *>(QStringLiteral("edition"))),
             QStringList({"annuleur", "sep555-", "coupe", "copie", "colle", "supprime", "s4-",
                          "supercolle", "s5-", "toutsel"}));
    const auto *undo = window.findChild<QAction *>(QStringLiteral("annuleur"));
    QCOMPARE(undo->text(), QStringLiteral("&Annuler") + QString(15, QLatin1Char(' ')) +
                               QStringLiteral("(Ctrl+Z)"));
    for (const char *checked : {"liercolle", "lierobj", "check2", "orthographe"})
        QVERIFY(window.findChild<QAction *>(QLatin1String(checked))->isChecked());
    QVERIFY(!window.findChild<QAction *>(QStringLiteral("decabiz"))->isVisible());
}

void MainWindowTest::helpOpensTheHelpFile() {
    ScriptedDialogs dialogs;
    MainWindow window(dialogs, m_dir->path() + QLatin1Char('/'));
    QFile helpFile(m_dir->filePath(QStringLiteral("QZ7.hlp")));
    QVERIFY(helpFile.open(QIODevice::WriteOnly));
    helpFile.close();
    window.findChild<QAction *>(QStringLiteral("aidant"))->trigger();
    QCOMPARE(dialogs.kinds(), QStringList({"help"}));
    QCOMPARE(dialogs.last().text, m_dir->path() + QStringLiteral("/QZ7.hlp"));
}

void MainWindowTest::smallScreens_data() {
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QRect>("placement"); // null: left as designed
    QTest::newRow("800 wide") << QSize(800, 600) << QRect(0, 0, 800, 600);
    QTest::newRow("849 wide") << QSize(849, 700) << QRect(24, 50, 800, 600);
    QTest::newRow("850 wide") << QSize(850, 700) << QRect();
    QTest::newRow("large") << QSize(1920, 1080) << QRect();
}

void MainWindowTest::smallScreens() {
    QFETCH(QSize, screen);
    QFETCH(QRect, placement);
    QCOMPARE(smallScreenPlacement(screen).value_or(QRect()), placement);
}

void MainWindowTest::windowFitsItsScreen_data() {
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QRect>("available"); // without the task bar
    QTest::addColumn<QRect>("frame");     // the window with its title bar and borders
    const QRect wide(0, 0, 1366, 768), square(0, 0, 1024, 768), small(0, 0, 800, 600);
    QTest::newRow("1366 x 768") << wide << wide << QRect(182, 11, 1002, 745);
    QTest::newRow("1366 x 768, task bar")
        << wide << QRect(0, 0, 1366, 728) << QRect(182, 0, 1002, 728);
    QTest::newRow("1024 x 768") << square << square << QRect(11, 11, 1002, 745);
    QTest::newRow("1024 x 768, task bar at the top")
        << square << QRect(0, 40, 1024, 728) << QRect(11, 40, 1002, 728);
    QTest::newRow("800 x 600") << small << small << QRect(0, 0, 800, 600);
    QTest::newRow("800 x 600, task bar") << small << QRect(0, 0, 800, 570) << QRect(0, 0, 800, 570);
    QTest::newRow("849 x 700, second screen")
        << QRect(1366, 0, 849, 700) << QRect(1366, 0, 849, 700) << QRect(1390, 50, 800, 600);
}

// The whole frame, title bar included, lies within the part of the screen
// windows may use: the designed size when it fits, 800 x 600 on small
// screens.
void MainWindowTest::windowFitsItsScreen() {
    QFETCH(QRect, screen);
    QFETCH(QRect, available);
    QFETCH(QRect, frame);
    const QMargins titleBarAndBorders(1, 20, 1, 5);
    const QRect placed = startFrameGeometry(screen, available, titleBarAndBorders);
    QCOMPARE(placed, frame);
    QVERIFY(available.contains(placed));
}

void MainWindowTest::shownFrameLiesOnTheScreen() {
    ScriptedDialogs dialogs;
    MainWindow window(dialogs, m_dir->path());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QScreen *screen = window.screen();
    const QRect expected = startFrameGeometry(screen->geometry(), screen->availableGeometry(),
                                              window.windowHandle()->frameMargins());
    QTRY_COMPARE(window.frameGeometry(), expected);
    QVERIFY(screen->availableGeometry().contains(window.frameGeometry()));
}

void MainWindowTest::windowCanShrinkToTheScreenWhateverTheDesktopFont_data() {
    QTest::addColumn<double>("fontPt");
    QTest::addColumn<QSize>("screenPx");
    QTest::newRow("9 pt, 800 x 600") << 9.0 << QSize(800, 600);
    QTest::newRow("10 pt, 1024 x 768") << 10.0 << QSize(1024, 768);
    QTest::newRow("12 pt, 1024 x 768") << 12.0 << QSize(1024, 768);
    QTest::newRow("12 pt, 1366 x 768, task bar") << 12.0 << QSize(1366, 728);
    QTest::newRow("13 pt, 1366 x 768") << 13.0 << QSize(1366, 768);
}

// The placement is only asked for: a window cannot be made smaller than
// what its contents need, and a larger desktop font makes them need more.
void MainWindowTest::windowCanShrinkToTheScreenWhateverTheDesktopFont() {
    QFETCH(double, fontPt);
    QFETCH(QSize, screenPx);
    const QFont desktop = QApplication::font();
    QFont larger = desktop;
    larger.setPointSizeF(fontPt);
    QApplication::setFont(larger);
    {
        ScriptedDialogs dialogs;
        MainWindow window(dialogs, m_dir->path());
        // A title bar of 29 px and borders of 4 px, as thick as desktops make them.
        const QSize framed = window.minimumSizeHint().grownBy(QMargins(4, 29, 4, 4));
        QVERIFY2(framed.width() <= screenPx.width() && framed.height() <= screenPx.height(),
                 qPrintable(QStringLiteral("%1 x %2").arg(framed.width()).arg(framed.height())));
    }
    QApplication::setFont(desktop);
}

// Beside the scissors, the quit button must not be a cross.
void MainWindowTest::quitButtonIsNotACross() {
    ScriptedDialogs dialogs;
    MainWindow window(dialogs, m_dir->path());
    const auto picture = [](const QIcon &icon) { return icon.pixmap(20, 20).toImage(); };
    const QImage quit =
        picture(window.findChild<QToolButton *>(QStringLiteral("Command5"))->icon());
    QVERIFY(!quit.isNull());
    QVERIFY(quit != picture(window.findChild<QToolButton *>(QStringLiteral("Command7"))->icon()));
    QVERIFY(quit != picture(window.style()->standardIcon(QStyle::SP_DialogCloseButton)));
    QVERIFY(quit != picture(window.style()->standardIcon(QStyle::SP_TitleBarCloseButton)));
}

void MainWindowTest::ownDialogsAreAnsweredLikeMessages() {
    ScriptedDialogs dialogs;
    MainWindow window(dialogs, m_dir->path());
    RichTextBox &exo = *window.exo();
    // Unanswered, a dialog is cancelled at once instead of waiting for a user.
    window.margo_Click();
    QCOMPARE(dialogs.kinds(), QStringList({"dialog"}));
    QCOMPARE(dialogs.last().text, QStringLiteral("marges"));
    QCOMPARE(*exo.selIndent(), 19.0);

    dialogs.dialogAnswers << [](QDialog &margins) {
        auto *left = margins.findChild<QLineEdit *>(QStringLiteral("Text1(0)"));
        left->selectAll();
        QTest::keyClicks(left, QStringLiteral("1"));
        margins.findChild<QAbstractButton *>(QStringLiteral("Command1"))->click();
        return margins.result();
    };
    window.margo_Click();
    QVERIFY(dialogs.dialogAnswers.isEmpty());
    QVERIFY(*exo.selIndent() != 19.0);
}

QTEST_MAIN(MainWindowTest)
#include "mainwindow_test.moc"
