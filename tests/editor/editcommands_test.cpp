#include "app/mainwindow.h"
#include "editor/editcommands.h"
#include "editor/richtextbox.h"
#include "ionanswer.h"
#include "paragraph/ruler.h"
#include "symbols/palettebuttons.h"
#include "windowfixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTextDocument>
#include <QToolButton>
#include <functional>
#include <map>

// The shown main window with two typed paragraphs, "deux" selected, and
// nothing to undo yet.
class Fixture : public WindowFixture {
public:
    Fixture() {
        window.show();
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window)) qFatal("window not active");
        QTest::keyClicks(&exo, QStringLiteral("un deux"));
        QTest::keyClick(&exo, Qt::Key_Return);
        QTest::keyClicks(&exo, QStringLiteral("trois"));
        select(3, 4);
        exo.document()->clearUndoRedoStacks();
    }
    void click(const char *name, int index) const {
        QTest::mouseClick(control<QAbstractButton>(name, index), Qt::LeftButton);
    }
    void click(const char *name) const {
        QTest::mouseClick(control<QAbstractButton>(QLatin1String(name)), Qt::LeftButton);
    }
    // Answers the next dialog of the program by clicking its buttons in turn,
    // after typing text into its field, when one is given.
    void answerDialog(const char *field, const QString &text, QStringList buttons) {
        dialogs.dialogAnswers << [=](QDialog &dialog) {
            if (field) {
                auto *box = dialog.findChild<QLineEdit *>(QLatin1String(field));
                box->selectAll();
                QTest::keyClicks(box, text);
            }
            for (const QString &button : buttons)
                dialog.findChild<QAbstractButton *>(button)->click();
            return dialog.result();
        };
    }
    bool isChecked(const char *name, int index) const {
        return control<QAbstractButton>(name, index)->isChecked();
    }
    bool bold() const { return exo.selBold().value_or(false); }
};

static void writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

static QString writePicture(const QString &path) {
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::red);
    if (!image.save(path)) qFatal("cannot write %s", qPrintable(path));
    return path;
}

using Action = std::function<void(Fixture &)>;
struct Command {
    template <typename Run> Command(Run run) : run(run) {}
    template <typename Run, typename SetUp>
    Command(Run run, SetUp setUp) : run(run), setUp(setUp) {}
    Action run;
    Action setUp = [](Fixture &) {}; // what the text needs first
};

// Every command of the tool strips, menus and dialogs that changes the text.
static const std::map<QString, Command> &commands() {
    static const std::map<QString, Command> all = {
        {QStringLiteral("bold box"), [](Fixture &f) { f.click("Check1", 1); }},
        {QStringLiteral("italic menu"), [](Fixture &f) { f.action("q22")->trigger(); }},
        {QStringLiteral("red"), [](Fixture &f) { f.click("optcoul", 2); }},
        {QStringLiteral("size arrows"),
         [](Fixture &f) { f.control<QSpinBox>(QStringLiteral("UpDown1"))->stepUp(); }},
        {QStringLiteral("font list"),
         [](Fixture &f) {
             auto *list = f.control<QComboBox>(QStringLiteral("Combo1"));
             const int mono = list->findText(QStringLiteral("DejaVu Sans Mono"));
             list->setCurrentIndex(mono);
             emit list->activated(mono);
         }},
        {QStringLiteral("Arial italic"), [](Fixture &f) { f.click("Command15"); }},
        {QStringLiteral("palette"),
         [](Fixture &f) {
             f.dialogs.dialogAnswers << [](QDialog &palette) {
                 QTest::mouseClick(palette.findChild<QWidget *>(QStringLiteral("Label1(18)")),
                                   Qt::LeftButton);
                 return palette.result();
             };
             f.click("Command12");
         }},
        {QStringLiteral("index"), [](Fixture &f) { f.click("Option2", 1); }},
        {QStringLiteral("centred"), [](Fixture &f) { f.click("Option3", 1); }},
        {QStringLiteral("bullet"), [](Fixture &f) { f.click("bull"); }},
        {QStringLiteral("margins"),
         [](Fixture &f) {
             f.dialogs.dialogAnswers << [](QDialog &margins) {
                 for (const char *field : {"Text1(0)", "Text1(1)"}) {
                     auto *box = margins.findChild<QLineEdit *>(QLatin1String(field));
                     box->selectAll();
                     QTest::keyClicks(box, QStringLiteral("2"));
                 }
                 margins.findChild<QAbstractButton *>(QStringLiteral("Command1"))->click();
                 return margins.result();
             };
             f.action("margo")->trigger();
         }},
        {QStringLiteral("tab dialog"),
         [](Fixture &f) {
             f.dialogs.dialogAnswers << [](QDialog &tabs) {
                 auto *field = tabs.findChild<QLineEdit *>(QStringLiteral("Text1"));
                 for (const char *position : {"3", "1.5", "2"}) {
                     QTest::keyClicks(field, QLatin1String(position));
                     QTest::keyClick(field, Qt::Key_Return);
                 }
                 // Deleting 1,5 shifts the later stops down one by one.
                 auto *shown = tabs.findChild<QListWidget *>(QStringLiteral("List1"));
                 shown->setCurrentRow(0);
                 tabs.findChild<QAbstractButton *>(QStringLiteral("Command2"))->click();
                 tabs.findChild<QAbstractButton *>(QStringLiteral("Command3"))->click();
                 return tabs.result();
             };
             f.action("tabulo")->trigger();
         }},
        {QStringLiteral("ruler click"),
         {[](Fixture &f) {
              QTest::mouseClick(f.window.ruler(), Qt::LeftButton, {},
                                QPoint(int(Ruler::pixelsPerCm * 3), 5));
          },
          [](Fixture &f) {
              f.exo.setSelTabCount(2);
              f.exo.setSelTabs(0, 150);
              f.exo.setSelTabs(1, 200);
          }}},
        {QStringLiteral("special paste"),
         [](Fixture &f) {
             auto *data = new QMimeData;
             data->setData(QStringLiteral("text/rtf"),
                           "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red200\\green0"
                           "\\blue0;}\\qc\\f0\\fs48\\cf1 GROS}");
             QApplication::clipboard()->setMimeData(data);
             f.action("supercolle")->trigger();
         }},
        {QStringLiteral("cut"), [](Fixture &f) { f.action("coupe")->trigger(); }},
        {QStringLiteral("exponents aligned"),
         {[](Fixture &f) {
              f.dialogs.dialogAnswers << [](QDialog &formateur) {
                  formateur.findChild<QAbstractButton *>(QStringLiteral("Command1"))->click();
                  return formateur.result();
              };
              f.action("toutexpo")->trigger();
          },
          [](Fixture &f) { f.exo.setSelCharOffset(60); }}},
        {QStringLiteral("indices aligned"),
         {[](Fixture &f) {
              f.answerDialog(nullptr, {}, {QStringLiteral("Command1")});
              f.action("toutindi")->trigger();
          },
          [](Fixture &f) { f.exo.setSelCharOffset(-60); }}},
        {QStringLiteral("bold menu"), [](Fixture &f) { f.action("q21")->trigger(); }},
        {QStringLiteral("underline menu"), [](Fixture &f) { f.action("q23")->trigger(); }},
        {QStringLiteral("protection menu"), [](Fixture &f) { f.action("protection")->trigger(); }},
        {QStringLiteral("bullet menu"), [](Fixture &f) { f.action("bull2")->trigger(); }},
        {QStringLiteral("centred menu"), [](Fixture &f) { f.action("q25")->trigger(); }},
        {QStringLiteral("right menu"), [](Fixture &f) { f.action("q26")->trigger(); }},
        {QStringLiteral("left menu"),
         {[](Fixture &f) { f.action("q24")->trigger(); },
          [](Fixture &f) { f.exo.setSelAlignment(RichTextBox::AlignCenter); }}},
        {QStringLiteral("paste"),
         [](Fixture &f) {
             QApplication::clipboard()->setText(QStringLiteral("huile"));
             f.action("colle")->trigger();
         }},
        {QStringLiteral("delete"), [](Fixture &f) { f.action("supprime")->trigger(); }},
        {QStringLiteral("text file"),
         [](Fixture &f) {
             const QString path = f.root + QStringLiteral("morceau.rtf");
             writeFile(path,
                       "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\pard\\b\\f0\\fs28 Morceau\\par}");
             f.dialogs.fileNames << path;
             f.action("insertext")->trigger();
         }},
        {QStringLiteral("picture file"),
         [](Fixture &f) {
             const QString path = writePicture(f.root + QStringLiteral("photo.png"));
             f.dialogs.fileNames << path;
             f.action("ima")->trigger();
         }},
        {QStringLiteral("object as picture"),
         [](Fixture &f) {
             f.action("lierobj")->setChecked(false);
             const QString path = writePicture(f.root + QStringLiteral("objet.png"));
             f.answerDialog("fileName", path, {QStringLiteral("ok")});
             f.action("objet")->trigger();
         }},
        {QStringLiteral("ion formula"),
         [](Fixture &f) {
             f.dialogs.dialogAnswers
                 << typingIon(QStringLiteral("SO"), QStringLiteral("4"), QStringLiteral("2-"));
             f.action("ionpoly")->trigger();
         }},
        {QStringLiteral("answer field"), [](Fixture &f) { f.action("champreponse")->trigger(); }},
        {QStringLiteral("symbol palette"),
         [](Fixture &f) {
             auto *palettes = f.control<QTabWidget>(QStringLiteral("SSTab1"));
             QTabBar *bar = palettes->tabBar();
             QTest::mouseClick(bar, Qt::LeftButton, {},
                               bar->tabRect(palettebuttons::MathII).center());
             QTest::mouseClick(f.control<QToolButton>(QStringLiteral("des01")), Qt::LeftButton);
         }},
        {QStringLiteral("special character"),
         [](Fixture &f) {
             f.dialogs.dialogAnswers << [](QDialog &window) {
                 QTest::mouseClick(window.findChild<QWidget *>(QStringLiteral("Label1(5)")),
                                   Qt::LeftButton);
                 window.findChild<QAbstractButton *>(QStringLiteral("Command1"))->click();
                 return window.result();
             };
             f.action("SPECIALCAr")->trigger();
         }},
        {QStringLiteral("ion level"), [](Fixture &f) { f.action("decabiz")->trigger(); }},
        {QStringLiteral("exponent offset"),
         {[](Fixture &f) {
              f.dialogs.inputs << QStringLiteral("10");
              f.action("decaexp")->trigger();
          },
          [](Fixture &f) {
              f.action("check2")->setChecked(false);
              f.click("Option2", 2);
          }}},
        {QStringLiteral("index offset"),
         {[](Fixture &f) {
              f.dialogs.inputs << QStringLiteral("10");
              f.action("decaind")->trigger();
          },
          [](Fixture &f) { f.click("Option2", 1); }}},
        {QStringLiteral("replace all"),
         [](Fixture &f) {
             f.dialogs.dialogAnswers << [](QDialog &dialog) {
                 QTest::keyClicks(dialog.findChild<QLineEdit *>(QStringLiteral("Text1")),
                                  QStringLiteral("u"));
                 QTest::keyClicks(dialog.findChild<QLineEdit *>(QStringLiteral("Text2")),
                                  QStringLiteral("ou"));
                 dialog.findChild<QAbstractButton *>(QStringLiteral("Command1"))->click();
                 return dialog.result();
             };
             f.action("remplace")->trigger();
         }},
    };
    return all;
}

class EditCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void oneCommandIsOneUndoStep_data();
    void oneCommandIsOneUndoStep();
    void toolsFollowUndoAndRedo();
    void rulerFollowsUndoAndRedo();
    void undoAndRedoKeysInTheWindow();
    void aFreshTextHasNothingToUndo();
    void nothingSelectedLeavesTheClipboard_data();
    void nothingSelectedLeavesTheClipboard();
    void specialPasteOfTextLeavesTheClipboard();
    void copyAndCutOfferEveryFormat_data();
    void copyAndCutOfferEveryFormat();

private:
    static void leavesTheClipboard(const Action &command);
};

void EditCommandsTest::oneCommandIsOneUndoStep_data() {
    QTest::addColumn<QString>("command");
    for (const auto &[name, command] : commands())
        QTest::newRow(qPrintable(name)) << name;
}

// One Ctrl+Z takes the text back to what it was, and leaves nothing to undo:
// no halfway state, no step that changes nothing. Ctrl+Y then gives back the
// whole command.
void EditCommandsTest::oneCommandIsOneUndoStep() {
    QFETCH(QString, command);
    Fixture f;
    commands().at(command).setUp(f);
    f.exo.document()->clearUndoRedoStacks();
    const QByteArray before = f.exo.textRTF();
    commands().at(command).run(f);
    QVERIFY(f.dialogs.dialogAnswers.isEmpty());
    const QByteArray after = f.exo.textRTF();
    QVERIFY(after != before);
    QTest::keyClick(&f.exo, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f.exo.textRTF(), before);
    QVERIFY(!f.exo.document()->isUndoAvailable());
    QTest::keyClick(&f.exo, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(f.exo.textRTF(), after);
}

void EditCommandsTest::toolsFollowUndoAndRedo() {
    Fixture f;
    f.click("Check1", 1);
    f.click("optcoul", 2);
    QVERIFY(f.isChecked("optcoul", 2));
    // By key: the red goes, the bold stays.
    QTest::keyClick(&f.exo, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(!f.isChecked("optcoul", 2));
    QVERIFY(f.isChecked("optcoul", 1));
    QVERIFY(f.isChecked("Check1", 1));
    // By the button: the bold goes, the box and its menu mark with it.
    f.click("annule");
    QVERIFY(!f.bold());
    QVERIFY(!f.isChecked("Check1", 1));
    QVERIFY(!f.action("q21")->isChecked());
    QTest::keyClick(&f.exo, Qt::Key_Y, Qt::ControlModifier);
    QVERIFY(f.bold());
    QVERIFY(f.isChecked("Check1", 1));
    QVERIFY(f.action("q21")->isChecked());
    // By the menu entry.
    f.action("annuleur")->trigger();
    QVERIFY(!f.bold());
    QVERIFY(!f.isChecked("Check1", 1));
    // The size box too.
    f.control<QSpinBox>(QStringLiteral("UpDown1"))->stepUp();
    QCOMPARE(f.control<QLineEdit>(QStringLiteral("taille"))->text(), QStringLiteral("12"));
    f.action("annuleur")->trigger();
    QCOMPARE(f.control<QLineEdit>(QStringLiteral("taille"))->text(), QStringLiteral("10"));
}

void EditCommandsTest::rulerFollowsUndoAndRedo() {
    Fixture f;
    Ruler &ruler = *f.window.ruler();
    const double gaucheCm = ruler.gaucheWidthCm();
    const double droiteCm = ruler.droiteLeftCm();
    f.answerDialog("Text1(0)", QStringLiteral("2"), {QStringLiteral("Command1")});
    f.action("margo")->trigger();
    // The focus coming back from the dialog shows the new indents.
    f.window.refresh().maj();
    QVERIFY(ruler.gaucheWidthCm() > gaucheCm);
    QTest::keyClick(&f.exo, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(ruler.gaucheWidthCm(), gaucheCm);
    QCOMPARE(ruler.droiteLeftCm(), droiteCm);
    QTest::keyClick(&f.exo, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(ruler.gaucheWidthCm() > gaucheCm);

    QTest::mouseClick(&ruler, Qt::LeftButton, {}, QPoint(int(Ruler::pixelsPerCm * 3), 5));
    QVERIFY(ruler.tiptab(0)->isVisibleTo(&ruler));
    f.click("annule");
    QVERIFY(!ruler.tiptab(0)->isVisibleTo(&ruler));
    QTest::keyClick(&f.exo, Qt::Key_Y, Qt::ControlModifier);
    QVERIFY(ruler.tiptab(0)->isVisibleTo(&ruler));
}

void EditCommandsTest::undoAndRedoKeysInTheWindow() {
    Fixture f;
    f.exo.setFocus();
    QTest::keyClick(&f.exo, Qt::Key_End);
    QTest::keyClicks(&f.exo, QStringLiteral(" quatre"));
    for (int i = 0; i < 6; ++i)
        QTest::keyClick(&f.exo, Qt::Key_Left, Qt::ShiftModifier);
    QCOMPARE(f.exo.selText(), QStringLiteral("quatre"));
    f.click("Check1", 1);
    QVERIFY(f.bold());
    QTest::keyClick(&f.exo, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(!f.bold());
    QVERIFY(!f.isChecked("Check1", 1));
    QTest::keyClick(&f.exo, Qt::Key_Y, Qt::ControlModifier);
    QVERIFY(f.bold());
    QVERIFY(f.isChecked("Check1", 1));
    // Two more: the bold, then the typing.
    QTest::keyClick(&f.exo, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(&f.exo, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f.exo.text(), QStringLiteral("un deux\ntrois"));
}

void EditCommandsTest::aFreshTextHasNothingToUndo() {
    WindowFixture f;
    const QByteArray fresh = f.exo.textRTF();
    QVERIFY(!f.exo.document()->isUndoAvailable());
    QTest::keyClick(&f.exo, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f.exo.textRTF(), fresh);
    QCOMPARE(*f.exo.selIndent(), 19.0);
}

void EditCommandsTest::nothingSelectedLeavesTheClipboard_data() {
    QTest::addColumn<Action>("command");
    QTest::newRow("copy entry") << Action([](Fixture &f) { f.action("copie")->trigger(); });
    QTest::newRow("cut entry") << Action([](Fixture &f) { f.action("coupe")->trigger(); });
    QTest::newRow("copy button") << Action([](Fixture &f) { f.click("Command6"); });
    QTest::newRow("cut button") << Action([](Fixture &f) { f.click("Command7"); });
    QTest::newRow("Ctrl+C") << Action(
        [](Fixture &f) { QTest::keyClick(&f.exo, Qt::Key_C, Qt::ControlModifier); });
    QTest::newRow("Ctrl+X") << Action(
        [](Fixture &f) { QTest::keyClick(&f.exo, Qt::Key_X, Qt::ControlModifier); });
}

// A text cut a moment ago is still there to paste.
void EditCommandsTest::nothingSelectedLeavesTheClipboard() {
    QFETCH(Action, command);
    leavesTheClipboard(command);
}

// Special paste without the link takes only a picture, and there is none:
// the text copied is neither pasted nor lost.
void EditCommandsTest::specialPasteOfTextLeavesTheClipboard() {
    leavesTheClipboard([](Fixture &f) {
        f.action("liercolle")->setChecked(false);
        f.action("supercolle")->trigger();
    });
    // With a picture there: the picture alone comes in, in one step, and
    // the clipboard keeps all it held.
    Fixture f;
    f.action("liercolle")->setChecked(false);
    auto *both = new QMimeData;
    both->setText(QStringLiteral("légende"));
    QImage red(6, 6, QImage::Format_RGB32);
    red.fill(Qt::red);
    both->setImageData(red);
    QApplication::clipboard()->setMimeData(both);
    f.select(5, 0);
    const QString before = f.exo.text();
    f.action("supercolle")->trigger();
    QCOMPARE(f.exo.text(), before.left(5) + QChar::ObjectReplacementCharacter + before.mid(5));
    QCOMPARE(QApplication::clipboard()->mimeData()->text(), QStringLiteral("légende"));
    QVERIFY(QApplication::clipboard()->mimeData()->hasImage());
    f.action("annuleur")->trigger();
    QCOMPARE(f.exo.text(), before);
}

void EditCommandsTest::leavesTheClipboard(const Action &command) {
    Fixture f;
    auto *kept = new QMimeData;
    kept->setText(QStringLiteral("gardé"));
    kept->setData(QStringLiteral("text/rtf"), "{\\rtf1 gard\\'e9}");
    QApplication::clipboard()->setMimeData(kept);
    f.exo.setFocus();
    f.select(5, 0);
    const QByteArray before = f.exo.textRTF();
    command(f);
    const QMimeData *after = QApplication::clipboard()->mimeData();
    QVERIFY(after);
    QCOMPARE(after->text(), QStringLiteral("gardé"));
    QCOMPARE(after->data(QStringLiteral("text/rtf")), QByteArray("{\\rtf1 gard\\'e9}"));
    QCOMPARE(f.exo.textRTF(), before);
    QVERIFY(!f.exo.document()->isUndoAvailable());
}

void EditCommandsTest::copyAndCutOfferEveryFormat_data() {
    nothingSelectedLeavesTheClipboard_data();
}

// A word processor takes the RTF, a mail or a browser the HTML, a terminal
// the plain text: each gets the selection.
void EditCommandsTest::copyAndCutOfferEveryFormat() {
    QFETCH(Action, command);
    Fixture f;
    f.exo.setFocus();
    f.select(3, 7);
    f.click("Check1", 1);
    command(f);
    const QMimeData *copied = QApplication::clipboard()->mimeData();
    QVERIFY(copied);
    for (const char *format : {"text/rtf", "text/plain", "text/html"})
        QVERIFY2(copied->hasFormat(QLatin1String(format)), format);
    QCOMPARE(copied->text(), QStringLiteral("deux\ntr"));
    QVERIFY2(copied->html().contains(QLatin1String("<b>deux</b></p>")), qPrintable(copied->html()));
    QVERIFY2(copied->html().contains(QLatin1String("<b>tr</b></p>")), qPrintable(copied->html()));
    RichTextBox pasted;
    QVERIFY(pasted.setTextRTF(copied->data(QStringLiteral("text/rtf"))));
    QCOMPARE(pasted.text(), QStringLiteral("deux\ntr"));
}

QTEST_MAIN(EditCommandsTest)
#include "editcommands_test.moc"
