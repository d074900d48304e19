// One register request of a request list, as the link workers carry it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quarn::link {

struct TRWmbrReg {
  std::string Label;                // free text; the link neither sets nor reads it
  std::uint16_t Address = 0;        // register or coil address
  std::vector<std::uint8_t> Data;   // data bytes of a write request
  std::uint16_t Count = 0;          // number of registers or coils
  bool WaitForValue = false;        // the answer's value must equal ExpectedValue
  std::uint8_t ProgressWeight = 0;  // added to the worker's progress once answered
  std::string Name;                 // register name
  std::uint8_t Function = 0;        // Modbus function code; 0 marks an empty slot
  std::uint8_t ExpectedValue = 0;   // the value a WaitForValue request waits for
  bool RepeatUntilEqual = false;    // on a mismatch, repeat instead of failing

  friend bool operator==(const TRWmbrReg&, const TRWmbrReg&) = default;
};

using TRegistersArray = std::vector<TRWmbrReg>;

}  // namespace quarn::link
