#include "base/dialogs.h"

#include <QStringList>

namespace {

// "*.JPG" as "*.[jJ][pP][gG]": Linux file names keep their case, and a
// filter must find photo.jpg as the platform the filters were written for did.
QString caseInsensitivePattern(const QString &pattern) {
    QString result;
    for (const QChar ch : pattern) {
        if (ch.isLetter() && ch.toLower() != ch.toUpper())
            result += QLatin1Char('[') + ch.toLower() + ch.toUpper() + QLatin1Char(']');
        else
            result += ch;
    }
    return result;
}

} // namespace

QString qtFileFilter(const QString &filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        // A lone pattern ("*.E51") names its own files.
        QString patterns = i + 1 < parts.size() ? parts.at(i + 1) : parts.at(i);
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        QStringList each = patterns.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (QString &pattern : each)
            pattern = caseInsensitivePattern(pattern);
        patterns = each.join(QLatin1Char(' '));
        filters << parts.at(i) + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}
