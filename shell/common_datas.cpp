#include "shell/common_datas.h"

#include <algorithm>

#include "link/link_timings.h"
#include "shell/link_settings.h"
#include "shell/shell_texts.h"

namespace quarn::shell {
namespace {

link::TDerivedTimes Derived(const TCommonDatas& datas) {
  return link::DeriveTimes(LinkTimingsOf(datas));
}

int Ms(std::chrono::milliseconds span) { return static_cast<int>(span.count()); }

}  // namespace

int TCommonDatas::PortCycle() const { return Ms(Derived(*this).PortCycle); }
int TCommonDatas::AnswerWait() const { return Ms(Derived(*this).AnswerWait); }
int TCommonDatas::FullAnswerWait() const { return Ms(Derived(*this).FullAnswerWait); }
int TCommonDatas::TotalTimeout() const { return Ms(Derived(*this).TotalTimeout); }
int TCommonDatas::SenderAnswerWait() const { return Ms(Derived(*this).SenderAnswerWait); }
int TCommonDatas::CloseReadPortWait() const { return AnswerWait(); }
int TCommonDatas::CloseSenderWait() const { return Ms(Derived(*this).CloseSenderWait); }

int TCommonDatas::DownloadWorkerEndWait() const {
  const link::TDerivedTimes times = Derived(*this);
  return Ms(times.PortCycle + times.FullAnswerWait) + GeneralWait + WorkerCloseWait;
}

std::string WindowTitle(const TCommonDatas& datas) {
  std::string title{texts::kTitlePrefix};
  title += datas.VersionText;
  title += texts::kTitleSeparator;
  title += datas.BrandName;
  return title;
}

int BoundedStatusTimerInterval(int interval) {
  return std::max(interval, TCommonDatas::MinStatusTimerInterval);
}

}  // namespace quarn::shell
