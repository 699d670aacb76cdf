#include "app/application.h"
#include "app/commandline.h"
#include "app/desktopmemory.h"
#include "app/mainwindow.h"
#include "app/qtdialogs.h"
#include "app/terminationsignals.h"
#include "base/sharedstate.h"
#include "editor/richtextbox.h"
#include "exercise/exercisecommands.h"

#include <QStandardPaths>
#include <cstdio>

int main(int argc, char *argv[]) {
    // Answered without a display, as terminal programs do.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (const auto answer = terminalAnswer(arguments)) {
        std::fputs(answer->toUtf8().constData(), stdout);
        return 0;
    }
    QApplication app(argc, argv);
    installFrenchTranslation(app);
    identifyOnTheDesktop();
    RichTextBox::showSymbolTextWithUnicodeFonts();
    QtDialogs dialogs;
    MainWindow window(dialogs);
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::received, &window,
                     &MainWindow::endWithoutAsking);
    dialogs.setParentWindow(&window);
    dialogs.setExerciseFolder([&window] {
        return window.exercise().exerciseOpen() ? window.state().repertoire : QString();
    });
    // The user's configuration folder keeps what the next run remembers.
    window.useMemory(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                     QStringLiteral("/redigo/redigo.conf"));
    dialogs.setLastFolders(window.memory().folders());
    window.show();
    openFromCommandLine(window, app.arguments().mid(1));
    const int code = app.exec();
    window.memory().setFolders(dialogs.lastFolders());
    window.memory().save();
    return code;
}
