#pragma once

#include <QAbstractButton>
#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <functional>

// The ion formula dialog filled in as a user does, then OK.
inline std::function<int(QDialog &)> typingIon(const QString &body, const QString &index,
                                               const QString &charge) {
    return [=](QDialog &dialog) {
        QTest::keyClicks(dialog.findChild<QLineEdit *>(QStringLiteral("baset")), body);
        QTest::keyClicks(dialog.findChild<QLineEdit *>(QStringLiteral("Text3")), index);
        QTest::keyClicks(dialog.findChild<QLineEdit *>(QStringLiteral("Text2")), charge);
        dialog.findChild<QAbstractButton *>(QStringLiteral("Command3"))->click();
        return dialog.result();
    };
}
