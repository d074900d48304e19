#include "link/current_description.h"

#include <atomic>
#include <mutex>
#include <span>
#include <vector>

#include "link/device_models.h"
#include "program_model/device_traits.h"

namespace quarn::link {
namespace {

// What the program model needs of a model: its interruption kinds, the API numbers of I and
// END, and the words of one stored instruction.
class DescriptionTraits final : public program_model::DeviceProgramTraits {
 public:
  explicit DescriptionTraits(const TDeviceDescription& description) : description_(&description) {}

  std::span<const TSingleInterruption> Interruptions() const override {
    return description_->Interruptions;
  }
  std::uint16_t InterruptApi() const override {
    return description_->InterruptionInstructions[kIRecord].ApiNumber;
  }
  std::uint16_t EndApi() const override { return description_->EndApiNumber; }
  int WordsPerInstruction() const override { return description_->StoredWords; }

 private:
  const TDeviceDescription* description_;
};

// One traits object per entry of ModelList(), in the same order; never freed, like the models.
const std::vector<DescriptionTraits>& ModelTraits() {
  static const auto* const traits = [] {
    auto* list = new std::vector<DescriptionTraits>;
    for (const TDeviceDescription& model : ModelList()) list->emplace_back(model);
    return list;
  }();
  return *traits;
}

const TDeviceDescription& NoModel() {
  static const auto* const none = new TDeviceDescription;
  return *none;
}

std::atomic<const TDeviceDescription*> current{nullptr};
// Keeps the description and the program traits of one selection together when two threads
// select at once; readers never take it.
std::mutex selection;

}  // namespace

const TDeviceDescription& CurrentDescription() {
  const TDeviceDescription* selected = current.load(std::memory_order_acquire);
  return selected != nullptr ? *selected : NoModel();
}

bool SelectModel(const TDeviceDescription& description) {
  const auto models = ModelList();
  for (std::size_t i = 0; i < models.size(); ++i) {
    if (&models[i] != &description) continue;
    const std::lock_guard lock(selection);
    current.store(&models[i], std::memory_order_release);
    program_model::SetCurrentDeviceTraits(&ModelTraits()[i]);
    return true;
  }
  return false;
}

void ClearCurrentDescription() {
  const std::lock_guard lock(selection);
  current.store(nullptr, std::memory_order_release);
  program_model::SetCurrentDeviceTraits(nullptr);
}

}  // namespace quarn::link
