#include "app/qtdialogs.h"

#include "base/messages.h"
#include "modalanswer.h"

#include "filebytes.h"
#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

namespace {

// Counts the times a widget is shown.
class ShowCounter : public QObject {
public:
    int shows = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Show) ++shows;
        return QObject::eventFilter(watched, event);
    }
};

QString touch(const QString &path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write("x");
    return path;
}

const QString textsFilter =
    QStringLiteral("Texte format rtf|*.rtf|Texte simple (*.TXT)|*.txt|Tous |*.*");
const QString picturesFilter = QStringLiteral("Images|*.bmp;*.gif;*.jpg");

} // namespace

class QtDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void escapeLeavesAQuestionWhereItIs();
    void escapeStillCancels_data();
    void escapeStillCancels();
    void filtersNameTheirFilesOnce_data();
    void filtersNameTheirFilesOnce();
    void fileDialogShowsWholeColumns();
    void eachKindOfFileOpensInItsFolder();
    void imageFilterFindsFilesWhateverTheirCase();
};

// A Yes/No question has no escape answer: Escape and the close box leave the
// box shown where it was, not closed and shown again.
void QtDialogsTest::escapeLeavesAQuestionWhereItIs() {
    QtDialogs dialogs;
    ShowCounter counter;
    QRect before, afterEscape, afterClose;
    bool shownAfterEscape = false, shownAfterClose = false;
    int step = 0;
    whileModal([&](QWidget &box) {
        switch (step++) {
        case 0:
            before = box.geometry();
            box.installEventFilter(&counter);
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &box,
                            Qt::Key_Escape);
            return false;
        case 1:
            shownAfterEscape = box.isVisible();
            afterEscape = box.geometry();
            box.close();
            return false;
        case 2:
            shownAfterClose = box.isVisible();
            afterClose = box.geometry();
            QTest::mouseClick(static_cast<QMessageBox &>(box).button(QMessageBox::Yes),
                              Qt::LeftButton);
            return true;
        }
        return true;
    });
    QCOMPARE(dialogs.message(messages::overwriteQuestion()), Answer::Yes);
    QVERIFY(shownAfterEscape);
    QVERIFY(shownAfterClose);
    QCOMPARE(afterEscape, before);
    QCOMPARE(afterClose, before);
    QCOMPARE(counter.shows, 0);
}

void QtDialogsTest::escapeStillCancels_data() {
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("answer");
    QTest::newRow("OK") << int(MessageButtons::Ok) << int(Answer::Ok);
    QTest::newRow("OK, Cancel") << int(MessageButtons::OkCancel) << int(Answer::Cancel);
}

void QtDialogsTest::escapeStillCancels() {
    QFETCH(int, buttons);
    QFETCH(int, answer);
    QtDialogs dialogs;
    whileModal([](QWidget &box) {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &box,
                        Qt::Key_Escape);
        return true;
    });
    Message message = messages::losingChangesWarning(QStringLiteral("Ouvrir l'énoncé"));
    message.buttons = MessageButtons(buttons);
    QCOMPARE(dialogs.message(message), Answer(answer));
}

void QtDialogsTest::filtersNameTheirFilesOnce_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("qtFilter");
    QTest::newRow("texts") << textsFilter
                           << "Texte format rtf (*.rtf);;Texte simple (*.TXT);;Tous (*.*)";
    QTest::newRow("lone pattern") << "*.RTF"
                                  << "*.RTF";
    QTest::newRow("module") << "Simulateur A|*.E51"
                            << "Simulateur A (*.E51)";
    QTest::newRow("pattern as its own label") << "*.P51|*.P51"
                                              << "*.P51";
    QTest::newRow("several patterns") << picturesFilter << "Images (*.bmp *.gif *.jpg)";
}

void QtDialogsTest::filtersNameTheirFilesOnce() {
    QFETCH(QString, filter);
    QFETCH(QString, qtFilter);
    QCOMPARE(qtFileFilter(filter), qtFilter);
}

// The file list shows every name and every column whole.
void QtDialogsTest::fileDialogShowsWholeColumns() {
    QTemporaryDir dir;
    const QString longName = QStringLiteral(
        "Exercice de chimie sur les ions polyatomiques et leurs formules, version corrigée.rtf");
    touch(dir.filePath(longName));
    QtDialogs dialogs;
    QStringList filters;
    QList<int> missingPx;
    int ticks = 0;
    // The folder is read and the columns sized while the dialog shows: looked
    // at until they fit, for a second at most.
    whileModal([&](QWidget &modal) {
        auto *dialog = qobject_cast<QFileDialog *>(&modal);
        if (!dialog) return false;
        auto *view = dialog->findChild<QTreeView *>(QStringLiteral("treeView"));
        if (!view || view->model()->rowCount(view->rootIndex()) == 0) return false;
        filters = dialog->nameFilters();
        QHeaderView *header = view->header();
        const int nameNeededPx = view->fontMetrics().horizontalAdvance(longName);
        missingPx = {std::max(0, nameNeededPx - header->sectionSize(0))};
        for (int column = 0; column < header->count(); ++column) {
            if (header->isSectionHidden(column)) continue;
            const int contentPx = static_cast<QAbstractItemView *>(view)->sizeHintForColumn(column);
            missingPx << std::max(0, contentPx - header->sectionSize(column));
            missingPx << std::max(0, header->sectionSizeHint(column) - header->sectionSize(column));
        }
        if (missingPx != QList<int>(missingPx.size(), 0) && ++ticks < 50) return false;
        dialog->reject();
        return true;
    });
    QCOMPARE(dialogs.openFileName({QStringLiteral("Ouvrir un fichier texte"), textsFilter,
                                   dir.filePath(QStringLiteral("*.rtf"))}),
             std::nullopt);
    QCOMPARE(filters,
             QStringList({QStringLiteral("Texte format rtf (*.rtf)"),
                          QStringLiteral("Texte simple (*.TXT)"), QStringLiteral("Tous (*.*)")}));
    QVERIFY(!missingPx.isEmpty());
    QCOMPARE(missingPx, QList<int>(missingPx.size(), 0));
}

// Texts, pictures and exercises each keep the folder last used for them; an
// open exercise's folder comes first.
void QtDialogsTest::eachKindOfFileOpensInItsFolder() {
    QTemporaryDir dir;
    const QString text = touch(dir.filePath(QStringLiteral("textes/a.rtf")));
    const QString picture = touch(dir.filePath(QStringLiteral("images/p.bmp")));
    const QString exercise = touch(dir.filePath(QStringLiteral("exercices/e.E51")));
    QtDialogs dialogs;
    QString exerciseFolder;
    dialogs.setExerciseFolder([&exerciseFolder] { return exerciseFolder; });
    // Opens a file of that filter, choosing path, and says where the dialog
    // started.
    const auto startsIn = [&dialogs](const QString &filter, const QString &path) {
        QString folder;
        whileModal([&folder, path](QWidget &modal) {
            auto *dialog = qobject_cast<QFileDialog *>(&modal);
            if (!dialog) return false;
            if (folder.isEmpty()) folder = QDir(dialog->directory()).canonicalPath();
            // Typed as the user would type it.
            dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(path);
            static_cast<QDialog *>(dialog)->accept();
            return !dialog->isVisible();
        });
        const auto chosen = dialogs.openFileName({QStringLiteral("Ouvrir"), filter, QString()});
        return chosen == path ? folder : QStringLiteral("nothing chosen");
    };
    const auto folderOf = [](const QString &path) { return QFileInfo(path).canonicalPath(); };
    const QString exercises = QStringLiteral("Simulateur A|*.E51");

    startsIn(textsFilter, text);
    startsIn(picturesFilter, picture);
    startsIn(exercises, exercise);
    QCOMPARE(startsIn(textsFilter, text), folderOf(text));
    QCOMPARE(startsIn(picturesFilter, picture), folderOf(picture));
    QCOMPARE(startsIn(exercises, exercise), folderOf(exercise));

    exerciseFolder = folderOf(exercise) + QLatin1Char('/');
    QCOMPARE(startsIn(textsFilter, text), folderOf(exercise));
    QCOMPARE(startsIn(picturesFilter, picture), folderOf(exercise));

    // The folders are handed to the next run, each kind by its name, and
    // that run starts in them.
    const QHash<QString, QString> kept = dialogs.lastFolders();
    QCOMPARE(QDir(kept.value(QStringLiteral("textes"))).canonicalPath(), folderOf(text));
    QCOMPARE(QDir(kept.value(QStringLiteral("images"))).canonicalPath(), folderOf(picture));
    QCOMPARE(QDir(kept.value(QStringLiteral("exercices"))).canonicalPath(), folderOf(exercise));
    QtDialogs next;
    next.setLastFolders(kept);
    const auto nextStartsIn = [&next](const QString &filter) {
        QString folder;
        whileModal([&folder](QWidget &modal) {
            auto *dialog = qobject_cast<QFileDialog *>(&modal);
            if (!dialog) return false;
            folder = QDir(dialog->directory()).canonicalPath();
            dialog->reject();
            return true;
        });
        next.openFileName({QStringLiteral("Ouvrir"), filter, QString()});
        return folder;
    };
    QCOMPARE(nextStartsIn(textsFilter), folderOf(text));
    QCOMPARE(nextStartsIn(picturesFilter), folderOf(picture));
}

// The file dialog as the image insertion opens it: its JPEG entry, written
// "*.JPG", lists photo.jpg.
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
    QCOMPARE(filterNames, QStringList({"Image bitmap(*.bmp)", "Image gif (*.gif)",
                                       "image JPEG (*.JPG)", "Tous (*.*)"}));
    QCOMPARE(listed, QStringList{QStringLiteral("photo.jpg")});
    QVERIFY(!chosen.has_value());
}

QTEST_MAIN(QtDialogsTest)
#include "qtdialogs_test.moc"
