#include "document/rtf/rtfreader.h"
#include "editor/richtextbox.h"
#include "windowfixture.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QEventLoop>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

// What other programs of an X11 desktop read from a copy, asked through the
// X server as a mail, a browser or a terminal asks: xclip stands for them.
// Run by tests/support/under-xvfb.sh.
namespace {

// The program answers xclip's request from its event loop, which runs while
// xclip waits.
QByteArray readClipboard(const char *target) {
    QProcess xclip;
    QEventLoop loop;
    QObject::connect(&xclip, &QProcess::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    xclip.start(QStringLiteral("xclip"),
                {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-o"),
                 QStringLiteral("-t"), QLatin1String(target)});
    loop.exec();
    if (xclip.state() != QProcess::NotRunning) {
        xclip.kill();
        xclip.waitForFinished();
        return "(no answer)";
    }
    return xclip.readAllStandardOutput();
}

// xclip holds the clipboard, as another program after a copy of its own.
void copyInAnotherProgram(const QByteArray &text) {
    QProcess xclip;
    xclip.setStandardOutputFile(QProcess::nullDevice());
    xclip.setStandardErrorFile(QProcess::nullDevice());
    xclip.start(QStringLiteral("xclip"),
                {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-i")});
    xclip.write(text);
    xclip.closeWriteChannel();
    xclip.waitForFinished();
}

// Symbol-font alpha, an exponent, an ampersand, and a word in red bold.
const QByteArray sample =
    "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1\\fnil\\fcharset2 Symbol;}}"
    "{\\colortbl;\\red200\\green0\\blue0;}\\f0\\fs20 {\\f1 a} = 2 m{\\up6 2} & {\\b\\cf1 fin}}";
const QString sampleText = QStringLiteral("α = 2 m2 & fin");

} // namespace

class X11ClipboardTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void otherProgramsReadEveryFormat();
    void copyingNothingLeavesAnotherProgramsCopy();
};

void X11ClipboardTest::initTestCase() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs Qt's xcb platform on an X server (tests/support/under-xvfb.sh starts one when "
              "Xvfb is installed): the clipboard was not checked");
    if (QStandardPaths::findExecutable(QStringLiteral("xclip")).isEmpty())
        QSKIP("xclip is not installed: the clipboard was not checked");
}

void X11ClipboardTest::otherProgramsReadEveryFormat() {
    WindowFixture f;
    QVERIFY(f.exo.setTextRTF(sample));
    f.select(0, int(f.exo.text().size()));
    f.action("copie")->trigger();

    const QList<QByteArray> targets = readClipboard("TARGETS").split('\n');
    for (const char *target : {"text/rtf", "text/html", "text/plain;charset=utf-8", "UTF8_STRING"})
        QVERIFY2(targets.contains(target), target);

    // A terminal, then a mail asking for plain text.
    QCOMPARE(QString::fromUtf8(readClipboard("UTF8_STRING")), sampleText);
    QCOMPARE(QString::fromUtf8(readClipboard("text/plain;charset=utf-8")), sampleText);

    const QString html = QString::fromUtf8(readClipboard("text/html"));
    for (const QString &part : {QStringLiteral("α = 2 m<sup>2</sup> &amp; "),
                                QStringLiteral("<span style=\"color:#c80000\"><b>fin</b></span>")})
        QVERIFY2(html.contains(part), qPrintable(html));

    // A word processor.
    const QByteArray rtf = readClipboard("text/rtf");
    QTextDocument pasted;
    QTextCursor cursor(&pasted);
    readRtf(rtf, cursor, RtfInsertMode::WholeDocument);
    QCOMPARE(pasted.toPlainText(), sampleText);
}

void X11ClipboardTest::copyingNothingLeavesAnotherProgramsCopy() {
    WindowFixture f;
    QVERIFY(f.exo.setTextRTF(sample));
    copyInAnotherProgram("copié ailleurs");
    QTRY_VERIFY(QApplication::clipboard()->text() == QStringLiteral("copié ailleurs"));
    f.select(3, 0);
    f.action("copie")->trigger();
    f.action("coupe")->trigger();
    QCOMPARE(QString::fromUtf8(readClipboard("UTF8_STRING")), QStringLiteral("copié ailleurs"));
    QCOMPARE(f.exo.text(), QStringLiteral("α = 2 m2 & fin"));
}

QTEST_MAIN(X11ClipboardTest)
#include "x11clipboard_test.moc"
