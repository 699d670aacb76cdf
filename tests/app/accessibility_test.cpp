#include "windowfixture.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextEdit>

class AccessibilityTest : public QObject {
    Q_OBJECT

private slots:
    void everyControlHasAFrenchName();
};

namespace {

// What a screen reader's user can act on.
bool isControl(const QWidget *widget) {
    // Qt's own parts (a box's line, a scroll area's bars, the arrows of a
    // tool strip too short) are read with what holds them.
    for (const QWidget *up = widget; up; up = up->parentWidget())
        if (up->objectName().startsWith(QLatin1String("qt_")) ||
            (up != widget &&
             (qobject_cast<const QComboBox *>(up) || qobject_cast<const QAbstractSpinBox *>(up))))
            return false;
    return qobject_cast<const QAbstractButton *>(widget) ||
           qobject_cast<const QComboBox *>(widget) ||
           qobject_cast<const QAbstractSpinBox *>(widget) ||
           qobject_cast<const QLineEdit *>(widget) || qobject_cast<const QTextEdit *>(widget) ||
           qobject_cast<const QPlainTextEdit *>(widget) ||
           qobject_cast<const QAbstractSlider *>(widget) ||
           qobject_cast<const QAbstractItemView *>(widget);
}

// The controls shown that a screen reader would announce without a word.
QStringList unnamedShown(const QWidget &window, int &controls) {
    QStringList unnamed;
    for (QWidget *widget : window.findChildren<QWidget *>()) {
        if (!widget->isVisibleTo(&window) || !isControl(widget)) continue;
        ++controls;
        const QString name =
            QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name).trimmed();
        // "G", "+" or "<" say nothing read aloud; "pi" does.
        if (name.size() < 2)
            unnamed << widget->objectName() + QLatin1Char('/') + widget->metaObject()->className() +
                           QStringLiteral(" \"") + name + QLatin1Char('"');
    }
    return unnamed;
}

} // namespace

void AccessibilityTest::everyControlHasAFrenchName() {
    WindowFixture f;
    f.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    int controls = 0;
    QStringList unnamed = unnamedShown(f.window, controls);
    // The exercise's panel in the place of the welcome one.
    f.action("az53")->trigger();
    unnamed << unnamedShown(f.window, controls);
    QVERIFY(controls > 60);
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QLatin1String(", "))));
    // The text itself, and an icon button, by what they are.
    QCOMPARE(QAccessible::queryAccessibleInterface(&f.exo)->text(QAccessible::Name),
             QStringLiteral("Texte"));
    QCOMPARE(QAccessible::queryAccessibleInterface(f.control<QWidget>("Check1", 1))
                 ->text(QAccessible::Name),
             QStringLiteral("Gras"));
}

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
