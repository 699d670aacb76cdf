#include "app/helpwindow.h"
#include "windowfixture.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>

namespace {

constexpr int widestPicturePx = 620;

} // namespace

class HelpWindowTest : public QObject {
    Q_OBJECT

private slots:
    void everyLinkAndPictureIsThere();
    void contentsAndLinksShowTheirPage();
    void helpEntryShowsOwnHelpOrTheHelpFile();
    void styleSheetColoursEveryHeading();
    void searchListsThePagesHoldingTheWords();
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
            if (!target.endsWith(QLatin1String(".png"))) continue;
            ++pictures;
            // As wide as the page pane at most.
            QVERIFY2(QImage(QStringLiteral(":/help/") + target).width() <= widestPicturePx,
                     qPrintable(target));
        }
    }
    // The typography tools are shown by what they make.
    QVERIFY(pictures >= 4);
}

void HelpWindowTest::contentsAndLinksShowTheirPage() {
    HelpWindow help;
    // The widest picture fits the pages' pane as the window opens.
    help.show();
    QVERIFY(QTest::qWaitForWindowExposed(&help));
    QVERIFY2(help.browser()->viewport()->width() >=
                 widestPicturePx + 2 * int(help.browser()->document()->documentMargin()),
             qPrintable(QString::number(help.browser()->viewport()->width())));
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
    f.window.show();
    f.action("aidant")->trigger();
    // Beside the window: no dialog of its own loop, the text still typed in.
    QVERIFY(f.dialogs.calls.isEmpty());
    auto *help = f.window.findChild<HelpWindow *>(QStringLiteral("aide"));
    QVERIFY(help);
    QVERIFY(help->isVisible());
    QVERIFY(!help->isModal());
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    f.exo.setFocus();
    QTest::keyClicks(&f.exo, QStringLiteral("suite"));
    QCOMPARE(f.exo.text(), QStringLiteral("suite"));
    // F1 again brings the same window forward.
    help->close();
    f.action("aidant")->trigger();
    QCOMPARE(f.window.findChildren<HelpWindow *>().size(), 1);
    QVERIFY(help->isVisible());

    // A help file beside the program goes to the desktop's viewer.
    QFile hlp(f.dir.filePath(QStringLiteral("QZ7.hlp")));
    QVERIFY(hlp.open(QIODevice::WriteOnly));
    hlp.close();
    f.action("aidant")->trigger();
    QCOMPARE(f.dialogs.kinds(), QStringList({"help"}));
    QCOMPARE(f.dialogs.last().text, f.dir.filePath(QStringLiteral("QZ7.hlp")));
}

void HelpWindowTest::styleSheetColoursEveryHeading() {
    HelpWindow help;
    for (const QString &page : HelpWindow::pageNames()) {
        help.browser()->setSource(QUrl(QStringLiteral("qrc:/help/") + page));
        int headings = 0;
        for (QTextBlock block = help.browser()->document()->begin(); block.isValid();
             block = block.next()) {
            if (block.blockFormat().headingLevel() == 0 || block.text().isEmpty()) continue;
            ++headings;
            const QTextCharFormat look = block.begin().fragment().charFormat();
            QVERIFY2(look.foreground().color() == QColor(0x1f, 0x4e, 0x8c),
                     qPrintable(page + QStringLiteral(": ") + block.text()));
        }
        QVERIFY2(headings > 0, qPrintable(page));
    }
}

void HelpWindowTest::searchListsThePagesHoldingTheWords() {
    HelpWindow help;
    const auto shown = [&help] {
        QStringList pages;
        for (int row = 0; row < help.contents()->count(); ++row)
            if (!help.contents()->item(row)->isHidden()) pages << HelpWindow::pageNames().at(row);
        return pages;
    };
    const auto holding = [](const QString &word) {
        QStringList pages;
        for (const QString &page : HelpWindow::pageNames()) {
            QFile file(QStringLiteral(":/help/") + page);
            file.open(QIODevice::ReadOnly);
            QTextDocument document;
            document.setHtml(QString::fromUtf8(file.readAll()));
            if (document.toPlainText().contains(word, Qt::CaseInsensitive)) pages << page;
        }
        return pages;
    };
    QTest::keyClicks(help.searchField(), QStringLiteral("tabulation"));
    const QStringList tabs = shown();
    QCOMPARE(tabs, holding(QStringLiteral("tabulation")));
    QVERIFY(!tabs.isEmpty() && tabs.size() < HelpWindow::pageNames().size());
    QVERIFY(tabs.contains(help.browser()->source().fileName()));
    QVERIFY(help.browser()->textCursor().selectedText().compare(QLatin1String("tabulation"),
                                                                Qt::CaseInsensitive) == 0);
    // Accents and capitals aside; every word must be on the page.
    help.searchField()->setText(QStringLiteral("ENONCE"));
    const QStringList statement = shown();
    for (const QString &page : holding(QStringLiteral("énoncé")))
        QVERIFY2(statement.contains(page), qPrintable(page));
    help.searchField()->setText(QStringLiteral("énoncé"));
    QCOMPARE(shown(), statement);
    help.searchField()->setText(QStringLiteral("énoncé tabulation"));
    for (const QString &page : shown())
        QVERIFY(tabs.contains(page) && holding(QStringLiteral("énoncé")).contains(page));
    help.searchField()->setText(QStringLiteral("xylophone"));
    QVERIFY(shown().isEmpty());
    QCOMPARE(help.findChild<QLabel *>(QStringLiteral("pagestrouvees"))->text(),
             QStringLiteral("Aucune page ne contient ces mots."));
    help.searchField()->clear();
    QCOMPARE(shown(), HelpWindow::pageNames());
}

QTEST_MAIN(HelpWindowTest)
#include "helpwindow_test.moc"
