// The commands typed on klem-sim's standard input.
#include "simulator/console_commands.h"

#include <gtest/gtest.h>

#include "simulator/simulator_texts.h"

namespace quarn::simulator {
namespace {

TEST(ConsoleCommands, WorkTheControllerAndRefuseTheRest) {
  std::string error;
  auto controller = TController::Create({}, error);
  ASSERT_NE(controller, nullptr) << error;
  controller->SetErrorFlag(kErrorBattery, true);
  const std::string unknown(texts::kConsoleUnknown);
  struct Case {
    std::string line, reply;
  } cases[] = {
      {"run", "RUN"},
      {"  x 3 1 ", "X3 = 1"},
      {"x 0 1", "X0 = 1"},
      {"state", "RUN X0-7 10010000 Y0-7 00000000 position 0 errors 11000"},
      {"clear", std::string(texts::kConsoleCleared)},
      {"x 0 0", "X0 = 0"},
      {"stop", "STOP"},
      {"state", "STOP X0-7 00010000 Y0-7 00000000 position 0 errors 00000"},
      {"", ""},
      {"help", std::string(texts::kConsoleHelp)},
      {"x 8 1", unknown + "x 8 1"},
      {"x 1 2", unknown + "x 1 2"},
      {"x 1", unknown + "x 1"},
      {"run now", unknown + "run now"},
      {"RUN", unknown + "RUN"},
  };
  for (const Case& c : cases) EXPECT_EQ(RunConsoleCommand(c.line, *controller), c.reply) << c.line;
}

}  // namespace
}  // namespace quarn::simulator
