// Carries work to the user-interface thread: the one thread that owns every display and on which
// the link's events are delivered.
//
// The window supplies an implementation on its toolkit's event loop; THeadlessDispatcher is the
// one the command line and the tests run on their main thread.
#pragma once

#include <functional>

namespace quarn::link {

class TDispatcher {
 public:
  virtual ~TDispatcher() = default;

  // Queues `work` to run on the UI thread, after everything posted before it. Dropped once the
  // dispatcher is closing. Callable from any thread.
  virtual void Post(std::function<void()> work) = 0;

  // Runs `work` on the UI thread and returns when it has run: at once, inline, when called on
  // the UI thread. Answers false without running it when the dispatcher is closing or closes
  // while the caller waits, so that a worker can never hang on a window that is going away.
  virtual bool Invoke(std::function<void()> work) = 0;

  virtual bool OnUiThread() const = 0;
};

}  // namespace quarn::link
