#include "widgets/menutable.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

MenuRow MenuRow::menu(const char *name, const char *caption, std::function<void()> prepare) {
    return {Kind::Menu, name, caption, Shown, {}, std::move(prepare), {}};
}

MenuRow MenuRow::entry(const char *name, const char *caption, std::function<void()> run,
                       unsigned state, QKeySequence key) {
    return {Kind::Entry, name, caption, state, key, std::move(run), {}};
}

MenuRow MenuRow::separator(const char *name, unsigned state) {
    return {Kind::Separator, name, "", state, {}, {}, {}};
}

MenuRow MenuRow::alsoKey(QKeySequence second) const {
    MenuRow row = *this;
    row.secondKey = second;
    return row;
}

MenuRow MenuRow::barEntry(const char *name, const char *caption, std::function<void()> run,
                          QKeySequence key) {
    return {Kind::BarEntry, name, caption, Shown, key, std::move(run), {}};
}

void MenuEntries::add(QAction *action) {
    m_byName.insert(action->objectName(), action);
}

QAction *MenuEntries::operator[](const char *name) const {
    QAction *action = m_byName.value(QLatin1String(name));
    Q_ASSERT_X(action, "MenuEntries", name);
    return action;
}

namespace {

void applyRow(QMainWindow &window, QAction *action, const MenuRow &row) {
    action->setObjectName(QLatin1String(row.name));
    action->setVisible(!(row.state & MenuRow::Hidden));
    action->setEnabled(!(row.state & MenuRow::Disabled));
    if ((row.state & MenuRow::Checkable) == MenuRow::Checkable) {
        action->setCheckable(true);
        action->setChecked((row.state & MenuRow::Checked) == MenuRow::Checked);
    }
    if (!row.key.isEmpty()) {
        if (row.secondKey.isEmpty())
            action->setShortcut(row.key);
        else
            action->setShortcuts({row.key, row.secondKey});
        if (row.state & MenuRow::KeyShownOnly)
            // Only while the entry itself has the focus, which never happens.
            action->setShortcutContext(Qt::WidgetShortcut);
        else
            window.addAction(action);
    }
    if (row.run) QObject::connect(action, &QAction::triggered, &window, row.run);
}

} // namespace

MenuEntries buildMenuBar(QMainWindow &window, const std::vector<MenuRow> &rows) {
    MenuEntries entries;
    QMenuBar *bar = window.menuBar();
    QMenu *menu = nullptr;
    for (const MenuRow &row : rows) {
        const QString caption = QString::fromUtf8(row.caption);
        QAction *action = nullptr;
        switch (row.kind) {
        case MenuRow::Kind::Menu:
            menu = bar->addMenu(caption);
            menu->setObjectName(QLatin1String(row.name));
            if (row.run) QObject::connect(menu, &QMenu::aboutToShow, &window, row.run);
            continue;
        case MenuRow::Kind::Entry:
            Q_ASSERT_X(menu, "buildMenuBar", row.name);
            action = menu->addAction(caption);
            break;
        case MenuRow::Kind::Separator:
            Q_ASSERT_X(menu, "buildMenuBar", row.name);
            action = menu->addSeparator();
            break;
        case MenuRow::Kind::BarEntry:
            menu = nullptr;
            action = bar->addAction(caption);
            break;
        }
        applyRow(window, action, row);
        entries.add(action);
    }
    return entries;
}
