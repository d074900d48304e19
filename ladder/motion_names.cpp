#include "ladder/motion_names.h"

#include <array>

namespace quarn::ladder {

namespace {

struct MotionName {
  std::int64_t Value;
  std::string_view MotionCommand;  // empty: no motion command has this number
  std::string_view Microstep;      // empty: no microstep mode has this number
};

// Microstep code 6 does not exist: the codes of 1/128 and 1/256 are 7 and 8.
constexpr std::array<MotionName, 11> kMotionNames{{
    {0, "RUN", "MICROSTEPPING 1/1"},
    {1, "MOVE OFFSET by TARGET_POS", "MICROSTEPPING 1/2"},
    {2, "MOVE SHORT_WAY to TARGET_POS", "MICROSTEPPING 1/4"},
    {3, "MOVE to TARGET_POS", "MICROSTEPPING 1/8"},
    {4, "GO HOME", "MICROSTEPPING 1/16"},
    {5, "GO_UNTIL; S_STOP", "MICROSTEPPING 1/32"},
    {6, "GO_UNTIL; FRONT; S_STOP", ""},
    {7, "GO_UNTIL; H_STOP", "MICROSTEPPING 1/128"},
    {8, "GO_UNTIL; FRONT; H_STOP", "MICROSTEPPING 1/256"},
    {9, "GO_UNTIL; RELEASE", ""},
    {10, "GO_UNTIL; FRONT_RELEASE", ""},
}};

std::optional<std::string_view> NameOf(std::int64_t value, std::string_view MotionName::*column) {
  for (const MotionName& row : kMotionNames) {
    if (row.Value == value && !(row.*column).empty()) return row.*column;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string_view> MotionCommandName(std::int64_t value) {
  return NameOf(value, &MotionName::MotionCommand);
}

std::optional<std::string_view> MicrostepName(std::int64_t value) {
  return NameOf(value, &MotionName::Microstep);
}

}  // namespace quarn::ladder
