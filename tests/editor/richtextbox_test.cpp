#include "document/rtf/rtflog.h"
#include "document/textproperties.h"
#include "editor/richtextbox.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QInputMethodEvent>
#include <QLoggingCategory>
#include <QMimeData>
#include <QPrinter>
#include <QRawFont>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>

// A document of "alpha beta" in plain text and "gamma" in bold red 14 pt.
static void fillMixed(RichTextBox &box) {
    box.setText(QStringLiteral("alpha beta gamma"));
    box.setSelStart(11);
    box.setSelLength(5);
    box.setSelBold(true);
    box.setSelColor(qRgb(200, 0, 0));
    box.setSelFontSize(14);
}

class RichTextBoxTest : public QObject {
    Q_OBJECT

private slots:
    void selectionIsClampedAndTextBreaksParagraphs();
    void whatTheReaderMetIsLoggedOnRequest();
    void mixedSelectionsReadNoValue_data();
    void mixedSelectionsReadNoValue();
    void caretWritesSetTheTypingFormat();
    void offsetKeepsItsTwipsThroughASizeChange();
    void paragraphAttributesFollowTheSelectedParagraphs();
    void findSearchesItsThreeRanges_data();
    void findSearchesItsThreeRanges();
    void protectedTextRefusesEveryEdit();
    void protectedBoundariesStayEditable();
    void typingBesideAFootnoteIsSaved();
    void clipboardSpeaksRtf();
    void oneUndoRevertsOneCommand();
    void undoStepGroupsACommand();
    void filesLoadAndSaveSafely();
    void picturesGoInAsOneStepAtTheirShownSize();
    void printsTheSelectionToPdf();
    void symbolTextIsDrawnWithItsCharacters();
};

void RichTextBoxTest::selectionIsClampedAndTextBreaksParagraphs() {
    RichTextBox box;
    box.setText(QStringLiteral("one\r\ntwo\rthree\nfour"));
    QCOMPARE(box.document()->blockCount(), 4);
    QCOMPARE(box.text(), QStringLiteral("one\ntwo\nthree\nfour"));

    box.setSelStart(1000);
    QCOMPARE(box.selStart(), int(box.text().size()));
    box.setSelStart(4);
    box.setSelLength(1000);
    QCOMPARE(box.selLength(), int(box.text().size()) - 4);
    QCOMPARE(box.selText(), QStringLiteral("two\nthree\nfour"));

    // Assigning replaces the selection and leaves the caret after it.
    box.setSelStart(0);
    box.setSelLength(3);
    QVERIFY(box.setSelText(QStringLiteral("ONE\r\n")));
    QCOMPARE(box.selStart(), 4);
    QCOMPARE(box.selLength(), 0);
    QCOMPARE(box.text(), QStringLiteral("ONE\n\ntwo\nthree\nfour"));
}

void RichTextBoxTest::mixedSelectionsReadNoValue_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("mixed");
    QTest::newRow("plain part") << 0 << 5 << false;
    QTest::newRow("bold part") << 11 << 5 << false;
    QTest::newRow("across both") << 8 << 5 << true;
    QTest::newRow("caret in bold") << 13 << 0 << false;
}

void RichTextBoxTest::mixedSelectionsReadNoValue() {
    QFETCH(int, start);
    QFETCH(int, length);
    QFETCH(bool, mixed);
    RichTextBox box;
    fillMixed(box);
    box.setSelStart(start);
    box.setSelLength(length);
    QCOMPARE(!box.selBold().has_value(), mixed);
    QCOMPARE(!box.selColor().has_value(), mixed);
    QCOMPARE(!box.selFontSize().has_value(), mixed);
    // Attributes that do not differ keep their value over any selection.
    QVERIFY(box.selItalic().has_value());
    QCOMPARE(*box.selItalic(), false);
    QVERIFY(box.selFontName().has_value());
    QCOMPARE(*box.selCharOffset(), 0);
    if (!mixed && start >= 11) {
        QCOMPARE(*box.selBold(), true);
        QCOMPARE(*box.selColor(), QRgb(0xC80000));
        QCOMPARE(*box.selFontSize(), 14.0);
    }
}

void RichTextBoxTest::caretWritesSetTheTypingFormat() {
    RichTextBox box;
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.setText(QStringLiteral("ab"));
    box.setSelStart(1);
    box.setSelItalic(true);
    box.setSelCharOffset(-40);
    QCOMPARE(*box.selItalic(), true);
    QTest::keyClicks(&box, QStringLiteral("xy"));
    QCOMPARE(box.text(), QStringLiteral("axyb"));
    box.setSelStart(1);
    box.setSelLength(2);
    QCOMPARE(*box.selItalic(), true);
    QCOMPARE(*box.selCharOffset(), -40);
    // The neighbours kept their format.
    box.setSelStart(0);
    box.setSelLength(4);
    QVERIFY(!box.selItalic().has_value());
}

void RichTextBoxTest::offsetKeepsItsTwipsThroughASizeChange() {
    RichTextBox box;
    box.setText(QStringLiteral("H2O"));
    box.setSelStart(1);
    box.setSelLength(1);
    box.setSelFontSize(12);
    box.setSelCharOffset(-60);
    const double lowered = textprops::offsetTwips(box.textCursor().charFormat());
    QCOMPARE(lowered, -60.0);
    const double percentAt12 = box.textCursor().charFormat().baselineOffset();
    QVERIFY(percentAt12 < 0);

    box.setSelFontSize(24);
    QCOMPARE(*box.selCharOffset(), -60);
    // The drawn offset is the same distance, so a smaller share of a larger font.
    QCOMPARE(box.textCursor().charFormat().baselineOffset(), percentAt12 / 2);

    box.setSelCharOffset(0);
    QCOMPARE(*box.selCharOffset(), 0);
    QCOMPARE(box.textCursor().charFormat().baselineOffset(), 0.0);
}

void RichTextBoxTest::paragraphAttributesFollowTheSelectedParagraphs() {
    RichTextBox box;
    box.setText(QStringLiteral("one\ntwo\nthree"));
    box.setSelStart(0);
    box.setSelLength(5); // "one" and the start of "two"
    box.setSelAlignment(RichTextBox::AlignCenter);
    box.setSelIndent(30);
    box.setSelTabCount(2);
    box.setSelTabs(0, 40);
    box.setSelTabs(1, 115);
    box.setSelBullet(true);
    QCOMPARE(*box.selAlignment(), int(RichTextBox::AlignCenter));
    QCOMPARE(*box.selTabs(1), 115);
    QCOMPARE(*box.selBullet(), true);

    box.setSelStart(4);
    box.setSelLength(6); // "two" and "three"
    QVERIFY(!box.selAlignment().has_value());
    QVERIFY(!box.selIndent().has_value());
    QVERIFY(!box.selTabCount().has_value());
    QVERIFY(!box.selBullet().has_value());
    QCOMPARE(*box.selRightIndent(), 0);

    // Leaving the list keeps the paragraph's own indent and alignment.
    box.setSelStart(0);
    box.setSelBullet(false);
    QCOMPARE(*box.selBullet(), false);
    QCOMPARE(*box.selIndent(), 30);
    QCOMPARE(*box.selAlignment(), int(RichTextBox::AlignCenter));
    QVERIFY(!box.selTabs(5).has_value());
}

void RichTextBoxTest::findSearchesItsThreeRanges_data() {
    QTest::addColumn<int>("selFrom");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<QString>("needle");
    QTest::addColumn<int>("start"); // -1: omitted
    QTest::addColumn<int>("end");   // -1: omitted
    QTest::addColumn<int>("options");
    QTest::addColumn<int>("found");
    // Text: "Le pH du pH-mètre, PH et phase."
    QTest::newRow("whole text") << 0 << 0 << "pH" << -1 << -1 << 0 << 3;
    QTest::newRow("from start to end") << 0 << 0 << "pH" << 4 << -1 << 0 << 9;
    QTest::newRow("case ignored") << 0 << 0 << "ph" << 10 << -1 << 0 << 19;
    QTest::newRow("match case") << 0 << 0 << "PH" << 0 << -1 << 4 << 19;
    QTest::newRow("whole word") << 0 << 0 << "ph" << 20 << -1 << 2 << -1;
    QTest::newRow("not a word inside phase") << 0 << 0 << "ph" << 22 << -1 << 0 << 25;
    QTest::newRow("in the selection") << 8 << 10 << "pH" << -1 << -1 << 0 << 9;
    QTest::newRow("only in the selection") << 8 << 10 << "phase" << -1 << -1 << 0 << -1;
    QTest::newRow("start and end") << 0 << 0 << "pH" << 0 << 4 << 0 << -1;
    QTest::newRow("never wraps") << 0 << 0 << "Le" << 1 << -1 << 0 << -1;
}

void RichTextBoxTest::findSearchesItsThreeRanges() {
    QFETCH(int, selFrom);
    QFETCH(int, selLength);
    QFETCH(QString, needle);
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(int, options);
    QFETCH(int, found);
    RichTextBox box;
    box.setText(QStringLiteral("Le pH du pH-mètre, PH et phase."));
    box.setSelStart(selFrom);
    box.setSelLength(selLength);
    const auto optional = [](int v) { return v < 0 ? std::nullopt : std::optional<int>(v); };
    QCOMPARE(box.find(needle, optional(start), optional(end), options), found);
    if (found >= 0) {
        QCOMPARE(box.selStart(), found);
        QCOMPARE(box.selLength(), int(needle.size()));
    } else {
        QCOMPARE(box.selStart(), selFrom);
        QCOMPARE(box.selLength(), selLength);
    }
}

// "free [LOCKED] free", the brackets and their content protected.
static void fillProtected(RichTextBox &box) {
    box.setText(QStringLiteral("free [LOCKED] free"));
    box.setSelStart(5);
    box.setSelLength(8);
    box.setSelProtected(true);
}

void RichTextBoxTest::protectedTextRefusesEveryEdit() {
    RichTextBox box;
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    fillProtected(box);
    const QString before = box.text();

    box.setSelStart(8); // inside the protected run
    QTest::keyClicks(&box, QStringLiteral("zz"));
    QTest::keyClick(&box, Qt::Key_Backspace);
    QTest::keyClick(&box, Qt::Key_Delete);
    QTest::keyClick(&box, Qt::Key_Return);
    QTest::keyClick(&box, Qt::Key_Backspace, Qt::ControlModifier);
    box.setSelStart(13); // just after "]": Backspace would remove it
    QTest::keyClick(&box, Qt::Key_Backspace);
    box.setSelStart(5); // just before "[": Delete would remove it
    QTest::keyClick(&box, Qt::Key_Delete);
    QCOMPARE(box.text(), before);

    // A selection that reaches into protected text.
    box.setSelStart(2);
    box.setSelLength(5);
    QApplication::clipboard()->setText(QStringLiteral("pasted"));
    QTest::keyClick(&box, Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(&box, Qt::Key_Insert, Qt::ShiftModifier);
    QVERIFY(!box.setSelText(QStringLiteral("x")));
    QVERIFY(!box.setSelRTF(QByteArray()));
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("é"));
    QApplication::sendEvent(&box, &commit);
    QCOMPARE(box.text(), before);

    // Dropped text lands only outside the protected run.
    QMimeData dropped;
    dropped.setText(QStringLiteral("drop"));
    const auto dropAt = [&](int position) {
        QTextCursor at(box.document());
        at.setPosition(position);
        const QPointF point = box.cursorRect(at).center();
        QDragEnterEvent enter(point.toPoint(), Qt::CopyAction, &dropped, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(box.viewport(), &enter);
        QDropEvent drop(point, Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box.viewport(), &drop);
    };
    dropAt(8);
    QCOMPARE(box.text(), before);
    dropAt(2);
    QCOMPARE(box.text(), QStringLiteral("frdropee [LOCKED] free"));
    box.setText(before);
    box.setSelStart(5);
    box.setSelLength(8);
    box.setSelProtected(true);

    // Unprotecting makes the text editable again.
    box.setSelStart(5);
    box.setSelLength(8);
    box.setSelProtected(false);
    QVERIFY(box.setSelText(QStringLiteral("ok")));
    QCOMPARE(box.text(), QStringLiteral("free ok free"));
}

void RichTextBoxTest::protectedBoundariesStayEditable() {
    RichTextBox box;
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    // A protected first line, its paragraph mark included, then free text.
    box.setText(QStringLiteral("locked\nfree"));
    box.setSelStart(0);
    box.setSelLength(7);
    box.setSelProtected(true);

    box.setSelStart(0);
    QTest::keyClicks(&box, QStringLiteral("a"));
    box.setSelStart(9); // after the "f" of "free"
    QTest::keyClick(&box, Qt::Key_Backspace);
    QCOMPARE(box.text(), QStringLiteral("alocked\nree"));
    box.setSelStart(8); // right after the protected paragraph mark
    QTest::keyClick(&box, Qt::Key_Backspace);
    QCOMPARE(box.text(), QStringLiteral("alocked\nree"));
    QTest::keyClicks(&box, QStringLiteral("F"));
    QCOMPARE(box.text(), QStringLiteral("alocked\nFree"));
}

// A footnote's number and the text shown at its paragraph's end are kept in
// the footnote; what the user types beside them is the user's, and saved.
void RichTextBoxTest::typingBesideAFootnoteIsSaved() {
    RichTextBox box;
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QVERIFY(box.setTextRTF("{\\rtf1 Texte{\\super\\chftn}{\\footnote Une note.}\\par "
                           "Deux{\\super\\chftn}{\\footnote Autre.}}"));
    const QString shown = box.text();
    QCOMPARE(shown, QStringLiteral("Texte1\uFFFC [Une note.]\nDeux2\uFFFC [Autre.]"));
    // Typed keys at the end of the first paragraph, an accent composed by
    // the input method at the end of the second.
    box.setSelStart(int(shown.indexOf(u'\n')));
    QTest::keyClicks(&box, QStringLiteral(" fin"));
    box.setSelStart(int(box.text().size()));
    QInputMethodEvent composed;
    composed.setCommitString(QStringLiteral("\u00E9"));
    QApplication::sendEvent(&box, &composed);

    RichTextBox reader;
    QVERIFY(reader.setTextRTF(box.textRTF()));
    // The notes' text shows again at the end of their paragraphs.
    QCOMPARE(reader.text(),
             QStringLiteral("Texte1\uFFFC fin [Une note.]\nDeux2\uFFFC\u00E9 [Autre.]"));
    QCOMPARE(box.textRTF().count("{\\footnote"), 2);
}

void RichTextBoxTest::clipboardSpeaksRtf() {
    RichTextBox box;
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    fillMixed(box);
    box.setSelStart(11);
    box.setSelLength(5);
    QTest::keyClick(&box, Qt::Key_C, Qt::ControlModifier);
    const QMimeData *copied = QApplication::clipboard()->mimeData();
    QVERIFY(copied->hasFormat(QStringLiteral("text/rtf")));
    QVERIFY(copied->data(QStringLiteral("text/rtf")).startsWith("{\\rtf1"));
    QCOMPARE(copied->text(), QStringLiteral("gamma"));
    // A drag offers the same formats.
    QVERIFY2(copied->html().contains(QLatin1String("<b>gamma</b>")), qPrintable(copied->html()));

    box.setSelStart(0);
    box.setSelLength(5);
    QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(box.text(), QStringLiteral("gamma beta gamma"));
    box.setSelStart(0);
    box.setSelLength(5);
    QCOMPARE(*box.selBold(), true);
    QCOMPARE(*box.selColor(), QRgb(0xC80000));

    // RTF from another program, under its MIME type.
    auto *other = new QMimeData;
    other->setData(QStringLiteral("text/rtf"),
                   "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20\\i caf\\'e9\\par}");
    QApplication::clipboard()->setMimeData(other);
    box.setSelStart(0);
    box.setSelLength(0);
    QTest::keyClick(&box, Qt::Key_Insert, Qt::ShiftModifier);
    QVERIFY(box.text().startsWith(QStringLiteral("café")));
    box.setSelStart(0);
    box.setSelLength(4);
    QCOMPARE(*box.selItalic(), true);
    QCOMPARE(*box.selFontSize(), 10.0);
}

void RichTextBoxTest::oneUndoRevertsOneCommand() {
    RichTextBox box;
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    fillMixed(box);
    const QByteArray before = box.textRTF();
    box.setSelStart(0);
    box.setSelLength(16);
    box.setSelFontSize(20); // walks several runs
    QCOMPARE(*box.selFontSize(), 20.0);
    QTest::keyClick(&box, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(box.textRTF(), before);

    box.setSelStart(0);
    box.setSelLength(5);
    box.setSelRTF("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 A\\par B\\par}");
    QCOMPARE(box.text(), QStringLiteral("A\nB beta gamma"));
    QTest::keyClick(&box, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(box.textRTF(), before);
}

void RichTextBoxTest::undoStepGroupsACommand() {
    RichTextBox box;
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    fillMixed(box);
    box.document()->clearUndoRedoStacks();
    const QByteArray before = box.textRTF();
    box.setSelStart(0);
    box.setSelLength(16);
    {
        const RichTextBox::UndoStep step(box);
        box.setSelBold(true);
        box.setSelItalic(true);
        {
            const RichTextBox::UndoStep inner(box);
            box.setSelIndent(40);
            box.setSelTabCount(1);
            box.setSelTabs(0, 100);
        }
        box.setSelColor(qRgb(0, 0, 200));
    }
    QCOMPARE(*box.selItalic(), true);
    QTest::keyClick(&box, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(box.textRTF(), before);
    QVERIFY(!box.document()->isUndoAvailable());

    // Writing what the text already has leaves nothing to undo.
    box.setSelStart(11);
    box.setSelLength(5);
    box.setSelAlignment(RichTextBox::AlignCenter);
    const QByteArray centred = box.textRTF();
    box.document()->clearUndoRedoStacks();
    box.setSelBold(true);
    box.setSelColor(qRgb(200, 0, 0));
    box.setSelFontSize(14);
    box.setSelAlignment(RichTextBox::AlignCenter);
    box.setSelBullet(false);
    QVERIFY(!box.document()->isUndoAvailable());
    QCOMPARE(box.textRTF(), centred);

    // A text loaded while a step is open leaves nothing open behind it.
    {
        const RichTextBox::UndoStep step(box);
        box.setSelBold(true);
        QVERIFY(box.setTextRTF("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 neuf\\par}"));
    }
    QTest::keyClicks(&box, QStringLiteral("x"));
    QCOMPARE(box.text(), QStringLiteral("xneuf"));
    QTest::keyClick(&box, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(box.text(), QStringLiteral("neuf"));
}

void RichTextBoxTest::filesLoadAndSaveSafely() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    RichTextBox box;
    fillMixed(box);
    const QString path = dir.filePath(QStringLiteral("texte.rtf"));
    QVERIFY(box.saveFile(path));
    RichTextBox reader;
    QCOMPARE(reader.loadFile(path), RichTextBox::LoadOutcome::Loaded);
    QCOMPARE(reader.text(), box.text());
    reader.setSelStart(12);
    QCOMPARE(*reader.selBold(), true);

    // A failed save reports it and leaves the old file whole.
    QVERIFY(!box.saveFile(dir.filePath(QStringLiteral("missing/texte.rtf"))));
    QCOMPARE(reader.loadFile(dir.filePath(QStringLiteral("missing.rtf"))),
             RichTextBox::LoadOutcome::Unreadable);
    QCOMPARE(reader.text(), box.text());

    // Plain-text files: UTF-8 when valid, else Windows-1252.
    const QString plain = dir.filePath(QStringLiteral("plain.txt"));
    QFile file(plain);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("caf\xc3\xa9\r\n\xe2\x82\xac");
    file.close();
    QCOMPARE(reader.loadFile(plain), RichTextBox::LoadOutcome::Loaded);
    QCOMPARE(reader.text(), QStringLiteral("café\n€"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("caf\xe9 \x80");
    file.close();
    QCOMPARE(reader.loadFile(plain), RichTextBox::LoadOutcome::Loaded);
    QCOMPARE(reader.text(), QStringLiteral("café €"));
}

void RichTextBoxTest::picturesGoInAsOneStepAtTheirShownSize() {
    RichTextBox box;
    box.setText(QStringLiteral("ab"));
    box.setSelStart(1);
    box.setSelLength(1);
    QApplication::clipboard()->setText(QStringLiteral("copié"));
    QImage dense(144, 48, QImage::Format_RGB32);
    dense.fill(Qt::red);
    QVERIFY(box.insertPictureAtCaret(dense, QSizeF(36, 12)));
    QCOMPARE(box.text().size(), 2);
    QTextCursor at(box.document());
    at.setPosition(2);
    const QTextImageFormat picture = at.charFormat().toImageFormat();
    QCOMPARE(QSizeF(picture.width(), picture.height()), QSizeF(36, 12));
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("copié"));
    // One undo brings back the replaced character too.
    box.undo();
    QCOMPARE(box.text(), QStringLiteral("ab"));

    // Never over protected text.
    box.selectAll();
    box.setSelProtected(true);
    box.setSelStart(1);
    QVERIFY(!box.insertPictureAtCaret(dense, QSizeF(36, 12)));
    QCOMPARE(box.text(), QStringLiteral("ab"));
}

void RichTextBoxTest::printsTheSelectionToPdf() {
    QTemporaryDir dir;
    RichTextBox box;
    fillMixed(box);
    box.setSelStart(6);
    box.setSelLength(4);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("out.pdf")));
    box.selPrint(printer);
    QFile pdf(printer.outputFileName());
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QVERIFY(pdf.readAll().startsWith("%PDF"));
    // Printing leaves the text and the selection alone.
    QCOMPARE(box.text(), QStringLiteral("alpha beta gamma"));
    QCOMPARE(box.selLength(), 4);
}

void RichTextBoxTest::symbolTextIsDrawnWithItsCharacters() {
    RichTextBox::showSymbolTextWithUnicodeFonts(); // as the program does at start-up
    RichTextBox box;
    box.setText(QStringLiteral("\u03B1\u0394\u2248"));
    box.setSelStart(0);
    box.setSelLength(3);
    box.setSelFontName(QStringLiteral("Symbol"));
    QCOMPARE(*box.selFontName(), QStringLiteral("Symbol"));
    // Whatever font the system calls Symbol, the Greek letters must show.
    const QFont shown = box.document()->begin().begin().fragment().charFormat().font();
    QVERIFY(QRawFont::fromFont(shown).supportsCharacter(QChar(0x03B1)));
}

// A damaged file opens as far as it could be read; what went wrong is
// logged, naming the file, once the category is turned on, and only then.
void RichTextBoxTest::whatTheReaderMetIsLoggedOnRequest() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("abîmé.rtf"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("{\\rtf1\\ansi Bonjour \\u99999999999 fin}");
    file.close();
    RichTextBox box;
    // Off by default: a teacher's error output stays quiet.
    QVERIFY(!rtfLog().isInfoEnabled());
    QCOMPARE(box.loadFile(path), RichTextBox::LoadOutcome::Loaded);
    QVERIFY(box.text().startsWith(QLatin1String("Bonjour")));

    QLoggingCategory::setFilterRules(QStringLiteral("redigo.rtf.info=true"));
    QTest::ignoreMessage(
        QtInfoMsg,
        QRegularExpression(
            QStringLiteral("^%1 : .+ \\(byte \\d+\\)$").arg(QRegularExpression::escape(path))));
    QCOMPARE(box.loadFile(path), RichTextBox::LoadOutcome::Loaded);
    QLoggingCategory::setFilterRules(QString());
}

QTEST_MAIN(RichTextBoxTest)
#include "richtextbox_test.moc"
