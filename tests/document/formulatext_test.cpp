#include "document/formulalook.h"
#include "document/textproperties.h"

#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>

using formulas::Level;

namespace {

// A line with its edits made, written out: "_x" is x as an index, "^x" as
// an exponent.
QString written(const QString &line, const QList<formulas::Edit> &edits) {
    QString out;
    qsizetype at = 0;
    for (const formulas::Edit &edit : edits) {
        out += line.mid(at, edit.from - at);
        for (qsizetype i = 0; i < edit.shown.text.size(); ++i) {
            if (edit.shown.levels.at(i) == Level::Index) out += QLatin1Char('_');
            if (edit.shown.levels.at(i) == Level::Exponent) out += QLatin1Char('^');
            out += edit.shown.text.at(i);
        }
        at = edit.to;
    }
    return out + line.mid(at);
}

// A text typed key by key, each word formatted as it ends. Levels are kept
// beside the characters, as a document keeps them in its formats.
QString typed(const QString &keys) {
    QString text;
    QList<Level> levels;
    for (QChar key : keys) {
        if (key.isSpace() || QStringView(u",;:!?").contains(key)) {
            QList<formulas::Edit> edits = formulas::readLastWord(text);
            for (auto edit = edits.rbegin(); edit != edits.rend(); ++edit) {
                text.replace(edit->from, edit->to - edit->from, edit->shown.text);
                levels.remove(edit->from, edit->to - edit->from);
                for (qsizetype i = 0; i < edit->shown.levels.size(); ++i)
                    levels.insert(edit->from + i, edit->shown.levels.at(i));
            }
        }
        text += key;
        levels << Level::Normal;
    }
    formulas::Edit all{0, text.size(), {text, levels}};
    return written(text, {all});
}

QTextDocument *documentOf(const QString &text, double sizePt) {
    auto *document = new QTextDocument;
    QTextCursor cursor(document);
    QTextCharFormat format;
    format.setFontPointSize(sizePt);
    cursor.insertText(text, format);
    return document;
}

QTextCharFormat formatAt(QTextDocument &document, int position) {
    QTextCursor cursor(&document);
    cursor.setPosition(position + 1);
    return cursor.charFormat();
}

} // namespace

class FormulaTextTest : public QObject {
    Q_OBJECT

private slots:
    void equationsAndSentencesAreRead_data();
    void equationsAndSentencesAreRead();
    void typingWordByWordGivesTheSameEquation();
    void levelsHaveTheSizesAndOffsetsOfTheModes();
    void protectedTextAndPicturesStayAsTheyAre();
    void equilibriumBecomesTheSignPicture();
};

void FormulaTextTest::equationsAndSentencesAreRead_data() {
    QTest::addColumn<QString>("selection");
    QTest::addColumn<QString>("expected");
    const char *rows[][2] = {
        {"CH3COO- + H3O+ <=> CH3COOH + H2O", "CH_3COO^- + H_3O^+ ⇌ CH_3COOH + H_2O"},
        {"2 H2 + O2 -> 2 H2O", "2 H_2 + O_2 → 2 H_2O"},
        {"Cu2+ + 2 e- -> Cu", "Cu^2^+ + 2 e^- → Cu"},
        {"Fe <- Fe2+ + 2 e-", "Fe ← Fe^2^+ + 2 e^-"},
        {"NaCl(s) -> Na+(aq) + Cl-(aq)", "NaCl(s) → Na^+(aq) + Cl^-(aq)"},
        {"CH4 + 2 O2 <-> CO2 + 2 H2O", "CH_4 + 2 O_2 ⇌ CO_2 + 2 H_2O"},
        {"^{235}_{92}U + ^1_0n -> ^{94}_{38}Sr + ^{140}_{54}Xe + 2 ^1_0n",
         "^2^3^5_9_2U + ^1_0n → ^9^4_3_8Sr + ^1^4^0_5_4Xe + 2 ^1_0n"},
        // A charge typed apart joins its ion.
        {"SO4 2-", "SO_4^2^-"},
        {"Cu 2+ + SO4 2-", "Cu^2^+ + SO_4^2^-"},
        // Nothing but formulas: taken as asked, one element with its count
        // included.
        {"K2 + V2", "K_2 + V_2"},
        // In a sentence only what is unmistakable.
        {"le K2 et le H2O", "le K2 et le H_2O"},
        {"La feuille A4 contient H2O, puis (CO2).", "La feuille A4 contient H_2O, puis (CO_2)."},
        {"v = 3,0.10-2 m.s-1 soit 108 km.h-1.", "v = 3,0×10^-^2 m·s^-^1 soit 108 km·h^-^1."},
        // Arrows only between formulas.
        {"A -> B", "A -> B"},
        {"voir -> page 3", "voir -> page 3"},
        {"x <=> y", "x <=> y"},
        {"", ""},
    };
    for (const auto &row : rows)
        QTest::newRow(row[0]) << QString::fromUtf8(row[0]) << QString::fromUtf8(row[1]);
}

void FormulaTextTest::equationsAndSentencesAreRead() {
    QFETCH(QString, selection);
    QFETCH(QString, expected);
    QCOMPARE(written(selection, formulas::readSelection(selection)), expected);
}

// Formatted word by word as typed, an equation ends as it would selected
// whole; a word that is no formula never changes.
void FormulaTextTest::typingWordByWordGivesTheSameEquation() {
    QCOMPARE(typed(QStringLiteral("CH3COO- + H3O+ <=> CH3COOH + H2O ")),
             QStringLiteral("CH_3COO^- + H_3O^+ ⇌ CH_3COOH + H_2O "));
    QCOMPARE(typed(QStringLiteral("On a SO4 2-, puis 2 H2O -> 2 H2 + O2.\n")),
             QStringLiteral("On a SO_4^2^-, puis 2 H_2O → 2 H_2 + O_2.\n"));
    QCOMPARE(typed(QStringLiteral("La feuille A4 et le COVID-19 en 3D ; B2B ")),
             QStringLiteral("La feuille A4 et le COVID-19 en 3D ; B2B "));
    // The arrow waits for its right side.
    QCOMPARE(typed(QStringLiteral("H2O -> ")), QStringLiteral("H_2O -> "));
}

void FormulaTextTest::levelsHaveTheSizesAndOffsetsOfTheModes() {
    struct Row {
        bool small;
        int indexTwips, exponentTwips;
        double smallPt;
    };
    // 12 points, offsets of 5 and 8 twentieths: 60 and 96 twips in
    // proportion, 50 and 80 fixed with small characters of 8 points.
    for (const Row &row : {Row{false, -60, 96, 12}, Row{true, -50, 80, 8}}) {
        std::unique_ptr<QTextDocument> document(documentOf(QStringLiteral("x SO42- y"), 12));
        const formulas::LevelLook look{8, 5, row.small};
        QCOMPARE(
            formulas::apply(*document, 0, formulas::readSelection(document->toPlainText()), look),
            1);
        QCOMPARE(document->toPlainText(), QStringLiteral("x SO42- y"));
        const int at[] = {2, 3, 4, 5, 6, 8};
        const int offsets[] = {0, 0, row.indexTwips, row.exponentTwips, row.exponentTwips, 0};
        const double sizes[] = {12, 12, row.smallPt, row.smallPt, row.smallPt, 12};
        for (int i = 0; i < 6; ++i) {
            const QTextCharFormat format = formatAt(*document, at[i]);
            QCOMPARE(textprops::offsetTwips(format), offsets[i]);
            QCOMPARE(format.fontPointSize(), sizes[i]);
        }
        // Read again, formatted text is taken as it is now: nothing to do.
        const QList<formulas::Edit> again = formulas::readSelection(document->toPlainText());
        formulas::apply(*document, 0, again, look);
        QCOMPARE(textprops::offsetTwips(formatAt(*document, 4)), row.indexTwips);
    }
}

void FormulaTextTest::protectedTextAndPicturesStayAsTheyAre() {
    std::unique_ptr<QTextDocument> document(documentOf(QStringLiteral("H2O m.s-2"), 12));
    QTextCursor cursor(document.get());
    cursor.setPosition(0);
    cursor.setPosition(3, QTextCursor::KeepAnchor);
    QTextCharFormat locked;
    textprops::setProtected(locked, true);
    cursor.mergeCharFormat(locked);
    // The unit takes the look of what it replaces: bold red.
    QTextCharFormat look;
    look.setFontWeight(QFont::Bold);
    look.setForeground(Qt::red);
    cursor.setPosition(4);
    cursor.setPosition(9, QTextCursor::KeepAnchor);
    cursor.mergeCharFormat(look);
    const QList<formulas::Edit> edits = formulas::readSelection(document->toPlainText());
    QCOMPARE(edits.size(), 2);
    QCOMPARE(formulas::apply(*document, 0, edits, {}), 1);
    QCOMPARE(document->toPlainText(), QStringLiteral("H2O m·s-2"));
    QCOMPARE(textprops::offsetTwips(formatAt(*document, 1)), 0);
    for (int at : {4, 5, 6, 7, 8}) {
        QCOMPARE(formatAt(*document, at).fontWeight(), int(QFont::Bold));
        QCOMPARE(formatAt(*document, at).foreground().color(), QColor(Qt::red));
    }
    QVERIFY(textprops::offsetTwips(formatAt(*document, 8)) > 0);
}

void FormulaTextTest::equilibriumBecomesTheSignPicture() {
    std::unique_ptr<QTextDocument> document(documentOf(QStringLiteral("H3O+ <=> H2O"), 14));
    QCOMPARE(formulas::apply(*document, 0, formulas::readSelection(document->toPlainText()), {}),
             3);
    QCOMPARE(document->toPlainText(), QStringLiteral("H3O+ \uFFFC H2O"));
    const QTextCharFormat sign = formatAt(*document, 5);
    QVERIFY(sign.isImageFormat());
    // As the palette makes it: as many pixels high as the text has points,
    // three times as wide.
    QCOMPARE(sign.toImageFormat().height(), 14.0);
    QCOMPARE(sign.toImageFormat().width(), 42.0);
    QVERIFY(!document->resource(QTextDocument::ImageResource, QUrl(sign.toImageFormat().name()))
                 .isNull());
}

QTEST_MAIN(FormulaTextTest)
#include "formulatext_test.moc"
