#include "format/formateur.h"

#include "editor/richtextbox.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

namespace {

constexpr double letterSizePt = 12;

struct Attributes {
    double sizePt;
    int offsetTwips;
};

// One digit at positions 1 and 3 of the text, the other characters plain.
void fill(RichTextBox &box, const QString &text, Attributes first, Attributes second) {
    box.setText(text);
    box.selectAll();
    box.setSelFontSize(letterSizePt);
    box.setSelCharOffset(0);
    for (const auto &[position, digit] : {std::pair{1, first}, std::pair{3, second}}) {
        box.setSelStart(position);
        box.setSelLength(1);
        box.setSelFontSize(digit.sizePt);
        box.setSelCharOffset(digit.offsetTwips);
    }
}

// A single character never reads as mixed, so -1 only shows a missing value.
void compareAttributes(RichTextBox &box, int position, Attributes expected) {
    box.setSelStart(position);
    box.setSelLength(1);
    QCOMPARE(box.selFontSize().value_or(-1), expected.sizePt);
    QCOMPARE(box.selCharOffset().value_or(-1), expected.offsetTwips);
}

QString shown(const Formateur &dialog, const char *name) {
    return dialog.findChild<QLineEdit *>(QLatin1String(name))->text();
}

QByteArray raisedDigitsRtf() {
    RichTextBox source;
    fill(source, QStringLiteral("x2y3z"), {10, 80}, {14, 120});
    return source.textRTF();
}

} // namespace

Q_DECLARE_METATYPE(OffsetKind)
Q_DECLARE_METATYPE(Attributes)

class FormateurTest : public QObject {
    Q_OBJECT

private slots:
    void walkChangesOnlyItsKind_data();
    void walkChangesOnlyItsKind();
    void captionFollowsKind_data();
    void captionFollowsKind();
    void opensWithItsValues();
    void okGivesTheProcessedSelection();
    void closingGivesNothing();
};

void FormateurTest::walkChangesOnlyItsKind_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<OffsetKind>("kind");
    QTest::addColumn<int>("sizePt");
    QTest::addColumn<int>("offsetValue");
    QTest::addColumn<Attributes>("first");
    QTest::addColumn<Attributes>("second");
    QTest::addColumn<Attributes>("firstAfter");
    QTest::addColumn<Attributes>("secondAfter");

    const QString text = QStringLiteral("x2y3z");
    const Attributes raised10{10, 80}, raised14{14, 112}, lowered10{10, -80}, lowered14{14, -112};
    QTest::newRow("exponents") << text << OffsetKind::Exponents << 8 << 8 << raised10 << raised14
                               << Attributes{8, 64} << Attributes{8, 64};
    QTest::newRow("indices leave raised digits")
        << text << OffsetKind::Indices << 8 << 8 << raised10 << raised14 << raised10 << raised14;
    QTest::newRow("indices") << text << OffsetKind::Indices << 8 << 8 << lowered10 << lowered14
                             << Attributes{8, -64} << Attributes{8, -64};
    QTest::newRow("mixed, exponents") << text << OffsetKind::Exponents << 12 << 5 << raised10
                                      << lowered14 << Attributes{12, 60} << lowered14;
    QTest::newRow("mixed, indices") << text << OffsetKind::Indices << 12 << 5 << raised10
                                    << lowered14 << raised10 << Attributes{12, -60};
    QTest::newRow("across paragraphs")
        << QStringLiteral("x2\n3z") << OffsetKind::Exponents << 10 << 3 << raised10 << raised14
        << Attributes{10, 30} << Attributes{10, 30};
}

void FormateurTest::walkChangesOnlyItsKind() {
    QFETCH(QString, text);
    QFETCH(OffsetKind, kind);
    QFETCH(int, sizePt);
    QFETCH(int, offsetValue);
    QFETCH(Attributes, first);
    QFETCH(Attributes, second);
    QFETCH(Attributes, firstAfter);
    QFETCH(Attributes, secondAfter);

    RichTextBox box;
    fill(box, text, first, second);
    Formateur::alignOffsets(box, kind, sizePt, offsetValue);

    QCOMPARE(box.text(), text);
    compareAttributes(box, 1, firstAfter);
    compareAttributes(box, 3, secondAfter);
    for (int position = 0; position < text.size(); ++position) {
        if (text.at(position).isLetter()) compareAttributes(box, position, {letterSizePt, 0});
    }
}

void FormateurTest::captionFollowsKind_data() {
    QTest::addColumn<OffsetKind>("kind");
    QTest::addColumn<QString>("caption");
    QTest::newRow("exponents") << OffsetKind::Exponents << "Modifier les exposants";
    QTest::newRow("indices") << OffsetKind::Indices << "Modifier les indices";
}

void FormateurTest::captionFollowsKind() {
    QFETCH(OffsetKind, kind);
    QFETCH(QString, caption);
    const Formateur dialog(kind, QByteArray(), 5);
    QCOMPARE(dialog.windowTitle(), caption);
}

void FormateurTest::opensWithItsValues() {
    Formateur dialog(OffsetKind::Exponents, raisedDigitsRtf(), 5);
    dialog.show();
    QCOMPARE(shown(dialog, "Text1"), QStringLiteral("8"));
    QCOMPARE(shown(dialog, "Text2"), QStringLiteral("5"));
    QVERIFY(!dialog.findChild<RichTextBox *>(QStringLiteral("iertf"))->isVisible());

    dialog.findChild<QSpinBox *>(QStringLiteral("UpDown1"))->stepUp();
    QCOMPARE(shown(dialog, "Text1"), QStringLiteral("10"));
    dialog.findChild<QSpinBox *>(QStringLiteral("UpDown2"))->stepDown();
    QCOMPARE(shown(dialog, "Text2"), QStringLiteral("4"));
}

void FormateurTest::okGivesTheProcessedSelection() {
    Formateur dialog(OffsetKind::Exponents, raisedDigitsRtf(), 5);
    dialog.show();
    dialog.findChild<QSpinBox *>(QStringLiteral("UpDown1"))->stepUp();
    QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("Command1")), Qt::LeftButton);

    QCOMPARE(dialog.QDialog::result(), int(QDialog::Accepted));
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QVERIFY(dialog.result().has_value());
    RichTextBox reread;
    reread.setTextRTF(*dialog.result());
    QCOMPARE(reread.text(), QStringLiteral("x2y3z"));
    compareAttributes(reread, 1, {10, 50});
    compareAttributes(reread, 3, {10, 50});
    compareAttributes(reread, 2, {letterSizePt, 0});
}

void FormateurTest::closingGivesNothing() {
    Formateur dialog(OffsetKind::Exponents, raisedDigitsRtf(), 5);
    dialog.show();
    dialog.close();
    QCOMPARE(dialog.QDialog::result(), int(QDialog::Rejected));
    QCOMPARE(dialog.result(), std::nullopt);
}

QTEST_MAIN(FormateurTest)
#include "formateur_test.moc"
