// The command line of klem-sim, parsed into simulator options.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "simulator/simulator.h"

namespace quarn::simulator {

struct TCommandLine {
  bool Help = false;
  bool Pty = false;
  std::string Device;       // --device PATH
  std::string ProgramFile;  // --program FILE: IL text preloaded as the main program
  bool Verbose = false;
  TSimulatorOptions Options;
};

struct TCommandLineResult {
  bool Ok = false;
  std::string Error;  // what was wrong, for the usage message
  TCommandLine Line;
};

// Parses the arguments after the program name. Options take their value as the next argument
// or after '=' ("--id 5", "--id=5"). Exactly one of --pty and --device is needed, unless --help.
TCommandLineResult ParseCommandLine(std::span<const std::string_view> args);

std::string_view UsageText();

}  // namespace quarn::simulator
