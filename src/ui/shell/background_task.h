#pragma once

#include <functional>
#include <optional>
#include <stop_token>

namespace pellmar {

// Runs long work (the bootstrap) on a worker thread while the UI thread goes on processing
// events, so that the windows repaint and a progress bar moves. The caller waits inside run()
// as for any other command; the work shows no dialog: everything it needs is asked before.
class BackgroundTask {
 public:
  // Runs `work` on a worker thread and returns when it has finished. An exception thrown by
  // the work is thrown again here, on the UI thread.
  void run(const std::function<void(std::stop_token)>& work);

  // Asks the running work to stop at its next check; does nothing when nothing runs.
  void requestStop();

  [[nodiscard]] bool running() const { return stop_.has_value(); }

 private:
  std::optional<std::stop_source> stop_;
};

}  // namespace pellmar
