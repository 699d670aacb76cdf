#include "app/application.h"
#include "app/mainwindow.h"
#include "app/qtdialogs.h"

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    installFrenchTranslation(app);
    QtDialogs dialogs;
    MainWindow window(dialogs);
    dialogs.setParentWindow(&window);
    window.show();
    return app.exec();
}
