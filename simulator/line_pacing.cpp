#include "simulator/line_pacing.h"

#include <algorithm>

namespace quarn::simulator {
namespace {

constexpr std::uint8_t kLf = '\n';

}  // namespace

TLinePacer::TLinePacer(std::uint32_t baud) : baud_(baud) {
  if (baud_ == 0) return;
  const auto bitsPerSecond = std::chrono::nanoseconds(std::chrono::seconds(1)).count();
  character_time_ = std::chrono::nanoseconds(kBitsPerCharacter * bitsPerSecond / baud_);
  if (character_time_ <= Clock::duration::zero()) character_time_ = std::chrono::nanoseconds(1);
  piece_characters_ = std::max<std::size_t>(
      1, static_cast<std::size_t>(std::chrono::nanoseconds(kPieceTime) / character_time_));
}

void TLinePacer::HoldUntil(Clock::time_point until) { line_free_ = std::max(line_free_, until); }

std::vector<TTimedPiece> TLinePacer::Schedule(std::span<const std::uint8_t> bytes,
                                              Clock::time_point now) {
  std::vector<TTimedPiece> pieces;
  if (bytes.empty()) return pieces;
  if (!Enabled()) {
    pieces.push_back({std::max(now, line_free_), bytes.size()});
    return pieces;
  }
  Clock::time_point clock = std::max(now, line_free_);
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = std::min(bytes.size(), start + piece_characters_);
    const auto lf = std::find(bytes.begin() + static_cast<std::ptrdiff_t>(start),
                              bytes.begin() + static_cast<std::ptrdiff_t>(end), kLf);
    if (lf != bytes.begin() + static_cast<std::ptrdiff_t>(end)) {
      end = static_cast<std::size_t>(lf - bytes.begin()) + 1;
    }
    clock += static_cast<Clock::rep>(end - start) * character_time_;
    pieces.push_back({clock, end - start});
    start = end;
  }
  line_free_ = clock;
  return pieces;
}

}  // namespace quarn::simulator
