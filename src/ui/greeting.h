#pragma once

#include <string>

namespace pellmar {

// The greeting line of the main window. Every tick of its timer advances a phase that cycles
// through six language sets; the hour of the day picks the greeting within a set. After 2001
// ticks (about 17 minutes) the greeting settles on a single farewell-like line.
class Greeting {
 public:
  static constexpr int kTickLimit = 2001;
  static constexpr int kPhases = 60;

  // The greeting shown before the first tick.
  static constexpr const char* kInitial = "How do you do?";
  static constexpr const char* kSettled = "Herzlichen Gruessen!";

  // Advances by one tick and returns the greeting for the clock hour (0..23).
  std::string tick(int hour);

  [[nodiscard]] int ticks() const { return ticks_; }
  [[nodiscard]] int phase() const { return phase_; }

 private:
  int ticks_ = 0;
  int phase_ = 0;
};

// The greeting of the table for a phase (0..59) and an hour (0..23).
std::string greetingFor(int phase, int hour);

}  // namespace pellmar
