#include "ui/greeting.h"

#include <array>

namespace pellmar {

namespace {

// Rows: bands of ten phases; columns: early morning, day, evening, night.
constexpr std::array<std::array<const char*, 4>, 6> kGreetings = {{
    {"Buenos dias!", "Buenas tardes!", "Buenas noches!", "Gute Nacht!"},
    {"Guten Morgen!", "Guten Tag!", "Guten Abend!", "Gute Nacht!"},
    {"Good morning!", "Good afternoon!", "Good evening!", "Good night!"},
    {"How do you do?", "How are you?", "Hi......!", "Go bed!"},
    {"Wie geht's?", "Alles Gutes!", "Good evening!", "Good night!"},
    {"Como esta Vd.?", "Good afternoon!", "Good evening!", "Good night!"},
}};

std::size_t timeOfDay(int hour) {
  if (hour >= 5 && hour < 8) return 0;
  if (hour >= 8 && hour < 17) return 1;
  if (hour >= 17 && hour < 21) return 2;
  return 3;
}

}  // namespace

std::string greetingFor(int phase, int hour) {
  const auto band = static_cast<std::size_t>(phase / 10);
  return kGreetings.at(band)[timeOfDay(hour)];
}

std::string Greeting::tick(int hour) {
  if (ticks_ >= kTickLimit) return kSettled;
  ++ticks_;
  phase_ = (phase_ + 1) % kPhases;
  return greetingFor(phase_, hour);
}

}  // namespace pellmar
