// The link commands: identify a controller, upload and download its program, read named
// registers and poll its state, over a serial device or a pseudo-terminal.
#include <functional>
#include <iterator>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

#include "link/current_description.h"
#include "link/link_texts.h"
#include "link/register_map.h"
#include "program_model/il_editor.h"
#include "tools/quarn-cli/cli.h"
#include "tools/quarn-cli/link_cli_session.h"

namespace quarn::cli {
namespace {

using link::TControllerState;
using link::TStateField;

constexpr std::string_view kCommonSynopsis =
    "--port PATH [--id N] [--model NAME] [--settings FILE] [--log FILE]";

int LinkUsage(Io& io, std::string_view command, const std::string& error) {
  io.err << "quarn-cli: " << command << ": " << error << "\n";
  return Usage(io, std::string(command) + " " + std::string(kCommonSynopsis));
}

// Options, settings and the transfer log: everything a link command needs before connecting.
// Answers ExitOk, or the exit code of the usage or file error already reported.
int Prepare(const Args& args, std::string_view command, const std::vector<std::string>& flags,
            std::size_t minPositional, std::size_t maxPositional, Io& io, LinkOptions& options,
            shell::TCommonDatas& datas) {
  std::string error;
  if (!ParseLinkOptions(args, flags, options, error)) return LinkUsage(io, command, error);
  if (options.Positional.size() < minPositional || options.Positional.size() > maxPositional) {
    return LinkUsage(io, command, "wrong number of arguments");
  }
  if (!LoadSettings(options, datas, error)) {
    io.err << "quarn-cli: " << error << "\n";
    return ExitUsage;
  }
  return ExitOk;
}

int OpenLog(CliLink& link, Io& io) {
  std::string error;
  if (!link.Options().Log.empty() && !link.Events().OpenLog(link.Options().Log, error)) {
    io.err << "quarn-cli: " << error << "\n";
    return ExitUsage;
  }
  return ExitOk;
}

// Connects; a port that does not open is a file error, a controller that does not answer or is
// refused is a refusal (its message is printed already).
int Connect(CliLink& link, bool identify, Io& io) {
  if (const int log = OpenLog(link, io); log != ExitOk) return log;
  if (link.Connect(identify, io.err)) return ExitOk;
  return link.Session().Connected() || !link.Events().messages.empty() ? ExitRefused : ExitUsage;
}

// ---- info

int RunInfo(const Args& args, Io& io) {
  LinkOptions options;
  shell::TCommonDatas datas;
  if (const int code = Prepare(args, "info", {}, 0, 0, io, options, datas); code != ExitOk) {
    return code;
  }
  CliLink link(options, datas, io.out);
  if (const int code = Connect(link, true, io); code != ExitOk) return code;
  io.out << link::CurrentDescription().ModelName << "\n"
         << link.Session().State().VersionText << "\n";
  return ExitOk;
}

// ---- upload

int RunUpload(const Args& args, Io& io) {
  LinkOptions options;
  shell::TCommonDatas datas;
  if (const int code =
          Prepare(args, "upload", {"--service", "--protect"}, 1, 1, io, options, datas);
      code != ExitOk) {
    return code;
  }
  // Read as the workbench's editor loads a program (byte-order mark, CR and CR LF line ends,
  // size and folder checks), so a file the workbench uploads uploads here too.
  program_model::ProgramFile file = program_model::ReadProgramFile(options.Positional[0]);
  if (!file.Read) {
    io.err << "quarn-cli: " << file.Error << "\n";
    return ExitUsage;
  }
  std::vector<std::string>& lines = file.Lines;
  CliLink link(options, datas, io.out);
  if (const int code = Connect(link, true, io); code != ExitOk) return code;
  const auto kind = options.Service ? link::TProgramKind::Service : link::TProgramKind::Main;
  link.Events().results.clear();  // those of the identification
  if (!link.Transfer().Upload(lines, kind, options.Protect)) {
    if (link.Events().messages.empty()) io.out << "The link did not take the upload.\n";
    return ExitRefused;
  }
  const auto outcome = link.WaitForList(std::string(link::texts::kLabelUpload),
                                        link.ListLimit(5 * lines.size() + 8));
  if (!outcome) {
    io.out << "The upload did not end in time.\n";
    return ExitRefused;
  }
  for (const std::string& result : link.Events().results) io.out << result << "\n";
  if (outcome->ReachedEnd && !outcome->Failed) return ExitOk;
  if (!outcome->Error.empty()) io.out << outcome->Error << "\n";
  return ExitRefused;
}

// ---- download

int RunDownload(const Args& args, Io& io) {
  LinkOptions options;
  shell::TCommonDatas datas;
  if (const int code = Prepare(args, "download", {"--service"}, 0, 0, io, options, datas);
      code != ExitOk) {
    return code;
  }
  // Messages go to stderr: stdout carries the program alone.
  CliLink link(options, datas, io.err);
  if (const int code = Connect(link, true, io); code != ExitOk) return code;
  link::TProgramTransfer& transfer = link.Transfer();
  const auto kind = options.Service ? link::TProgramKind::Service : link::TProgramKind::Main;
  if (!transfer.StartDownload(kind, true)) return ExitRefused;
  const std::size_t packets = static_cast<std::size_t>(link::CurrentDescription().HighestMainLine) /
                                  link::TFastReadingProcess::kPacketLines +
                              1;
  link.RunUntil([&] { return !transfer.Reading(); }, link.ListLimit(packets * 12 + 8));
  if (transfer.Reading()) {
    transfer.StopReading();
    io.err << "The download did not end in time.\n";
    return ExitRefused;
  }
  const link::TDownloadResult result = transfer.LastDownload();
  for (const std::string& line : result.Lines) io.out << line << "\n";
  if (result.Succeeded()) return ExitOk;
  if (!result.Message.empty()) io.err << result.Message << "\n";
  return ExitRefused;
}

// ---- read

int RunRead(const Args& args, Io& io) {
  LinkOptions options;
  shell::TCommonDatas datas;
  if (const int code = Prepare(args, "read", {}, 1, 1000, io, options, datas); code != ExitOk) {
    return code;
  }
  CliLink link(options, datas, io.out);
  link::TDC_Records_Array records;
  for (const std::string& name : options.Positional) {
    const link::TDC_Record record = link::FindParameterRecord(name);
    if (record.Valid == 0) {
      io.err << "quarn-cli: read: " << name << " is not a register of " << options.Model << "\n";
      return ExitUsage;
    }
    if (record.Function < 1 || record.Function > 4) {
      io.err << "quarn-cli: read: " << name << " is written, not read (function "
             << int{record.Function} << ")\n";
      return ExitUsage;
    }
    records.push_back(record);
  }
  std::mutex mutex;
  std::vector<std::int32_t> values;
  link.Session().SetAnswerObserver([&](const link::TAcceptedAnswer& answer) {
    std::lock_guard lock(mutex);
    values.push_back(answer.Value);
  });
  if (const int code = Connect(link, false, io); code != ExitOk) return code;
  const std::string label(link::texts::kLabelSendReadCommand);
  if (!link.Session().Modbus().SendNamedReads(link.Session().DeviceId(), label, records)) {
    return ExitRefused;
  }
  const auto outcome = link.WaitForList(label, link.ListLimit(records.size()));
  if (!outcome || !outcome->ReachedEnd) {
    io.out << (outcome ? outcome->Error : "The reads did not end in time.") << "\n";
    return ExitRefused;
  }
  std::lock_guard lock(mutex);
  for (std::size_t i = 0; i < records.size() && i < values.size(); ++i) {
    io.out << records[i].Name << "=" << values[i] << "\n";
  }
  return ExitOk;
}

// ---- state

std::string Bits(const std::array<std::uint8_t, 8>& bits) {
  std::string text;
  for (std::uint8_t bit : bits) text += (text.empty() ? "" : " ") + std::to_string(bit);
  return text;
}

const char* LampName(link::TLampColour colour) {
  static constexpr const char* kNames[] = {"white", "green", "red", "yellow", "grey"};
  return kNames[static_cast<std::size_t>(colour)];
}

// The lines of one part of the state, as the window shows it.
struct StateLines {
  TStateField Field;
  std::function<void(const TControllerState&, std::ostream&)> Print;
};

const std::vector<StateLines>& StateTable() {
  static const std::vector<StateLines> table = {
      {TStateField::RunStop, [](const TControllerState& s,
                                std::ostream& o) { o << "run/stop: " << s.RunStopText << "\n"; }},
      {TStateField::Outputs,
       [](const TControllerState& s, std::ostream& o) {
         o << "outputs Y0-Y7: " << Bits(s.Outputs) << "\n";
       }},
      {TStateField::Inputs,
       [](const TControllerState& s, std::ostream& o) {
         o << "inputs X0-X7: " << Bits(s.Inputs) << "\n";
       }},
      {TStateField::Errors,
       [](const TControllerState& s, std::ostream& o) {
         static constexpr const char* kGroups[] = {"errors", "battery", "program memory", "modbus",
                                                   "user program"};
         for (std::size_t i = 0; i < s.ErrorGroups.size(); ++i) {
           o << kGroups[i] << ": " << s.ErrorGroups[i].Text << "\n";
         }
       }},
      {TStateField::ErrorCodes,
       [](const TControllerState& s, std::ostream& o) {
         o << "program memory error " << s.ErrorGroups[link::kProgramMemoryError].CodeText << "\n"
           << "modbus error " << s.ErrorGroups[link::kModbusError].CodeText << "\n"
           << "user program error " << s.ErrorGroups[link::kUserProgramError].CodeText << ", "
           << s.ErrorGroups[link::kUserProgramError].LineText << "\n";
       }},
      {TStateField::Direction,
       [](const TControllerState& s, std::ostream& o) {
         o << "direction: " << s.DirectionText << "\n";
       }},
      {TStateField::Position, [](const TControllerState& s,
                                 std::ostream& o) { o << "position: " << s.PositionText << "\n"; }},
      {TStateField::Speed,
       [](const TControllerState& s, std::ostream& o) { o << "speed: " << s.SpeedText << "\n"; }},
      {TStateField::MotorStatus,
       [](const TControllerState& s, std::ostream& o) {
         static_assert(std::size(link::texts::kMotorLampCaptions) == link::kMotorLampCount);
         o << "motor status:";
         for (std::size_t i = 0; i < s.MotorLamps.size(); ++i) {
           o << " " << link::texts::kMotorLampCaptions[i] << "=" << LampName(s.MotorLamps[i]);
         }
         o << "\n";
       }},
      {TStateField::Voltages,
       [](const TControllerState& s, std::ostream& o) {
         o << "supply voltage: " << LampName(s.SupplyVoltageLamp) << "\n"
           << "internal voltage: " << LampName(s.InternalVoltageLamp) << "\n";
       }},
      {TStateField::Debug,
       [](const TControllerState& s, std::ostream& o) {
         o << "debug state: " << int{s.DebugState} << "\n";
       }},
  };
  return table;
}

int RunState(const Args& args, Io& io) {
  LinkOptions options;
  shell::TCommonDatas datas;
  if (const int code = Prepare(args, "state", {}, 0, 0, io, options, datas); code != ExitOk) {
    return code;
  }
  CliLink link(options, datas, io.out);
  if (const int code = Connect(link, false, io); code != ExitOk) return code;
  const link::TRegistersArray& polled = link::CurrentDescription().PollRegisters;
  const std::string label = std::string(link::texts::kLabelStatePoll) + "0";
  if (!link.Session().Modbus().SendRequests(false, link.Session().DeviceId(), label, polled)) {
    return ExitRefused;
  }
  const auto outcome = link.WaitForList(label, link.ListLimit(polled.size()));
  if (!outcome || !outcome->ReachedEnd) {
    io.out << (outcome ? outcome->Error : "The poll did not end in time.") << "\n";
    return ExitRefused;
  }
  const TControllerState state = link.Session().State();
  for (const StateLines& lines : StateTable()) {
    if (link::Changed(link.Events().state_changes, lines.Field)) lines.Print(state, io.out);
  }
  return ExitOk;
}

constexpr Command kLinkCommands[] = {
    {"info", "info --port PATH [--id N] [--settings FILE] [--log FILE]",
     "connect, identify the controller, print its model and\n"
     "versions (exit 1: no answer, unknown device, old firmware)",
     &RunInfo},
    {"upload", "upload [--service] [--protect] --port PATH [...] FILE",
     "write an IL file into the controller's main (or service)\n"
     "program, optionally protected against reading",
     &RunUpload},
    {"download", "download [--service] --port PATH [...]",
     "read the program back and print it as the IL list gets it\n"
     "(exit 1 unless every reported command was read)",
     &RunDownload},
    {"read", "read --port PATH [--model NAME] [...] NAME...",
     "read registers by name, one NAME=value line each\n"
     "(no identification: --model picks the table, default KLEM-B)",
     &RunRead},
    {"state", "state --port PATH [--model NAME] [...]",
     "poll every state register once, print what it shows\n"
     "(common options: --id N, --settings FILE, --log FILE)",
     &RunState},
};

}  // namespace

std::span<const Command> LinkCommands() { return kLinkCommands; }

}  // namespace quarn::cli
