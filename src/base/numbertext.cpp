#include "base/numbertext.h"

#include <cmath>

namespace numbertext {

double leadingNumber(const QString &text) {
    QString compact;
    for (QChar ch : text) {
        if (ch != QLatin1Char(' ') && ch != QLatin1Char('\t') && ch != QLatin1Char('\n') &&
            ch != QLatin1Char('\r'))
            compact.append(ch);
    }
    const auto isDigit = [&compact](qsizetype at) {
        return at < compact.size() && compact.at(at) >= QLatin1Char('0') &&
               compact.at(at) <= QLatin1Char('9');
    };
    const auto isSign = [&compact](qsizetype at) {
        return at < compact.size() &&
               (compact.at(at) == QLatin1Char('+') || compact.at(at) == QLatin1Char('-'));
    };
    qsizetype end = isSign(0) ? 1 : 0;
    bool anyDigit = false;
    while (isDigit(end))
        ++end, anyDigit = true;
    if (end < compact.size() && compact.at(end) == QLatin1Char('.')) {
        ++end;
        while (isDigit(end))
            ++end, anyDigit = true;
    }
    if (!anyDigit) return 0;
    if (end < compact.size() && QStringLiteral("eEdD").contains(compact.at(end))) {
        qsizetype exponent = end + 1;
        if (isSign(exponent)) ++exponent;
        if (isDigit(exponent)) {
            compact[end] = QLatin1Char('e');
            end = exponent;
            while (isDigit(end))
                ++end;
        }
    }
    const double value = compact.left(end).toDouble();
    return std::isfinite(value) ? value : 0;
}

std::optional<double> localeNumber(const QString &text, const QLocale &locale) {
    bool ok = false;
    const double value = locale.toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}

QString upToTwoDecimals(double value, const QLocale &locale) {
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    QString text = plain.toString(value, 'f', 2);
    // Trailing zeros go; the separator stays, even with no decimal after it.
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    return text;
}

} // namespace numbertext
