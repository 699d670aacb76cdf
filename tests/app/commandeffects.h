#pragma once

#include "editor/textfiles.h"
#include "exercise/exercisepanel.h"
#include "exercisefile/recordfile.h"
#include "windowfixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPrinter>
#include <QStackedWidget>
#include <QTest>
#include <functional>

// What a command does, seen from outside: the dialog it opens, the question
// it asks, the change of the text, of its look or of a check mark. Each
// effect is written from what the command's caption or tip promises, so
// that a command wired to another's handler shows the wrong effect.
namespace commandeffects {

// "H2O est de l'eau": the "2" at 1, "eau" from 13 to the end.
const QString startText = QStringLiteral("H2O est de l'eau");
constexpr int twoAt = 1;
constexpr int eauAt = 13;
constexpr int eauLength = 3;
const QChar picture = QChar::ObjectReplacementCharacter;

// The window shown on that text at 12 points, saved, with nothing to undo.
class Fixture : public WindowFixture {
public:
    QString statement = root + QStringLiteral("enonce.rtf");
    QString correction = root + QStringLiteral("corrige.rtf");

    Fixture() {
        exo.setText(startText);
        select(0, int(startText.size()));
        exo.setSelFontSize(12);
        select(0, 0);
        exo.document()->clearUndoRedoStacks();
        window.state().sauvegarde = 1;
        window.show();
        if (!QTest::qWaitForWindowExposed(&window)) qFatal("The window does not show");
        exo.setFocus();
    }

    // An exercise whose statement reads "Enonce" and correction "Corrige",
    // as it stands once both texts are opened; the editor still shows its
    // own text.
    void openExercise() {
        write(statement, rtf("Enonce"));
        write(correction, rtf("Corrige"));
        window.textFiles().setTextPath(TextFiles::Text::Statement, statement);
        window.textFiles().setTextPath(TextFiles::Text::Correction, correction);
        for (const char *name : {"sepatext", "textexo", "textcor"})
            action(name)->setVisible(true);
        for (const char *name : {"az52", "az51"})
            action(name)->setEnabled(true);
        control<RichTextBox>(QStringLiteral("sujetampon"))->loadFile(statement);
        control<RichTextBox>(QStringLiteral("corectampon"))->loadFile(correction);
    }
    void click(const QString &name) { control<QAbstractButton>(name)->click(); }
    // The selection's offset, or a value no offset has when it is mixed.
    int offset() const { return exo.selCharOffset().value_or(-9999); }
    double size() const { return exo.selFontSize().value_or(-1); }
    bool marked(const char *name) const { return action(name)->isChecked(); }

    // What was asked of the user, one kind at a time: the objectNames of
    // the dialogs, the titles of file dialogs, input boxes and messages.
    QStringList asked(const QString &kind) const {
        QStringList found;
        for (const ScriptedDialogs::Call &call : dialogs.calls) {
            if (call.kind != kind) continue;
            if (kind == QLatin1String("dialog"))
                found << call.text + QLatin1Char('|') + call.message.title;
            else if (kind == QLatin1String("open") || kind == QLatin1String("save"))
                found << call.file.title;
            else
                found << call.message.title;
        }
        return found;
    }
    // The program's own dialog is shown and closed unanswered.
    void cancelDialog() {
        dialogs.dialogAnswers << [](QDialog &) { return int(QDialog::Rejected); };
    }

    static QByteArray rtf(const char *words) {
        return QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\pard\\f0\\fs20 ") + words +
               "\\par}";
    }
    static void write(const QString &path, const QByteArray &bytes) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
    }
    static QByteArray read(const QString &path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static QString clipboardText() { return QApplication::clipboard()->text(); }
};

using Step = std::function<void(Fixture &)>;

struct Effect {
    Step prepare; // may be empty
    Step check;
};

// The commands several controls share, by what they do.
namespace effect {

inline Effect newText() {
    return {[](Fixture &f) { f.window.state().nomfichier = f.root + QStringLiteral("vieux.rtf"); },
            [](Fixture &f) {
                QCOMPARE(f.exo.text(), QString());
                QCOMPARE(f.window.windowTitle(), QStringLiteral("REDIGO - SANS NOM"));
            }};
}

inline Effect openText() {
    return {[](Fixture &f) {
                const QString path = f.root + QStringLiteral("lu.rtf");
                Fixture::write(path, Fixture::rtf("Lu sur le disque"));
                f.dialogs.fileNames << path;
            },
            [](Fixture &f) {
                QCOMPARE(f.asked("open"), QStringList{"Ouvrir un fichier texte"});
                QVERIFY(f.exo.text().startsWith(QStringLiteral("Lu sur le disque")));
                QVERIFY(!f.exo.text().contains(QStringLiteral("H2O")));
                QCOMPARE(f.window.state().nomfichier, f.root + QStringLiteral("lu.rtf"));
            }};
}

// Saved under the name it has, without a question.
inline Effect saveText() {
    return {[](Fixture &f) {
                f.window.state().nomfichier = f.root + QStringLiteral("garde.rtf");
                QTest::keyClicks(&f.exo, QStringLiteral("Z"));
            },
            [](Fixture &f) {
                QVERIFY(f.dialogs.calls.isEmpty());
                QVERIFY(Fixture::read(f.root + QStringLiteral("garde.rtf")).contains("ZH2O"));
                QCOMPARE(f.window.state().sauvegarde, 1);
            }};
}

inline Effect quit() {
    return {{}, [](Fixture &f) {
                QVERIFY(!f.window.isVisible());
                const QByteArray flag = Fixture::read(f.dir.filePath(QStringLiteral("TEMPts.tmp")));
                QCOMPARE(recordfile::recordText(flag, 5), QStringLiteral("NON"));
            }};
}

// Prints to the PDF file chosen in the printer set-up, asking nothing more.
inline Effect print() {
    return {[](Fixture &f) {
                const QString pdf = f.root + QStringLiteral("sortie.pdf");
                f.dialogs.printerAnswers << [pdf](QPrinter &printer) {
                    printer.setOutputFileName(pdf);
                    return true;
                };
                f.action("configimp")->trigger();
                f.dialogs.calls.clear();
            },
            [](Fixture &f) {
                QVERIFY(f.dialogs.calls.isEmpty());
                QVERIFY(Fixture::read(f.root + QStringLiteral("sortie.pdf")).startsWith("%PDF"));
            }};
}

inline Effect undo() {
    return {[](Fixture &f) { QTest::keyClicks(&f.exo, QStringLiteral("xy")); },
            [](Fixture &f) { QCOMPARE(f.exo.text(), startText); }};
}

inline Effect cut() {
    return {[](Fixture &f) {
                QApplication::clipboard()->setText(QStringLiteral("avant"));
                f.select(eauAt, eauLength);
            },
            [](Fixture &f) {
                QCOMPARE(f.exo.text(), QStringLiteral("H2O est de l'"));
                QCOMPARE(Fixture::clipboardText(), QStringLiteral("eau"));
            }};
}

inline Effect copy() {
    return {[](Fixture &f) {
                QApplication::clipboard()->setText(QStringLiteral("avant"));
                f.select(eauAt, eauLength);
            },
            [](Fixture &f) {
                QCOMPARE(f.exo.text(), startText);
                QCOMPARE(Fixture::clipboardText(), QStringLiteral("eau"));
            }};
}

// Whatever the special paste's option: a text comes as a text.
inline Effect paste() {
    return {[](Fixture &f) {
                f.action("liercolle")->setChecked(false);
                QApplication::clipboard()->setText(QStringLiteral("huile"));
                f.select(eauAt, eauLength);
            },
            [](Fixture &f) {
                QCOMPARE(f.exo.text(), QStringLiteral("H2O est de l'huile"));
                QCOMPARE(Fixture::clipboardText(), QStringLiteral("huile"));
            }};
}

inline Effect find() {
    return {[](Fixture &f) { f.cancelDialog(); },
            [](Fixture &f) { QCOMPARE(f.asked("dialog"), QStringList{"Chercher|Rechercher"}); }};
}

// A picture file chosen in the file dialog comes into the text.
inline Effect insertPicture() {
    return {[](Fixture &f) {
                const QString path = f.root + QStringLiteral("photo.png");
                QImage image(8, 8, QImage::Format_RGB32);
                image.fill(Qt::red);
                if (!image.save(path)) qFatal("cannot write %s", qPrintable(path));
                f.dialogs.fileNames << path;
                f.select(int(startText.size()), 0);
            },
            [](Fixture &f) {
                QCOMPARE(f.asked("open"), QStringList{"Insertion d'une image"});
                QCOMPARE(f.exo.text(), startText + picture);
            }};
}

inline Effect ionFormula() {
    return {[](Fixture &f) { f.cancelDialog(); },
            [](Fixture &f) {
                QCOMPARE(f.asked("dialog"),
                         QStringList{"polyion|Insertion de la formule d'un ion polyatomique"});
            }};
}

// The word at the caret gets its index, small as the mark asks; the rest of
// the text stays as it was.
inline Effect formulas() {
    return {[](Fixture &f) { f.select(twoAt + 1, 0); },
            [](Fixture &f) {
                QCOMPARE(f.exo.text(), startText);
                f.select(twoAt, 1);
                QCOMPARE(f.offset(), -50);
                QCOMPARE(f.size(), 8.0);
                f.select(twoAt + 1, eauAt + eauLength - twoAt - 1);
                QCOMPARE(f.offset(), 0);
                QCOMPARE(f.size(), 12.0);
            }};
}

// One of the selection's styles turns on, the other two stay off.
inline Effect style(int bold, int italic, int underline) {
    return {[](Fixture &f) { f.select(eauAt, eauLength); },
            [bold, italic, underline](Fixture &f) {
                QCOMPARE(f.exo.selBold().value_or(!bold), bool(bold));
                QCOMPARE(f.exo.selItalic().value_or(!italic), bool(italic));
                QCOMPARE(f.exo.selUnderline().value_or(!underline), bool(underline));
                QCOMPARE(f.marked("q21"), bool(bold));
                QCOMPARE(f.marked("q22"), bool(italic));
                QCOMPARE(f.marked("q23"), bool(underline));
            }};
}

inline Effect bullet() {
    return {{}, [](Fixture &f) {
                QVERIFY(f.exo.selBullet().value_or(false));
                QVERIFY(f.marked("bull2"));
            }};
}

// The paragraph takes the alignment; its entry alone is marked. The text
// starts from another alignment.
inline Effect alignment(int expected, int startingFrom) {
    return {[startingFrom](Fixture &f) {
                f.exo.setSelAlignment(startingFrom);
                f.select(2, 0);
            },
            [expected](Fixture &f) {
                QCOMPARE(f.exo.selAlignment().value_or(-1), expected);
                QCOMPARE(f.marked("q24"), expected == RichTextBox::AlignLeft);
                QCOMPARE(f.marked("q25"), expected == RichTextBox::AlignCenter);
                QCOMPARE(f.marked("q26"), expected == RichTextBox::AlignRight);
            }};
}

} // namespace effect

} // namespace commandeffects
