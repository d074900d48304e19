// Texts of the device descriptions that reach the user.
#pragma once

#include <array>
#include <string_view>

namespace quarn::link::texts {

// Shown for an error code the error table does not know.
inline constexpr std::string_view kUndefinedError = "undefined";

// Caption of a model's direct-control page: the model name followed by this.
inline constexpr std::string_view kDirectControlSuffix = " Direct Control";

// Captions of the parameter groups 0 to 6; a row of group 7 has none.
inline constexpr std::array<std::string_view, 7> kGroupCaptions = {
    "Speed settings",           "Movement settings", "Interruptions",  "Error settings",
    "Motor control parameters", "Info settings",     "Other settings",
};

}  // namespace quarn::link::texts
