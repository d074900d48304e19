#include "simulator/motion_model.h"

#include <cmath>

namespace quarn::simulator {

void TMotionModel::Advance(TMotionClock::time_point now) {
  if (now <= since_) return;
  const double seconds = std::chrono::duration<double>(now - since_).count();
  since_ = now;
  if (kind_ == TKind::Idle) return;
  const double travel = seconds * speed_ + fraction_;
  auto steps = static_cast<std::int64_t>(std::floor(travel));
  fraction_ = travel - static_cast<double>(steps);
  if (kind_ == TKind::Move) {
    const std::int64_t left = forward_ ? target_ - position_ : position_ - target_;
    if (steps >= left) {
      position_ = target_;
      kind_ = TKind::Idle;
      fraction_ = 0;
      return;
    }
  }
  position_ += forward_ ? steps : -steps;
}

void TMotionModel::Begin(TKind kind, bool forward, std::int32_t speed,
                         TMotionClock::time_point now) {
  Advance(now);
  kind_ = kind;
  forward_ = forward;
  speed_ = speed > 0 ? speed : 0;
  fraction_ = 0;
  energised_ = true;
}

void TMotionModel::Apply(const TMotionSetup& setup, TMotionClock::time_point now) {
  Advance(now);
  const std::int64_t here = static_cast<std::int32_t>(static_cast<std::uint32_t>(position_));
  position_ = here;  // moves are measured in the register's 32-bit coordinates
  auto moveTo = [&](std::int64_t target) {
    target_ = target;
    if (target == position_) {
      Stop(false, now);
      return;
    }
    Begin(TKind::Move, target > position_, setup.Speed, now);
  };
  switch (setup.Command) {
    case kCmdRun:
      Begin(TKind::Run, setup.Forward, setup.Speed, now);
      return;
    case kCmdIncMove:
      moveTo(position_ + (setup.Forward ? setup.Target : -std::int64_t{setup.Target}));
      return;
    case kCmdGoto:
    case kCmdGotoDir:
      moveTo(setup.Target);
      return;
    case kCmdGoHome:
      moveTo(0);
      return;
    case kCmdGoUntilSStop:
    case kCmdGoUntilFrontSStop:
    case kCmdGoUntilHardStop:
    case kCmdGoUntilFrontHardStop:
    case kCmdGoUntilRelease:
    case kCmdGoUntilFrontRelease: {
      until_rising_ = setup.Command < kCmdGoUntilRelease;
      // The "check" commands do not move when the input already shows the level the edge
      // leads to.
      const bool checksLevel = setup.Command == kCmdGoUntilSStop ||
                               setup.Command == kCmdGoUntilHardStop ||
                               setup.Command == kCmdGoUntilRelease;
      if (checksLevel && setup.InputLevel == until_rising_) {
        Stop(false, now);
        return;
      }
      Begin(TKind::GoUntil, setup.Forward, setup.Speed, now);
      return;
    }
    default:
      return;
  }
}

void TMotionModel::Stop(bool hiZ, TMotionClock::time_point now) {
  Advance(now);
  kind_ = TKind::Idle;
  fraction_ = 0;
  if (hiZ) energised_ = false;
}

void TMotionModel::Energise(TMotionClock::time_point now) {
  Advance(now);
  energised_ = true;
}

void TMotionModel::SetPosition(std::int32_t position, TMotionClock::time_point now) {
  Advance(now);
  position_ = position;
  fraction_ = 0;
}

void TMotionModel::InputChanged(bool level, TMotionClock::time_point now) {
  Advance(now);
  if (kind_ == TKind::GoUntil && level == until_rising_) Stop(false, now);
}

std::int32_t TMotionModel::Position(TMotionClock::time_point now) {
  Advance(now);
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(position_ & 0xFFFFFFFF));
}

bool TMotionModel::Moving(TMotionClock::time_point now) {
  Advance(now);
  return kind_ != TKind::Idle;
}

std::int32_t TMotionModel::Speed(TMotionClock::time_point now) { return Moving(now) ? speed_ : 0; }

std::uint16_t TMotionModel::Status(TMotionClock::time_point now) {
  if (!Moving(now)) {
    return static_cast<std::uint16_t>(kStatusStopped | (energised_ ? 0 : kStatusHiZ));
  }
  return static_cast<std::uint16_t>(kStatusConstSpeed |
                                    (kind_ == TKind::Run ? kStatusBusyRun : kStatusBusyMove));
}

}  // namespace quarn::simulator
