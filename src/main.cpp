#include "app/application.h"
#include "app/commandline.h"
#include "app/mainwindow.h"
#include "app/qtdialogs.h"
#include "app/terminationsignals.h"
#include "base/sharedstate.h"
#include "editor/richtextbox.h"
#include "exercise/exercisecommands.h"

int main(int argc, char *argv[]) {
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
    window.show();
    openFromCommandLine(window, app.arguments().mid(1));
    return app.exec();
}
