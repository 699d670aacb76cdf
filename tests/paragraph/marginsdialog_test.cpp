#include "editor/richtextbox.h"
#include "paragraph/marginsdialog.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <cmath>

namespace {

// To the thousandth of a pixel; -1 when the paragraphs differ.
double roundedPx(std::optional<double> px) {
    return px ? std::round(*px * 1000) / 1000 : -1;
}

// Two selected paragraphs with the indents (19 px shows as "0,5" cm, 12 px as
// "0,31"), and the dialog over them. A second-paragraph left indent makes
// the paragraphs differ.
struct Fixture {
    explicit Fixture(double leftPx = 19, double rightPx = 12,
                     std::optional<double> secondLeftPx = std::nullopt) {
        exo.setText(QStringLiteral("a\nb"));
        exo.setSelStart(0);
        exo.setSelLength(3);
        exo.setSelIndent(leftPx);
        exo.setSelRightIndent(rightPx);
        if (secondLeftPx) {
            exo.setSelStart(2);
            exo.setSelIndent(*secondLeftPx);
            exo.setSelStart(0);
            exo.setSelLength(3);
        }
        dialog.emplace(exo);
        dialog->show();
    }
    QLineEdit *field(int index) const {
        return dialog->findChild<QLineEdit *>(QStringLiteral("Text1(%1)").arg(index));
    }
    void click(const char *name) const {
        QTest::mouseClick(dialog->findChild<QAbstractButton *>(QString::fromLatin1(name)),
                          Qt::LeftButton);
    }

    RichTextBox exo;
    std::optional<MarginsDialog> dialog;
};

} // namespace

class MarginsDialogTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::French, QLocale::France)); }
    void controlsSitOnTheTwipGrid_data();
    void controlsSitOnTheTwipGrid();
    void validateIsFirstAndDefault();
    void loadShowsCentimetres_data();
    void loadShowsCentimetres();
    void validateKeepsWithinRange_data();
    void validateKeepsWithinRange();
    void enterValidates();
    void cancelChangesNothing();
};

void MarginsDialogTest::controlsSitOnTheTwipGrid_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometryPx");
    QTest::addColumn<QString>("caption");
    QTest::newRow("left label") << "Label1" << QRect(8, 20, 113, 17) << "Marge gauche:";
    QTest::newRow("right field") << "Text1(1)" << QRect(128, 48, 97, 24) << "";
    QTest::newRow("validate") << "Command1" << QRect(136, 96, 73, 25) << "Valider";
}

void MarginsDialogTest::controlsSitOnTheTwipGrid() {
    QFETCH(QString, name);
    QFETCH(QRect, geometryPx);
    QFETCH(QString, caption);
    const Fixture f;
    QCOMPARE(f.dialog->size(), QSize(250, 145));
    const QWidget *widget = f.dialog->findChild<QWidget *>(name);
    QVERIFY(widget);
    QCOMPARE(widget->geometry(), geometryPx);
    if (auto *label = qobject_cast<const QLabel *>(widget)) QCOMPARE(label->text(), caption);
    if (auto *button = qobject_cast<const QAbstractButton *>(widget))
        QCOMPARE(button->text(), caption);
}

void MarginsDialogTest::validateIsFirstAndDefault() {
    const Fixture f;
    auto *validate = f.dialog->findChild<QPushButton *>(QStringLiteral("Command1"));
    QVERIFY(validate->isDefault());
    const QWidget *first = f.dialog->nextInFocusChain();
    while (first != &*f.dialog && first->focusPolicy() == Qt::NoFocus)
        first = first->nextInFocusChain();
    QCOMPARE(first, validate);
}

void MarginsDialogTest::loadShowsCentimetres_data() {
    QTest::addColumn<double>("leftPx");
    QTest::addColumn<double>("rightPx");
    QTest::addColumn<bool>("leftDiffers");
    QTest::addColumn<QString>("leftCm");
    QTest::addColumn<QString>("rightCm");
    QTest::newRow("rounded to two decimals") << 19.0 << 12.0 << false << "0,5"
                                             << "0,31";
    QTest::newRow("whole centimetres keep the comma") << 76.6 << 0.0 << false << "2,"
                                                      << "0,";
    QTest::newRow("paragraphs differ") << 19.0 << 12.0 << true << ""
                                       << "0,31";
}

void MarginsDialogTest::loadShowsCentimetres() {
    QFETCH(double, leftPx);
    QFETCH(double, rightPx);
    QFETCH(bool, leftDiffers);
    QFETCH(QString, leftCm);
    QFETCH(QString, rightCm);
    const Fixture f(leftPx, rightPx, leftDiffers ? std::optional<double>(50) : std::nullopt);
    QCOMPARE(f.field(0)->text(), leftCm);
    QCOMPARE(f.field(1)->text(), rightCm);
}

void MarginsDialogTest::validateKeepsWithinRange_data() {
    QTest::addColumn<bool>("typed"); // else pasted
    QTest::addColumn<QString>("leftInput");
    QTest::addColumn<QString>("rightInput");
    QTest::addColumn<QString>("leftAfter");
    QTest::addColumn<QString>("rightAfter");
    QTest::addColumn<double>("leftPx");
    QTest::addColumn<double>("rightPx");
    // A field left showing "0,31" keeps the exact 12 px, not 0.31 cm's
    // 11.873 px; one typed afresh takes what it reads.
    QTest::newRow("above 4") << true << "5"
                             << "0,31"
                             << "4"
                             << "0,31" << 153.2 << 12.0;
    QTest::newRow("full stop typed") << true << "1.5"
                                     << "0,31"
                                     << "1,5"
                                     << "0,31" << 57.45 << 12.0;
    QTest::newRow("signs and letters dropped") << true << "-x3e+"
                                               << "1\b2"
                                               << "3"
                                               << "2" << 114.9 << 76.6;
    QTest::newRow("negative pasted") << false << "-1"
                                     << "0,31"
                                     << "0"
                                     << "0,31" << 0.0 << 12.0;
    QTest::newRow("right retyped") << true << "0,5"
                                   << "0,32"
                                   << "0,5"
                                   << "0,32" << 19.0 << 12.256;
    QTest::newRow("unreadable pasted") << false << "abc"
                                       << "9"
                                       << "0"
                                       << "4" << 0.0 << 153.2;
    QTest::newRow("limits kept") << false << "0"
                                 << "4"
                                 << "0"
                                 << "4" << 0.0 << 153.2;
    QTest::newRow("right emptied") << true << "2"
                                   << ""
                                   << "2"
                                   << "" << 76.6 << 12.0;
    QTest::newRow("left blank") << false << "  "
                                << "1"
                                << "  "
                                << "1" << 19.0 << 38.3;
}

void MarginsDialogTest::validateKeepsWithinRange() {
    QFETCH(bool, typed);
    QFETCH(QString, leftInput);
    QFETCH(QString, rightInput);
    QFETCH(QString, leftAfter);
    QFETCH(QString, rightAfter);
    QFETCH(double, leftPx);
    QFETCH(double, rightPx);
    const Fixture f;
    const QString inputs[] = {leftInput, rightInput};
    for (int index = 0; index < 2; ++index) {
        f.field(index)->clear();
        if (typed)
            QTest::keyClicks(f.field(index), inputs[index]);
        else
            f.field(index)->setText(inputs[index]);
    }
    f.click("Command1");
    QCOMPARE(f.dialog->result(), int(QDialog::Accepted));
    QCOMPARE(f.field(0)->text(), leftAfter);
    QCOMPARE(f.field(1)->text(), rightAfter);
    QCOMPARE(roundedPx(f.exo.selIndent()), leftPx);
    QCOMPARE(roundedPx(f.exo.selRightIndent()), rightPx);
}

void MarginsDialogTest::enterValidates() {
    const Fixture f;
    f.field(1)->clear();
    QTest::keyClicks(f.field(1), QStringLiteral("2\r"));
    QCOMPARE(f.dialog->result(), int(QDialog::Accepted));
    QVERIFY(!f.dialog->isVisible());
    QCOMPARE(roundedPx(f.exo.selRightIndent()), 76.6);
}

void MarginsDialogTest::cancelChangesNothing() {
    const Fixture f;
    f.field(0)->setText(QStringLiteral("3"));
    f.field(1)->setText(QStringLiteral("9"));
    f.click("Command2");
    QCOMPARE(f.dialog->result(), int(QDialog::Rejected));
    QCOMPARE(f.field(1)->text(), QStringLiteral("9"));
    QCOMPARE(f.exo.selIndent(), 19.0);
    QCOMPARE(f.exo.selRightIndent(), 12.0);
}

QTEST_MAIN(MarginsDialogTest)
#include "marginsdialog_test.moc"
