// Lines typed on klem-sim's standard input: the switch, the wiring and the error state a user
// would change on a real controller while the workbench is connected.
//
//   run | stop          the RUN/STOP switch
//   x N 0|1             input XN (N is 0 to 7)
//   clear               clear the error flags and codes
//   state               print RUN/STOP, inputs, outputs, position and the error flags
//   help                list the commands
// An empty line does nothing. Each command answers one line.
#pragma once

#include <string>
#include <string_view>

#include "simulator/controller.h"

namespace quarn::simulator {

std::string RunConsoleCommand(std::string_view line, TController& controller);

}  // namespace quarn::simulator
