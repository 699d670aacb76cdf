#include "widgets/numerickeyfilter.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

using Outcome = NumericKeyFilter::Outcome;
Q_DECLARE_METATYPE(NumericKeyFilter::Outcome)

class NumericKeyFilterTest : public QObject {
    Q_OBJECT

private slots:
    void keysAreSorted_data();
    void keysAreSorted();
    void theOtherMarkWritesTheSeparatorAtTheCaret_data();
    void theOtherMarkWritesTheSeparatorAtTheCaret();
};

// The margins dialog takes a comma and turns a full stop into one; the tab
// dialog takes a full stop and turns a comma into one.
void NumericKeyFilterTest::keysAreSorted_data() {
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("typedAsSeparator");
    QTest::addColumn<QString>("keyText");
    QTest::addColumn<Outcome>("outcome");
    const struct {
        const char *name;
        QString separator, typedAsSeparator;
    } fields[] = {{"comma field", QStringLiteral(","), QStringLiteral(".")},
                  {"full-stop field", QStringLiteral("."), QStringLiteral(",")}};
    for (const auto &field : fields) {
        auto row = [&](const char *what, const QString &keyText, Outcome outcome) {
            QTest::addRow("%s: %s", field.name, what)
                << field.separator << field.typedAsSeparator << keyText << outcome;
        };
        row("0", QStringLiteral("0"), Outcome::Accepted);
        row("9", QStringLiteral("9"), Outcome::Accepted);
        row("separator", field.separator, Outcome::Accepted);
        row("other mark", field.typedAsSeparator, Outcome::TypesSeparator);
        row("letter", QStringLiteral("e"), Outcome::Refused);
        row("minus", QStringLiteral("-"), Outcome::Refused);
        row("space", QStringLiteral(" "), Outcome::Refused);
        row("superscript two", QStringLiteral("²"), Outcome::Refused);
        row("two digits at once", QStringLiteral("12"), Outcome::Refused);
        row("backspace", QStringLiteral("\b"), Outcome::NotTyped);
        row("tab", QStringLiteral("\t"), Outcome::NotTyped);
        row("ctrl+v", QStringLiteral("\x16"), Outcome::NotTyped);
        row("arrow", QString(), Outcome::NotTyped);
    }
}

void NumericKeyFilterTest::keysAreSorted() {
    QFETCH(QString, separator);
    QFETCH(QString, typedAsSeparator);
    QFETCH(QString, keyText);
    QFETCH(Outcome, outcome);
    QCOMPARE(NumericKeyFilter(separator, typedAsSeparator).outcome(keyText), outcome);
}

void NumericKeyFilterTest::theOtherMarkWritesTheSeparatorAtTheCaret_data() {
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("typedAsSeparator");
    QTest::newRow("comma field") << QStringLiteral(",") << QStringLiteral(".");
    QTest::newRow("full-stop field") << QStringLiteral(".") << QStringLiteral(",");
}

void NumericKeyFilterTest::theOtherMarkWritesTheSeparatorAtTheCaret() {
    QFETCH(QString, separator);
    QFETCH(QString, typedAsSeparator);
    QLineEdit field(QStringLiteral("15"));
    field.setCursorPosition(1);
    const QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, typedAsSeparator);
    QVERIFY(NumericKeyFilter(separator, typedAsSeparator).filter(&field, &key));
    QCOMPARE(field.text(), QStringLiteral("1") + separator + QStringLiteral("5"));
}

QTEST_MAIN(NumericKeyFilterTest)
#include "numerickeyfilter_test.moc"
