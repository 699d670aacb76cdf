#include "exercise/recapfile.h"

#include "app/numbertext.h"
#include "base/atomicfile.h"
#include "exercise/recordfile.h"

#include <QFile>
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
    if (!file.open(QIODevice::ReadWrite)) return std::nullopt;
    return file.readAll();
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

} // namespace recap
