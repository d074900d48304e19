// Access to environment variables, injectable so that tests need not change the process's own.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quarn::shell {

// The value of a variable, or nothing when it is not defined.
using EnvLookup = std::function<std::optional<std::string>(std::string_view name)>;

// Looks variables up in the process environment.
EnvLookup ProcessEnvironment();

}  // namespace quarn::shell
