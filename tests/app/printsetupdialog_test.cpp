#include "app/qtdialogs.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class PrintSetupDialogTest : public QObject {
    Q_OBJECT

private slots:
    void setupDialogChoosesWithoutPrinting();
};

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

QTEST_MAIN(PrintSetupDialogTest)
#include "printsetupdialog_test.moc"
