#include "app/application.h"

#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

void installFrenchTranslation(QApplication &app) {
    auto *translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::French, QLocale::France), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
}

void identifyOnTheDesktop() {
    QGuiApplication::setDesktopFileName(QStringLiteral("redigo"));
    QGuiApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("redigo")));
}
