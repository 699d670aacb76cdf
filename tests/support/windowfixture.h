#pragma once

#include "app/mainwindow.h"
#include "app/selectionrefresh.h"
#include "editor/richtextbox.h"
#include "scripteddialogs.h"

#include <QTemporaryDir>

// The main window with scripted dialogs and its running flag in a directory
// of its own.
class WindowFixture {
public:
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    MainWindow window{dialogs, dir.path()};
    RichTextBox &exo = *window.exo();

    // Selects as the user does, the tools following.
    void select(int start, int length) {
        exo.setSelStart(start);
        exo.setSelLength(length);
        window.refresh().maj();
    }
};
