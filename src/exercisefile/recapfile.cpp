#include "exercisefile/recapfile.h"

#include "base/atomicfile.h"
#include "base/codepages.h"
#include "base/numbertext.h"
#include "exercisefile/recordfile.h"

#include <QDataStream>
#include <QFile>
#include <QIODevice>
#include <cmath>

namespace recap {

QString formatNumber(int value) {
    return value >= 0 ? QLatin1Char(' ') + QString::number(value) : QString::number(value);
}

long long parseNumber(const QString &text) {
    const double value = numbertext::leadingNumber(text);
    if (std::fabs(value) > 1e15) return 0;
    return std::llrint(value); // the default rounding mode sends halves to even
}

QString trimBlanks(const QString &text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == QLatin1Char(' '))
        ++first;
    while (last > first && text.at(last - 1) == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}

std::optional<QByteArray> withFields(const QByteArray &old, const Fields &fields) {
    QByteArray file = old;
    bool fits = true;
    const auto put = [&](int record, const QString &text) {
        fits = fits && recordfile::setRecordText(file, record, text);
    };
    for (int i = 0; i < 4; ++i)
        put(StatementFile + i, fields.files.at(i));
    put(Difficulty, formatNumber(fields.difficulty));
    put(ScrollValue, formatNumber(fields.scrollValue));
    for (int record = FirstDescription; record <= LastDescription; ++record)
        put(record, QString());
    QString remaining = fields.description;
    int record = FirstDescription;
    // Four records hold the description; anything longer was never accepted.
    remaining.truncate(descriptionPieceChars * (LastDescription - FirstDescription + 1));
    while (remaining.size() > descriptionPieceChars) {
        put(record, remaining.left(descriptionPieceChars));
        remaining.remove(0, descriptionPieceChars);
        ++record;
    }
    put(record, remaining);
    put(Title, fields.title);
    put(Hourglasses, formatNumber(fields.hourglasses));
    if (!fits) return std::nullopt;
    return file;
}

std::optional<QByteArray> readOrCreate(const QString &path) {
    QFile file(path);
    if (!file.exists()) {
        if (!atomicfile::write(path, QByteArray())) return std::nullopt;
        return QByteArray();
    }
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return std::nullopt;
    return bytes;
}

bool isValid(const QByteArray &file) {
    const int records = int((file.size() + recordfile::recordBytes - 1) / recordfile::recordBytes);
    for (int record = 1; record <= std::min(records, int(Hourglasses)); ++record) {
        const qsizetype start = qsizetype(record - 1) * recordfile::recordBytes;
        if (start + recordfile::lengthBytes > file.size()) return false;
        const int length = static_cast<unsigned char>(file.at(start)) |
                           (static_cast<unsigned char>(file.at(start + 1)) << 8);
        if (length > recordfile::maxTextBytes) return false;
        const bool description = record >= FirstDescription && record <= LastDescription;
        const QByteArray text = file.mid(start + recordfile::lengthBytes, length);
        for (const char c : text) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte >= 0x20 || (description && (byte == '\r' || byte == '\n'))) continue;
            return false;
        }
    }
    return true;
}

QString unstorableCharacters(const Fields &fields) {
    QString all = fields.title + fields.description;
    for (const QString &name : fields.files)
        all += name;
    QString unstorable;
    for (qsizetype i = 0; i < all.size(); ++i) {
        const qsizetype length = all.at(i).isHighSurrogate() && i + 1 < all.size() ? 2 : 1;
        const QString character = all.mid(i, length);
        i += length - 1;
        if (codepages::decodeWindows1252(codepages::encodeWindows1252(character)) == character)
            continue;
        if (!unstorable.contains(character)) unstorable += character;
    }
    return unstorable;
}

bool onenregistre(const QString &path, const Fields &fields) {
    QByteArray old;
    QFile existing(path);
    if (existing.exists()) {
        if (!existing.open(QIODevice::ReadOnly)) return false;
        old = existing.readAll();
    }
    const auto content = withFields(old, fields);
    if (!content) return false;
    return atomicfile::write(path, *content);
}

bool isPlainFileName(const QString &name) {
    return !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) &&
           name != QLatin1String("..") && name != QLatin1String(".");
}

namespace {
constexpr auto copyStreamVersion = QDataStream::Qt_6_0;
}

QByteArray copyBytesOf(const Fields &fields) {
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream.setVersion(copyStreamVersion);
    for (const QString &file : fields.files)
        stream << file;
    stream << qint32(fields.difficulty) << qint32(fields.scrollValue) << fields.description
           << fields.title << qint32(fields.hourglasses);
    return bytes;
}

std::optional<Fields> fieldsOfCopy(const QByteArray &bytes) {
    QDataStream stream(bytes);
    stream.setVersion(copyStreamVersion);
    Fields fields;
    for (QString &file : fields.files)
        stream >> file;
    qint32 difficulty = 0, scrollValue = 0, hourglasses = 0;
    stream >> difficulty >> scrollValue >> fields.description >> fields.title >> hourglasses;
    if (stream.status() != QDataStream::Ok || !stream.atEnd()) return std::nullopt;
    fields.difficulty = difficulty;
    fields.scrollValue = scrollValue;
    fields.hourglasses = hourglasses;
    return fields;
}

} // namespace recap
