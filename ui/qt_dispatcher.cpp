#include "ui/qt_dispatcher.h"

#include <QMetaObject>
#include <QThread>
#include <memory>

namespace quarn::ui {

TQtDispatcher::TQtDispatcher(QObject* parent) : QObject(parent) {
  setObjectName(QStringLiteral("QtDispatcher"));
}

TQtDispatcher::~TQtDispatcher() { Close(); }

bool TQtDispatcher::OnUiThread() const { return QThread::currentThread() == thread(); }

void TQtDispatcher::Queue(std::function<void()> work) {
  // Qt drops queued calls whose context object is gone, so nothing runs after this object.
  QMetaObject::invokeMethod(
      this,
      [this, work = std::move(work)] {
        if (!closing_) work();
      },
      Qt::QueuedConnection);
}

void TQtDispatcher::Post(std::function<void()> work) {
  // Posting under the lock means no call can slip in behind Close.
  std::lock_guard lock(mutex_);
  if (closing_) return;
  Queue(std::move(work));
}

bool TQtDispatcher::Invoke(std::function<void()> work) {
  if (OnUiThread()) {
    if (closing_) return false;
    work();
    return true;
  }
  // The flag is shared with the queued call: after Close the waiter is gone while the call may
  // still sit in Qt's queue.
  auto done = std::make_shared<bool>(false);
  std::unique_lock lock(mutex_);
  if (closing_) return false;
  Queue([this, done, work = std::move(work)] {
    work();
    {
      std::lock_guard ranLock(mutex_);
      *done = true;
    }
    ran_.notify_all();
  });
  ran_.wait(lock, [&] { return *done || closing_.load(); });
  return *done;
}

void TQtDispatcher::Close() {
  {
    std::lock_guard lock(mutex_);
    closing_ = true;
  }
  ran_.notify_all();
}

}  // namespace quarn::ui
