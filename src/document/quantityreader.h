#pragma once

#include "document/formularecogniser.h"

namespace formulas {

// Units, powers of ten and powers written as plain text: m.s-2, J.mol-1.K-1,
// cm3, 10-3, 10^5, 6.02e23, 2,5.10-3, x^2, t^n.
std::optional<Formatted> readQuantity(QStringView word, Mode mode);

} // namespace formulas
