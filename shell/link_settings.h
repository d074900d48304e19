// The controller link's times and counts as the settings file sets them. The window and the
// command line both hand these to the link.
#pragma once

#include "link/link_timings.h"
#include "shell/common_datas.h"

namespace quarn::shell {

link::LinkTimings LinkTimingsOf(const TCommonDatas& datas);

}  // namespace quarn::shell
