#include "document/rtf/rtflog.h"

#include "document/rtf/rtfreader.h"

Q_LOGGING_CATEGORY(rtfLog, "redigo.rtf", QtWarningMsg)

namespace rtflog {

QStringList findings(const RtfReadResult &result) {
    QStringList found;
    if (!result.ok)
        found << QStringLiteral("%1 (byte %2)").arg(result.problem).arg(result.problemAt);
    if (result.tooLongToShow)
        found << QStringLiteral("a numbered list too long to show: reading stopped there");
    return found;
}

void report(const RtfReadResult &result, const QString &what) {
    for (const QString &finding : findings(result))
        qCInfo(rtfLog).noquote() << what << ':' << finding;
}

} // namespace rtflog
