#include "app/welcomepanel.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QImage>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

namespace {

const char *const imageNames[] = {"Image2", "Command14", "command10", "Image3", "Image4"};

QWidget *child(const WelcomePanel &panel, const QString &name) {
    return panel.findChild<QWidget *>(name, Qt::FindDirectChildrenOnly);
}

QWidget *linkImage(const WelcomePanel &panel, int link) {
    return child(panel, QString::fromLatin1(imageNames[link]));
}

QWidget *linkLabel(const WelcomePanel &panel, int link) {
    return child(panel, QStringLiteral("Label7(%1)").arg(link));
}

QList<QPoint> childPositions(const WelcomePanel &panel) {
    QList<QPoint> positions{child(panel, QStringLiteral("Combo2"))->pos()};
    for (int link = 0; link < 5; ++link)
        positions << linkImage(panel, link)->pos() << linkLabel(panel, link)->pos();
    return positions;
}

WelcomePanel *newPanel() {
    auto *modules = new QComboBox;
    modules->setObjectName(QStringLiteral("Combo2"));
    return new WelcomePanel(modules);
}

} // namespace

class WelcomePanelTest : public QObject {
    Q_OBJECT

private slots:
    void backgroundFades_data();
    void backgroundFades();
    void headingIsCentred_data();
    void headingIsCentred();
    void childrenFollowTheText();
    void imageAndLabelRunTheSameLink_data();
    void imageAndLabelRunTheSameLink();
    void linkShowsAndHidesAsOne();
};

void WelcomePanelTest::backgroundFades_data() {
    QTest::addColumn<int>("heightPx");
    QTest::addColumn<int>("rowPx");
    QTest::addColumn<int>("blue");
    QTest::newRow("top") << 200 << 0 << 255;
    QTest::newRow("second row, rounded up") << 200 << 1 << 255;
    QTest::newRow("middle") << 200 << 100 << 235;
    QTest::newRow("near the bottom") << 200 << 197 << 216;
    QTest::newRow("last row") << 200 << 199 << 215;
    QTest::newRow("tall, quarter") << 400 << 100 << 245;
    QTest::newRow("tall, rounded up") << 400 << 301 << 225;
    QTest::newRow("tall, last row") << 400 << 399 << 215;
}

void WelcomePanelTest::backgroundFades() {
    QFETCH(int, heightPx);
    QFETCH(int, rowPx);
    QFETCH(int, blue);
    std::unique_ptr<WelcomePanel> panel(newPanel());
    panel->resize(300, heightPx);
    const QImage image = panel->grab().toImage();
    // x = 1 px lies left of every text and child.
    QCOMPARE(image.pixelColor(1, rowPx), QColor(255, 255, blue));
}

void WelcomePanelTest::headingIsCentred_data() {
    QTest::addColumn<int>("widthPx");
    QTest::newRow("narrow") << 300;
    QTest::newRow("wide") << 460;
}

void WelcomePanelTest::headingIsCentred() {
    QFETCH(int, widthPx);
    std::unique_ptr<WelcomePanel> panel(newPanel());
    panel->resize(widthPx, 200);
    const QImage image = panel->grab().toImage();
    const int headingHeightPx =
        2 * QFontMetrics(QFont(QStringLiteral("Verdana"), 12, QFont::Bold), panel.get()).height();
    int leftPx = widthPx;
    int rightPx = -1;
    for (int y = 10; y < 10 + headingHeightPx; ++y) {
        for (int x = 0; x < widthPx; ++x) {
            if (image.pixelColor(x, y).red() < 128) {
                leftPx = qMin(leftPx, x);
                rightPx = qMax(rightPx, x);
            }
        }
    }
    QVERIFY(rightPx > leftPx);
    QVERIFY2(qAbs(leftPx - (widthPx - 1 - rightPx)) <= 2,
             qPrintable(QStringLiteral("ink from %1 to %2").arg(leftPx).arg(rightPx)));
}

void WelcomePanelTest::childrenFollowTheText() {
    std::unique_ptr<WelcomePanel> panel(newPanel());
    panel->resize(300, 200);
    QCOMPARE(child(*panel, QStringLiteral("Combo2"))->parentWidget(), panel.get());

    const QFont bodyFont(QStringLiteral("Verdana"), 8);
    const QFont boldBodyFont(QStringLiteral("Verdana"), 8, QFont::Bold);
    const QFont headingFont(QStringLiteral("Verdana"), 12, QFont::Bold);
    const int headingLinePx = QFontMetrics(headingFont, panel.get()).height();
    const int bodyLinePx = QFontMetrics(bodyFont, panel.get()).height();
    // 10 px top, 8 px after the heading, 4 px before 7 paragraphs, then 18 body lines
    // (3 of introduction, 1 title, 12 of steps, 2 empty) down to "Simulateur : ".
    const int simulatorLineTopPx = 10 + 2 * headingLinePx + 8 + 7 * 4 + 18 * bodyLinePx;
    const qreal simulatorWidthPx =
        QFontMetricsF(boldBodyFont, panel.get()).horizontalAdvance(QStringLiteral("Simulateur : "));
    const QPoint moduleListPx(qRound(12 + simulatorWidthPx + 4), simulatorLineTopPx - 4);

    const int linksTopPx = simulatorLineTopPx + 3 * bodyLinePx;
    const int imageWidthPx = linkImage(*panel, 0)->width();
    QList<QPoint> expected{moduleListPx};
    for (int row = 0; row < 3; ++row) {
        const int topPx = linksTopPx + 2 * row * bodyLinePx;
        expected << QPoint(20, topPx) << QPoint(imageWidthPx + 30, topPx);
    }
    for (int row = 0; row < 2; ++row) {
        const int topPx = linksTopPx + 2 * row * bodyLinePx;
        expected << QPoint(150, topPx) << QPoint(imageWidthPx + 160, topPx);
    }
    QCOMPARE(childPositions(*panel), expected);

    for (int i = 0; i < 3; ++i)
        panel->grab();
    panel->resize(420, 300);
    panel->grab();
    panel->resize(300, 200);
    panel->grab();
    QCOMPARE(childPositions(*panel), expected);
    QVERIFY(panel->sizeHint().height() >= linksTopPx + 4 * bodyLinePx + imageWidthPx);
}

void WelcomePanelTest::imageAndLabelRunTheSameLink_data() {
    QTest::addColumn<int>("link");
    QTest::newRow("Paramètres") << int(WelcomePanel::Parametres);
    QTest::newRow("Nouveau") << int(WelcomePanel::Nouveau);
    QTest::newRow("Ouvrir") << int(WelcomePanel::Ouvrir);
    QTest::newRow("Énoncé") << int(WelcomePanel::Enonce);
    QTest::newRow("Corrigé") << int(WelcomePanel::Corrige);
}

void WelcomePanelTest::imageAndLabelRunTheSameLink() {
    QFETCH(int, link);
    std::unique_ptr<WelcomePanel> panel(newPanel());
    panel->resize(panel->sizeHint());
    panel->show();
    QVERIFY(QTest::qWaitForWindowExposed(panel.get()));
    QSignalSpy activated(panel.get(), &WelcomePanel::linkActivated);

    QTest::mouseClick(linkImage(*panel, link), Qt::RightButton);
    QCOMPARE(activated.count(), 0);
    QTest::mouseClick(linkImage(*panel, link), Qt::LeftButton);
    QTest::mouseClick(linkLabel(*panel, link), Qt::LeftButton);
    QCOMPARE(activated.count(), 2);
    QCOMPARE(activated.at(0).at(0).toInt(), link);
    QCOMPARE(activated.at(1).at(0).toInt(), link);
}

void WelcomePanelTest::linkShowsAndHidesAsOne() {
    std::unique_ptr<WelcomePanel> panel(newPanel());
    panel->show();
    QVERIFY(QTest::qWaitForWindowExposed(panel.get()));
    panel->setLinkVisible(WelcomePanel::Enonce, false);
    for (int link = 0; link < 5; ++link) {
        const bool shown = link != WelcomePanel::Enonce;
        QCOMPARE(panel->isLinkVisible(WelcomePanel::Link(link)), shown);
        QCOMPARE(linkImage(*panel, link)->isVisible(), shown);
        QCOMPARE(linkLabel(*panel, link)->isVisible(), shown);
    }
    panel->setLinkVisible(WelcomePanel::Enonce, true);
    QVERIFY(linkImage(*panel, WelcomePanel::Enonce)->isVisible());
    QVERIFY(linkLabel(*panel, WelcomePanel::Enonce)->isVisible());
}

QTEST_MAIN(WelcomePanelTest)
#include "welcomepanel_test.moc"
