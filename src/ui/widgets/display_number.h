#pragma once

#include <QString>

namespace pellmar {

// The number shown in a result grid: the value rounded to `decimals` places (halves to even)
// and written without trailing zeros and with a zero before the point ("0.5", "2", "-0.25").
QString displayNumber(double value, int decimals);

}  // namespace pellmar
