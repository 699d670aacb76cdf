#include "widgets/numerickeyfilter.h"

#include <QKeyEvent>
#include <QLineEdit>

NumericKeyFilter::Outcome NumericKeyFilter::outcome(const QString &keyText) const {
    // Backspace, Tab, Escape and Ctrl shortcuts carry a control character.
    if (keyText.isEmpty() || keyText.front().category() == QChar::Other_Control)
        return Outcome::NotTyped;
    if (keyText == m_typedAsSeparator) return Outcome::TypesSeparator;
    const bool digit = keyText.size() == 1 && keyText.front() >= QLatin1Char('0') &&
                       keyText.front() <= QLatin1Char('9');
    return keyText == m_separator || digit ? Outcome::Accepted : Outcome::Refused;
}

bool NumericKeyFilter::filter(QLineEdit *field, const QKeyEvent *event) const {
    switch (outcome(event->text())) {
    case Outcome::NotTyped:
    case Outcome::Accepted:
        return false;
    case Outcome::TypesSeparator:
        field->insert(m_separator);
        return true;
    case Outcome::Refused:
        return true;
    }
    return true;
}
