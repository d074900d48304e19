// Link timings for tests: short enough that a silent line costs little, with room for a loaded
// machine.
#pragma once

#include <chrono>

#include "link/link_timings.h"

namespace quarn::link::testing {

using namespace std::chrono_literals;

// Short waits: PortCycle 10, answer wait 160, TotalTimeout 160 + 170 x 2 + 10 = 510 ms.
inline LinkTimings FastTimings() {
  LinkTimings t;
  t.ReadPause = 5ms;
  t.PermissionWait = 5ms;
  // Room for a loaded machine (sanitizers, parallel tests): a missed answer costs a retry.
  t.AnswerHandling = 150ms;
  t.GeneralWait = 10ms;
  t.RepeatPause = 5ms;
  t.StateInterval = 20ms;
  t.StateResetInterval = 100ms;
  return t;
}

}  // namespace quarn::link::testing
