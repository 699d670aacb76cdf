#include "exercisefile/recordfile.h"

#include "base/atomicfile.h"
#include "base/codepages.h"

#include <QFile>

namespace recordfile {

QString recordText(const QByteArray &file, int record) {
    if (record < 1) return {};
    const qsizetype start = qsizetype(record - 1) * recordBytes;
    if (start + lengthBytes > file.size()) return {};
    const auto low = static_cast<unsigned char>(file.at(start));
    const auto high = static_cast<unsigned char>(file.at(start + 1));
    const qsizetype length = low | (high << 8);
    const qsizetype available = file.size() - start - lengthBytes;
    return codepages::decodeWindows1252(file.mid(start + lengthBytes, std::min(length, available)));
}

bool setRecordText(QByteArray &file, int record, const QString &text) {
    const QByteArray bytes = codepages::encodeWindows1252(text);
    if (record < 1 || bytes.size() > maxTextBytes) return false;
    const qsizetype start = qsizetype(record - 1) * recordBytes;
    const qsizetype end = start + lengthBytes + bytes.size();
    if (file.size() < end) file.append(end - file.size(), '\0');
    file[start] = char(bytes.size() & 0xFF);
    file[start + 1] = char((bytes.size() >> 8) & 0xFF);
    file.replace(start + lengthBytes, bytes.size(), bytes);
    return true;
}

bool writeRecordToFile(const QString &path, int record, const QString &text) {
    QByteArray content;
    QFile existing(path);
    if (existing.exists()) {
        if (!existing.open(QIODevice::ReadOnly)) return false;
        content = existing.readAll();
        existing.close();
    }
    if (!setRecordText(content, record, text)) return false;
    return atomicfile::write(path, content);
}

} // namespace recordfile
