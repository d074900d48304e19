#include "simulator/command_line.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

#include "simulator/simulator_texts.h"

namespace quarn::simulator {
namespace {

constexpr std::uint32_t kMaxPaceBaud = 10'000'000;
constexpr std::int64_t kMaxMilliseconds = 3'600'000;

template <typename Integer>
std::optional<Integer> Number(std::string_view text, Integer lowest, Integer highest) {
  Integer value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  if (value < lowest || value > highest) return std::nullopt;
  return value;
}

std::optional<double> Rate(std::string_view text) {
  // from_chars for double is missing from some standard libraries this builds with.
  const std::string copy(text);
  char* end = nullptr;
  const double value = std::strtod(copy.c_str(), &end);
  if (copy.empty() || end != copy.c_str() + copy.size() || !std::isfinite(value) || value < 0 ||
      value > 1) {
    return std::nullopt;
  }
  return value;
}

bool Firmware(std::string_view text, TControllerConfig& config) {
  const std::size_t dot = text.find('.');
  if (dot == std::string_view::npos) return false;
  const auto major = Number<std::uint16_t>(text.substr(0, dot), 0, 0xFFFF);
  const auto minor = Number<std::uint16_t>(text.substr(dot + 1), 0, 0xFFFF);
  if (!major || !minor) return false;
  config.FirmwareMajor = *major;
  config.FirmwareMinor = *minor;
  return true;
}

// Applies an option with a value; false when the value is wrong.
bool ApplyValue(std::string_view option, std::string_view value, TCommandLine& line) {
  TControllerConfig& controller = line.Options.Controller;
  TServerSettings& server = line.Options.Server;
  const auto milliseconds = [&](std::chrono::milliseconds& out) {
    const auto ms = Number<std::int64_t>(value, 0, kMaxMilliseconds);
    if (ms) out = std::chrono::milliseconds(*ms);
    return ms.has_value();
  };
  const auto rate = [&](double& out) {
    const auto r = Rate(value);
    if (r) out = *r;
    return r.has_value();
  };
  if (option == "--device") {
    line.Device = value;
    return !value.empty();
  }
  if (option == "--model") {
    controller.Model = value;
    return true;
  }
  if (option == "--id") {
    const auto id = Number<std::uint8_t>(value, 1, 247);
    if (id) controller.DeviceId = *id;
    return id.has_value();
  }
  if (option == "--firmware") return Firmware(value, controller);
  if (option == "--hw-version") {
    const auto version = Number<std::uint16_t>(value, 0, 0xFFFF);
    if (version) controller.HwVersion = *version;
    return version.has_value();
  }
  if (option == "--program") {
    line.ProgramFile = value;
    return !value.empty();
  }
  if (option == "--pace") {
    const auto baud = Number<std::uint32_t>(value, 1, kMaxPaceBaud);
    if (baud) server.PaceBaud = *baud;
    return baud.has_value();
  }
  if (option == "--rom-busy-ms") return milliseconds(controller.RomBusyTime);
  if (option == "--delay-ms") return milliseconds(server.Faults.DelayTime);
  if (option == "--drop") return rate(server.Faults.Drop);
  if (option == "--corrupt") return rate(server.Faults.Corrupt);
  if (option == "--split") return rate(server.Faults.Split);
  if (option == "--delay") return rate(server.Faults.Delay);
  if (option == "--seed") {
    const auto seed = Number<std::uint64_t>(value, 0, std::numeric_limits<std::uint64_t>::max());
    if (seed) server.Faults.Seed = *seed;
    return seed.has_value();
  }
  return false;
}

bool TakesValue(std::string_view option) {
  static constexpr std::string_view kWithValue[] = {
      "--device",      "--model",    "--id",   "--firmware", "--hw-version", "--program", "--pace",
      "--rom-busy-ms", "--delay-ms", "--drop", "--corrupt",  "--split",      "--delay",   "--seed"};
  for (const std::string_view known : kWithValue) {
    if (known == option) return true;
  }
  return false;
}

// Applies a flag; false when it is not one.
bool ApplyFlag(std::string_view option, TCommandLine& line) {
  if (option == "--help")
    line.Help = true;
  else if (option == "--pty")
    line.Pty = true;
  else if (option == "--verbose")
    line.Verbose = true;
  else if (option == "--run")
    line.Options.Controller.Running = true;
  else if (option == "--stop")
    line.Options.Controller.Running = false;
  else
    return false;
  return true;
}

}  // namespace

TCommandLineResult ParseCommandLine(std::span<const std::string_view> args) {
  TCommandLineResult result;
  TCommandLine& line = result.Line;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string_view option = args[i];
    std::optional<std::string_view> value;
    if (const std::size_t eq = option.find('=');
        option.starts_with("--") && eq != std::string_view::npos) {
      value = option.substr(eq + 1);
      option = option.substr(0, eq);
    }
    if (!TakesValue(option)) {
      if (value || !ApplyFlag(option, line)) {
        result.Error = std::string(texts::kUnknownOption) + std::string(args[i]);
        return result;
      }
      continue;
    }
    if (!value) {
      if (i + 1 >= args.size()) {
        result.Error = std::string(texts::kMissingValue) + std::string(option);
        return result;
      }
      value = args[++i];
    }
    if (!ApplyValue(option, *value, line)) {
      result.Error =
          std::string(texts::kBadValue) + std::string(option) + ": " + std::string(*value);
      return result;
    }
  }
  if (!line.Help && line.Pty == !line.Device.empty()) {
    result.Error = texts::kNeedOneLine;
    return result;
  }
  result.Ok = true;
  return result;
}

std::string_view UsageText() { return texts::kUsage; }

}  // namespace quarn::simulator
