#pragma once

#include <QLocale>
#include <QString>
#include <optional>

// Numbers as the program reads and writes them in its fields and files.
namespace numbertext {

// The number a text starts with, full stop as the decimal separator: blanks
// are ignored, reading stops where the text stops being a number, and a
// text without a number gives 0.
double leadingNumber(const QString &text);

// The text as a number of the user's locale, or nothing.
std::optional<double> localeNumber(const QString &text, const QLocale &locale = QLocale());

// At least one integer digit, at most two decimals, and the decimal
// separator always written: 2 gives "2," and 0.496 "0,5" in French.
QString upToTwoDecimals(double value, const QLocale &locale = QLocale());

} // namespace numbertext
