#include "link/link_timings.h"

namespace quarn::link {

TDerivedTimes DeriveTimes(const LinkTimings& t) {
  TDerivedTimes d{};
  const int extra_tries = t.ReadAttempts > 1 ? t.ReadAttempts - 1 : 0;
  const int extra_attempts = t.SenderAttempts > 1 ? t.SenderAttempts - 1 : 0;
  d.PortCycle = t.ReadPause + t.PermissionWait;
  d.AnswerWait = d.PortCycle + t.AnswerHandling;
  const milliseconds f = t.ExtraWait + d.AnswerWait;
  d.FullAnswerWait = f;
  d.TotalTimeout = f + (f + d.PortCycle) * extra_attempts + t.GeneralWait;
  d.SenderAnswerWait = t.ExtraWait + d.AnswerWait + t.ExtraWait;
  d.RetryDelay = d.PortCycle;
  d.PacketSenderWait = f + d.PortCycle + t.GeneralWait;
  d.PacketWorkerWait = (f + (f + d.PortCycle) * extra_tries) * 2 + f + d.PortCycle * extra_tries +
                       d.PortCycle + f + t.GeneralWait;
  d.CloseSenderWait = f * (t.SenderAttempts > 0 ? t.SenderAttempts : 1);
  return d;
}

}  // namespace quarn::link
