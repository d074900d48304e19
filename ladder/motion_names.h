// The names shown on blocks that write the motion-command or the microstep register.
//
// A MOV of a constant into one of these registers selects a motion or a microstep mode by
// number; the ladder box shows the name of that number instead of "Set ... = K1".
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace quarn::ladder {

std::optional<std::string_view> MotionCommandName(std::int64_t value);
std::optional<std::string_view> MicrostepName(std::int64_t value);

}  // namespace quarn::ladder
