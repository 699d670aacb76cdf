#pragma once

#include <QAction>
#include <QMenu>
#include <QString>

// Widgets and actions carry the names they were designed with; a member of
// a control array is named "name(i)".
inline QString indexedName(const char *name, int i) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(i);
}

inline QAction *namedAction(QMenu *menu, const char *name, const QString &caption) {
    QAction *action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    return action;
}

inline QAction *namedSeparator(QMenu *menu, const char *name) {
    QAction *separator = menu->addSeparator();
    separator->setObjectName(QLatin1String(name));
    return separator;
}
