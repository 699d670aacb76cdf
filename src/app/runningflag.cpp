#include "app/runningflag.h"

#include "exercisefile/recordfile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString runningFlagName = QStringLiteral("TEMPts.tmp");
constexpr int runningFlagRecord = 5;

} // namespace

bool isSystemFolder(const QString &folder) {
    constexpr const char *systemFolders[] = {"/usr",    "/bin", "/sbin", "/lib", "/lib32", "/lib64",
                                             "/libx32", "/opt", "/snap", "/etc", "/boot"};
    const QFileInfo info(folder);
    const QString path = info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
    for (const char *system : systemFolders) {
        const QString prefix = QLatin1String(system);
        if (path == prefix || path.startsWith(prefix + QLatin1Char('/'))) return true;
    }
    return false;
}

QString runningFlagFolder(const QString &programDirectory) {
    const QFileInfo folder(programDirectory);
    // As root every folder may be written: being writable is not enough.
    if (folder.isDir() && folder.isWritable() && !isSystemFolder(programDirectory))
        return programDirectory;
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(data);
    return data;
}

void writeRunningFlag(const QString &folder, const QString &value) {
    recordfile::writeRecordToFile(QDir(folder).filePath(runningFlagName), runningFlagRecord, value);
}
