// A Modbus slave: takes a request PDU (device id, function, fields; LRC already checked) and
// gives the answer PDU, or none when a slave stays silent.
//
// Functions 1, 2, 3, 4, 5, 6, 15 and 16 are served. A request for another device id gets no
// answer; id 0 is a broadcast: its writes are carried out and nothing is answered. An unknown
// function earns exception 01; a request whose length does not fit its function, a count outside
// what Modbus allows in one frame, a byte count that disagrees with the count, or a coil value
// other than 0x0000 and 0xFF00 earns exception 03; a range that runs past address 0xFFFF earns
// 02; everything else is decided by the data (TSlaveData).
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "link/byte_arrays.h"
#include "simulator/slave_data.h"

namespace quarn::simulator {

inline constexpr std::uint8_t kBroadcastId = 0;
// Largest counts one frame may carry, as the Modbus application protocol sets them.
inline constexpr std::uint16_t kMaxReadBits = 2000;
inline constexpr std::uint16_t kMaxReadRegisters = 125;
inline constexpr std::uint16_t kMaxWriteCoils = 1968;
inline constexpr std::uint16_t kMaxWriteRegisters = 123;

class TModbusSlave {
 public:
  TModbusSlave(TSlaveData& data, std::uint8_t deviceId) : data_(data), device_id_(deviceId) {}

  std::uint8_t DeviceId() const { return device_id_; }

  // The answer PDU to send, or nullopt for silence.
  std::optional<link::TReqResArray> Serve(std::span<const std::uint8_t> request);

 private:
  struct TReply;
  TReply ReadBits(TTable table, std::span<const std::uint8_t> request);
  TReply ReadRegisters(TTable table, std::span<const std::uint8_t> request);
  TReply WriteSingleCoil(std::span<const std::uint8_t> request);
  TReply WriteSingleRegister(std::span<const std::uint8_t> request);
  TReply WriteMultipleCoils(std::span<const std::uint8_t> request);
  TReply WriteMultipleRegisters(std::span<const std::uint8_t> request);

  TSlaveData& data_;
  std::uint8_t device_id_;
};

// The exception answer PDU: device id, function | 0x80, code.
link::TReqResArray ExceptionPdu(std::uint8_t deviceId, std::uint8_t function, TException code);

}  // namespace quarn::simulator
