#include "app/qtdialogs.h"
#include "base/messages.h"
#include "base/recoverystore.h"
#include "modalanswer.h"
#include "windowfixture.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QPushButton>
#include <QTest>

namespace {

// What the user would not see whole: the title beside the window's icon and
// three frame buttons (a line and a half each, as some window managers draw
// them whatever the window asks) and the frame's margins; each button's
// caption with a few pixels of frame on either side, within the dialog. A
// small dialog offers no minimise or maximise button.
QStringList cutTexts(const QWidget &dialog) {
    QStringList cut;
    QFont titleFont = QApplication::font("QMdiSubWindowTitleBar");
    titleFont.setBold(true);
    const QFontMetrics title(titleFont);
    if (dialog.width() < title.horizontalAdvance(dialog.windowTitle()) + 7 * title.height())
        cut << QStringLiteral("title ") + dialog.windowTitle();
    for (const QPushButton *button : dialog.findChildren<QPushButton *>()) {
        if (!button->isVisibleTo(&dialog)) continue;
        QString caption = button->text();
        caption.remove(QLatin1Char('&'));
        const int iconPx = button->icon().isNull() ? 0 : button->iconSize().width();
        const int neededPx = button->fontMetrics().horizontalAdvance(caption) + iconPx + 8;
        const QRect place(button->mapTo(&dialog, QPoint()), button->size());
        if (button->width() < neededPx || !dialog.rect().contains(place))
            cut << dialog.windowTitle() + QStringLiteral(": ") + caption;
    }
    if (dialog.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint))
        cut << dialog.windowTitle() + QStringLiteral(": minimise or maximise");
    return cut;
}

QList<Message> everyMessage() {
    const QString path = QStringLiteral("/home/prof/exercices/enonce.rtf");
    RecoveryCopy copy;
    copy.originalPath = path;
    return {messages::saveChangesQuestion(),
            messages::losingChangesWarning(QStringLiteral("Ouvrir l'énoncé")),
            messages::losingChangesWarning(QStringLiteral("Ouvrir le corrigé")),
            messages::openFailed(path),
            messages::writeFailed(),
            messages::overwriteQuestion(),
            messages::saveBothFailed(),
            messages::noStatement(),
            messages::exerciseOverwriteQuestion(),
            messages::invalidExerciseName(QStringLiteral("E51")),
            messages::recapWriteFailed(),
            messages::recapReadFailed(),
            messages::textNotFound(path),
            messages::offsetOutOfRange(),
            messages::nothingSelectedToAlign(true),
            messages::nothingSelectedToAlign(false),
            messages::tabRefusal(),
            messages::notAText(path),
            messages::tooTallToShow(path),
            messages::saveTextChangesQuestion(true),
            messages::saveTextChangesQuestion(false),
            messages::textUnreadable(path),
            messages::saveExerciseQuestion(),
            messages::unstorableCharacters(QStringLiteral("€")),
            messages::textOutsideExerciseFolder(QStringLiteral("../enonce.rtf")),
            messages::invalidRecapFile(path),
            messages::restoreCopiesQuestion({copy}),
            messages::restoredWithoutExercise(QStringLiteral("/media/prof/CLE/chute.E51")),
            messages::recoveryCopiesUnwritable(
                QStringLiteral("/home/prof/.local/share/redigo/recovery"))};
}

} // namespace

class DialogsFitTest : public QObject {
    Q_OBJECT

private slots:
    void ownDialogsShowTheirWholeTexts();
    void messageAndInputBoxesShowTheirWholeTexts();
};

// Every dialog of the program, opened from its command.
void DialogsFitTest::ownDialogsShowTheirWholeTexts() {
    WindowFixture f;
    f.exo.setText(QStringLiteral("x2 y3"));
    f.select(0, 5);
    QStringList opened, cut;
    for (int i = 0; i < 5; ++i) {
        f.dialogs.dialogAnswers << [&](QDialog &dialog) {
            opened << dialog.windowTitle();
            cut << cutTexts(dialog);
            return int(QDialog::Rejected);
        };
    }
    f.control<QAbstractButton>(QStringLiteral("Command12"))->click();
    f.action("toutexpo")->trigger();
    f.select(0, 5);
    f.action("toutindi")->trigger();
    f.window.tabulo_Click();
    f.window.margo_Click();
    QCOMPARE(opened, QStringList({"Couleurs", "Modifier les exposants", "Modifier les indices",
                                  "Tabulations", "Les marges"}));
    QCOMPARE(cut, QStringList());
}

// The boxes size themselves to their texts when shown: each is looked at on
// the screen, then closed.
void DialogsFitTest::messageAndInputBoxesShowTheirWholeTexts() {
    QtDialogs dialogs;
    QStringList seen, cut;
    const auto lookThenClose = [&] {
        whileModal([&](QWidget &box) {
            seen << box.windowTitle();
            cut << cutTexts(box);
            static_cast<QDialog &>(box).done(QDialog::Rejected);
            return true;
        });
    };
    const QList<Message> all = everyMessage();
    for (const Message &message : all) {
        lookThenClose();
        dialogs.message(message);
    }
    for (const QString &title :
         {QStringLiteral("Décalage des exposants"), QStringLiteral("Décalage des indices")}) {
        lookThenClose();
        dialogs.input(QStringLiteral("Valeur du décalage (de 1 à 20)"), title, QStringLiteral("8"));
    }
    QCOMPARE(seen.size(), all.size() + 2);
    QCOMPARE(cut, QStringList());
}

QTEST_MAIN(DialogsFitTest)
#include "dialogsfit_test.moc"
