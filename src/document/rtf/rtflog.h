#pragma once

#include <QLoggingCategory>
#include <QString>

struct RtfReadResult;

// What the RTF reader met in the texts the program reads, for whoever looks
// into a file that opened strangely. Off by default; turned on with
// QT_LOGGING_RULES="redigo.rtf.info=true".
Q_DECLARE_LOGGING_CATEGORY(rtfLog)

namespace rtflog {

// One line per finding, in English; none when the text was read whole.
QStringList findings(const RtfReadResult &result);
// The findings of a read, in the category, naming what was read.
void report(const RtfReadResult &result, const QString &what);

} // namespace rtflog
