#include "shell/link_settings.h"

namespace quarn::shell {

link::LinkTimings LinkTimingsOf(const TCommonDatas& datas) {
  using std::chrono::milliseconds;
  link::LinkTimings t;
  t.ReadPause = milliseconds(datas.ReadPause);
  t.PermissionWait = milliseconds(datas.PermissionWait);
  t.ExtraWait = milliseconds(datas.ExtraWait);
  t.AnswerHandling = milliseconds(datas.AnswerHandling);
  t.WorkerCloseWait = milliseconds(datas.WorkerCloseWait);
  t.RepeatPause = milliseconds(datas.RepeatPause);
  t.GeneralWait = milliseconds(datas.GeneralWait);
  t.ReadAttempts = datas.ReadAttempts;
  t.SenderAttempts = TCommonDatas::SenderAttempts;
  t.MaxReadRegisters = datas.MaxReadRegisters;
  t.WriteLog = datas.WriteLog;
  t.StateInterval = milliseconds(BoundedStatusTimerInterval(datas.StatusTimerInterval));
  t.StateResetInterval = milliseconds(TCommonDatas::StateResetInterval);
  return t;
}

}  // namespace quarn::shell
