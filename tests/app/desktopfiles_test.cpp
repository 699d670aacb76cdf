#include "app/desktopmemory.h"
#include "exercise/exercisecommands.h"
#include "exercisefile/recapfile.h"
#include "filebytes.h"
#include "windowfixture.h"

#include <QComboBox>
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QUrl>

// Files reach the window the desktop's ways: dropped on it, and from the
// list of recent files, which lasts from one run to the next with the
// window's place and size.
class DesktopFilesTest : public QObject {
    Q_OBJECT

private slots:
    void droppedFilesOpenAsOuvrirWould();
    void recentFilesOpenAgainAndLastBetweenRuns();
    void windowKeepsItsPlaceAndSize();
    void damagedSettingsGiveTheDefaults();
};

namespace {

const QByteArray lesson = "{\\rtf1\\ansi Les ions en solution\\par}";

// A file manager's drop of `path` on `target`.
void drop(QWidget *target, const QString &path) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    data.setText(path);
    const QPointF at(20, 20);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QVERIFY(enter.isAccepted());
    QDragMoveEvent move(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &dropped);
    QVERIFY(dropped.isAccepted());
    // Opened once the drop is over.
    QCoreApplication::processEvents();
}

QStringList recentCaptions(const WindowFixture &f) {
    QStringList captions;
    for (const QAction *entry : f.control<QMenu>(QStringLiteral("recents"))->actions())
        captions << entry->text();
    return captions;
}

} // namespace

void DesktopFilesTest::droppedFilesOpenAsOuvrirWould() {
    WindowFixture f;
    f.window.show();
    const QString path = f.root + QStringLiteral("lecon.rtf");
    writeFileBytes(path, lesson);
    QTest::keyClicks(&f.exo, QStringLiteral("brouillon"));
    // Unsaved changes: the question "Ouvrir" asks, and No lets the file in.
    f.dialogs.answers = {Answer::No};
    drop(f.exo.viewport(), path);
    QCOMPARE(f.dialogs.last().message.text, QStringLiteral("Enregistrer modifications ?"));
    QCOMPARE(f.exo.text().trimmed(), QStringLiteral("Les ions en solution"));
    QCOMPARE(f.window.state().nomfichier, path);
    QCOMPARE(f.window.windowTitle(), QStringLiteral("REDIGO - ") + path);

    // An exercise of any module, dropped anywhere on the window.
    writeFileBytes(f.root + QStringLiteral("enonce.rtf"), "{\\rtf1\\ansi Un \\'e9nonc\\'e9\\par}");
    recap::Fields fields;
    fields.files[0] = QStringLiteral("enonce.rtf");
    QVERIFY(recap::onenregistre(f.root + QStringLiteral("dosage.E63"), fields));
    f.dialogs.calls.clear();
    drop(&f.window, f.root + QStringLiteral("dosage.E63"));
    QCOMPARE(f.window.exercise().exercisePath(), f.root + QStringLiteral("dosage.E63"));
    QCOMPARE(f.control<QComboBox>(QStringLiteral("Combo2"))->currentText(),
             QStringLiteral("Simulateur M"));
    QVERIFY(f.dialogs.calls.isEmpty());

    // A damaged exercise changes nothing, not even the module.
    writeFileBytes(f.root + QStringLiteral("abime.E51"), "pas un exercice");
    drop(&f.window, f.root + QStringLiteral("abime.E51"));
    QCOMPARE(f.window.exercise().exercisePath(), f.root + QStringLiteral("dosage.E63"));
    QCOMPARE(f.control<QComboBox>(QStringLiteral("Combo2"))->currentText(),
             QStringLiteral("Simulateur M"));
    QCOMPARE(f.window.state().extension, QStringLiteral("E63"));
}

void DesktopFilesTest::recentFilesOpenAgainAndLastBetweenRuns() {
    WindowFixture f;
    const QString settings = f.dir.filePath(QStringLiteral("config/redigo.conf"));
    f.window.useMemory(settings);
    QVERIFY(!f.control<QMenu>(QStringLiteral("recents"))->isEnabled());
    // Nine texts opened: the last eight stay, the latest first.
    for (int i = 1; i <= 9; ++i) {
        const QString path = f.root + QStringLiteral("texte%1.rtf").arg(i);
        writeFileBytes(path, "{\\rtf1\\ansi texte " + QByteArray::number(i) + "\\par}");
        f.dialogs.fileNames = {path};
        f.action("ouvre")->trigger();
    }
    QStringList expected;
    const QString folder = QDir::toNativeSeparators(f.root.chopped(1));
    for (int i = 9; i >= 2; --i)
        expected << QStringLiteral("&%1 texte%2.rtf   (%3)").arg(10 - i).arg(i).arg(folder);
    if (!folder.startsWith(QDir::homePath())) QCOMPARE(recentCaptions(f), expected);
    QCOMPARE(f.window.memory().recentFiles().size(), 8);

    // An entry opens its text again, as "Ouvrir" does, and comes first.
    f.control<QAction>(QStringLiteral("recent(3)"))->trigger();
    QCoreApplication::processEvents();
    QCOMPARE(f.exo.text().trimmed(), QStringLiteral("texte 6"));
    QCOMPARE(f.window.memory().recentFiles().first(), f.root + QStringLiteral("texte6.rtf"));

    // One gone from its folder: taken off the list, with a message.
    QFile::remove(f.root + QStringLiteral("texte5.rtf"));
    const int calls = f.dialogs.calls.size();
    f.control<QAction>(QStringLiteral("recent(4)"))->trigger();
    QCoreApplication::processEvents();
    QCOMPARE(f.dialogs.calls.size(), calls + 1);
    QCOMPARE(f.dialogs.last().message.text,
             QStringLiteral("Le fichier ") + f.root +
                 QStringLiteral("texte5.rtf n'existe plus : il est retiré de la liste des "
                                "fichiers récents."));
    QCOMPARE(f.exo.text().trimmed(), QStringLiteral("texte 6"));
    QVERIFY(!f.window.memory().recentFiles().contains(f.root + QStringLiteral("texte5.rtf")));

    // Exercises too; and the list is there at the next start.
    recap::Fields fields;
    QVERIFY(recap::onenregistre(f.root + QStringLiteral("pile.E51"), fields));
    f.dialogs.fileNames = {f.root + QStringLiteral("pile.E51")};
    f.window.exercise().openExercise();
    const QStringList listed = f.window.memory().recentFiles();
    QCOMPARE(listed.first(), f.root + QStringLiteral("pile.E51"));
    WindowFixture next;
    next.window.useMemory(settings);
    QCOMPARE(next.window.memory().recentFiles(), listed);
    QCOMPARE(recentCaptions(next).size(), listed.size());
}

void DesktopFilesTest::windowKeepsItsPlaceAndSize() {
    QTemporaryDir dir;
    const QString settings = dir.filePath(QStringLiteral("redigo.conf"));
    QRect left;
    {
        WindowFixture f;
        f.window.useMemory(settings);
        f.window.show();
        f.window.setGeometry(QRect(40, 30, 820, 610));
        left = f.window.geometry();
        f.window.close();
    }
    WindowFixture f;
    f.window.useMemory(settings);
    f.window.show();
    QCOMPARE(f.window.geometry(), left);
    QCOMPARE(f.window.size(), QSize(820, 610));
}

void DesktopFilesTest::damagedSettingsGiveTheDefaults() {
    WindowFixture plain;
    plain.window.show();
    const QRect defaults = plain.window.geometry();
    QTemporaryDir dir;
    const QString settings = dir.filePath(QStringLiteral("redigo.conf"));
    for (const QByteArray &damaged :
         {QByteArray("\x00\xff\xfe[[[fenetre\n=\x01", 12),
          QByteArray("[fichiers]\nrecents=relatif.rtf, "
                     "../a.rtf\n[fenetre]\ngeometrie=@ByteArray(xx)\n")}) {
        writeFileBytes(settings, damaged);
        WindowFixture f;
        f.window.useMemory(settings);
        f.window.show();
        QCOMPARE(f.window.memory().recentFiles(), QStringList());
        QCOMPARE(f.window.geometry(), defaults);
        // The next save writes sound settings over them.
        writeFileBytes(f.root + QStringLiteral("a.rtf"), lesson);
        f.dialogs.fileNames = {f.root + QStringLiteral("a.rtf")};
        f.action("ouvre")->trigger();
        QCOMPARE(DesktopMemory(settings).recentFiles(), QStringList({f.root + "a.rtf"}));
    }
}

QTEST_MAIN(DesktopFilesTest)
#include "desktopfiles_test.moc"
