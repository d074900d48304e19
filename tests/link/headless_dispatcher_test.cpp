// The headless event loop: work reaches the UI thread in order, Invoke waits for it, and nothing
// hangs when the loop closes under a waiting worker.
#include "link/headless_dispatcher.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace quarn::link {
namespace {

using namespace std::chrono_literals;

TEST(HeadlessDispatcherTest, WorkFromOtherThreadsRunsOnTheUiThreadInOrder) {
  THeadlessDispatcher ui;
  const std::thread::id ui_thread = std::this_thread::get_id();
  std::vector<int> order;
  bool all_on_ui = true;
  std::atomic<bool> invoked{false};
  std::thread worker([&] {
    for (int i = 0; i < 3; ++i) {
      ui.Post([&, i] {
        order.push_back(i);
        all_on_ui = all_on_ui && std::this_thread::get_id() == ui_thread;
      });
    }
    // Invoke returns only after its work ran, and after everything posted before it.
    const bool ran = ui.Invoke([&] { order.push_back(3); });
    ui.Post([&, ran] { invoked = ran && order.size() == 4; });
  });
  EXPECT_TRUE(ui.RunFor(5s, [&] { return invoked.load(); }));
  worker.join();
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3}));
  EXPECT_TRUE(all_on_ui);
}

TEST(HeadlessDispatcherTest, InvokeOnTheUiThreadRunsInline) {
  THeadlessDispatcher ui;
  bool ran = false;
  EXPECT_TRUE(ui.Invoke([&] { ran = true; }));
  EXPECT_TRUE(ran);
  EXPECT_EQ(ui.RunPending(), 0);
}

TEST(HeadlessDispatcherTest, ClosingReleasesAWaitingInvokeWithoutRunningIt) {
  THeadlessDispatcher ui;
  std::atomic<int> result{-1};
  bool ran = false;
  std::thread worker([&] { result = ui.Invoke([&] { ran = true; }) ? 1 : 0; });
  // The UI thread goes away without running its queue; the waiting worker must be let go
  // (whether it queued its work already or only tries to once the loop is closed).
  std::this_thread::sleep_for(30ms);
  ui.Close();
  worker.join();
  EXPECT_EQ(result, 0);
  EXPECT_FALSE(ran);
  // After closing, Post and Invoke do nothing.
  ui.Post([&] { ran = true; });
  EXPECT_FALSE(ui.Invoke([&] { ran = true; }));
  EXPECT_EQ(ui.RunPending(), 0);
  EXPECT_FALSE(ran);
}

TEST(HeadlessDispatcherTest, RunUntilEndsAtItsDeadline) {
  THeadlessDispatcher ui;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(ui.RunFor(50ms, [] { return false; }));
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_GE(took, 50ms);
  EXPECT_LT(took, 2s);
}

}  // namespace
}  // namespace quarn::link
