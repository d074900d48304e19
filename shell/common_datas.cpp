#include "shell/common_datas.h"

#include <algorithm>

#include "shell/shell_texts.h"

namespace quarn::shell {

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
