#include "imagebytes.h"
#include "ionanswer.h"
#include "symbols/palettebuttons.h"
#include "symbols/symbolpalettes.h"
#include "windowfixture.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QToolButton>

namespace {

// The window shown, the text typed with real keys.
class Fixture : public ShownWindowFixture {
public:
    void clickEquilibriumSign() {
        auto *palettes = control<SymbolPalettes>(QStringLiteral("SSTab1"));
        QTabBar *bar = palettes->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(palettebuttons::MathII).center());
        QTest::mouseClick(control<QToolButton>(QStringLiteral("des01")), Qt::LeftButton);
    }
    void insertIon() {
        dialogs.dialogAnswers << typingIon(QStringLiteral("SO"), QStringLiteral("4"),
                                           QStringLiteral("2-"));
        action("ionpoly")->trigger();
    }
    void insertImageFile() {
        const QString path = root + QStringLiteral("rouge.png");
        QImage red(40, 30, QImage::Format_RGB32);
        red.fill(Qt::red);
        QFile file(path);
        const QByteArray bytes = encoded(red, "PNG");
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        file.close();
        dialogs.fileNames << path;
        action("ima")->trigger();
    }
};

using Insertion = void (Fixture::*)();

} // namespace

class InsertionUndoTest : public QObject {
    Q_OBJECT

private slots:
    void undoLeavesTheCaretWhereThePictureWas_data();
    void undoLeavesTheCaretWhereThePictureWas();
    void undoLeavesTheCaretWhereTheKeyWas_data();
    void undoLeavesTheCaretWhereTheKeyWas();
    void typingAfterAPictureGoesOnInTheLineLook_data();
    void typingAfterAPictureGoesOnInTheLineLook();
};

void InsertionUndoTest::undoLeavesTheCaretWhereThePictureWas_data() {
    QTest::addColumn<Insertion>("insert");
    QTest::newRow("equilibrium sign") << Insertion(&Fixture::clickEquilibriumSign);
    QTest::newRow("ion formula") << Insertion(&Fixture::insertIon);
    QTest::newRow("image file") << Insertion(&Fixture::insertImageFile);
}

void InsertionUndoTest::undoLeavesTheCaretWhereThePictureWas() {
    QFETCH(Insertion, insert);
    Fixture f;
    QTest::keyClicks(&f.exo, QStringLiteral("Ligne un."));
    QTest::keyClick(&f.exo, Qt::Key_Return);
    QTest::keyClicks(&f.exo, QStringLiteral("abc "));
    (f.*insert)();
    QCOMPARE(images(*f.exo.document()).size(), 1);
    QCOMPARE(f.exo.selStart(), 15);
    QTest::keyClick(&f.exo, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(images(*f.exo.document()).isEmpty());
    QCOMPARE(f.exo.selStart(), 14);
    QTest::keyClicks(&f.exo, QStringLiteral("Z"));
    QCOMPARE(f.exo.text(), QStringLiteral("Ligne un.\nabc Z"));
}

void InsertionUndoTest::undoLeavesTheCaretWhereTheKeyWas_data() {
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("typedThenUndone");
    QTest::addColumn<QString>("after");
    // "H2O", its 2 lowered: a key there may change the room the paragraph
    // keeps for it, and is grouped with that change.
    QTest::newRow("beside the lowered character") << 12 << "x"
                                                  << "Ligne un.\nH2ZO ";
    QTest::newRow("further in its paragraph") << 14 << "x"
                                              << "Ligne un.\nH2O Z";
    QTest::newRow("return in its paragraph") << 14 << "\r"
                                             << "Ligne un.\nH2O Z";
}

void InsertionUndoTest::undoLeavesTheCaretWhereTheKeyWas() {
    QFETCH(int, caret);
    QFETCH(QString, typedThenUndone);
    QFETCH(QString, after);
    Fixture f;
    QTest::keyClicks(&f.exo, QStringLiteral("Ligne un."));
    QTest::keyClick(&f.exo, Qt::Key_Return);
    QTest::keyClicks(&f.exo, QStringLiteral("H2O "));
    f.select(11, 1);
    f.exo.setSelCharOffset(-60);
    f.select(caret, 0);
    if (typedThenUndone == QLatin1String("\r"))
        QTest::keyClick(&f.exo, Qt::Key_Return);
    else
        QTest::keyClicks(&f.exo, typedThenUndone);
    QTest::keyClick(&f.exo, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f.exo.text(), QStringLiteral("Ligne un.\nH2O "));
    QCOMPARE(f.exo.selStart(), caret);
    QTest::keyClicks(&f.exo, QStringLiteral("Z"));
    QCOMPARE(f.exo.text(), after);
}

void InsertionUndoTest::typingAfterAPictureGoesOnInTheLineLook_data() {
    QTest::addColumn<Insertion>("insert");
    QTest::addColumn<QString>("arrival");
    const std::pair<const char *, Insertion> insertions[] = {
        {"equilibrium sign", &Fixture::clickEquilibriumSign},
        {"ion formula", &Fixture::insertIon},
        {"image file", &Fixture::insertImageFile}};
    for (const auto &[name, insertion] : insertions)
        for (const char *arrival : {"inserted", "End", "End where it stands", "click",
                                    "click where it stands", "undo and redo"})
            QTest::addRow("%s, %s", name, arrival) << insertion << QString::fromLatin1(arrival);
}

void InsertionUndoTest::typingAfterAPictureGoesOnInTheLineLook() {
    QFETCH(Insertion, insert);
    QFETCH(QString, arrival);
    Fixture f;
    QTest::keyClicks(&f.exo, QStringLiteral("Ligne un."));
    QTest::keyClick(&f.exo, Qt::Key_Return);
    f.exo.setSelFontName(QStringLiteral("Times New Roman"));
    f.exo.setSelFontSize(14);
    f.exo.setSelBold(true);
    f.exo.setSelColor(qRgb(200, 0, 0));
    QTest::keyClicks(&f.exo, QStringLiteral("abc "));
    (f.*insert)();
    QCOMPARE(images(*f.exo.document()).size(), 1);
    if (arrival == QLatin1String("End")) {
        QTest::keyClick(&f.exo, Qt::Key_Home);
        QTest::keyClick(&f.exo, Qt::Key_End);
    } else if (arrival == QLatin1String("click")) {
        f.select(0, 0);
        QTextCursor end = f.exo.textCursor();
        end.movePosition(QTextCursor::End);
        const QRect endRect = f.exo.cursorRect(end);
        QTest::mouseClick(f.exo.viewport(), Qt::LeftButton, {},
                          QPoint(endRect.right() + 40, endRect.center().y()));
    } else if (arrival == QLatin1String("End where it stands")) {
        QTest::keyClick(&f.exo, Qt::Key_End);
    } else if (arrival == QLatin1String("click where it stands")) {
        const QRect caretRect = f.exo.cursorRect();
        QTest::mouseClick(f.exo.viewport(), Qt::LeftButton, {},
                          QPoint(caretRect.right() + 40, caretRect.center().y()));
    } else if (arrival == QLatin1String("undo and redo")) {
        QTest::keyClick(&f.exo, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(&f.exo, Qt::Key_Y, Qt::ControlModifier);
    }
    QCOMPARE(f.exo.selStart(), 15);
    // What the tools show is what is typed.
    QCOMPARE(f.exo.selFontName().value_or(QString()), QStringLiteral("Times New Roman"));
    QCOMPARE(f.exo.selFontSize().value_or(0), 14.0);
    QTest::keyClicks(&f.exo, QStringLiteral("Z"));
    f.select(15, 1);
    QCOMPARE(f.exo.selText(), QStringLiteral("Z"));
    QCOMPARE(f.exo.selFontName().value_or(QString()), QStringLiteral("Times New Roman"));
    QCOMPARE(f.exo.selFontSize().value_or(0), 14.0);
    QCOMPARE(f.exo.selBold().value_or(false), true);
    QCOMPARE(f.exo.selColor().value_or(0), QRgb(0xC80000));
}

QTEST_MAIN(InsertionUndoTest)
#include "insertionundo_test.moc"
