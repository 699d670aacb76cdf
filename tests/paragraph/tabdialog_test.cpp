#include "editor/richtextbox.h"
#include "paragraph/tabdialog.h"
#include "scripteddialogs.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTextDocument>

#include <cmath>

namespace {

using Stops = QList<double>; // pixels

void setStops(RichTextBox &exo, const Stops &stopsPx) {
    exo.setSelTabCount(int(stopsPx.size()));
    for (int index = 0; index < stopsPx.size(); ++index)
        exo.setSelTabs(index, stopsPx.at(index));
}

// To the thousandth of a pixel; a single -1 when the paragraphs disagree.
Stops stopsPx(const RichTextBox &exo) {
    const std::optional<int> count = exo.selTabCount();
    if (!count) return {-1};
    Stops stops;
    for (int index = 0; index < *count; ++index)
        stops << std::round(exo.selTabs(index).value_or(-1) * 1000) / 1000;
    return stops;
}

QStringList texts(const QListWidget *list) {
    QStringList result;
    for (int row = 0; row < list->count(); ++row)
        result << list->item(row)->text();
    return result;
}

QString captionOf(const QWidget *widget) {
    if (auto *label = qobject_cast<const QLabel *>(widget)) return label->text();
    if (auto *button = qobject_cast<const QAbstractButton *>(widget)) return button->text();
    if (auto *frame = qobject_cast<const QGroupBox *>(widget)) return frame->title();
    return QString();
}

// Two selected paragraphs sharing the stops, and the dialog over them.
struct Fixture {
    explicit Fixture(const Stops &initialPx = {}) {
        exo.setText(QStringLiteral("a\nb"));
        exo.setSelStart(0);
        exo.setSelLength(3);
        setStops(exo, initialPx);
        dialog.emplace(exo, dialogs);
        dialog->show();
    }
    template <typename T> T *child(const QString &name) const {
        return dialog->findChild<T *>(name);
    }
    QListWidget *shown() const { return child<QListWidget>(QStringLiteral("List1")); }
    QLineEdit *field() const { return child<QLineEdit>(QStringLiteral("Text1")); }
    void click(const QString &name) const {
        QTest::mouseClick(child<QAbstractButton>(name), Qt::LeftButton);
    }

    RichTextBox exo;
    ScriptedDialogs dialogs;
    std::optional<TabDialog> dialog;
};

} // namespace

class TabDialogTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::French, QLocale::France)); }
    void controlsSitOnTheTwipGrid_data();
    void controlsSitOnTheTwipGrid();
    void addAppendsValidPositions_data();
    void addAppendsValidPositions();
    void positionFieldFiltersKeys_data();
    void positionFieldFiltersKeys();
    void closingWritesTheListOrder_data();
    void closingWritesTheListOrder();
    void everyWayOfClosingWritesBackOnce_data();
    void everyWayOfClosingWritesBackOnce();
    void deleteRemovesTheLastStopWithTheText_data();
    void deleteRemovesTheLastStopWithTheText();
    void differingStopsAreRefused_data();
    void differingStopsAreRefused();
    void oneUndoFromOpeningToClosing();
};

void TabDialogTest::controlsSitOnTheTwipGrid_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parentName");
    QTest::addColumn<QRect>("geometryPx");
    QTest::addColumn<QString>("caption");
    QTest::newRow("hint") << "Label1"
                          << "Tabof" << QRect(24, 8, 281, 49)
                          << "Pour ajouter une tabulation, vous pouvez également cliquer sur la "
                             "règle avec le bouton droit de la souris";
    QTest::newRow("positions") << "List1"
                               << "Frame1" << QRect(16, 24, 57, 196) << "";
    QTest::newRow("delete one") << "Command2"
                                << "Tabof" << QRect(128, 104, 185, 25)
                                << "Effacer la tabulation sélectionnée";
    QTest::newRow("position") << "Text1"
                              << "Frame2" << QRect(24, 24, 137, 19) << "";
    QTest::newRow("close") << "Command3"
                           << "Tabof" << QRect(128, 272, 185, 25) << "Fermer";
}

void TabDialogTest::controlsSitOnTheTwipGrid() {
    QFETCH(QString, name);
    QFETCH(QString, parentName);
    QFETCH(QRect, geometryPx);
    QFETCH(QString, caption);
    const Fixture f;
    // The drawn sizes are the least: a caption the font makes longer widens
    // its column and the dialog.
    QCOMPARE(f.dialog->height(), 330);
    QVERIFY(f.dialog->width() >= 329);
    const QWidget *widget = f.child<QWidget>(name);
    QVERIFY(widget);
    QCOMPARE(widget->parentWidget()->objectName(), parentName);
    QCOMPARE(widget->pos(), geometryPx.topLeft());
    QCOMPARE(widget->height(), geometryPx.height());
    QVERIFY(widget->width() >= geometryPx.width());
    QVERIFY(f.dialog->rect().contains(QRect(widget->mapTo(&*f.dialog, QPoint()), widget->size())));
    QCOMPARE(captionOf(widget), caption);
}

void TabDialogTest::addAppendsValidPositions_data() {
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<Stops>("addedPx");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QString>("fieldAfter");
    QTest::addColumn<Stops>("writtenPx");
    QTest::newRow("appended, shown sorted") << QStringList{"3", "1"} << Stops{114.9, 38.3}
                                            << QStringList{"1,", "3,"} << "" << Stops{38.3, 114.9};
    QTest::newRow("last allowed") << QStringList{"8.5"} << Stops{325.55} << QStringList{"8,5"} << ""
                                  << Stops{325.55};
    QTest::newRow("leading number of a pasted text")
        << QStringList{"2.5cm"} << Stops{95.75} << QStringList{"2,5"} << "" << Stops{95.75};
    for (const char *refused : {"", "0", "9", "8.51", "-2", "abc"})
        QTest::newRow(refused) << QStringList{refused} << Stops() << QStringList() << refused
                               << Stops();
}

void TabDialogTest::addAppendsValidPositions() {
    QFETCH(QStringList, entries);
    QFETCH(Stops, addedPx);
    QFETCH(QStringList, shown);
    QFETCH(QString, fieldAfter);
    QFETCH(Stops, writtenPx);
    const Fixture f;
    for (const QString &entry : entries) {
        f.field()->setText(entry);
        f.click(QStringLiteral("Command4"));
    }
    QCOMPARE(stopsPx(f.exo), addedPx);
    QCOMPARE(texts(f.shown()), shown);
    QCOMPARE(f.field()->text(), fieldAfter);
    f.click(QStringLiteral("Command3"));
    QVERIFY(!f.dialog->isVisible());
    QCOMPARE(stopsPx(f.exo), writtenPx);
}

void TabDialogTest::positionFieldFiltersKeys_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("fieldAfter");
    QTest::addColumn<Stops>("addedPx");
    QTest::newRow("comma becomes a full stop") << "1,5x"
                                               << "1.5" << Stops();
    QTest::newRow("signs and letters dropped") << "-a2e+"
                                               << "2" << Stops();
    QTest::newRow("backspace kept") << "12\b3"
                                    << "13" << Stops();
    QTest::newRow("enter adds") << "2\r"
                                << "" << Stops{76.6};
}

void TabDialogTest::positionFieldFiltersKeys() {
    QFETCH(QString, typed);
    QFETCH(QString, fieldAfter);
    QFETCH(Stops, addedPx);
    const Fixture f;
    QTest::keyClicks(f.field(), typed);
    QCOMPARE(f.field()->text(), fieldAfter);
    QCOMPARE(stopsPx(f.exo), addedPx);
    QVERIFY(f.dialog->isVisible());
}

void TabDialogTest::closingWritesTheListOrder_data() {
    QTest::addColumn<Stops>("initialPx");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<Stops>("writtenPx");
    QTest::newRow("10 cm sorts before 2 cm as text")
        << Stops{76.6, 383} << QStringList{"10,", "2,"} << Stops{383, 76.6};
    QTest::newRow("rounded to the decimals shown")
        << Stops{19, 12} << QStringList{"0,31", "0,5"} << Stops{11.873, 19.15};
}

void TabDialogTest::closingWritesTheListOrder() {
    QFETCH(Stops, initialPx);
    QFETCH(QStringList, shown);
    QFETCH(Stops, writtenPx);
    const Fixture f(initialPx);
    QVERIFY(f.dialog->loaded());
    QCOMPARE(texts(f.shown()), shown);
    f.click(QStringLiteral("Command3"));
    QCOMPARE(stopsPx(f.exo), writtenPx);
}

void TabDialogTest::everyWayOfClosingWritesBackOnce_data() {
    QTest::addColumn<QString>("way");
    QTest::newRow("Fermer") << "Fermer";
    QTest::newRow("Escape") << "Escape";
    QTest::newRow("close box") << "close box";
}

void TabDialogTest::everyWayOfClosingWritesBackOnce() {
    QFETCH(QString, way);
    Fixture f({76.6, 383});
    QList<Stops> seenByCaller;
    f.dialog->afterClose = [&f, &seenByCaller] { seenByCaller << stopsPx(f.exo); };
    if (way == QLatin1String("Fermer"))
        f.click(QStringLiteral("Command3"));
    else if (way == QLatin1String("Escape"))
        QTest::keyClick(&*f.dialog, Qt::Key_Escape);
    else
        f.dialog->close();
    QVERIFY(!f.dialog->isVisible());
    QCOMPARE(seenByCaller, QList<Stops>{Stops({383, 76.6})});
}

void TabDialogTest::deleteRemovesTheLastStopWithTheText_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("selectedRow");
    QTest::addColumn<Stops>("stopsAfterPx");
    QTest::addColumn<QStringList>("shownAfter");
    // Stops 1 cm, 2 cm, 1 cm show as "1,", "1,", "2,".
    QTest::newRow("either 1 cm removes stop 2")
        << "Command2" << 0 << Stops{38.3, 76.6} << QStringList{"1,", "2,"};
    QTest::newRow("the other 1 cm too")
        << "Command2" << 1 << Stops{38.3, 76.6} << QStringList{"1,", "2,"};
    QTest::newRow("2 cm: later stops move down")
        << "Command2" << 2 << Stops{38.3, 38.3} << QStringList{"1,", "1,"};
    QTest::newRow("nothing selected")
        << "Command2" << -1 << Stops{38.3, 76.6, 38.3} << QStringList{"1,", "1,", "2,"};
    QTest::newRow("Effacer tout") << "Command1" << -1 << Stops() << QStringList();
}

void TabDialogTest::deleteRemovesTheLastStopWithTheText() {
    QFETCH(QString, button);
    QFETCH(int, selectedRow);
    QFETCH(Stops, stopsAfterPx);
    QFETCH(QStringList, shownAfter);
    const Fixture f({38.3, 76.6, 38.3});
    if (selectedRow >= 0) f.shown()->setCurrentRow(selectedRow);
    f.click(button);
    QCOMPARE(stopsPx(f.exo), stopsAfterPx);
    QCOMPARE(texts(f.shown()), shownAfter);
}

void TabDialogTest::differingStopsAreRefused_data() {
    QTest::addColumn<Stops>("secondParagraphPx");
    QTest::addColumn<bool>("refused");
    QTest::newRow("another position") << Stops{76.6} << true;
    QTest::newRow("another count") << Stops{38.3, 76.6} << true;
    QTest::newRow("the same stops") << Stops{38.3} << false;
}

void TabDialogTest::differingStopsAreRefused() {
    QFETCH(Stops, secondParagraphPx);
    QFETCH(bool, refused);
    RichTextBox exo;
    exo.setText(QStringLiteral("a\nb"));
    exo.setSelStart(0);
    setStops(exo, {38.3});
    exo.setSelStart(2);
    setStops(exo, secondParagraphPx);
    exo.setSelStart(0);
    exo.setSelLength(3);

    ScriptedDialogs dialogs;
    const TabDialog dialog(exo, dialogs);
    QCOMPARE(dialog.loaded(), !refused);
    QCOMPARE(dialogs.calls.size(), refused ? 1 : 0);
    if (!refused) return;
    const Message &message = dialogs.last().message;
    QCOMPARE(
        message.text,
        QStringLiteral("Ne sélectionner qu'une partie du texte avec des tabulations identiques"));
    QCOMPARE(message.title, QStringLiteral("Tabulation refusée"));
    QCOMPARE(message.icon, MessageIcon::Critical);
    QCOMPARE(message.buttons, MessageButtons::Ok);
}

// However many clicks the dialog took, one Ctrl+Z gives the stops back as
// they were when it opened, and nothing of what came before it.
void TabDialogTest::oneUndoFromOpeningToClosing() {
    Fixture f({76.6, 114.9});
    f.exo.document()->clearUndoRedoStacks();
    const Stops before = stopsPx(f.exo);
    f.exo.setSelBold(true); // a step of its own, before the dialog changes anything
    const QByteArray bold = f.exo.textRTF();
    f.click(QStringLiteral("Command1")); // Effacer tout
    f.click(QStringLiteral("Command1")); // nothing left to clear
    for (const char *position : {"3", "1.5", "4"}) {
        QTest::keyClicks(f.field(), QLatin1String(position));
        QTest::keyClick(f.field(), Qt::Key_Return);
    }
    f.shown()->setCurrentRow(0);
    f.click(QStringLiteral("Command2"));
    f.click(QStringLiteral("Command3"));
    QCOMPARE(stopsPx(f.exo), Stops({114.9, 153.2}));
    QTest::keyClick(&f.exo, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(stopsPx(f.exo), before);
    QCOMPARE(f.exo.textRTF(), bold);
    QTest::keyClick(&f.exo, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(*f.exo.selBold(), false);
    QVERIFY(!f.exo.document()->isUndoAvailable());
}

QTEST_MAIN(TabDialogTest)
#include "tabdialog_test.moc"
