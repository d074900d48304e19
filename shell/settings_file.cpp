#include "shell/settings_file.h"

#include <array>
#include <climits>
#include <cstdint>
#include <new>

#include "shell/file_system.h"
#include "shell/shell_texts.h"

namespace quarn::shell {
namespace {

struct NumberSetting {
  std::string_view Key;
  int Min;
  int Max;
  int TCommonDatas::*Field;
};

// Keys with digits-only values and their accepted ranges, bounds included.
constexpr std::array kNumberSettings{
    NumberSetting{"COMPORT_TIMEOUT_READ", 1, 1000, &TCommonDatas::ReadPause},
    NumberSetting{"COMPORT_TIMEOUT_READ2", 1, 1000, &TCommonDatas::ExtraWait},
    NumberSetting{"COMPORT_TIMEOUT_HANDLE", 10, 1000, &TCommonDatas::PermissionWait},
    NumberSetting{"RESPONSE_HANDLE_TIMEOUT1", 10, 1000, &TCommonDatas::AnswerHandling},
    NumberSetting{"RESPONSE_HANDLE_TIMEOUT2", 30, 1000, &TCommonDatas::WorkerCloseWait},
    NumberSetting{"CYCLE_READ_DELAY", 10, 1000, &TCommonDatas::RepeatPause},
    NumberSetting{"GENERAL_TIMEOUT", 1, 200, &TCommonDatas::GeneralWait},
    NumberSetting{"STATE_REQ", TCommonDatas::MinStatusTimerInterval,
                  TCommonDatas::MaxStatusTimerInterval, &TCommonDatas::StatusTimerInterval},
    NumberSetting{"READ_ATTEMPTS", 1, 10, &TCommonDatas::ReadAttempts},
    NumberSetting{"LINES_TO_LOG", 100, 1000, &TCommonDatas::LinesToLog},
};

struct SwitchSetting {
  std::string_view Key;
  bool OffWhenAbsent;  // once a file was read, the switch needs its line to stay on
  bool TCommonDatas::*Field;
};

// Keys where "1" means on and any other value off. SLOW comes before MAX_READ_REGISTERS,
// which depends on it.
constexpr std::array kSwitchSettings{
    SwitchSetting{"SAVE_LOG", true, &TCommonDatas::SaveLog},
    SwitchSetting{"WRITE_LOG", false, &TCommonDatas::WriteLog},
    SwitchSetting{"SLOW", false, &TCommonDatas::SlowMode},
};

constexpr std::string_view kLogPathKey = "LOG_PATH";

// Only read in slow mode. Blocks are cut to min(123, value) registers by the download, so large
// values are harmless; 0 would give blocks that never advance and is refused.
constexpr NumberSetting kMaxReadRegisters{"MAX_READ_REGISTERS", 1, INT_MAX,
                                          &TCommonDatas::MaxReadRegisters};

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsDigits(std::string_view text) {
  if (text.empty()) return false;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// The value of a digits-only text, saturated so that any number of digits compares correctly
// with a range.
std::int64_t SaturatedValue(std::string_view digits) {
  constexpr std::int64_t kLimit = std::int64_t{1} << 40;
  std::int64_t value = 0;
  for (const char c : digits) {
    value = value * 10 + (c - '0');
    if (value > kLimit) return kLimit;
  }
  return value;
}

void ApplyNumber(const std::vector<std::string>& lines, const NumberSetting& setting,
                 TCommonDatas& datas) {
  const FoundSetting found = FindSetting(lines, setting.Key, true);
  if (!found.Found) return;
  const std::int64_t value = SaturatedValue(found.Value);
  if (value < setting.Min || value > setting.Max) return;
  datas.*setting.Field = static_cast<int>(value);
}

void ApplySwitch(const std::vector<std::string>& lines, const SwitchSetting& setting,
                 TCommonDatas& datas) {
  const FoundSetting found = FindSetting(lines, setting.Key, false);
  if (found.Found) {
    datas.*setting.Field = found.Value == "1";
  } else if (setting.OffWhenAbsent) {
    datas.*setting.Field = false;
  }
}

void ApplyLogPath(const std::vector<std::string>& lines, TCommonDatas& datas,
                  const EnvLookup& env) {
  const FoundSetting found = FindSetting(lines, kLogPathKey, false);
  if (!found.Found) return;
  std::string path = ExpandEnvironmentNames(found.Value, env);
  // No file system accepts a NUL inside a path; the system calls would cut it there and write
  // somewhere the user never named.
  if (path.find('\0') != std::string::npos) return;
  datas.LogPath = std::move(path);
}

std::string FailureMessage(std::string_view what, const std::string& path,
                           std::string_view reason) {
  std::string message{what};
  message += path;
  if (!reason.empty()) {
    message += ": ";
    message += reason;
  }
  message += texts::kSettingsDefaultsUsed;
  return message;
}

SettingsReadResult Unreadable(std::string message) {
  return {SettingsFileStatus::Unreadable, std::move(message)};
}

}  // namespace

std::string DefaultSettingsPath() { return std::string(texts::kSettingsFileName); }

std::vector<std::string> SplitSettingsLines(std::string_view bytes) {
  if (bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(kByteOrderMark.size());
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\n' && bytes[i] != '\r') continue;
    lines.emplace_back(bytes.substr(start, i - start));
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < bytes.size()) lines.emplace_back(bytes.substr(start));
  return lines;
}

FoundSetting FindSetting(const std::vector<std::string>& lines, std::string_view key,
                         bool numeric) {
  std::string prefix = "<";
  prefix += key;
  prefix += ">=";
  // Line 0 is the file's heading and never a setting; the last matching line wins.
  for (std::size_t i = lines.size(); i > 1; --i) {
    const std::string_view line = lines[i - 1];
    if (!line.starts_with(prefix)) continue;
    const std::string_view value = line.substr(prefix.size());
    if (numeric && !IsDigits(value)) continue;
    return {true, std::string(value)};
  }
  return {};
}

std::string ExpandEnvironmentNames(std::string_view text, const EnvLookup& env) {
  std::string expanded;
  for (;;) {
    const std::size_t open = text.find('%');
    expanded += text.substr(0, open);
    if (open == std::string_view::npos) return expanded;
    const std::size_t close = text.find('%', open + 1);
    if (close == std::string_view::npos) return expanded;
    if (env) {
      if (const auto value = env(text.substr(open + 1, close - open - 1))) expanded += *value;
    }
    text.remove_prefix(close + 1);
  }
}

void ApplySettings(const std::vector<std::string>& lines, TCommonDatas& datas,
                   const EnvLookup& env) {
  for (const NumberSetting& setting : kNumberSettings) ApplyNumber(lines, setting, datas);
  for (const SwitchSetting& setting : kSwitchSettings) ApplySwitch(lines, setting, datas);
  ApplyLogPath(lines, datas, env);
  if (datas.SlowMode) ApplyNumber(lines, kMaxReadRegisters, datas);
}

SettingsReadResult ReadSettingsFile(const std::string& path, TCommonDatas& datas,
                                    const EnvLookup& env) {
  try {
    const FileContent file = ReadSmallFile(path, kMaxSettingsFileBytes);
    switch (file.Result) {
      case ReadFileResult::Read:
        break;
      case ReadFileResult::Missing:
        return {SettingsFileStatus::Missing, FailureMessage(texts::kSettingsMissing, path, "")};
      case ReadFileResult::NotAFile:
        return Unreadable(FailureMessage(texts::kSettingsNotAFile, path, ""));
      case ReadFileResult::TooLarge:
        return Unreadable(FailureMessage(texts::kSettingsTooLarge, path, ""));
      case ReadFileResult::Failed:
        return Unreadable(FailureMessage(texts::kSettingsUnreadable, path, file.Reason));
    }
    // Settings are taken over all at once, so a failure half way leaves datas untouched.
    TCommonDatas updated = datas;
    ApplySettings(SplitSettingsLines(file.Bytes), updated, env);
    datas = std::move(updated);
    return {SettingsFileStatus::Read, {}};
  } catch (const std::bad_alloc&) {
    return Unreadable(FailureMessage(texts::kSettingsTooLarge, path, ""));
  } catch (...) {
    return Unreadable(FailureMessage(texts::kSettingsUnreadable, path, ""));
  }
}

}  // namespace quarn::shell
