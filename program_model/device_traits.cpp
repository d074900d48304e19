#include "program_model/device_traits.h"

#include <array>
#include <atomic>

#include "program_model/catalogue.h"
#include "program_model/program_code.h"

namespace quarn::program_model {
namespace {

// Every model the workbench knows lists the same interruption kinds.
const std::array<TSingleInterruption, 8>& BuiltInInterruptions() {
  static const std::array<TSingleInterruption, 8> list = {{
      {"Add comm. interruption", 0, 0, 0, "I"},
      {"Add timed  interruption", 1, 100, 3, "I"},
      {"Add external  interruption", 1000, 1007, 1, "I"},
      {"Add driver  interruption", 2000, 2001, 1, "I"},
      {"Enable interruptions", 0, 0, 4, "EI"},
      {"Disable interruptions", 0, 0, 4, "DI"},
      {"End of interruption handler", 0, 0, 4, "IRET"},
      {"End of main program", 0, 0, 4, "FEND"},
  }};
  return list;
}

class BuiltInTraits final : public DeviceProgramTraits {
 public:
  std::span<const TSingleInterruption> Interruptions() const override {
    return BuiltInInterruptions();
  }
  std::uint16_t InterruptApi() const override { return interruptApi_; }
  std::uint16_t EndApi() const override { return endApi_; }
  int WordsPerInstruction() const override { return kStoredWords; }

 private:
  // Taken from the catalogue once: the built-in models number their instructions as it does.
  const std::uint16_t interruptApi_ = ApiNumberOfMnemonic("I");
  const std::uint16_t endApi_ = ApiNumberOfMnemonic("END");
};

std::atomic<const DeviceProgramTraits*> g_current{nullptr};

}  // namespace

const DeviceProgramTraits& BuiltInDeviceTraits() {
  static const BuiltInTraits traits;
  return traits;
}

const DeviceProgramTraits& CurrentDeviceTraits() {
  const DeviceProgramTraits* traits = g_current.load(std::memory_order_acquire);
  return traits != nullptr ? *traits : BuiltInDeviceTraits();
}

void SetCurrentDeviceTraits(const DeviceProgramTraits* traits) {
  g_current.store(traits, std::memory_order_release);
}

}  // namespace quarn::program_model
