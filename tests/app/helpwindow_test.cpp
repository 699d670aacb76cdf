#include "app/helpwindow.h"
#include "windowfixture.h"

#include <QFile>
#include <QListWidget>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>

class HelpWindowTest : public QObject {
    Q_OBJECT

private slots:
    void everyLinkAndPictureIsThere();
    void contentsAndLinksShowTheirPage();
    void helpEntryShowsOwnHelpOrTheHelpFile();
};

void HelpWindowTest::everyLinkAndPictureIsThere() {
    HelpWindow help;
    QVERIFY(HelpWindow::pageNames().size() >= 5);
    static const QRegularExpression reference(QStringLiteral("(?:href|src)=\"([^\"#]*)[^\"]*\""));
    int pictures = 0;
    for (const QString &page : HelpWindow::pageNames()) {
        QFile file(QStringLiteral(":/help/") + page);
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(page));
        const QString html = QString::fromUtf8(file.readAll());
        QVERIFY2(html.contains(QLatin1String("<title>")), qPrintable(page));
        for (auto it = reference.globalMatch(html); it.hasNext();) {
            const QString target = it.next().captured(1);
            if (target.isEmpty() || target.startsWith(QLatin1String("http"))) continue;
            QVERIFY2(QFile::exists(QStringLiteral(":/help/") + target),
                     qPrintable(page + QStringLiteral(" -> ") + target));
            if (target.endsWith(QLatin1String(".png"))) ++pictures;
        }
    }
    // The typography tools are shown by what they make.
    QVERIFY(pictures >= 4);
}

void HelpWindowTest::contentsAndLinksShowTheirPage() {
    HelpWindow help;
    QCOMPARE(help.contents()->count(), HelpWindow::pageNames().size());
    QCOMPARE(help.browser()->source().fileName(), QStringLiteral("index.html"));
    QCOMPARE(help.contents()->item(0)->text(), help.browser()->documentTitle());
    QVERIFY(help.browser()->toPlainText().contains(QStringLiteral("Rédigo")));

    const int typography = int(HelpWindow::pageNames().indexOf(QStringLiteral("typographie.html")));
    help.contents()->setCurrentRow(typography);
    QCOMPARE(help.browser()->source().fileName(), QStringLiteral("typographie.html"));
    QVERIFY(help.browser()->toPlainText().contains(QStringLiteral("ion polyatomique")));

    // A link followed in a page selects that page in the list.
    help.browser()->setSource(QUrl(QStringLiteral("qrc:/help/menus.html")));
    QCOMPARE(help.contents()->currentRow(),
             int(HelpWindow::pageNames().indexOf(QStringLiteral("menus.html"))));
    help.browser()->backward();
    QCOMPARE(help.contents()->currentRow(), typography);
}

void HelpWindowTest::helpEntryShowsOwnHelpOrTheHelpFile() {
    WindowFixture f;
    f.action("aidant")->trigger();
    QCOMPARE(f.dialogs.kinds(), QStringList({"dialog"}));
    QCOMPARE(f.dialogs.last().text, QStringLiteral("aide"));

    // A help file beside the program goes to the desktop's viewer.
    QFile hlp(f.dir.filePath(QStringLiteral("QZ7.hlp")));
    QVERIFY(hlp.open(QIODevice::WriteOnly));
    hlp.close();
    f.action("aidant")->trigger();
    QCOMPARE(f.dialogs.kinds(), QStringList({"dialog", "help"}));
    QCOMPARE(f.dialogs.last().text, f.dir.filePath(QStringLiteral("QZ7.hlp")));
}

QTEST_MAIN(HelpWindowTest)
#include "helpwindow_test.moc"
