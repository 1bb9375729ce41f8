#include "ui/shell/progress_tracker.h"

#include <algorithm>

namespace pellmar {

namespace {
constexpr auto kWarmUp = std::chrono::seconds(1);
}  // namespace

QString durationText(std::chrono::seconds duration) {
  const long long total = std::max<long long>(0, duration.count());
  const long long hours = total / 3600;
  const long long minutes = total % 3600 / 60;
  const long long seconds = total % 60;
  if (hours > 0) return QStringLiteral("%1 h %2 min").arg(hours).arg(minutes);
  if (minutes > 0) return QStringLiteral("%1 min %2 s").arg(minutes).arg(seconds);
  return QStringLiteral("%1 s").arg(seconds);
}

ProgressTracker::Update ProgressTracker::update(long done, long total, Clock::time_point now) {
  Update result;
  result.percent = total > 0 ? static_cast<int>(100LL * std::clamp(done, 0L, total) / total) : 0;
  result.text = QStringLiteral("%1 of %2").arg(done).arg(total);
  if (!first_) first_ = Mark{now, done};
  if (!measuredFrom_ && now - first_->time >= kWarmUp) {
    measuredFrom_ = Mark{now, done};
  } else if (measuredFrom_ && done > measuredFrom_->done && done < total) {
    const std::chrono::duration<double> measured = now - measuredFrom_->time;
    const auto left = std::chrono::seconds(
        static_cast<long long>(measured.count() * static_cast<double>(total - done) /
                                   static_cast<double>(done - measuredFrom_->done) +
                               0.5));
    result.text += QStringLiteral(", about %1 left").arg(durationText(left));
  }
  return result;
}

}  // namespace pellmar
