#pragma once

#include <QString>
#include <chrono>
#include <optional>

namespace pellmar {

// Follows the replicates of long work: how far it has come, and the time left.
//
// The time left comes from the rate measured after the first second of reports: what happened
// before the first report (the questions, reading the data) says nothing about how fast the
// replicates go, and the first replicates are slowed by the threads starting up.
class ProgressTracker {
 public:
  using Clock = std::chrono::steady_clock;

  struct Update {
    int percent = 0;
    QString text;  // "1000 of 40000, about 2 min 5 s left"
  };

  Update update(long done, long total, Clock::time_point now);

 private:
  struct Mark {
    Clock::time_point time;
    long done = 0;
  };
  std::optional<Mark> first_;
  // The first report a second or more after the first: the rate is measured from here.
  std::optional<Mark> measuredFrom_;
};

// A duration in whole seconds as "2 h 5 min", "2 min 5 s" or "5 s".
QString durationText(std::chrono::seconds duration);

}  // namespace pellmar
