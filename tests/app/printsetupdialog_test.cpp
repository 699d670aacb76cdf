#include "app/application.h"
#include "app/qtdialogs.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class PrintSetupDialogTest : public QObject {
    Q_OBJECT

private slots:
    void setupDialogChoosesWithoutPrinting();
    void pagePropertiesShowAndChangeTheMargins();
};

namespace {

// The OK or Cancel button of a dialog, not of a dialog it holds.
QPushButton *closingButton(QWidget *dialog, QDialogButtonBox::StandardButton which) {
    auto *buttons = dialog->findChild<QDialogButtonBox *>(QString(), Qt::FindDirectChildrenOnly);
    return buttons ? buttons->button(which) : nullptr;
}

} // namespace

// The platform's printer dialog, shown for choosing the printer: its title and
// its button say so, and no page range is offered since nothing prints yet.
void PrintSetupDialogTest::setupDialogChoosesWithoutPrinting() {
    QtDialogs dialogs;
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    const QString file = dir.filePath(QStringLiteral("enonce.pdf"));
    printer.setOutputFileName(file);
    for (const bool accept : {false, true}) {
        QString title, okText;
        bool rangeOffered = true;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<QPrintDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            title = dialog->windowTitle();
            auto *buttons = dialog->findChild<QDialogButtonBox *>();
            okText = buttons->button(QDialogButtonBox::Ok)->text();
            rangeOffered = dialog->testOption(QAbstractPrintDialog::PrintPageRange) ||
                           dialog->testOption(QAbstractPrintDialog::PrintSelection);
            buttons->button(accept ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
        });
        QCOMPARE(dialogs.setupPrinter(printer), accept);
        QCOMPARE(title, QStringLiteral("Configuration de l'imprimante"));
        QCOMPARE(okText, QStringLiteral("OK"));
        QVERIFY(!rangeOffered);
        QCOMPARE(printer.outputFileName(), file);
    }
}

// The page's margins are in the dialog's printer properties, in millimetres
// as the printer holds them; OK there and in the dialog sets them. Those
// properties speak French, as the program does.
void PrintSetupDialogTest::pagePropertiesShowAndChangeTheMargins() {
    installFrenchTranslation(*qobject_cast<QApplication *>(QCoreApplication::instance()));
    QtDialogs dialogs;
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFileName(dir.filePath(QStringLiteral("enonce.pdf")));
    QVERIFY(printer.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter));
    QList<double> shownMm;
    QString suffix, propertiesTitle;
    QStringList tabs;
    bool propertiesOffered = false;
    QTimer::singleShot(0, [&] {
        QWidget *dialog = QApplication::activeModalWidget();
        auto *properties = dialog->findChild<QPushButton *>(QStringLiteral("properties"));
        propertiesOffered = properties && properties->isEnabled();
        if (propertiesOffered) {
            QTimer::singleShot(0, [&] {
                QWidget *page = QApplication::activeModalWidget();
                propertiesTitle = page->windowTitle();
                if (auto *tabWidget = page->findChild<QTabWidget *>())
                    for (int tab = 0; tab < tabWidget->count(); ++tab)
                        tabs << tabWidget->tabText(tab);
                QList<QDoubleSpinBox *> margins;
                for (const char *name : {"leftMargin", "topMargin", "rightMargin", "bottomMargin"})
                    if (auto *margin = page->findChild<QDoubleSpinBox *>(QLatin1String(name)))
                        margins << margin;
                for (QDoubleSpinBox *margin : margins)
                    shownMm << margin->value();
                if (margins.size() == 4) {
                    suffix = margins.at(0)->suffix();
                    margins.at(0)->setValue(25);
                    margins.at(1)->setValue(30);
                }
                closingButton(page, QDialogButtonBox::Ok)->click();
            });
            properties->click();
        }
        closingButton(dialog, QDialogButtonBox::Ok)->click();
    });
    QVERIFY(dialogs.setupPrinter(printer));
    QVERIFY(propertiesOffered);
    QCOMPARE(shownMm, QList<double>({20, 20, 20, 20}));
    QCOMPARE(suffix.trimmed(), QStringLiteral("mm"));
    QCOMPARE(propertiesTitle, QStringLiteral("Propriétés de l'imprimante"));
    QVERIFY2(tabs.contains(QStringLiteral("Page")) && tabs.contains(QStringLiteral("Avancé")),
             qPrintable(tabs.join(QLatin1Char('|'))));
    const QMarginsF chosenMm = printer.pageLayout().margins(QPageLayout::Millimeter);
    QCOMPARE(chosenMm, QMarginsF(25, 30, 20, 20));
}

QTEST_MAIN(PrintSetupDialogTest)
#include "printsetupdialog_test.moc"
