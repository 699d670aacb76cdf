#include "widgets/menutable.h"

#include <QAction>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

namespace {

// A window whose menus come from a small table, with a text field holding
// the focus, as the editor does in the program.
struct TableWindow {
    QMainWindow window;
    QLineEdit *field = new QLineEdit(&window);
    QStringList ran;
    MenuEntries entries;

    TableWindow() {
        window.setCentralWidget(field);
        using R = MenuRow;
        entries = buildMenuBar(
            window,
            {
                R::menu("first", "&Premier", [this] { ran << QStringLiteral("prepare first"); }),
                R::entry(
                    "plain", "&Simple", [this] { ran << QStringLiteral("plain"); }, R::Shown,
                    QKeySequence(Qt::Key_F3)),
                R::separator("line"),
                R::entry(
                    "mark", "&Marque",
                    [this] { ran << QStringLiteral("mark %1").arg(entries["mark"]->isChecked()); },
                    R::Checkable),
                R::entry("on", "&Allumé", {}, R::Checked),
                R::separator("gone", R::Hidden),
                R::entry(
                    "shut", "&Fermé", [this] { ran << QStringLiteral("shut"); }, R::Disabled),
                R::menu("second", "&Second"),
                R::entry(
                    "shown", "&Montré", [this] { ran << QStringLiteral("shown"); }, R::KeyShownOnly,
                    QKeySequence(Qt::CTRL | Qt::Key_S)),
                R::barEntry(
                    "bar", "&Barre", [this] { ran << QStringLiteral("bar"); },
                    QKeySequence(Qt::Key_F1)),
            });
    }

    QMenu *menu(const char *name) const {
        return window.menuBar()->findChild<QMenu *>(QLatin1String(name));
    }
};

QStringList describe(const QList<QAction *> &actions) {
    QStringList found;
    for (const QAction *a : actions) {
        QString state;
        // Qt counts a hidden entry as disabled too.
        if (!a->isVisible())
            state += QStringLiteral(" hidden");
        else if (!a->isEnabled())
            state += QStringLiteral(" disabled");
        if (a->isCheckable()) state += a->isChecked() ? QStringLiteral(" checked") : " unchecked";
        found << a->objectName() + QLatin1Char('|') + (a->isSeparator() ? "-" : a->text()) + state;
    }
    return found;
}

} // namespace

class MenuTableTest : public QObject {
    Q_OBJECT

private slots:
    void rowsBecomeMenusInOrder();
    void entriesRunTheirCommands();
    void keysAnswerFromAnywhereInTheWindow();
};

void MenuTableTest::rowsBecomeMenusInOrder() {
    TableWindow t;
    QStringList bar;
    for (const QAction *a : t.window.menuBar()->actions())
        bar << (a->menu() ? a->menu()->objectName() : a->objectName()) + QLatin1Char('|') +
                   a->text();
    QCOMPARE(bar, QStringList({"first|&Premier", "second|&Second", "bar|&Barre"}));
    QCOMPARE(describe(t.menu("first")->actions()),
             QStringList({"plain|&Simple", "line|-", "mark|&Marque unchecked", "on|&Allumé checked",
                          "gone|- hidden", "shut|&Fermé disabled"}));
    QCOMPARE(describe(t.menu("second")->actions()), QStringList({"shown|&Montré"}));
    // The entries come back by name, separators included.
    QCOMPARE(t.entries["gone"], t.menu("first")->actions().at(4));
    QCOMPARE(t.entries["bar"], t.window.menuBar()->actions().last());
}

void MenuTableTest::entriesRunTheirCommands() {
    TableWindow t;
    t.entries["plain"]->trigger();
    // A checkable entry runs with its mark already turned over, both ways.
    t.entries["mark"]->trigger();
    t.entries["mark"]->trigger();
    // An entry without a command only turns its mark over.
    t.entries["on"]->trigger();
    QVERIFY(!t.entries["on"]->isChecked());
    t.entries["bar"]->trigger();
    emit t.menu("first")->aboutToShow();
    // Nothing prepares the second menu.
    emit t.menu("second")->aboutToShow();
    QCOMPARE(t.ran, QStringList({"plain", "mark 1", "mark 0", "bar", "prepare first"}));
}

void MenuTableTest::keysAnswerFromAnywhereInTheWindow() {
    TableWindow t;
    t.window.show();
    QApplication::setActiveWindow(&t.window);
    QVERIFY(QTest::qWaitForWindowActive(&t.window));
    t.field->setFocus();
    QTest::keyClick(t.field, Qt::Key_F3);
    QTest::keyClick(t.field, Qt::Key_F1);
    // A key only shown beside its caption is left to whoever answers it.
    QTest::keyClick(t.field, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(t.ran, QStringList({"plain", "bar"}));
    QCOMPARE(t.entries["shown"]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
}

QTEST_MAIN(MenuTableTest)
#include "menutable_test.moc"
