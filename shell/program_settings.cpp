#include "shell/program_settings.h"

#include <algorithm>

#include "shell/shell_texts.h"

namespace quarn::shell {
namespace {

constexpr int kTwoHundredMs = 200;
constexpr int kTenSeconds = 10000;

}  // namespace

void ProgramSettings::SetMaxBlocks(long long value) {
  maxBlocks_ = static_cast<int>(std::clamp<long long>(value, kMinBlocks, kMaxBlocks));
}

std::string ProgramSettings::SetMaxBlocksText(std::string_view text) {
  long long value = 0;
  bool anyDigit = false;
  for (const char c : text) {
    if (c < '0' || c > '9') continue;
    anyDigit = true;
    // Past the upper bound the value only needs to stay above it.
    value = std::min<long long>(value * 10 + (c - '0'), kMaxBlocks + 1);
  }
  if (anyDigit) SetMaxBlocks(value);
  return std::to_string(maxBlocks_);
}

std::string ProgramSettings::TimeoutText() {
  return std::string(texts::kTimeoutLabel) + std::to_string(TCommonDatas::DebugTimeout);
}

std::string ProgramSettings::Timeout2Text() {
  return std::string(texts::kTimeout2Label) + std::to_string(TCommonDatas::DebugTimeout2);
}

int ProgramSettings::IntervalFor(StatusTimerChoice choice) {
  const int wanted = choice == StatusTimerChoice::Ms200 ? kTwoHundredMs : kTenSeconds;
  return std::clamp(wanted, TCommonDatas::MinStatusTimerInterval,
                    TCommonDatas::MaxStatusTimerInterval);
}

int ProgramSettings::Apply(TCommonDatas& datas) const {
  datas.MaxFragmentBlocks = maxBlocks_;
  datas.CompileLog = addCompilationInfo_;
  datas.StatusTimerInterval = IntervalFor(timerChoice_);
  return datas.StatusTimerInterval;
}

}  // namespace quarn::shell
