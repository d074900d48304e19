// A simple model of the motor: enough for the direct-control panel and the status display.
//
// The motor runs at the maximum speed at once (no ramps). A continuous run goes on in its
// direction until a stop; a move (relative step, go to a position, go home) goes towards its
// target and stops there; a go-until runs in its direction until the chosen input shows the
// chosen edge. Stops are immediate; the two HiZ stops also de-energise the motor, a new motion
// or applying the currents energises it again. The position is a 32-bit step count that wraps
// like the controller's register.
//
// Status bits as the status display reads them: bit 0 motor not energised (HiZ), bit 1
// stopped or holding, bit 2 accelerating, bit 3 decelerating, bit 4 at constant speed, bit 5 a
// move is in progress, bit 6 a continuous run is in progress.
#pragma once

#include <chrono>
#include <cstdint>

namespace quarn::simulator {

using TMotionClock = std::chrono::steady_clock;

// Values of the motion-command register.
enum TMotionCommand : std::uint16_t {
  kCmdRun = 0,
  kCmdIncMove = 1,
  kCmdGoto = 2,
  kCmdGotoDir = 3,
  kCmdGoHome = 4,
  kCmdGoUntilSStop = 5,
  kCmdGoUntilFrontSStop = 6,
  kCmdGoUntilHardStop = 7,
  kCmdGoUntilFrontHardStop = 8,
  kCmdGoUntilRelease = 9,
  kCmdGoUntilFrontRelease = 10,
};

inline constexpr std::uint16_t kStatusHiZ = 1U << 0;
inline constexpr std::uint16_t kStatusStopped = 1U << 1;
inline constexpr std::uint16_t kStatusAccel = 1U << 2;
inline constexpr std::uint16_t kStatusDecel = 1U << 3;
inline constexpr std::uint16_t kStatusConstSpeed = 1U << 4;
inline constexpr std::uint16_t kStatusBusyMove = 1U << 5;
inline constexpr std::uint16_t kStatusBusyRun = 1U << 6;

// What a motion command reads from the motion registers when it is applied.
struct TMotionSetup {
  std::uint16_t Command = kCmdRun;
  std::int32_t Speed = 0;   // steps per second, from the maximum speed
  bool Forward = true;      // the direction register: 1 forward
  std::int32_t Target = 0;  // the target register: a position, or the step of a move
  bool InputLevel = false;  // the level of the go-until input when the command starts
};

class TMotionModel {
 public:
  // Starts a motion command; an unknown command changes nothing.
  void Apply(const TMotionSetup& setup, TMotionClock::time_point now);
  // Stops at once; `hiZ` de-energises the motor.
  void Stop(bool hiZ, TMotionClock::time_point now);
  void Energise(TMotionClock::time_point now);
  void SetPosition(std::int32_t position, TMotionClock::time_point now);
  // The go-until input changed to `level`.
  void InputChanged(bool level, TMotionClock::time_point now);

  std::int32_t Position(TMotionClock::time_point now);
  std::int32_t Speed(TMotionClock::time_point now);
  std::uint16_t Status(TMotionClock::time_point now);
  bool Moving(TMotionClock::time_point now);

 private:
  enum class TKind : std::uint8_t { Idle, Run, Move, GoUntil };

  void Advance(TMotionClock::time_point now);
  void Begin(TKind kind, bool forward, std::int32_t speed, TMotionClock::time_point now);

  TKind kind_ = TKind::Idle;
  bool energised_ = true;
  bool forward_ = true;
  std::int32_t speed_ = 0;
  std::int64_t position_ = 0;         // steps, not yet wrapped
  double fraction_ = 0;               // part of a step covered since the last whole step
  std::int64_t target_ = 0;           // of a move
  bool until_rising_ = true;          // of a go-until: the edge it waits for
  TMotionClock::time_point since_{};  // time the position was last brought up to date
};

}  // namespace quarn::simulator
