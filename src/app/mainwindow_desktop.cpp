#include "app/mainwindow.h"

#include "app/commandline.h"
#include "app/desktopmemory.h"
#include "app/recentfilesmenu.h"

#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

// What the window does the desktop's ways: the files dropped on it, and
// what it remembers from one run to the next.

void MainWindow::useMemory(const QString &settingsFile) {
    *m_memory = DesktopMemory(settingsFile);
    m_recent->refill();
    // Where the teacher left it; placed as at a first start otherwise.
    const QByteArray geometry = m_memory->windowGeometry();
    if (!geometry.isEmpty() && restoreGeometry(geometry)) m_placedWithFrame = true;
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event) {
    QStringList paths;
    for (const QUrl &url : event->mimeData()->urls())
        if (url.isLocalFile()) paths << url.toLocalFile();
    if (paths.isEmpty()) return;
    event->acceptProposedAction();
    // Asked once the drop is over: the questions must not hold the drag.
    QTimer::singleShot(0, this, [this, paths] { openDropped(paths); });
}

void MainWindow::openDropped(const QStringList &paths) {
    // One window shows one text.
    if (!paths.isEmpty()) openFileAsked(*this, paths.first());
}
