// One register request as the request lists carry it, and the list type.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "link/byte_arrays.h"

namespace quarn::link {

// One Modbus request: which register(s), with which function, and what the request worker
// does with the answer. The field order is kept stable because request tables are written as
// aggregate initialisers.
struct TRWmbrReg {
  std::string Label;                // free text for the caller; the link neither sets nor reads it
  std::uint16_t Address = 0;        // register or coil address
  TBytesArray Data;                 // data bytes of a write, register values high byte first
  std::uint16_t Count = 0;          // number of registers or coils
  bool WaitForValue = false;        // after the answer, LastValue must equal ExpectedValue
  std::uint8_t ProgressWeight = 0;  // added to the progress count once answered
  std::string Name;                 // register name from the model description
  std::uint8_t Function = 0;        // Modbus function code; 0 marks an empty slot
  std::uint8_t ExpectedValue = 0;   // the value a WaitForValue request waits for
  bool RepeatUntilEqual = false;    // on a mismatch, repeat instead of failing

  friend bool operator==(const TRWmbrReg&, const TRWmbrReg&) = default;
};

using TRegistersArray = std::vector<TRWmbrReg>;

}  // namespace quarn::link
