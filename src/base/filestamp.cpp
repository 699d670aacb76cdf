#include "base/filestamp.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

namespace {

QByteArray hashOf(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QCryptographicHash hash(QCryptographicHash::Sha1);
    if (!hash.addData(&file)) return {};
    return hash.result();
}

} // namespace

FileStamp FileStamp::of(const QString &path) {
    FileStamp stamp;
    stamp.m_taken = true;
    const QFileInfo info(path);
    stamp.m_exists = info.exists();
    if (!stamp.m_exists) return stamp;
    stamp.m_sizeBytes = info.size();
    stamp.m_hash = hashOf(path);
    return stamp;
}

bool FileStamp::differsFrom(const FileStamp &now) const {
    if (isNull() || now.isNull()) return false;
    if (m_exists != now.m_exists) return true;
    if (!m_exists) return false;
    return m_sizeBytes != now.m_sizeBytes || m_hash != now.m_hash;
}
