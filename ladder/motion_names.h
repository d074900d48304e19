// The names shown on blocks that write the motion-command or the microstep register.
//
// A MOV of a constant into one of these registers selects a motion or a microstep mode by
// number; the ladder box shows the name of that number instead of "Set ... = K1".
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace quarn::ladder {

struct MotionName {
  std::int64_t Value;
  std::string_view MotionCommand;  // empty: no motion command has this number
  std::string_view Microstep;      // empty: no microstep mode has this number
};

std::span<const MotionName> MotionNames();

std::optional<std::string_view> MotionCommandName(std::int64_t value);
std::optional<std::string_view> MicrostepName(std::int64_t value);

}  // namespace quarn::ladder
