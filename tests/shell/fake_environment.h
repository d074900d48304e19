// An environment of fixed variables, so tests neither read nor change the process's own.
#pragma once

#include <map>
#include <string>

#include "shell/environment.h"

namespace quarn::shell::testing {

inline EnvLookup FakeEnvironment(std::map<std::string, std::string> variables) {
  return [variables = std::move(variables)](std::string_view name) -> std::optional<std::string> {
    const auto found = variables.find(std::string(name));
    if (found == variables.end()) return std::nullopt;
    return found->second;
  };
}

}  // namespace quarn::shell::testing
