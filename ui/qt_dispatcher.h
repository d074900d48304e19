// The link's dispatcher on Qt's event loop: work posted from any thread runs as a queued call on
// the thread this object lives on (the main thread).
//
// Close() is called when the window begins to close: from then on posted work is dropped, work
// still queued does not run, and every Invoke waiting on a worker thread returns false at once,
// so that no worker can hang on a window that is going away. Destroy the dispatcher only after
// every thread that posts through it has ended.
#pragma once

#include <QObject>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>

#include "link/dispatcher.h"

namespace quarn::ui {

class TQtDispatcher final : public QObject, public link::TDispatcher {
  Q_OBJECT

 public:
  explicit TQtDispatcher(QObject* parent = nullptr);
  ~TQtDispatcher() override;

  void Post(std::function<void()> work) override;
  bool Invoke(std::function<void()> work) override;
  bool OnUiThread() const override;

  void Close();

 private:
  // Queues `work` on the event loop; mutex_ held.
  void Queue(std::function<void()> work);

  std::mutex mutex_;
  std::condition_variable ran_;  // an invoked piece of work has run, or the dispatcher closed
  std::atomic<bool> closing_{false};
};

}  // namespace quarn::ui
