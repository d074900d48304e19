// What the link commands of quarn-cli share: their common options, the settings file, the port,
// the headless UI loop and an events printer, and the waits that run that loop.
#pragma once

#include <fstream>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "link/connection_session.h"
#include "link/headless_dispatcher.h"
#include "link/link_events.h"
#include "link/link_timings.h"
#include "link/posix_serial_port.h"
#include "link/program_transfer.h"
#include "shell/common_datas.h"
#include "shell/log_clock.h"
#include "shell/transfer_log.h"
#include "tools/quarn-cli/cli.h"

namespace quarn::cli {

struct LinkOptions {
  std::string Port;
  int Id = 1;
  std::string Model = "KLEM-B";
  std::string Settings;  // empty: quarn-program-modbus.txt in the current folder, if present
  std::string Log;       // empty: no transfer log
  bool Service = false;
  bool Protect = false;
  std::vector<std::string> Positional;
};

// Parses the common options and the flags in `flags` (for example "--service"). False with a
// message on a usage error.
bool ParseLinkOptions(const Args& args, const std::vector<std::string>& flags, LinkOptions& options,
                      std::string& error);

// Records what the link reports, prints the messages as they come, and appends the transfer
// log to a file when asked to.
class CliEvents final : public link::TLinkEvents, public shell::TransferLogObserver {
 public:
  CliEvents(std::ostream& printed, const shell::TCommonDatas& datas);
  bool OpenLog(const std::string& path, std::string& error);

  void MessageBox(const std::string& text) override;
  void ResultLine(const std::string& text, link::TLampColour colour) override;
  void RequestListEnded(const link::TListOutcome& outcome) override;
  void TransferLogLine(link::TTransferLogCode code, const std::string& text) override;
  void ControllerStateChanged(const link::TStateChanges& changed) override {
    state_changes |= changed;
  }
  bool AskYesCancel(const std::string&) override { return true; }

  // shell::TransferLogObserver
  void LogChanged() override {}
  void LineAppended(const std::string& line) override;
  void ErrorShown(const std::string&) override {}

  std::vector<std::string> messages;
  std::vector<std::string> results;
  std::vector<link::TListOutcome> outcomes;
  link::TStateChanges state_changes;

 private:
  std::ostream& out_;
  shell::SystemLogClock clock_;
  shell::TransferLog log_;
  std::ofstream log_file_;
};

// A connection as the link commands use it. Everything runs on the calling thread's headless
// loop.
class CliLink {
 public:
  CliLink(const LinkOptions& options, const shell::TCommonDatas& datas, std::ostream& messages);
  ~CliLink();

  // Opens the port (identifying the controller when `identify`); false with the reason printed
  // to `err` when the port does not open or the controller is refused or does not answer.
  bool Connect(bool identify, std::ostream& err);
  // Runs the loop until `done` or the deadline; answers `done`'s last word.
  bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds limit);
  // Runs the loop until the list labelled `label` has ended; its outcome.
  std::optional<link::TListOutcome> WaitForList(const std::string& label,
                                                std::chrono::milliseconds limit);
  // A generous bound for a list of `requests` requests.
  std::chrono::milliseconds ListLimit(std::size_t requests) const;

  link::TConnectionSession& Session() { return *session_; }
  link::TProgramTransfer& Transfer() { return *transfer_; }
  CliEvents& Events() { return events_; }
  const LinkOptions& Options() const { return options_; }

 private:
  LinkOptions options_;
  link::THeadlessDispatcher ui_;
  CliEvents events_;
  link::TPosixSerialPort port_;
  std::unique_ptr<link::TConnectionSession> session_;
  std::unique_ptr<link::TProgramTransfer> transfer_;
};

// Reads the settings: the named file (a file that cannot be read is an error), else the default
// file when present. False with a message on error.
bool LoadSettings(const LinkOptions& options, shell::TCommonDatas& datas, std::string& error);

}  // namespace quarn::cli
