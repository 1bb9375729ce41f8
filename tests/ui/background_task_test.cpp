#include "ui/background_task.h"

#include <gtest/gtest.h>

#include <QTimer>
#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "ui/progress_tracker.h"

namespace pellmar {
namespace {

using namespace std::chrono_literals;

TEST(BackgroundTask, RunsOffTheUiThreadWhileEventsGoOn) {
  BackgroundTask work;
  std::thread::id workerThread;
  bool timerFired = false;
  QTimer::singleShot(0, [&timerFired] { timerFired = true; });
  work.run([&](std::stop_token) {
    workerThread = std::this_thread::get_id();
    // The UI thread handles its timer while the work is still busy.
    const auto giveUp = std::chrono::steady_clock::now() + 5s;
    while (!timerFired && std::chrono::steady_clock::now() < giveUp)
      std::this_thread::sleep_for(1ms);
  });
  EXPECT_NE(workerThread, std::this_thread::get_id());
  EXPECT_TRUE(timerFired);
  EXPECT_FALSE(work.running());
}

TEST(BackgroundTask, StopRequestReachesTheWork) {
  BackgroundTask work;
  std::atomic<bool> started = false;
  bool stopped = false;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (started) work.requestStop();
  });
  poll.start(1);
  work.run([&](std::stop_token token) {
    started = true;
    const auto giveUp = std::chrono::steady_clock::now() + 5s;
    while (!token.stop_requested() && std::chrono::steady_clock::now() < giveUp) {
      std::this_thread::sleep_for(1ms);
    }
    stopped = token.stop_requested();
  });
  EXPECT_TRUE(stopped);
}

TEST(BackgroundTask, FailureOfTheWorkIsThrownOnTheUiThread) {
  BackgroundTask work;
  EXPECT_THROW(work.run([](std::stop_token) { throw std::runtime_error("disk full"); }),
               std::runtime_error);
  EXPECT_FALSE(work.running());
}

TEST(ProgressTracker, PercentTimeLeftAndColourFlipEveryThousand) {
  const auto start = ProgressTracker::Clock::time_point{};
  ProgressTracker tracker(start);
  const ProgressTracker::Update first = tracker.update(999, 4000, start + 10s);
  EXPECT_EQ(first.percent, 24);
  EXPECT_EQ(first.colourFlips, 0);
  const ProgressTracker::Update thousand = tracker.update(1000, 4000, start + 10s);
  EXPECT_EQ(thousand.colourFlips, 1);
  EXPECT_EQ(thousand.text, QStringLiteral("1000 of 4000, about 30 s left"));
  EXPECT_EQ(tracker.update(1500, 4000, start + 15s).colourFlips, 0);
  EXPECT_EQ(tracker.update(2100, 4000, start + 21s).colourFlips, 1);
  EXPECT_EQ(tracker.update(2200, 4000, start + 22s).colourFlips, 0);
  // The last replicate flips nothing of its own: 3000 is the last multiple below 4000.
  const ProgressTracker::Update last = tracker.update(4000, 4000, start + 40s);
  EXPECT_EQ(last.colourFlips, 1);
  EXPECT_EQ(last.percent, 100);
  EXPECT_EQ(last.text, QStringLiteral("4000 of 4000"));
}

TEST(ProgressTracker, ReportsInBatchesFlipOncePerThousandPassed) {
  const auto start = ProgressTracker::Clock::time_point{};
  ProgressTracker tracker(start);
  EXPECT_EQ(tracker.update(2048, 5000, start + 2s).colourFlips, 2);
  EXPECT_EQ(tracker.update(5000, 5000, start + 5s).colourFlips, 2);  // 3000 and 4000
  ProgressTracker exact(start);
  EXPECT_EQ(exact.update(1000, 1000, start + 1s).colourFlips, 0);
}

TEST(ProgressTracker, DurationTexts) {
  EXPECT_EQ(durationText(5s), QStringLiteral("5 s"));
  EXPECT_EQ(durationText(125s), QStringLiteral("2 min 5 s"));
  EXPECT_EQ(durationText(7500s), QStringLiteral("2 h 5 min"));
}

}  // namespace
}  // namespace pellmar
