#include "app/system_clock.h"

#include <chrono>
#include <ctime>
#include <mutex>

namespace pellmar {

ClockReading readSystemClock() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  // std::localtime shares one buffer; the clock is read on the worker thread too.
  static std::mutex guard;
  std::tm local{};
  {
    const std::scoped_lock lock(guard);
    local = *std::localtime(&now);
  }
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return ClockReading{text, local.tm_hour, local.tm_min, local.tm_sec};
}

std::uint64_t seedFromClock() {
  return static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

}  // namespace pellmar
