#include "simulator/console_commands.h"

#include <sstream>
#include <vector>

#include "simulator/simulator_texts.h"

namespace quarn::simulator {
namespace {

std::vector<std::string> Words(std::string_view line) {
  std::istringstream stream{std::string(line)};
  std::vector<std::string> words;
  for (std::string word; stream >> word;) words.push_back(word);
  return words;
}

std::string Bits(std::uint8_t bits) {
  std::string text;
  for (int i = 0; i < 8; ++i) text.push_back(((bits >> i) & 1) != 0 ? '1' : '0');
  return text;
}

std::string State(TController& controller) {
  std::string errors;
  for (int flag = 0; flag < kErrorFlagCount; ++flag) {
    errors.push_back(controller.ErrorFlag(static_cast<TErrorFlag>(flag)) ? '1' : '0');
  }
  return std::string(controller.Running() ? texts::kConsoleRun : texts::kConsoleStop) + " X0-7 " +
         Bits(controller.Inputs()) + " Y0-7 " + Bits(controller.Outputs()) + " position " +
         std::to_string(controller.Position()) + " errors " + errors;
}

}  // namespace

std::string RunConsoleCommand(std::string_view line, TController& controller) {
  const std::vector<std::string> words = Words(line);
  if (words.empty()) return {};
  const std::string& command = words[0];
  if (command == "run" && words.size() == 1) {
    controller.SetRunning(true);
    return std::string(texts::kConsoleRun);
  }
  if (command == "stop" && words.size() == 1) {
    controller.SetRunning(false);
    return std::string(texts::kConsoleStop);
  }
  if (command == "x" && words.size() == 3 && words[1].size() == 1 && words[1][0] >= '0' &&
      words[1][0] <= '7' && (words[2] == "0" || words[2] == "1")) {
    controller.SetInput(words[1][0] - '0', words[2] == "1");
    return "X" + words[1] + " = " + words[2];
  }
  if (command == "clear" && words.size() == 1) {
    controller.ClearErrors();
    return std::string(texts::kConsoleCleared);
  }
  if (command == "state" && words.size() == 1) return State(controller);
  if (command == "help" && words.size() == 1) return std::string(texts::kConsoleHelp);
  return std::string(texts::kConsoleUnknown) + std::string(line);
}

}  // namespace quarn::simulator
