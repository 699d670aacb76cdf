#include "app/recentfilesmenu.h"

#include "app/desktopmemory.h"
#include "base/dialogs.h"
#include "base/messages.h"
#include "widgets/designernames.h"

#include <QDir>
#include <QFileInfo>
#include <QMenu>

RecentFilesMenu::RecentFilesMenu(QMenu &menu, DesktopMemory &memory, Dialogs &dialogs,
                                 std::function<bool(const QString &)> open)
    : QObject(&menu), m_menu(menu), m_memory(memory), m_dialogs(dialogs), m_open(std::move(open)) {
    m_menu.setToolTipsVisible(true);
    refill();
}

void RecentFilesMenu::opened(const QString &path) {
    m_memory.addRecent(QFileInfo(path).absoluteFilePath());
    m_memory.save();
    refill();
}

void RecentFilesMenu::refill() {
    m_menu.clear();
    const QStringList paths = m_memory.recentFiles();
    for (int i = 0; i < paths.size(); ++i) {
        const QFileInfo file(paths.at(i));
        // The name first, then its folder, the home folder written "~".
        QString folder = QDir::toNativeSeparators(file.absolutePath());
        const QString home = QDir::homePath();
        if (folder.startsWith(home)) folder = QLatin1Char('~') + folder.mid(home.size());
        QString name = file.fileName();
        name.replace(QLatin1Char('&'), QLatin1String("&&"));
        QAction *entry =
            m_menu.addAction(QLatin1Char('&') + QString::number(i + 1) + QLatin1Char(' ') + name +
                             QStringLiteral("   (") + folder + QLatin1Char(')'));
        entry->setObjectName(indexedName("recent", i));
        entry->setToolTip(file.absoluteFilePath());
        const QString path = paths.at(i);
        // Once the menu is closed: opening refills the menu, the entry with it.
        connect(
            entry, &QAction::triggered, this, [this, path] { openRecent(path); },
            Qt::QueuedConnection);
    }
    m_menu.setEnabled(!paths.isEmpty());
}

void RecentFilesMenu::openRecent(const QString &path) {
    if (!QFileInfo::exists(path)) {
        m_memory.removeRecent(path);
        m_memory.save();
        refill();
        m_dialogs.message(messages::recentFileMissing(path));
        return;
    }
    m_open(path);
}
