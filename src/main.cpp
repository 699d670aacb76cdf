#include "app/application.h"
#include "app/mainwindow.h"

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    installFrenchTranslation(app);
    MainWindow window;
    window.show();
    return app.exec();
}
