// What a Modbus slave serves: four tables of addresses, and the exception codes a request on
// them can earn. The controller model implements this; the slave only decodes and encodes.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace quarn::simulator {

// The four Modbus tables. Each has its own 65536 addresses: coil 0xF001 and discrete input
// 0xF001 are different things.
enum class TTable : std::uint8_t {
  Coils,           // read with 1, written with 5 and 15
  DiscreteInputs,  // read with 2
  Holding,         // read with 3, written with 6 and 16
  InputRegisters,  // read with 4
};
inline constexpr int kTableCount = 4;

// Modbus exception codes a slave answers with; None means the request was served.
enum class TException : std::uint8_t {
  None = 0,
  IllegalFunction = 1,
  IllegalDataAddress = 2,
  IllegalDataValue = 3,
  SlaveDeviceFailure = 4,
  Acknowledge = 5,
  SlaveDeviceBusy = 6,
};

class TSlaveData {
 public:
  virtual ~TSlaveData() = default;
  // Reads `count` consecutive bits (coils or discrete inputs); `bits` receives one value each.
  virtual TException ReadBits(TTable table, std::uint16_t address, std::uint16_t count,
                              std::vector<bool>& bits) = 0;
  // Reads `count` consecutive registers (holding or input registers).
  virtual TException ReadRegisters(TTable table, std::uint16_t address, std::uint16_t count,
                                   std::vector<std::uint16_t>& values) = 0;
  // Writes consecutive coils; all or nothing.
  virtual TException WriteCoils(std::uint16_t address, const std::vector<bool>& bits) = 0;
  // Writes consecutive holding registers; all or nothing.
  virtual TException WriteRegisters(std::uint16_t address,
                                    std::span<const std::uint16_t> values) = 0;
};

}  // namespace quarn::simulator
