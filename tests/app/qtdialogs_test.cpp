#include "app/qtdialogs.h"
#include "filebytes.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QListView>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class QtDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void imageFilterFindsFilesWhateverTheirCase();
};

// The desktop's own file dialog, as the image insertion opens it: its JPEG
// entry, written "*.JPG", lists photo.jpg, and shows its description alone.
void QtDialogsTest::imageFilterFindsFilesWhateverTheirCase() {
    QTemporaryDir dir;
    writeFileBytes(dir.filePath(QStringLiteral("photo.jpg")), "jpeg");
    writeFileBytes(dir.filePath(QStringLiteral("notes.txt")), "texte");
    QStringList listed;
    QStringList filterNames;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, this, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog) return;
        poll.stop();
        // The dialog closes unanswered, whatever the checks find.
        const auto closeDialog =
            qScopeGuard([dialog] { QMetaObject::invokeMethod(dialog, "reject"); });
        dialog->setDirectory(dir.path());
        auto *types = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
        for (int i = 0; i < types->count(); ++i)
            filterNames << types->itemText(i);
        dialog->selectNameFilter(dialog->nameFilters().at(2));
        auto *view = dialog->findChild<QListView *>(QStringLiteral("listView"));
        QTRY_VERIFY(view->model()->rowCount(view->rootIndex()) > 0);
        QTest::qWait(200); // the folder is read in the background
        for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
            listed << view->model()->index(row, 0, view->rootIndex()).data().toString();
    });
    poll.start();
    QtDialogs dialogs;
    const auto chosen = dialogs.openFileName(
        {QStringLiteral("Insertion d'une image"),
         QStringLiteral(
             "Image bitmap(*.bmp)|*.bmp|Image gif|*.gif|image JPEG|*.JPG|Tous (*.*)|*.*"),
         QStringLiteral("*.bmp")});
    QCOMPARE(filterNames,
             QStringList({"Image bitmap(*.bmp)", "Image gif", "image JPEG", "Tous (*.*)"}));
    QCOMPARE(listed, QStringList{QStringLiteral("photo.jpg")});
    QVERIFY(!chosen.has_value());
}

QTEST_MAIN(QtDialogsTest)
#include "qtdialogs_test.moc"
