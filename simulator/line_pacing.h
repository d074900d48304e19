// Holding characters for the time a serial line takes to carry them.
//
// At a baud rate each character takes 10 bit times (start, 7 data, parity, stop). The pacing
// keeps a clock per direction: characters queue behind the ones still on the line, and a piece
// of characters is released when its last character would have arrived. Pieces are cut at
// most kPieceTime long and at every line feed, so the end of a frame is released exactly on
// time while a long stream costs one wake-up per piece, not one per character.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace quarn::simulator {

using Clock = std::chrono::steady_clock;

inline constexpr int kBitsPerCharacter = 10;
inline constexpr auto kPieceTime = std::chrono::milliseconds(1);

struct TTimedPiece {
  Clock::time_point Due;
  std::size_t Length = 0;  // characters of the piece, in order
};

class TLinePacer {
 public:
  // baud 0: no pacing, everything is due at once.
  explicit TLinePacer(std::uint32_t baud = 0);

  bool Enabled() const { return baud_ != 0; }
  Clock::duration CharacterTime() const { return character_time_; }

  // Cuts `bytes`, handed over at `now`, into pieces and gives each its release time. The line
  // is busy until the last of them; later bytes queue behind.
  std::vector<TTimedPiece> Schedule(std::span<const std::uint8_t> bytes, Clock::time_point now);

  // Makes the line idle until `until` (a delayed answer starts no earlier).
  void HoldUntil(Clock::time_point until);

 private:
  std::uint32_t baud_;
  Clock::duration character_time_{};
  std::size_t piece_characters_ = 0;
  Clock::time_point line_free_{};
};

}  // namespace quarn::simulator
