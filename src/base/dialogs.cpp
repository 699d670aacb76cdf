#include "base/dialogs.h"

#include <QRegularExpression>
#include <QStringList>

QString qtFileFilter(const QString &filter) {
    // A description that ends with its own patterns in brackets already
    // reads as Qt writes it: "Texte simple (*.TXT)".
    static const QRegularExpression showsPatterns(QStringLiteral(R"(\([^()]*\)\s*$)"));
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString description = parts.at(i).trimmed();
        // A lone pattern ("*.E51") names its own files.
        QString patterns = i + 1 < parts.size() ? parts.at(i + 1) : parts.at(i);
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        patterns = patterns.simplified();
        if (description.isEmpty() || description == patterns)
            filters << patterns;
        else if (description.contains(showsPatterns))
            filters << description;
        else
            filters << description + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}
