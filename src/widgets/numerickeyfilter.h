#pragma once

#include <QString>
#include <utility>

class QKeyEvent;
class QLineEdit;

// What a numeric field does with a typed key: digits and one decimal
// separator go in, another mark typed for it is written as the separator,
// any other character is refused. Keys typing no character (editing,
// navigation, shortcuts) are left alone.
class NumericKeyFilter {
public:
    enum class Outcome { NotTyped, Accepted, TypesSeparator, Refused };

    NumericKeyFilter(QString separator, QString typedAsSeparator)
        : m_separator(std::move(separator)), m_typedAsSeparator(std::move(typedAsSeparator)) {}

    Outcome outcome(const QString &keyText) const;
    // Returns true when the key is dealt with and must go no further.
    bool filter(QLineEdit *field, const QKeyEvent *event) const;

private:
    QString m_separator;
    QString m_typedAsSeparator;
};
