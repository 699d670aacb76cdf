#pragma once

#include "app/mainwindow.h"
#include "app/selectionrefresh.h"
#include "editor/richtextbox.h"
#include "scripteddialogs.h"
#include "widgets/designernames.h"

#include <QAction>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

// The main window with scripted dialogs. Its running flag, its recovery
// copies and an exercise folder are all inside a temporary directory of its
// own; the exercise folder is a subfolder, so that a name leading out of it
// ("../x.rtf") still stays inside.
class WindowFixture {
public:
    QTemporaryDir dir;
    QString root = subfolder(dir, QStringLiteral("exercice")); // ends with '/'
    QString recovery = dir.filePath(QStringLiteral("recovery"));
    ScriptedDialogs dialogs;
    MainWindow window{dialogs, dir.path(), recovery};
    RichTextBox &exo = *window.exo();

    // Selects as the user does, the tools following.
    void select(int start, int length) {
        exo.setSelStart(start);
        exo.setSelLength(length);
        window.refresh().maj();
    }

    // The window's control of that objectName; a missing one stops the run.
    template <class T> T *control(const QString &name) const {
        T *found = window.findChild<T *>(name);
        if (!found) qFatal("No control named %s", qPrintable(name));
        return found;
    }
    // A member of a control array, "name(index)".
    template <class T> T *control(const char *name, int index) const {
        return control<T>(indexedName(name, index));
    }
    QAction *action(const char *name) const { return control<QAction>(QLatin1String(name)); }

private:
    static QString subfolder(const QTemporaryDir &dir, const QString &name) {
        QDir(dir.path()).mkdir(name);
        return dir.filePath(name) + QLatin1Char('/');
    }
};

// The same window shown on screen, the text having the focus, for tests that
// type with real keys.
class ShownWindowFixture : public WindowFixture {
public:
    ShownWindowFixture() {
        window.show();
        if (!QTest::qWaitForWindowExposed(&window)) qFatal("The window does not show");
        exo.setFocus();
    }
};
