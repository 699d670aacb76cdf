#include "commandeffects.h"

#include <QMenu>
#include <QMenuBar>
#include <QTextBlock>

using namespace commandeffects;

// Every entry of the menu bar, triggered by its name, does what its caption
// says, menu by menu.
namespace {

struct Row {
    const char *menu;
    const char *name;
    Effect effect;
};

// Shows the statement, then the correction, each changed by a letter typed
// at its start, and comes back to the statement.
void changeBothTexts(Fixture &f) {
    f.openExercise();
    f.window.textFiles().showCorrection();
    QTest::keyClicks(&f.exo, QStringLiteral("B"));
    f.window.textFiles().showStatement();
    QTest::keyClicks(&f.exo, QStringLiteral("A"));
}

// The offset value asked for, 10 twentieths of the size, applied at once
// to the selected "2", an index or exponent of 12 points: 6 points, 120
// twips, raised or lowered.
Effect offsetValue(bool exponents) {
    return {[exponents](Fixture &f) {
                f.action("check2")->setChecked(false);
                f.select(twoAt, 1);
                f.control<QAbstractButton>("Option2", exponents ? 2 : 1)->click();
                f.dialogs.inputs << QStringLiteral("10");
            },
            [exponents](Fixture &f) {
                QCOMPARE(f.asked("input"), QStringList{exponents ? "Décalage des exposants"
                                                                 : "Décalage des indices"});
                QCOMPARE(f.offset(), exponents ? 120 : -120);
                QCOMPARE(f.control<QLabel>(QStringLiteral("decexp"))->text(),
                         exponents ? QStringLiteral("10") : QStringLiteral("8"));
                QCOMPARE(f.control<QLabel>(QStringLiteral("decind"))->text(),
                         exponents ? QStringLiteral("5") : QStringLiteral("10"));
            }};
}

// The Formateur opens on the whole text for exponents or for indices.
Effect alignAll(const QString &title) {
    return {[](Fixture &f) {
                f.select(0, int(startText.size()));
                f.cancelDialog();
            },
            [title](Fixture &f) {
                QCOMPARE(f.asked("dialog"), QStringList{QStringLiteral("Formateur|") + title});
            }};
}

Effect dialog(const QString &nameAndTitle) {
    return {[](Fixture &f) { f.cancelDialog(); },
            [nameAndTitle](Fixture &f) { QCOMPARE(f.asked("dialog"), QStringList{nameAndTitle}); }};
}

// Its mark turns over, the other one's stays.
Effect linkMark(const char *name, const char *other) {
    return {{}, [name, other](Fixture &f) {
                QVERIFY(!f.marked(name));
                QVERIFY(f.marked(other));
            }};
}

// The editor shows the exercise's text, from its buffer or read again.
Effect exerciseText(const QString &words, bool statement, bool fromDisk) {
    return {[statement, fromDisk](Fixture &f) {
                f.openExercise();
                if (fromDisk)
                    Fixture::write(statement ? f.statement : f.correction,
                                   Fixture::rtf(statement ? "Enonce relu" : "Corrige relu"));
            },
            [words, statement](Fixture &f) {
                QVERIFY2(f.exo.text().startsWith(words), qPrintable(f.exo.text()));
                QCOMPARE(f.window.state().nomfichier, statement ? f.statement : f.correction);
            }};
}

const std::vector<Row> &rows() {
    static const std::vector<Row> all = {
        {"Fichier", "Nouv", effect::newText()},
        {"Fichier", "ouvre", effect::openText()},
        // The text opened last comes back from the list.
        {"Fichier",
         "recents",
         {[](Fixture &f) {
              const QString path = f.root + QStringLiteral("recent.rtf");
              Fixture::write(path, Fixture::rtf("Relu de la liste"));
              f.dialogs.fileNames << path;
              f.action("ouvre")->trigger();
              f.action("Nouv")->trigger();
          },
          [](Fixture &f) {
              f.action("recent(0)")->trigger();
              QCoreApplication::processEvents();
              QCOMPARE(f.exo.text().trimmed(), QStringLiteral("Relu de la liste"));
          }}},
        {"Fichier", "resauve", effect::saveText()},
        {"Fichier",
         "sauvetout",
         {changeBothTexts,
          [](Fixture &f) {
              QVERIFY(f.dialogs.calls.isEmpty());
              QVERIFY(Fixture::read(f.statement).contains("AEnonce"));
              QVERIFY(Fixture::read(f.correction).contains("BCorrige"));
          }}},
        {"Fichier",
         "sauve",
         // A new name is asked for even when the text has one.
         {[](Fixture &f) {
              f.window.state().nomfichier = f.root + QStringLiteral("garde.rtf");
              f.dialogs.fileNames << f.root + QStringLiteral("copie.rtf");
          },
          [](Fixture &f) {
              QCOMPARE(f.asked("save"), QStringList{"Enregistrer un fichier texte"});
              QVERIFY(Fixture::read(f.root + QStringLiteral("copie.rtf")).contains("H2O"));
              QVERIFY(!QFile::exists(f.root + QStringLiteral("garde.rtf")));
              QCOMPARE(f.window.state().nomfichier, f.root + QStringLiteral("copie.rtf"));
          }}},
        {"Fichier",
         "configimp",
         {[](Fixture &f) { f.dialogs.printerAnswers << [](QPrinter &) { return false; }; },
          [](Fixture &f) { QCOMPARE(f.dialogs.kinds(), QStringList{"printer"}); }}},
        {"Fichier", "imprimons", effect::print()},
        {"Fichier", "apercu", dialog(QStringLiteral("Apercu|Aperçu avant impression"))},
        {"Fichier", "exportpdf", dialog(QStringLiteral("ExportPdf|Exporter en PDF"))},
        {"Fichier", "quitter", effect::quit()},
        {"Fichier", "textexo", exerciseText(QStringLiteral("Enonce relu"), true, true)},
        {"Fichier", "textcor", exerciseText(QStringLiteral("Corrige relu"), false, true)},

        {"Edition", "annuleur", effect::undo()},
        {"Edition", "coupe", effect::cut()},
        {"Edition", "copie", effect::copy()},
        {"Edition", "colle", effect::paste()},
        {"Edition",
         "supprime",
         {[](Fixture &f) {
              QApplication::clipboard()->setText(QStringLiteral("avant"));
              f.select(eauAt, eauLength);
          },
          [](Fixture &f) {
              QCOMPARE(f.exo.text(), QStringLiteral("H2O est de l'"));
              QCOMPARE(Fixture::clipboardText(), QStringLiteral("avant"));
          }}},
        // A picture alone is pasted too, where a plain paste takes only text.
        {"Edition",
         "supercolle",
         {[](Fixture &f) {
              QImage image(6, 6, QImage::Format_RGB32);
              image.fill(Qt::blue);
              QApplication::clipboard()->setImage(image);
              f.select(int(startText.size()), 0);
          },
          [](Fixture &f) { QCOMPARE(f.exo.text(), startText + picture); }}},
        {"Edition",
         "toutsel",
         {[](Fixture &f) { f.select(2, 3); },
          [](Fixture &f) {
              QCOMPARE(f.exo.selStart(), 0);
              QCOMPARE(f.exo.selLength(), int(startText.size()));
          }}},

        {"Insertion", "objet", dialog(QStringLiteral("insertObjectDialog|Insérer un objet"))},
        {"Insertion",
         "insertext",
         {[](Fixture &f) {
              const QString path = f.root + QStringLiteral("morceau.rtf");
              Fixture::write(path, Fixture::rtf("Morceau "));
              f.dialogs.fileNames << path;
          },
          [](Fixture &f) {
              QCOMPARE(f.asked("open"), QStringList{"Insertion d'un texte"});
              QVERIFY2(f.exo.text().startsWith(QStringLiteral("Morceau")),
                       qPrintable(f.exo.text()));
              QVERIFY(f.exo.text().contains(startText));
          }}},
        {"Insertion", "ima", effect::insertPicture()},
        {"Insertion", "SPECIALCAr", dialog(QStringLiteral("echanti|Caractères spéciaux"))},
        {"Insertion", "ionpoly", effect::ionFormula()},
        {"Insertion",
         "champreponse",
         {{},
          [](Fixture &f) {
              QVERIFY(f.exo.text().contains(QStringLiteral(" réponse ")));
              QVERIFY(f.exo.text().endsWith(startText));
              QVERIFY(f.exo.touchesProtected(0, 1));
          }}},

        {"Format", "q21", effect::style(1, 0, 0)},
        {"Format", "q22", effect::style(0, 1, 0)},
        {"Format", "q23", effect::style(0, 0, 1)},
        {"Format",
         "protection",
         {[](Fixture &f) { f.select(eauAt, eauLength); },
          [](Fixture &f) {
              QVERIFY(f.exo.selProtected().value_or(false));
              QVERIFY(f.marked("protection"));
              QVERIFY(!f.exo.touchesProtected(0, 1));
          }}},
        {"Format", "bull2", effect::bullet()},
        {"Format", "q24", effect::alignment(RichTextBox::AlignLeft, RichTextBox::AlignRight)},
        {"Format", "q25", effect::alignment(RichTextBox::AlignCenter, RichTextBox::AlignLeft)},
        {"Format", "q26", effect::alignment(RichTextBox::AlignRight, RichTextBox::AlignLeft)},
        {"Format", "margo", dialog(QStringLiteral("marges|Les marges"))},
        {"Format", "tabulo", dialog(QStringLiteral("Tabof|Tabulations"))},

        {"Indices et exposants", "toutexpo", alignAll(QStringLiteral("Modifier les exposants"))},
        {"Indices et exposants", "toutindi", alignAll(QStringLiteral("Modifier les indices"))},
        // Plain text beside an ion rises to the ion's level, with no dialog.
        {"Indices et exposants",
         "decabiz",
         {[](Fixture &f) { f.select(eauAt, eauLength); },
          [](Fixture &f) {
              QVERIFY(f.offset() > 0);
              QVERIFY(f.dialogs.calls.isEmpty());
          }}},
        {"Indices et exposants", "formules", effect::formulas()},
        {"Indices et exposants", "decaexp", offsetValue(true)},
        {"Indices et exposants", "decaind", offsetValue(false)},
        // Unmarked, an exponent keeps the size of the text.
        {"Indices et exposants",
         "check2",
         {[](Fixture &f) { f.select(twoAt, 1); },
          [](Fixture &f) {
              QVERIFY(!f.marked("check2"));
              f.control<QAbstractButton>("Option2", 2)->click();
              QCOMPARE(f.size(), 12.0);
              QCOMPARE(f.offset(), 12 * 8);
          }}},

        {"Options", "liercolle", linkMark("liercolle", "lierobj")},
        {"Options", "lierobj", linkMark("lierobj", "liercolle")},
        // Marked, a formula typed takes its index as its word ends.
        {"Options",
         "formulesauto",
         {[](Fixture &f) { f.select(int(startText.size()), 0); },
          [](Fixture &f) {
              QVERIFY(f.marked("formulesauto"));
              QTest::keyClicks(&f.exo, QStringLiteral(" CO2 "));
              f.select(int(startText.size()) + 3, 1);
              QCOMPARE(f.offset(), -50);
          }}},

        {"Outils", "rechercher", effect::find()},
        {"Outils",
         "contrech",
         {[](Fixture &f) {
              f.window.state().chaine = QStringLiteral("eau");
              f.window.state().positionrecherche = -1;
          },
          [](Fixture &f) {
              QCOMPARE(f.exo.selStart(), eauAt);
              QCOMPARE(f.exo.selLength(), eauLength);
          }}},
        {"Outils", "remplace", dialog(QStringLiteral("remplaceur|Remplacer"))},
        // Its mark goes off, and with it the underlines.
        {"Outils",
         "orthographe",
         {{},
          [](Fixture &f) {
              QVERIFY(!f.marked("orthographe"));
              for (QTextBlock block = f.exo.document()->begin(); block.isValid();
                   block = block.next())
                  QVERIFY(block.layout()->formats().isEmpty());
          }}},

        {"Exercice",
         "az55",
         {[](Fixture &f) { f.openExercise(); },
          [](Fixture &f) {
              QVERIFY(!f.action("textexo")->isVisible());
              QVERIFY(!f.action("az52")->isEnabled());
              QCOMPARE(f.exo.text(), QString());
          }}},
        {"Exercice",
         "az54",
         {[](Fixture &f) { f.dialogs.fileNames << std::nullopt; },
          [](Fixture &f) {
              QCOMPARE(f.asked("open"), QStringList{"Ouvrir un fichier exercice"});
              QVERIFY(f.dialogs.last().file.filter.endsWith(QStringLiteral("|*.E51")));
          }}},
        {"Exercice",
         "az53",
         {{},
          [](Fixture &f) {
              QCOMPARE(f.control<QStackedWidget>(QStringLiteral("volet"))->currentWidget(),
                       f.control<ExercisePanel>(QStringLiteral("Frame1(1)")));
          }}},
        {"Exercice", "az52", exerciseText(QStringLiteral("Enonce"), true, false)},
        {"Exercice", "az51", exerciseText(QStringLiteral("Corrige"), false, false)},

        // Beside the window, which it leaves free.
        {"Aide",
         "aidant",
         {{},
          [](Fixture &f) {
              const auto *help = f.control<QWidget>(QStringLiteral("aide"));
              QVERIFY(help->isVisible());
              QCOMPARE(help->windowTitle(), QStringLiteral("Aide de Rédigo"));
              QVERIFY(!help->isModal());
              QVERIFY(f.dialogs.calls.isEmpty());
          }}},
    };
    return all;
}

} // namespace

class MenuEntriesTest : public QObject {
    Q_OBJECT

private slots:
    void everyEntryHasItsRow();
    void entryDoesWhatItsCaptionSays_data();
    void entryDoesWhatItsCaptionSays();
};

void MenuEntriesTest::everyEntryHasItsRow() {
    WindowFixture f;
    QStringList entries;
    for (QAction *bar : f.window.menuBar()->actions()) {
        if (!bar->menu()) {
            entries << bar->objectName();
            continue;
        }
        for (const QAction *a : bar->menu()->actions())
            if (!a->isSeparator()) entries << a->objectName();
    }
    QStringList named;
    for (const Row &row : rows())
        named << QLatin1String(row.name);
    QCOMPARE(named, entries);
}

void MenuEntriesTest::entryDoesWhatItsCaptionSays_data() {
    QTest::addColumn<int>("row");
    for (int i = 0; i < int(rows().size()); ++i)
        QTest::newRow(qPrintable(QStringLiteral("%1 / %2").arg(QString::fromUtf8(rows().at(i).menu),
                                                               QLatin1String(rows().at(i).name))))
            << i;
}

void MenuEntriesTest::entryDoesWhatItsCaptionSays() {
    QFETCH(int, row);
    const Row &r = rows().at(row);
    Fixture f;
    if (r.effect.prepare) r.effect.prepare(f);
    QVERIFY2(!QTest::currentTestFailed(), "prepared");
    f.action(r.name)->trigger();
    r.effect.check(f);
    if (QTest::currentTestFailed()) return;
    // Nothing was asked that the entry's effect did not answer.
    QCOMPARE(f.dialogs.unanswered, 0);
}

QTEST_MAIN(MenuEntriesTest)
#include "menuentries_test.moc"
