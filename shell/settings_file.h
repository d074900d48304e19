// Reading of the settings file: lines of the form <KEY>=value, written by hand by the user.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "shell/common_datas.h"
#include "shell/environment.h"

namespace quarn::shell {

// A settings file is a few hundred bytes; anything this large is not one.
inline constexpr std::size_t kMaxSettingsFileBytes = std::size_t{1} << 20;

// The file name in the current folder, used when no other file is named.
std::string DefaultSettingsPath();

enum class SettingsFileStatus { Read, Missing, Unreadable };

struct SettingsReadResult {
  SettingsFileStatus Status = SettingsFileStatus::Missing;
  std::string Message;  // empty when the file was read; otherwise why the defaults stay
};

// Reads the file once and takes over every valid setting into datas. A file that cannot be read
// leaves datas as it is. Never throws.
SettingsReadResult ReadSettingsFile(const std::string& path, TCommonDatas& datas,
                                    const EnvLookup& env = ProcessEnvironment());

// Takes over the settings of lines already read. The first line is never a setting.
void ApplySettings(const std::vector<std::string>& lines, TCommonDatas& datas,
                   const EnvLookup& env);

// LF, CR LF and a lone CR each end a line; a leading UTF-8 byte-order mark is dropped.
std::vector<std::string> SplitSettingsLines(std::string_view bytes);

struct FoundSetting {
  bool Found = false;
  std::string Value;
};

// The value of the last line from the second one on that begins with "<" key ">=". With numeric,
// only lines whose value is a non-empty run of the digits 0 to 9 count.
FoundSetting FindSetting(const std::vector<std::string>& lines, std::string_view key, bool numeric);

// Replaces every %NAME% by the variable's value (nothing when it is undefined); text after an
// unpaired '%' is dropped.
std::string ExpandEnvironmentNames(std::string_view text, const EnvLookup& env);

}  // namespace quarn::shell
