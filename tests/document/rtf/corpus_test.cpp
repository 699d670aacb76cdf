// Files written by real word processors, gathered from the test suites of
// other RTF readers with the text those projects expect (see corpus/README.md).
// The share of files whose text we read as expected may only grow.

#include "document/rtf/rtfreader.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// Files matching when this test was written; raise it as the reader improves.
constexpr int matchedBefore = 41;

QString corpusFolder() {
    return QStringLiteral(REDIGO_FIXTURES "/../corpus");
}

// Whitespace collapsed and trimmed, pictures left out: the projects differ
// in how they lay out paragraphs, cells and tabs, not in the words. Some
// expected texts put "|" between table cells and ("URL") after a link's
// text; those count as layout too, the same way for every reader.
QString normalised(QString text) {
    static const QRegularExpression linkTarget(QStringLiteral("\\(\"[^\"]*\"\\)"));
    text.remove(QChar::ObjectReplacementCharacter);
    text.remove(linkTarget);
    text.replace(QLatin1Char('|'), QLatin1Char(' '));
    return text.simplified();
}

QString readText(const QByteArray &rtf) {
    QTextDocument document;
    QTextCursor cursor(&document);
    readRtf(rtf, cursor, RtfInsertMode::WholeDocument);
    return document.toPlainText();
}

QByteArray contents(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class CorpusTest : public QObject {
    Q_OBJECT

private slots:
    void sameTextAsExpected();
};

void CorpusTest::sameTextAsExpected() {
    QStringList files;
    QDirIterator it(corpusFolder(), {QStringLiteral("*.rtf")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString rtf = it.next();
        if (QFile::exists(rtf.chopped(4) + QLatin1String(".txt"))) files << rtf;
    }
    files.sort();
    QVERIFY2(files.size() >= 40, qPrintable(QString::number(files.size())));

    int matched = 0;
    QStringList missed;
    for (const QString &rtf : std::as_const(files)) {
        const QString expected =
            QString::fromUtf8(contents(rtf.chopped(4) + QLatin1String(".txt")));
        if (normalised(readText(contents(rtf))) == normalised(expected))
            ++matched;
        else
            missed << QDir(corpusFolder()).relativeFilePath(rtf);
    }
    qInfo("%d of %lld files read as expected (%.0f%%)", matched, qlonglong(files.size()),
          100.0 * matched / double(files.size()));
    qInfo("not yet: %s", qPrintable(missed.join(QLatin1String(", "))));
    QVERIFY2(matched >= matchedBefore,
             qPrintable(QStringLiteral("%1 < %2").arg(matched).arg(matchedBefore)));
}

QTEST_MAIN(CorpusTest)
#include "corpus_test.moc"
