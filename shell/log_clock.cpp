#include "shell/log_clock.h"

#include <ctime>

namespace quarn::shell {
namespace {

// Padded with leading zeros to the width; a longer number is written in full.
void AppendField(std::string& text, int value, int width) {
  std::string digits = std::to_string(value);
  if (digits.size() < static_cast<std::size_t>(width)) {
    digits.insert(0, static_cast<std::size_t>(width) - digits.size(), '0');
  }
  text += digits;
}

// "dd.mm.yyyy" or "hh:mm:ss".
std::string ThreeFields(int first, int second, int third, char separator, int thirdWidth) {
  std::string text;
  AppendField(text, first, 2);
  text += separator;
  AppendField(text, second, 2);
  text += separator;
  AppendField(text, third, thirdWidth);
  return text;
}

}  // namespace

LogTimestamp SystemLogClock::Now() const {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (::localtime_r(&now, &local) == nullptr) return {};
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
          local.tm_hour,        local.tm_min,     local.tm_sec};
}

std::string ShortDateText(const LogTimestamp& stamp) {
  return ThreeFields(stamp.Day, stamp.Month, stamp.Year, '.', 4);
}

std::string ShortTimeText(const LogTimestamp& stamp) {
  return ThreeFields(stamp.Hour, stamp.Minute, stamp.Second, ':', 2);
}

}  // namespace quarn::shell
