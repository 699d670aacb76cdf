#include "document/textfilekind.h"
#include "editor/richtextbox.h"
#include "filebytes.h"

#include <QTemporaryDir>
#include <QTest>

// What a file is, told from its bytes, and what the editor shows of it.
class TextFileKindTest : public QObject {
    Q_OBJECT
private slots:
    void filesOpenAsWhatTheyHold_data();
    void filesOpenAsWhatTheyHold();
};

void TextFileKindTest::filesOpenAsWhatTheyHold_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("shown");
    const auto rtf = int(TextFileKind::Rtf);
    const auto plain = int(TextFileKind::PlainText);
    const auto notText = int(TextFileKind::NotText);
    QTest::newRow("rtf") << QByteArray("{\\rtf1 un {\\b mot}}") << rtf << "un mot";
    QTest::newRow("rtf after a utf-8 mark")
        << QByteArray("\xEF\xBB\xBF{\\rtf1 un {\\b mot}}") << rtf << "un mot";
    QTest::newRow("rtf after blank lines")
        << QByteArray("\r\n\r\n  \t{\\rtf1 un {\\b mot}}") << rtf << "un mot";
    QTest::newRow("rtf after a mark and a blank line")
        << QByteArray("\xEF\xBB\xBF\n{\\rtf1 un mot}") << rtf << "un mot";
    QTest::newRow("text after a utf-8 mark")
        << QByteArray("\xEF\xBB\xBF\xC3\xA9t\xC3\xA9") << plain << "été";
    QTest::newRow("utf-16 little-endian text with its mark")
        << QByteArray("\xFF\xFE\xE9\0t\0\xE9\0\r\0\n\0\xB5\x03", 14) << plain << "été\nε";
    QTest::newRow("utf-16 big-endian text with its mark")
        << QByteArray("\xFE\xFF\0\xE9\0t\0\xE9", 8) << plain << "été";
    QTest::newRow("windows-1252 text") << QByteArray("caf\xE9\r\n") << plain << "café\n";
    QTest::newRow("rtf source further down stays text")
        << QByteArray("notes\n{\\rtf1 x}") << plain << "notes\n{\\rtf1 x}";
    QTest::newRow("png") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << notText << "";
    QTest::newRow("utf-16 without its mark") << QByteArray("\xE9\0t\0\xE9\0", 6) << notText << "";
}

// A file some editors save with a mark or a blank line before its RTF shows
// formatted, not as its source, and is saved back as RTF under its name.
void TextFileKindTest::filesOpenAsWhatTheyHold() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, kind);
    QFETCH(QString, shown);
    QCOMPARE(int(textFileKindOf(bytes)), kind);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("texte.rtf"));
    writeFileBytes(path, bytes);
    RichTextBox box;
    box.setText(QStringLiteral("avant"));
    TextFileKind found = TextFileKind::NotText;
    const RichTextBox::LoadOutcome outcome = box.loadFile(path, &found);
    if (kind == int(TextFileKind::NotText)) {
        QCOMPARE(outcome, RichTextBox::LoadOutcome::NotText);
        QCOMPARE(box.text(), QStringLiteral("avant"));
        return;
    }
    QCOMPARE(outcome, RichTextBox::LoadOutcome::Loaded);
    QCOMPARE(int(found), kind);
    QCOMPARE(box.text(), shown);
}

QTEST_MAIN(TextFileKindTest)
#include "textfilekind_test.moc"
