#include "simulator/fault_injection.h"

#include <algorithm>

namespace quarn::simulator {

double TFaultInjector::Uniform() {
  constexpr double kScale = 1.0 / static_cast<double>(std::uint64_t{1} << 53);
  return static_cast<double>(generator_() >> 11) * kScale;
}

TFaultPlan TFaultInjector::Next(std::size_t frameLength) {
  const double drop = Uniform();
  const double corrupt = Uniform();
  const double delay = Uniform();
  const double split = Uniform();
  TFaultPlan plan;
  plan.Drop = drop < settings_.Drop;
  plan.Corrupt = corrupt < settings_.Corrupt;
  if (settings_.DelayTime.count() > 0 && delay < settings_.Delay) plan.Delay = settings_.DelayTime;
  if (split < settings_.Split && frameLength >= 2) {
    const std::size_t pieces =
        std::min<std::size_t>(2 + split_generator_() % (kMaxSplitPieces - 1), frameLength);
    for (std::size_t i = 1; i < pieces; ++i)
      plan.Cuts.push_back(1 + split_generator_() % (frameLength - 1));
    std::sort(plan.Cuts.begin(), plan.Cuts.end());
    plan.Cuts.erase(std::unique(plan.Cuts.begin(), plan.Cuts.end()), plan.Cuts.end());
  }
  return plan;
}

}  // namespace quarn::simulator
