#pragma once

#include <QString>

// Widgets and actions carry the names they were designed with; a member of
// a control array is named "name(i)".
inline QString indexedName(const char *name, int i) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(i);
}
