// Started by textrecovery_test, which kills it: a main window on the given
// program and recovery folders, a text typed (into the given file when one
// is named), its recovery copy written, then "ready" and a wait.
#include "app/mainwindow.h"
#include "app/textrecovery.h"
#include "editor/richtextbox.h"
#include "editor/textfiles.h"
#include "scripteddialogs.h"

#include <QApplication>
#include <QTest>
#include <cstdio>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments(); // program folder, recovery folder, [text]
    if (arguments.size() < 3) return 2;
    ScriptedDialogs dialogs;
    MainWindow window(dialogs, arguments.at(1), arguments.at(2));
    if (arguments.size() > 3) {
        dialogs.fileNames = {arguments.at(3)};
        window.textFiles().ouvre();
    }
    QTest::keyClicks(window.exo(), QStringLiteral("tape avant la panne "));
    window.recovery().writeCopies();
    std::puts("ready");
    std::fflush(stdout);
    return app.exec();
}
