#include "app/runningflag.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString runningFlagFolder(const QString &programDirectory) {
    const QFileInfo folder(programDirectory);
    if (folder.isDir() && folder.isWritable()) return programDirectory;
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(data);
    return data;
}
