#include "ui/shell/background_task.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QObject>
#include <exception>
#include <thread>

namespace pellmar {

void BackgroundTask::run(const std::function<void(std::stop_token)>& work) {
  QObject receiver;
  bool finished = false;
  std::exception_ptr failure;
  std::jthread worker([&](std::stop_token token) {
    try {
      work(token);
    } catch (...) {
      failure = std::current_exception();
    }
    QMetaObject::invokeMethod(
        &receiver, [&finished] { finished = true; }, Qt::QueuedConnection);
  });
  stop_ = worker.get_stop_source();
  // Events are handled until the work has finished, also after the application has been told
  // to quit.
  while (!finished) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  worker.join();
  stop_.reset();
  if (failure) std::rethrow_exception(failure);
}

void BackgroundTask::requestStop() {
  if (stop_) stop_->request_stop();
}

}  // namespace pellmar
