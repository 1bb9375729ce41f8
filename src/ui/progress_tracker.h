#pragma once

#include <QString>
#include <chrono>

namespace pellmar {

// Follows the replicates of long work: how far it has come, the time left at the rate so far,
// and how often the clock line changes colour: once at every multiple of 1000 replicates
// below the last one, however far apart the reports come.
class ProgressTracker {
 public:
  using Clock = std::chrono::steady_clock;

  struct Update {
    int percent = 0;
    QString text;         // "1000 of 40000, about 2 min 5 s left"
    int colourFlips = 0;  // multiples of 1000 passed since the last report
  };

  explicit ProgressTracker(Clock::time_point start) : start_(start) {}

  Update update(long done, long total, Clock::time_point now);

 private:
  Clock::time_point start_;
  long flipsSeen_ = 0;
};

// A duration in whole seconds as "2 h 5 min", "2 min 5 s" or "5 s".
QString durationText(std::chrono::seconds duration);

}  // namespace pellmar
