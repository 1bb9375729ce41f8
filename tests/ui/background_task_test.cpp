#include "ui/shell/background_task.h"

#include <gtest/gtest.h>

#include <QTimer>
#include <atomic>
#include <chrono>
#include <optional>
#include <stdexcept>
#include <thread>

#include "ui/shell/progress_tracker.h"

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

TEST(ProgressTracker, PercentOfTheReplicatesDone) {
  const auto start = ProgressTracker::Clock::time_point{};
  ProgressTracker tracker;
  EXPECT_EQ(tracker.update(999, 4000, start + 10s).percent, 24);
  EXPECT_EQ(tracker.update(-5, 4000, start + 11s).percent, 0) << "never below 0";
  const ProgressTracker::Update last = tracker.update(4000, 4000, start + 40s);
  EXPECT_EQ(last.percent, 100);
  EXPECT_EQ(last.text, QStringLiteral("4000 of 4000"));
  EXPECT_EQ(ProgressTracker().update(3, 0, start).percent, 0) << "nothing to do";
}

// The time left, against a fake clock: the user takes a minute over the questions, the first
// replicates are slow, then the rate wanders by a quarter either way. Every estimate given is
// within half the time actually left, and the first comes a second after the first report.
TEST(ProgressTracker, TimeLeftFromTheRateAfterTheFirstSecond) {
  using Seconds = std::chrono::duration<double>;
  const auto clockAt = [](double seconds) {
    return ProgressTracker::Clock::time_point{} +
           std::chrono::duration_cast<ProgressTracker::Clock::duration>(Seconds(seconds));
  };
  constexpr long kTotal = 40000;
  constexpr long kBatch = 64;
  // Seconds per batch: a slow start, then 0.1 s give or take a quarter.
  std::vector<double> batchTimes;
  for (long done = 0; done < kTotal; done += kBatch) {
    const long batch = done / kBatch;
    batchTimes.push_back(
        batch < 3 ? 0.3 : 0.1 * (1.0 + 0.25 * static_cast<double>((batch * 7 % 5) - 2) / 2.0));
  }
  std::vector<double> finishedAt(batchTimes.size());
  double now = 60.0;
  for (std::size_t b = 0; b < batchTimes.size(); ++b) finishedAt[b] = now += batchTimes[b];
  const double end = now;

  ProgressTracker tracker;
  std::optional<double> firstEstimateAt;
  for (std::size_t b = 0; b < finishedAt.size(); ++b) {
    const long done = std::min(kTotal, static_cast<long>(b + 1) * kBatch);
    const QString text = tracker.update(done, kTotal, clockAt(finishedAt[b])).text;
    const qsizetype about = text.indexOf(QStringLiteral("about "));
    if (about < 0) {
      EXPECT_TRUE(!firstEstimateAt || done == kTotal) << text.toStdString();
      continue;
    }
    if (!firstEstimateAt) firstEstimateAt = finishedAt[b];
    // "about 1 min 23 s left" or "about 45 s left"
    const QStringList words = text.mid(about).split(QLatin1Char(' '));
    const double estimate =
        words.size() == 6 ? words[1].toDouble() * 60 + words[3].toDouble() : words[1].toDouble();
    const double actual = end - finishedAt[b];
    EXPECT_NEAR(estimate, actual, std::max(0.5 * actual, 1.0)) << text.toStdString();
  }
  ASSERT_TRUE(firstEstimateAt);
  EXPECT_GE(*firstEstimateAt - finishedAt[0], 1.0);
  EXPECT_LT(*firstEstimateAt - finishedAt[0], 1.5);
}

TEST(ProgressTracker, DurationTexts) {
  EXPECT_EQ(durationText(5s), QStringLiteral("5 s"));
  EXPECT_EQ(durationText(125s), QStringLiteral("2 min 5 s"));
  EXPECT_EQ(durationText(7500s), QStringLiteral("2 h 5 min"));
}

}  // namespace
}  // namespace pellmar
