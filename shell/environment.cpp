#include "shell/environment.h"

#include <cstdlib>

namespace quarn::shell {

EnvLookup ProcessEnvironment() {
  return [](std::string_view name) -> std::optional<std::string> {
    // A name with '=' or NUL cannot be a variable; getenv would see a different name.
    if (name.empty() || name.find_first_of(std::string_view("=\0", 2)) != std::string_view::npos) {
      return std::nullopt;
    }
    const char* value = std::getenv(std::string(name).c_str());
    if (value == nullptr) return std::nullopt;
    return std::string(value);
  };
}

}  // namespace quarn::shell
