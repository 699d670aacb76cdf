#pragma once

#include <QObject>
#include <functional>

class DesktopMemory;
class Dialogs;
class QMenu;

// The File menu's "Fichiers récents": the texts and exercises opened last,
// most recent first, each opened again as "Ouvrir" does. A file no longer
// there is taken off the list, with a message.
class RecentFilesMenu : public QObject {
    Q_OBJECT
public:
    RecentFilesMenu(QMenu &menu, DesktopMemory &memory, Dialogs &dialogs,
                    std::function<bool(const QString &)> open);

    // A file the user opened or saved under a new name.
    void opened(const QString &path);
    // The list read again from the memory.
    void refill();

private:
    void openRecent(const QString &path);

    QMenu &m_menu;
    DesktopMemory &m_memory;
    Dialogs &m_dialogs;
    std::function<bool(const QString &)> m_open;
};
