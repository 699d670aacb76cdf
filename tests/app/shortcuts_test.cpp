#include "app/helpwindow.h"
#include "windowfixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBrowser>

class ShortcutsTest : public QObject {
    Q_OBJECT

private slots:
    void keysOpenTheirDialogs_data();
    void keysOpenTheirDialogs();
    void saveKeysSaveOrAskForAName();
    void newPrintAndQuit();
    void styleKeysActLikeTheirBoxes_data();
    void styleKeysActLikeTheirBoxes();
    void menusShowTheKeys();
    void keysDoNotClash();

private:
    static void showActive(WindowFixture &f) {
        f.window.show();
        QApplication::setActiveWindow(&f.window);
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        f.exo.setFocus();
    }
};

void ShortcutsTest::keysOpenTheirDialogs_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("name"); // the dialog's name, or the file dialog's title
    QTest::newRow("Ctrl+O") << int(Qt::Key_O) << int(Qt::ControlModifier) << "open"
                            << "Ouvrir un fichier texte";
    QTest::newRow("Ctrl+F") << int(Qt::Key_F) << int(Qt::ControlModifier) << "dialog"
                            << "Chercher";
    QTest::newRow("Ctrl+H") << int(Qt::Key_H) << int(Qt::ControlModifier) << "dialog"
                            << "remplaceur";
    QTest::newRow("F1") << int(Qt::Key_F1) << int(Qt::NoModifier) << "window"
                        << "aide";
}

void ShortcutsTest::keysOpenTheirDialogs() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, kind);
    QFETCH(QString, name);
    WindowFixture f;
    showActive(f);
    QTest::keyClick(&f.exo, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    if (kind == QLatin1String("window")) {
        QVERIFY(f.control<QWidget>(name)->isVisible());
        return;
    }
    QCOMPARE(f.dialogs.kinds().value(0), kind);
    const auto &call = f.dialogs.calls.first();
    QCOMPARE(kind == QLatin1String("open") ? call.file.title : call.text, name);
}

void ShortcutsTest::saveKeysSaveOrAskForAName() {
    WindowFixture f;
    showActive(f);
    const QString path = f.root + QStringLiteral("texte.rtf");
    f.window.state().nomfichier = path;
    f.window.state().sauvegarde = 0;
    QTest::keyClicks(&f.exo, QStringLiteral("abc"));
    // Ctrl+S writes the named text where it is, without a question.
    QTest::keyClick(&f.exo, Qt::Key_S, Qt::ControlModifier);
    QVERIFY(f.dialogs.calls.isEmpty());
    QVERIFY(QFile::exists(path));
    QCOMPARE(f.window.state().sauvegarde, 1);
    // Ctrl+Shift+S asks for a new name.
    QTest::keyClick(&f.exo, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(f.dialogs.kinds(), QStringList({"save"}));
}

void ShortcutsTest::newPrintAndQuit() {
    WindowFixture f;
    showActive(f);
    f.exo.setText(QStringLiteral("ancien texte"));
    f.window.state().nomfichier = f.root + QStringLiteral("ancien.rtf");
    QTest::keyClick(&f.exo, Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(f.exo.text(), QString());
    QCOMPARE(f.window.state().nomfichier, SharedState::noName);

    QSignalSpy print(f.action("imprimons"), &QAction::triggered);
    QTest::keyClick(&f.exo, Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(print.count(), 1);

    QTest::keyClick(&f.exo, Qt::Key_Q, Qt::ControlModifier);
    QVERIFY(!f.window.isVisible());
}

void ShortcutsTest::styleKeysActLikeTheirBoxes_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("box");
    QTest::newRow("Ctrl+G") << int(Qt::Key_G) << "Check1(1)";
    QTest::newRow("Ctrl+B") << int(Qt::Key_B) << "Check1(1)";
    QTest::newRow("Ctrl+I") << int(Qt::Key_I) << "Check1(2)";
    QTest::newRow("Ctrl+U") << int(Qt::Key_U) << "Check1(3)";
}

void ShortcutsTest::styleKeysActLikeTheirBoxes() {
    QFETCH(int, key);
    QFETCH(QString, box);
    WindowFixture f;
    showActive(f);
    QTest::keyClicks(&f.exo, QStringLiteral("mot"));
    f.exo.setSelStart(0);
    f.exo.setSelLength(3);
    const auto look = [&] {
        return box.endsWith(QLatin1String("(1)"))   ? f.exo.selBold()
               : box.endsWith(QLatin1String("(2)")) ? f.exo.selItalic()
                                                    : f.exo.selUnderline();
    };
    const auto *button = f.window.findChild<QAbstractButton *>(box);
    QTest::keyClick(&f.exo, Qt::Key(key), Qt::ControlModifier);
    QCOMPARE(look(), std::optional<bool>(true));
    QVERIFY(button->isChecked());
    QCOMPARE(f.exo.text(), QStringLiteral("mot"));
    // Again takes it off; one Ctrl+Z undoes one key.
    QTest::keyClick(&f.exo, Qt::Key(key), Qt::ControlModifier);
    QCOMPARE(look(), std::optional<bool>(false));
    QTest::keyClick(&f.exo, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(look(), std::optional<bool>(true));
    QVERIFY(button->isChecked());
}

void ShortcutsTest::menusShowTheKeys() {
    WindowFixture f;
    const std::pair<const char *, const char *> shown[] = {{"Nouv", "Ctrl+N"},
                                                           {"ouvre", "Ctrl+O"},
                                                           {"resauve", "Ctrl+S"},
                                                           {"sauve", "Ctrl+Shift+S"},
                                                           {"imprimons", "Ctrl+P"},
                                                           {"quitter", "Ctrl+Q"},
                                                           {"rechercher", "Ctrl+F"},
                                                           {"remplace", "Ctrl+H"},
                                                           {"contrech", "F3"},
                                                           {"aidant", "F1"},
                                                           {"formules", "Ctrl+Shift+F"},
                                                           {"q21", "Ctrl+G"},
                                                           {"q22", "Ctrl+I"},
                                                           {"q23", "Ctrl+U"}};
    for (const auto &[name, key] : shown)
        QCOMPARE(f.action(name)->shortcut().toString(), QString::fromLatin1(key));
    // The captions stay as they were; the key shows in its own column.
    QCOMPARE(f.action("sauve")->text(), QStringLiteral("&Enregistrer le fichier texte sous..."));
    QCOMPARE(f.action("q21")->text(), QStringLiteral("G&ras"));
    QCOMPARE(f.action("q23")->text(), QStringLiteral("&Souligné"));
}

void ShortcutsTest::keysDoNotClash() {
    WindowFixture f;
    QStringList keys;
    for (const QAction *action : f.window.findChildren<QAction *>()) {
        // The entry that only shows Ctrl+S answers it through the window's own action.
        if (action->shortcutContext() == Qt::WidgetShortcut) continue;
        for (const QKeySequence &shortcut : action->shortcuts()) {
            const QString key = shortcut.toString();
            QVERIFY2(!keys.contains(key), qPrintable(key));
            keys << key;
        }
    }
    for (const char *editorKey : {"Ctrl+Z", "Ctrl+Y", "Ctrl+C", "Ctrl+V", "Ctrl+X", "Ctrl+A"})
        QVERIFY2(!keys.contains(QLatin1String(editorKey)), editorKey);
}

QTEST_MAIN(ShortcutsTest)
#include "shortcuts_test.moc"
