#pragma once

#include <cstdint>

#include "app/dialogs.h"

namespace pellmar {

// The date and time of the system clock, in local time.
ClockReading readSystemClock();

// A bootstrap seed taken from the clock, for runs not given one.
std::uint64_t seedFromClock();

}  // namespace pellmar
