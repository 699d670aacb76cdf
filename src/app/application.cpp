#include "app/application.h"

#include <QHash>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

// The texts of Qt's printer properties, where the page's size and margins
// are set, that its French catalogue leaves in English.
class PrinterPropertiesFrench : public QTranslator {
public:
    using QTranslator::QTranslator;

    bool isEmpty() const override { return false; }

    QString translate(const char *context, const char *sourceText, const char *,
                      int) const override {
        static const QHash<QByteArray, QString> french = {
            {"Printer Properties", QStringLiteral("Propriétés de l'imprimante")},
            {"Advanced", QStringLiteral("Avancé")},
        };
        const QByteArrayView from(context);
        if (from != "QPrintPropertiesDialog" && from != "QPrintPropertiesWidget") return QString();
        return french.value(QByteArray(sourceText));
    }
};

} // namespace

void installFrenchTranslation(QApplication &app) {
    auto *translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::French, QLocale::France), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    // Installed last, asked first.
    QApplication::installTranslator(new PrinterPropertiesFrench(&app));
}

void identifyOnTheDesktop() {
    QGuiApplication::setDesktopFileName(QStringLiteral("redigo"));
    QGuiApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("redigo")));
}
