#include "app/application.h"
#include "app/mainwindow.h"
#include "app/qtdialogs.h"
#include "editor/richtextbox.h"

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    installFrenchTranslation(app);
    RichTextBox::showSymbolTextWithUnicodeFonts();
    QtDialogs dialogs;
    MainWindow window(dialogs);
    dialogs.setParentWindow(&window);
    window.show();
    return app.exec();
}
