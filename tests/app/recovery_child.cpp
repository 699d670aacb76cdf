// Started by textrecovery_test, which kills it or sends it a termination
// signal: a main window on the given program and recovery folders, the
// teacher's typing (into the given text, or into both texts and the title of
// the given exercise), its recovery copies written, then "ready" and a wait.
// On a clean end it tells how many questions it asked after "ready".
#include "app/mainwindow.h"
#include "app/terminationsignals.h"
#include "app/textrecovery.h"
#include "editor/richtextbox.h"
#include "editor/textfiles.h"
#include "exercise/exercisecommands.h"
#include "scripteddialogs.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <cstdio>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments(); // program folder, recovery folder, [file]
    if (arguments.size() < 3) return 2;
    ScriptedDialogs dialogs;
    MainWindow window(dialogs, arguments.at(1), arguments.at(2));
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::received, &window,
                     &MainWindow::endWithoutAsking);
    const QString file = arguments.size() > 3 ? arguments.at(3) : QString();
    dialogs.fileNames = {file};
    if (file.endsWith(QLatin1String(".E51"))) {
        window.exercise().openExercise();
        window.exercise().openPanel();
        QTest::keyClicks(window.exo(), QStringLiteral("tape dans l'enonce "));
        window.textFiles().showCorrection();
        QTest::keyClicks(window.exo(), QStringLiteral("tape dans le corrige "));
        window.findChild<QLineEdit *>(QStringLiteral("titrexo"))
            ->setText(QStringLiteral("Titre tapé"));
    } else {
        if (!file.isEmpty()) window.textFiles().ouvre();
        QTest::keyClicks(window.exo(), QStringLiteral("tape avant la panne "));
    }
    window.recovery().writeCopies();
    const qsizetype askedBefore = dialogs.calls.size();
    std::puts("ready");
    std::fflush(stdout);
    const int status = app.exec();
    std::printf("asked %d\n", int(dialogs.calls.size() - askedBefore));
    return status;
}
