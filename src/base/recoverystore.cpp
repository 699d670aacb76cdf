#include "base/recoverystore.h"

#include "base/atomicfile.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QIODevice>

namespace {

constexpr quint32 copyMagic = 0x52444752; // "RDGR"
constexpr quint16 copyVersion = 1;
constexpr auto streamVersion = QDataStream::Qt_6_0;
constexpr RecoveryCopy::Kind allKinds[] = {RecoveryCopy::Kind::Text, RecoveryCopy::Kind::Statement,
                                           RecoveryCopy::Kind::Correction,
                                           RecoveryCopy::Kind::ExerciseFields};

QString fileNameOf(RecoveryCopy::Kind kind) {
    switch (kind) {
    case RecoveryCopy::Kind::Statement:
        return QStringLiteral("statement.copy");
    case RecoveryCopy::Kind::Correction:
        return QStringLiteral("correction.copy");
    case RecoveryCopy::Kind::ExerciseFields:
        return QStringLiteral("exercise.copy");
    case RecoveryCopy::Kind::Text:
        break;
    }
    return QStringLiteral("text.copy");
}

} // namespace

RecoveryStore::RecoveryStore(const QString &folder) : m_folder(folder) {}

QString RecoveryStore::pathOf(RecoveryCopy::Kind kind) const {
    return QDir(m_folder).filePath(fileNameOf(kind));
}

QByteArray RecoveryStore::bytesOf(const RecoveryCopy &copy) {
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream.setVersion(streamVersion);
    stream << copyMagic << copyVersion << qint32(copy.kind) << copy.originalPath
           << copy.exercisePath << copy.shown << copy.fromPlainText
           << qint64(copy.copiedAt.toMSecsSinceEpoch()) << copy.content;
    return stream.status() == QDataStream::Ok ? bytes : QByteArray();
}

std::optional<RecoveryCopy> RecoveryStore::copyFrom(const QByteArray &bytes,
                                                    RecoveryCopy::Kind kind) {
    QDataStream stream(bytes);
    stream.setVersion(streamVersion);
    quint32 magic = 0;
    quint16 version = 0;
    qint32 storedKind = -1;
    stream >> magic >> version >> storedKind;
    if (magic != copyMagic || version != copyVersion || storedKind != qint32(kind))
        return std::nullopt;
    RecoveryCopy copy;
    copy.kind = kind;
    qint64 copiedAtMs = 0;
    stream >> copy.originalPath >> copy.exercisePath >> copy.shown >> copy.fromPlainText >>
        copiedAtMs >> copy.content;
    // A copy cut short, or with bytes after its end, is not the one we wrote.
    if (stream.status() != QDataStream::Ok || !stream.atEnd()) return std::nullopt;
    copy.copiedAt = QDateTime::fromMSecsSinceEpoch(copiedAtMs, Qt::UTC);
    return copy;
}

bool RecoveryStore::write(const RecoveryCopy &copy) {
    if (!QDir().mkpath(m_folder)) return false;
    const QByteArray bytes = bytesOf(copy);
    return !bytes.isEmpty() && atomicfile::write(pathOf(copy.kind), bytes);
}

std::optional<RecoveryCopy> RecoveryStore::read(RecoveryCopy::Kind kind) const {
    QFile file(pathOf(kind));
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    return copyFrom(file.readAll(), kind);
}

QList<RecoveryCopy> RecoveryStore::copies() const {
    QList<RecoveryCopy> found;
    for (const RecoveryCopy::Kind kind : allKinds) {
        if (auto copy = read(kind)) found.append(std::move(*copy));
    }
    return found;
}

void RecoveryStore::remove(RecoveryCopy::Kind kind) {
    QFile::remove(pathOf(kind));
}

void RecoveryStore::removeAll() {
    for (const RecoveryCopy::Kind kind : allKinds)
        remove(kind);
}
