// The texts the simulator writes: its verbose log and the messages of klem-sim.
#pragma once

#include <string_view>

namespace quarn::simulator::texts {

// Verbose log, one line per event; frames follow the prefix without their CR LF.
inline constexpr std::string_view kLogReceived = "recv ";
inline constexpr std::string_view kLogSent = "send ";
inline constexpr std::string_view kLogBadLrc = "ignored, wrong LRC: ";
inline constexpr std::string_view kLogMalformed = "ignored, not a frame: ";
inline constexpr std::string_view kLogOverlong = "ignored, frame too long: ";
inline constexpr std::string_view kLogNoAnswer = "no answer (other device id or broadcast)";
inline constexpr std::string_view kLogFaultDrop = "fault: answer dropped";
inline constexpr std::string_view kLogFaultCorrupt = "fault: answer sent with a wrong LRC";
inline constexpr std::string_view kLogFaultDelay = "fault: answer delayed by ms ";
inline constexpr std::string_view kLogFaultSplit = "fault: answer written in pieces: ";
inline constexpr std::string_view kLogOutputStalled = "output not taken: answers discarded";
inline constexpr std::string_view kLogStreamError = "write error: answers discarded";
inline constexpr std::string_view kLogStreamClosed = "the line was closed";

}  // namespace quarn::simulator::texts

namespace quarn::simulator::texts {

// Failures of building a controller or preloading its program.
inline constexpr std::string_view kUnknownModel = "unknown model: ";
// The quoted model names, separated by ", ", stand between these two.
inline constexpr std::string_view kModelChoice = " (one of ";
inline constexpr std::string_view kModelChoiceEnd = ")";
inline constexpr std::string_view kWrongProgramLine = "wrong program line ";
inline constexpr std::string_view kProgramTooLong = "the program has more lines than the memory";

}  // namespace quarn::simulator::texts

namespace quarn::simulator::texts {

// klem-sim.
inline constexpr std::string_view kUsage =
    "Usage: klem-sim (--pty | --device PATH) [options]\n"
    "Plays a KLEM stepper-motor controller as a Modbus ASCII slave.\n"
    "\n"
    "  --pty                 serve a new pseudo-terminal; its slave path is the first line of\n"
    "                        the output\n"
    "  --device PATH         serve a serial device (115200 baud, 7 data bits, even parity)\n"
    "  --model NAME          \"KLEM-A ver.2\", \"KLEM-A ver.3\", \"KLEM-B\" (default) or "
    "\"KLEM-C\"\n"
    "  --id N                device address, 1 to 247 (default 1)\n"
    "  --firmware MAJOR.MINOR  firmware version (default 2.0)\n"
    "  --hw-version N        HW_VERSION half of the identification (default: the model's first)\n"
    "  --run | --stop        start in RUN or in STOP mode (default STOP)\n"
    "  --program FILE        preload the main program from an IL file\n"
    "  --pace BAUD           hold every character for its line time at BAUD (10 bits each)\n"
    "  --rom-busy-ms N       program memory busy time after an erase or a store (default 0)\n"
    "  --drop R              share of answers (0 to 1) not sent\n"
    "  --corrupt R           share of answers sent with a wrong LRC\n"
    "  --split R             share of answers written in several pieces\n"
    "  --delay-ms N          delay answers by N ms\n"
    "  --delay R             share of answers delayed (default 1 with --delay-ms)\n"
    "  --seed N              seed of the fault injection (default 1)\n"
    "  --verbose             log every request and answer to stderr\n"
    "  --help                this text\n"
    "\n"
    "Serves until killed or until its standard input reaches end of file. Lines typed on it\n"
    "work the controller: run, stop, x N 0|1 (input XN), clear (errors), state, help. Started\n"
    "as a background job of a shell, it reads no typed lines.\n";
inline constexpr std::string_view kNeedOneLine = "give one of --pty and --device";
inline constexpr std::string_view kUnknownOption = "unknown option: ";
inline constexpr std::string_view kMissingValue = "missing value for ";
inline constexpr std::string_view kBadValue = "bad value for ";
inline constexpr std::string_view kCannotReadProgram = "cannot read the program file: ";
inline constexpr std::string_view kCannotServe = "cannot serve: ";

}  // namespace quarn::simulator::texts

namespace quarn::simulator::texts {

// Commands on klem-sim's standard input.
inline constexpr std::string_view kConsoleHelp =
    "commands: run, stop, x N 0|1 (input XN), clear (errors), state, help";
inline constexpr std::string_view kConsoleUnknown = "unknown command (try help): ";
inline constexpr std::string_view kConsoleRun = "RUN";
inline constexpr std::string_view kConsoleStop = "STOP";
inline constexpr std::string_view kConsoleCleared = "errors cleared";

}  // namespace quarn::simulator::texts
