// Faults the simulated controller can put into its answers, drawn from a seeded generator so
// that a run can be repeated exactly: the same seed and the same requests give the same faults.
//
// For every answer four numbers are drawn, whatever the settings, so changing one rate leaves
// the draws of the others where they were. The pieces and cut points of a split answer come
// from a second generator: their count varies, and drawing them from the first would shift
// the faults of every later answer.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

namespace quarn::simulator {

struct TFaultSettings {
  double Drop = 0;     // share of answers never sent
  double Corrupt = 0;  // share of answers sent with a wrong LRC
  double Delay = 1;    // share of answers held back by DelayTime (only when DelayTime > 0)
  double Split = 0;    // share of answers written in several pieces
  std::chrono::milliseconds DelayTime{0};
  std::uint64_t Seed = 1;

  bool Any() const { return Drop > 0 || Corrupt > 0 || Split > 0 || DelayTime.count() > 0; }
};

struct TFaultPlan {
  bool Drop = false;
  bool Corrupt = false;
  std::chrono::milliseconds Delay{0};
  std::vector<std::size_t> Cuts;  // split points, ascending, inside the frame; empty: one piece
};

// Gap between the pieces of a split answer: long enough for the far end to read them apart.
inline constexpr auto kSplitGap = std::chrono::milliseconds(3);
inline constexpr std::size_t kMaxSplitPieces = 4;

class TFaultInjector {
 public:
  explicit TFaultInjector(const TFaultSettings& settings)
      : settings_(settings),
        generator_(settings.Seed),
        split_generator_(settings.Seed ^ kSplitSeedMix) {}

  // The faults of the next answer, `frameLength` characters long.
  TFaultPlan Next(std::size_t frameLength);

 private:
  double Uniform();  // in [0, 1), the same on every platform for a seed

  // Sets the second generator's seed apart from the first's, so the two sequences differ.
  static constexpr std::uint64_t kSplitSeedMix = 0x9E3779B97F4A7C15ULL;

  TFaultSettings settings_;
  std::mt19937_64 generator_;  // its sequence is fixed by the standard
  std::mt19937_64 split_generator_;
};

}  // namespace quarn::simulator
