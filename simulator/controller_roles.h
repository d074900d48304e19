// Where the controller's behaviours live: each role is bound to a named row of the model's
// register table, or, for the registers the table lacks, to a fixed place.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "simulator/slave_data.h"

namespace quarn::simulator {

enum class TRole : std::uint8_t {
  Plain,  // holds what is written; listed only to add an address the table lacks
  RunStop,
  Outputs,
  Inputs,
  ErrorFlags,
  ErrorCodes,
  ErrorLine,
  ClearErrors,
  Hardware,
  Firmware,
  Bootloader,
  MapVersions,
  RomState,
  MainProtection,
  ServiceProtection,
  WriteMode,
  ProgramSlot,
  LineNumber,
  Image,
  Store,
  Erase,
  PacketQuantity,
  PacketLines,
  PacketStart,
  Sector,
  MaxSpeed,
  Direction,
  Target,
  MotionCommand,
  UntilInput,
  Position,
  MotorStatus,
  CurrentSpeed,
  ApplyCommand,
  Torque,
  HardStop,
  HardHiz,
  SlowStop,
  SlowHiz,
  DebugStart,
  DebugSuspend,
  DebugState,
  DebugSuspended,
  Baudrate,
  Parity,
  DeviceId,
  Protocol,
};

enum TRoleAccess : std::uint8_t { kRoleRead = 1, kRoleWrite = 2, kRoleReadWrite = 3 };

struct TRoleRow {
  TRole Role = TRole::Plain;
  std::string_view Name;  // a row of the register table; empty: the fixed place below
  TTable Table = TTable::Holding;
  std::uint16_t Address = 0;
  std::uint16_t Count = 0;
  std::uint8_t Access = kRoleRead;  // of a fixed place; a named row's function decides
  std::int64_t Min = 0;             // range of a fixed writable place, when Min <= Max
  std::int64_t Max = -1;
};

std::span<const TRoleRow> ControllerRoleRows();

}  // namespace quarn::simulator
