#include "tools/quarn-cli/link_cli_session.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <ostream>

#include "link/current_description.h"
#include "link/device_models.h"
#include "shell/link_settings.h"
#include "shell/settings_file.h"

namespace quarn::cli {
namespace {

using std::chrono::milliseconds;

bool ParseNumber(const std::string& text, int& value) {
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  return !text.empty() && result.ec == std::errc{} && result.ptr == text.data() + text.size();
}

int ModelIndex(const std::string& name) {
  const link::TDeviceDescription* model = link::FindModelByName(name);
  return model == nullptr ? -1 : static_cast<int>(model - link::ModelList().data());
}

std::string ModelNames() {
  std::string names;
  for (const link::TDeviceDescription& model : link::ModelList()) {
    names += (names.empty() ? "" : ", ") + model.ModelName;
  }
  return names;
}

// The transfer log of the command line is written straight to its file, never saved by the log
// itself.
shell::TCommonDatas LogSettings(shell::TCommonDatas datas) {
  datas.SaveLog = false;
  datas.LinesToLog = INT_MAX;
  return datas;
}

}  // namespace

bool ParseLinkOptions(const Args& args, const std::vector<std::string>& flags, LinkOptions& options,
                      std::string& error) {
  const auto value_of = [&](std::size_t& i, std::string& value) {
    if (i + 1 >= args.size()) {
      error = "option " + args[i] + " needs a value";
      return false;
    }
    value = args[++i];
    return true;
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    std::string value;
    if (arg == "--port" || arg == "--model" || arg == "--settings" || arg == "--log") {
      if (!value_of(i, value)) return false;
      (arg == "--port"    ? options.Port
       : arg == "--model" ? options.Model
       : arg == "--log"   ? options.Log
                          : options.Settings) = value;
    } else if (arg == "--id") {
      if (!value_of(i, value)) return false;
      if (!ParseNumber(value, options.Id) || options.Id < 1 || options.Id > 255) {
        error = "--id takes a device address from 1 to 255";
        return false;
      }
    } else if (std::find(flags.begin(), flags.end(), arg) != flags.end()) {
      (arg == "--service" ? options.Service : options.Protect) = true;
    } else if (arg.starts_with("--")) {
      error = "unknown option '" + arg + "'";
      return false;
    } else {
      options.Positional.push_back(arg);
    }
  }
  if (options.Port.empty()) {
    error = "--port PATH is required";
    return false;
  }
  if (ModelIndex(options.Model) < 0) {
    error = "unknown model '" + options.Model + "' (models: " + ModelNames() + ")";
    return false;
  }
  return true;
}

bool LoadSettings(const LinkOptions& options, shell::TCommonDatas& datas, std::string& error) {
  const std::string path =
      options.Settings.empty() ? shell::DefaultSettingsPath() : options.Settings;
  const shell::SettingsReadResult read = shell::ReadSettingsFile(path, datas);
  if (read.Status != shell::SettingsFileStatus::Read && !options.Settings.empty()) {
    error = read.Message.empty() ? "cannot read " + path : read.Message;
    return false;
  }
  return true;
}

// ---- Events

CliEvents::CliEvents(std::ostream& printed, const shell::TCommonDatas& datas)
    : out_(printed), log_(LogSettings(datas), ".", clock_) {}

bool CliEvents::OpenLog(const std::string& path, std::string& error) {
  log_file_.open(path, std::ios::out | std::ios::trunc | std::ios::binary);
  if (!log_file_) {
    error = "cannot write the transfer log to " + path;
    return false;
  }
  log_.SetObserver(this);
  return true;
}

void CliEvents::MessageBox(const std::string& text) {
  messages.push_back(text);
  out_ << text << '\n';
}

void CliEvents::ResultLine(const std::string& text, link::TLampColour) { results.push_back(text); }

void CliEvents::RequestListEnded(const link::TListOutcome& outcome) { outcomes.push_back(outcome); }

void CliEvents::TransferLogLine(link::TTransferLogCode code, const std::string& text) {
  if (!log_file_.is_open()) return;
  log_.AddLogMessage(static_cast<int>(code), text);
  log_.Clear();  // each line is in the file already
}

void CliEvents::LineAppended(const std::string& line) {
  log_file_ << line << '\n';
  log_file_.flush();
}

// ---- The connection

CliLink::CliLink(const LinkOptions& options, const shell::TCommonDatas& datas,
                 std::ostream& messages)
    : options_(options), events_(messages, datas) {
  session_ =
      std::make_unique<link::TConnectionSession>(port_, ui_, events_, shell::LinkTimingsOf(datas));
  session_->SelectModelByIndex(ModelIndex(options.Model));
  transfer_ = std::make_unique<link::TProgramTransfer>(*session_);
}

CliLink::~CliLink() {
  transfer_.reset();
  session_.reset();
  port_.Close();
  ui_.Close();
}

bool CliLink::Connect(bool identify, std::ostream& err) {
  const link::TPortOpenResult opened = session_->Connect(options_.Port, options_.Id, identify);
  if (!opened.Opened) {
    err << "quarn-cli: " << opened.Message << '\n';
    return false;
  }
  if (!identify) return true;
  link::TModBus& modbus = session_->Modbus();
  const std::size_t reads = link::CurrentDescription().ParameterReads.size() + 6;
  const bool identified =
      RunUntil([&] { return !session_->Connected() || (!modbus.Identifying() && !modbus.Busy()); },
               ListLimit(reads));
  ui_.RunPending();  // what the identification posted last
  if (!session_->Connected()) return false;
  if (!identified) {
    err << "quarn-cli: the controller did not finish its identification in time\n";
    return false;
  }
  return true;
}

bool CliLink::RunUntil(const std::function<bool()>& done, milliseconds limit) {
  return ui_.RunFor(limit, done);
}

std::optional<link::TListOutcome> CliLink::WaitForList(const std::string& label,
                                                       milliseconds limit) {
  const std::size_t seen = events_.outcomes.size();
  std::optional<link::TListOutcome> found;
  RunUntil(
      [&] {
        for (std::size_t i = seen; i < events_.outcomes.size(); ++i) {
          if (events_.outcomes[i].Label == label) found = events_.outcomes[i];
        }
        return found.has_value();
      },
      limit);
  return found;
}

milliseconds CliLink::ListLimit(std::size_t requests) const {
  const link::TDerivedTimes times = session_->Modbus().Times();
  return times.TotalTimeout * static_cast<std::int64_t>(2 * requests + 2) + milliseconds(5000);
}

}  // namespace quarn::cli
