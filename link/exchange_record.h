// What the link knows about the frame in flight and about the last answer it accepted.
#pragma once

#include <cstdint>

#include "link/byte_arrays.h"

namespace quarn::link {

struct TExchangeRecord {
  std::uint8_t DeviceId = 0;           // device address every answer must carry
  std::uint8_t RequestFunction = 0;    // function code of the frame in flight
  std::uint16_t RequestAddress = 0;    // start register address of the frame in flight
  std::uint16_t RequestCount = 0;      // register count (1 for functions 5 and 6, 0 for 15, 16)
  std::uint8_t ByteCountPos = 0;       // 1-based position of the answer's byte count; 0 = none
  std::uint8_t ResponseByteCount = 0;  // byte count taken from the answer; 0 when none
  std::uint8_t FixedLength = 0;        // answer characters that do not depend on the byte count
  std::uint8_t ExpectedCount = 0;      // low byte of the register count of a read, 0 for writes
  std::uint16_t CurrentRegister = 0;   // address of the request being served (set by the worker)
  bool ResponseValid = false;          // the last answer passed every check
  std::uint8_t ResponseFunction = 0;   // function code of the last good answer
  std::uint16_t ResponseAddress = 0;   // register address the last good answer belongs to
  std::int32_t LastValue = 0;          // value of the last good read answer
  TReqResArray ResponseBytes;          // decoded answer: id, function, ... up to (excluding) LRC
  bool CommandBusy = false;            // a command list, not a state poll, is being carried
};

}  // namespace quarn::link
