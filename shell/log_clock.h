// The date and time the logs are stamped with, behind an interface so tests can fix them.
#pragma once

#include <string>

namespace quarn::shell {

struct LogTimestamp {
  int Year = 2000;
  int Month = 1;
  int Day = 1;
  int Hour = 0;
  int Minute = 0;
  int Second = 0;
};

class LogClock {
 public:
  virtual ~LogClock() = default;
  virtual LogTimestamp Now() const = 0;
};

// Local time of the machine.
class SystemLogClock final : public LogClock {
 public:
  LogTimestamp Now() const override;
};

// The short date, day first: "09.12.2025".
std::string ShortDateText(const LogTimestamp& stamp);
// The short time: "14:03:27".
std::string ShortTimeText(const LogTimestamp& stamp);

}  // namespace quarn::shell
