#pragma once

#include <QHash>
#include <QKeySequence>
#include <QString>
#include <functional>
#include <vector>

class QAction;
class QMainWindow;

// One row of a menu bar's table: a menu, an entry or separator of the menu
// above it, or an entry standing on the bar itself.
struct MenuRow {
    enum class Kind { Menu, Entry, Separator, BarEntry };
    enum State : unsigned {
        Shown = 0,
        Hidden = 1,
        Disabled = 2,
        Checkable = 4,
        Checked = 8 | Checkable,
        // The key shows beside the caption; another command answers it.
        KeyShownOnly = 16,
    };

    Kind kind;
    const char *name;
    const char *caption; // UTF-8, access key included
    unsigned state = Shown;
    QKeySequence key;
    // What the entry runs; for a menu, what prepares its entries each time
    // it opens. A checkable entry has turned its mark over when it runs.
    std::function<void()> run;
    // Another key for the same entry, not shown in the menu.
    QKeySequence secondKey;

    static MenuRow menu(const char *name, const char *caption, std::function<void()> prepare = {});
    static MenuRow entry(const char *name, const char *caption, std::function<void()> run,
                         unsigned state = Shown, QKeySequence key = {});
    static MenuRow separator(const char *name, unsigned state = Shown);
    // The same row, answering a second key as well.
    MenuRow alsoKey(QKeySequence second) const;
    static MenuRow barEntry(const char *name, const char *caption, std::function<void()> run,
                            QKeySequence key = {});
};

// The entries built from a table, by name.
class MenuEntries {
public:
    void add(QAction *action);
    // The entry of that name; it must be in the table.
    QAction *operator[](const char *name) const;

private:
    QHash<QString, QAction *> m_byName;
};

// Puts the table's menus on the window's menu bar, in order, each menu and
// entry carrying its row's name. Keys answer anywhere in the window, even
// where the desktop shows the menu bar outside it.
MenuEntries buildMenuBar(QMainWindow &window, const std::vector<MenuRow> &rows);
