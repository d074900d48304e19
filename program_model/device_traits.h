// What the program model needs to know of the selected controller model.
//
// The device descriptions of the link install theirs; until then the built-in values apply, which
// are those of every model the workbench knows.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace quarn::program_model {

struct TSingleInterruption {
  std::string Caption;
  std::int64_t Lowest = 0;
  std::int64_t Highest = 0;
  std::uint8_t Kind = 0;
  std::string Mnemonic;
};

class DeviceProgramTraits {
 public:
  virtual ~DeviceProgramTraits() = default;
  virtual std::span<const TSingleInterruption> Interruptions() const = 0;
  virtual std::uint16_t InterruptApi() const = 0;  // API number of the label I
  virtual std::uint16_t EndApi() const = 0;        // API number of END
  virtual int WordsPerInstruction() const = 0;     // words of one stored instruction read back
};

const DeviceProgramTraits& BuiltInDeviceTraits();
// The traits of the selected model. Switching is atomic; the object must outlive its use
// (the link installs static descriptions).
const DeviceProgramTraits& CurrentDeviceTraits();
void SetCurrentDeviceTraits(const DeviceProgramTraits* traits);  // nullptr: back to built-in

}  // namespace quarn::program_model
