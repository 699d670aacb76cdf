#include "base/dialogs.h"

#include <QStringList>

QString qtFileFilter(const QString &filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        // A lone pattern ("*.E51") names its own files.
        QString patterns = i + 1 < parts.size() ? parts.at(i + 1) : parts.at(i);
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << parts.at(i) + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}
