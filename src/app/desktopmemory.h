#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

// What the program remembers between runs, as desktop programs do: the
// files opened last, the window's place and size, and the folder each kind
// of file was last chosen in. Kept in a settings file of the user's
// configuration folder; a file that cannot be read, or reads as nonsense,
// gives the defaults. Without a file, it is kept for the run only.
class DesktopMemory {
public:
    static constexpr int recentCount = 8;

    explicit DesktopMemory(const QString &file = QString());

    // Most recent first.
    QStringList recentFiles() const { return m_recent; }
    void addRecent(const QString &path);
    void removeRecent(const QString &path);

    QByteArray windowGeometry() const { return m_geometry; }
    void setWindowGeometry(const QByteArray &geometry) { m_geometry = geometry; }

    // Folders by kind of file ("textes", "images", "exercices", "autres").
    QHash<QString, QString> folders() const { return m_folders; }
    void setFolders(const QHash<QString, QString> &folders) { m_folders = folders; }

    // Writes the file through the program's one write helper; false when
    // it could not be written (the program goes on with what it knows).
    bool save() const;

private:
    QString m_file;
    QStringList m_recent;
    QByteArray m_geometry;
    QHash<QString, QString> m_folders;
};
