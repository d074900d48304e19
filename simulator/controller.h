// The simulated controller: the registers, coils and inputs of one model, built from that
// model's register table, with the behaviour the workbench relies on behind them.
//
// Every row of the model's table becomes an address the controller has (see register_bank.h);
// the registers the workbench uses beyond the table are added: the 21 image registers from
// 0xF300, the store (0xF000) and erase (0xF003) coils, the protection writes (coils 0xF001 and
// 0xF002, value 0 only), the sector 0xF401-0xF4FF, the map versions 0x8007-0x800A and the four
// breakpoints at 0x6200-0x6203. Parameters start at the default values of their rows.
//
// Behaviour is bound to the rows by name: identification (GET_HW, GET_FW, GET_BOOTLOADER and
// the map versions from the description's version words), run/stop, inputs and outputs, the
// five error flags with their codes and line (CLR_ERRORS clears them), the program memory
// (program_memory.h), the motion registers (motion_model.h), and the debug state, which
// follows the START_DEBUG and DEBUG_SUSPEND_PROG coils. Every other register holds what was
// written to it. In RUN the controller refuses to replace its program (exception 04).
//
// Not thread-safe: TSimulator serialises the server and its callers with one lock.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "link/device_description.h"
#include "simulator/controller_roles.h"
#include "simulator/motion_model.h"
#include "simulator/program_memory.h"
#include "simulator/register_bank.h"
#include "simulator/slave_data.h"

namespace quarn::simulator {

using TControllerClock = std::chrono::steady_clock;

struct TControllerConfig {
  std::string Model = "KLEM-B";  // a ModelName of the model list
  std::uint8_t DeviceId = 1;
  std::uint16_t FirmwareMajor = 2;
  std::uint16_t FirmwareMinor = 0;
  std::uint16_t BootloaderMajor = 1;
  std::uint16_t BootloaderMinor = 0;
  std::optional<std::uint16_t> HwVersion;  // the HW_VERSION half of GET_HW; default: the
                                           // model's first key
  bool Running = false;
  std::chrono::milliseconds RomBusyTime{0};
};

// Indices of the five error flags (GET_ERRORS).
enum TErrorFlag : std::uint8_t {
  kErrorAny = 0,
  kErrorBattery = 1,
  kErrorProgramMemory = 2,
  kErrorModbus = 3,
  kErrorUserProgram = 4,
};
inline constexpr int kErrorFlagCount = 5;

class TController final : public TSlaveData {
 public:
  // The controller of a configured model; nullptr with `error` set for an unknown model.
  static std::unique_ptr<TController> Create(const TControllerConfig& config, std::string& error);

  TException ReadBits(TTable table, std::uint16_t address, std::uint16_t count,
                      std::vector<bool>& bits) override;
  TException ReadRegisters(TTable table, std::uint16_t address, std::uint16_t count,
                           std::vector<std::uint16_t>& values) override;
  TException WriteCoils(std::uint16_t address, const std::vector<bool>& bits) override;
  TException WriteRegisters(std::uint16_t address, std::span<const std::uint16_t> values) override;

  const link::TDeviceDescription& Description() const { return description_; }
  const TControllerConfig& Config() const { return config_; }

  // The state a controller's panel, wiring or program would change.
  void SetRunning(bool running) { running_ = running; }
  bool Running() const { return running_; }
  void SetInput(int index, bool on);                       // X0..X7
  void SetOutputs(std::uint8_t bits) { outputs_ = bits; }  // Y0..Y7, bit i = Yi
  std::uint8_t Inputs() const { return inputs_; }
  std::uint8_t Outputs() const { return outputs_; }
  void SetErrorFlag(TErrorFlag flag, bool on);  // battery, Modbus, user program
  void SetErrorCodes(std::uint16_t modbusCode, std::uint16_t userCode, std::uint16_t userLine);
  bool ErrorFlag(TErrorFlag flag) const;
  void ClearErrors();

  // The program memory, for preloading and inspection.
  TProgramMemory& Memory() { return memory_; }
  const TProgramMemory& Memory() const { return memory_; }
  // Stores IL lines as the program of a slot, the way an upload would take them (empty and
  // comment lines skipped). False with `error` naming the first wrong line; nothing is stored.
  bool LoadProgram(TProgramSlot slot, const std::vector<std::string>& lines, std::string& error);
  // The stored program decoded to IL text, one line per stored instruction.
  std::vector<std::string> ProgramListing(TProgramSlot slot) const;

  TMotionModel& Motion() { return motion_; }
  std::int32_t Position() { return motion_.Position(clock_()); }

  // The raw content of any address, for tests; Poke bypasses every rule.
  std::uint16_t Peek(TTable table, std::uint16_t address);
  void Poke(TTable table, std::uint16_t address, std::uint16_t value);

  // The controller's time; tests may drive it by hand.
  void SetClock(std::function<TControllerClock::time_point()> clock) { clock_ = std::move(clock); }

 private:
  struct TBinding {
    TRole Role;
    std::uint16_t Offset;  // within a block (inputs, error flags, sector, ...)
  };
  struct TPlace {
    TTable Table;
    std::uint16_t Address;
  };

  TController(const TControllerConfig& config, const link::TDeviceDescription& description);
  void Bind(const TRoleRow& row);
  void SetDefaults();
  // GET_HW: the model's first identification key, its HW_VERSION half replaced when configured.
  std::uint32_t HardwareKey() const;
  std::optional<TBinding> Binding(TTable table, std::uint16_t address, bool write) const;
  TPlace PlaceOf(TRole role) const;
  TException ReadValues(TTable table, std::uint16_t address, std::uint16_t count,
                        std::vector<std::uint16_t>& values);
  std::optional<std::uint16_t> LiveValue(TTable table, std::uint16_t address,
                                         TControllerClock::time_point now, TException& refusal);
  TException CoilRefusal(TRole role, bool on, TControllerClock::time_point now) const;
  void CoilAction(TRole role, bool on, TControllerClock::time_point now);
  void RegisterAction(TRole role, TControllerClock::time_point now);
  program_model::InstructionImage ImageRegisters() const;
  TMotionSetup MotionSetup() const;

  TControllerConfig config_;
  const link::TDeviceDescription& description_;
  TRegisterBank bank_;
  TProgramMemory memory_;
  TMotionModel motion_;
  std::unordered_map<std::uint32_t, TBinding> read_roles_;
  std::unordered_map<std::uint32_t, TBinding> write_roles_;
  std::unordered_map<std::uint8_t, TPlace> role_places_;
  std::function<TControllerClock::time_point()> clock_ = [] { return TControllerClock::now(); };

  bool running_ = false;
  std::uint8_t inputs_ = 0;
  std::uint8_t outputs_ = 0;
  bool battery_error_ = false;
  bool modbus_error_ = false;
  bool user_error_ = false;
  std::uint16_t modbus_code_ = 0;
  std::uint16_t user_code_ = 0;
  std::uint16_t user_line_ = 0;
  int until_input_ = 0;  // the input the running go-until watches
};

}  // namespace quarn::simulator
