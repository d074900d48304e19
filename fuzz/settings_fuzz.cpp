// Feeds arbitrary bytes to the settings reader: it must never crash, and whatever it takes over
// must lie within the ranges the rest of the workbench relies on.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "shell/settings_file.h"

namespace {

using quarn::shell::TCommonDatas;

std::optional<std::string> Environment(std::string_view name) {
  if (name == "HOME") return std::string("/home/user");
  if (name == "LONG") return std::string(4096, 'x');
  if (name == "EMPTY") return std::string();
  return std::nullopt;
}

void Check(bool holds) {
  if (!holds) __builtin_trap();
}

bool Within(int value, int min, int max, int fallback) {
  return value == fallback || (value >= min && value <= max);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  TCommonDatas datas;
  quarn::shell::ApplySettings(quarn::shell::SplitSettingsLines(bytes), datas, Environment);

  Check(Within(datas.ReadPause, 1, 1000, 30));
  Check(Within(datas.ExtraWait, 1, 1000, 0));
  Check(Within(datas.PermissionWait, 10, 1000, 50));
  Check(Within(datas.AnswerHandling, 10, 1000, 100));
  Check(Within(datas.WorkerCloseWait, 30, 1000, 150));
  Check(Within(datas.RepeatPause, 10, 1000, 100));
  Check(Within(datas.GeneralWait, 1, 200, 50));
  Check(Within(datas.StatusTimerInterval, 100, 5000, 200));
  Check(Within(datas.ReadAttempts, 1, 10, 1));
  Check(Within(datas.LinesToLog, 100, 1000, 1000));
  Check(datas.MaxReadRegisters >= 1);
  Check(datas.SlowMode || datas.MaxReadRegisters == 123);
  Check(datas.LogPath.find('\0') == std::string::npos);
  Check(datas.TotalTimeout() > 0);

  const std::string expanded = quarn::shell::ExpandEnvironmentNames(bytes, Environment);
  Check(expanded.size() <= bytes.size() * 4096 + 1);
  return 0;
}
