#include "app/desktopmemory.h"

#include "base/atomicfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

namespace {

const QString recentKey = QStringLiteral("fichiers/recents");
const QString geometryKey = QStringLiteral("fenetre/geometrie");
const QString foldersGroup = QStringLiteral("dossiers");

} // namespace

DesktopMemory::DesktopMemory(const QString &file) : m_file(file) {
    if (m_file.isEmpty() || !QFileInfo(m_file).isReadable()) return;
    const QSettings settings(m_file, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError) return;
    // Values of the wrong kind are dropped one by one.
    for (const QString &path : settings.value(recentKey).toStringList())
        if (QFileInfo(path).isAbsolute() && !m_recent.contains(path) &&
            m_recent.size() < recentCount)
            m_recent << path;
    m_geometry = settings.value(geometryKey).toByteArray();
    for (const QString &kind : settings.childGroups().contains(foldersGroup)
                                   ? QStringList{"textes", "images", "exercices", "autres"}
                                   : QStringList()) {
        const QString folder = settings.value(foldersGroup + QLatin1Char('/') + kind).toString();
        if (QFileInfo(folder).isAbsolute()) m_folders.insert(kind, folder);
    }
}

void DesktopMemory::addRecent(const QString &path) {
    m_recent.removeAll(path);
    m_recent.prepend(path);
    while (m_recent.size() > recentCount)
        m_recent.removeLast();
}

void DesktopMemory::removeRecent(const QString &path) {
    m_recent.removeAll(path);
}

bool DesktopMemory::save() const {
    if (m_file.isEmpty()) return true;
    // Qt writes the settings' text into a scratch folder; the file itself is
    // written as every file of the program is.
    const QTemporaryDir scratch;
    if (!scratch.isValid()) return false;
    const QString draft = scratch.filePath(QStringLiteral("redigo.conf"));
    {
        QSettings settings(draft, QSettings::IniFormat);
        settings.setValue(recentKey, m_recent);
        if (!m_geometry.isEmpty()) settings.setValue(geometryKey, m_geometry);
        for (auto it = m_folders.constBegin(); it != m_folders.constEnd(); ++it)
            settings.setValue(foldersGroup + QLatin1Char('/') + it.key(), it.value());
        settings.sync();
        if (settings.status() != QSettings::NoError) return false;
    }
    QFile file(draft);
    if (!file.open(QIODevice::ReadOnly)) return false;
    if (!QDir().mkpath(QFileInfo(m_file).absolutePath())) return false;
    return atomicfile::write(m_file, file.readAll());
}
