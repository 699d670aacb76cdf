#include "app/commandline.h"
#include "exercise/exercisecommands.h"
#include "exercisefile/recapfile.h"
#include "windowfixture.h"

#include <QComboBox>
#include <QFile>
#include <QTest>

namespace {

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class CommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void opensTheTextNamed();
    void opensTheExerciseOfAnyModule_data();
    void opensTheExerciseOfAnyModule();
    void nothingNamedChangesNothing();
};

void CommandLineTest::opensTheTextNamed() {
    WindowFixture f;
    writeFile(f.root + QStringLiteral("lecon.rtf"), "{\\rtf1\\ansi Les ions en solution\\par}");
    // A name relative to the folder the program was started in, after an option.
    const QString before = QDir::currentPath();
    QDir::setCurrent(f.root);
    openFromCommandLine(f.window, {QStringLiteral("--verbeux"), QStringLiteral("lecon.rtf")});
    QDir::setCurrent(before);
    QCOMPARE(f.exo.text().trimmed(), QStringLiteral("Les ions en solution"));
    QCOMPARE(f.window.state().nomfichier, f.root + QStringLiteral("lecon.rtf"));
    QCOMPARE(f.window.windowTitle(), QStringLiteral("REDIGO - ") + f.root + "lecon.rtf");
    QCOMPARE(f.window.state().sauvegarde, 1);
    QVERIFY(f.dialogs.calls.isEmpty());
}

void CommandLineTest::opensTheExerciseOfAnyModule_data() {
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("module");
    QTest::newRow("first module") << "pile.E51"
                                  << "Simulateur A";
    QTest::newRow("another module") << "dosage.E63"
                                    << "Simulateur M";
    QTest::newRow("lower-case extension") << "titrage.e57"
                                          << "Simulateur G";
}

void CommandLineTest::opensTheExerciseOfAnyModule() {
    QFETCH(QString, fileName);
    QFETCH(QString, module);
    WindowFixture f;
    writeFile(f.root + QStringLiteral("enonce.rtf"), "{\\rtf1\\ansi Un \\'e9nonc\\'e9\\par}");
    recap::Fields fields;
    fields.files[0] = QStringLiteral("enonce.rtf");
    fields.title = QStringLiteral("Une pile");
    QVERIFY(recap::onenregistre(f.root + fileName, fields));

    openFromCommandLine(f.window, {f.root + fileName});
    QCOMPARE(f.window.exercise().exercisePath(), f.root + fileName);
    QCOMPARE(f.control<QComboBox>(QStringLiteral("Combo2"))->currentText(), module);
    QCOMPARE(f.window.state().extension, module == "Simulateur A"   ? "E51"
                                         : module == "Simulateur M" ? "E63"
                                                                    : "E57");
    // Its statement was read with it.
    QVERIFY(f.action("az52")->isEnabled());
    f.action("az52")->trigger();
    QCOMPARE(f.exo.text().trimmed(), QStringLiteral("Un énoncé"));
    QVERIFY(f.dialogs.calls.isEmpty());
}

void CommandLineTest::nothingNamedChangesNothing() {
    WindowFixture f;
    openFromCommandLine(f.window, {QStringLiteral("-style"), QStringLiteral("--")});
    QCOMPARE(f.window.state().nomfichier, SharedState::noName);
    QVERIFY(!f.window.exercise().exerciseOpen());
    QVERIFY(f.dialogs.calls.isEmpty());
}

QTEST_MAIN(CommandLineTest)
#include "commandline_test.moc"
