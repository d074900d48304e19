#include "simulator/controller_roles.h"

#include "program_model/program_code.h"
#include "simulator/program_memory.h"

namespace quarn::simulator {
namespace {

constexpr std::uint16_t kImageRegisters = program_model::kImageWords;

constexpr TRoleRow kRoleRows[] = {
    // State.
    {TRole::RunStop, "GET_RUN_STOP"},
    {TRole::Outputs, "GET_OUTPUTS_Y0_Y7"},
    {TRole::Inputs, "GET_INPUTS_X0_X7"},
    {TRole::ErrorFlags, "GET_ERRORS"},
    {TRole::ErrorCodes, "GET_ERROR_CODES"},
    {TRole::ErrorLine, "GET_USER_PROG_ERROR_LINE"},
    {TRole::ClearErrors, "CLR_ERRORS"},
    // Identification and communication settings.
    {TRole::Hardware, "GET_HW"},
    {TRole::Firmware, "GET_FW"},
    {TRole::Bootloader, "GET_BOOTLOADER"},
    {TRole::MapVersions, {}, TTable::InputRegisters, 0x8007, 4, kRoleRead},
    {TRole::Baudrate, "GET_BAUDRATE"},
    {TRole::Parity, "GET_PARITY"},
    {TRole::DeviceId, "GET_ID"},
    {TRole::Protocol, "GET_ASCII_RTU"},
    // Program memory.
    {TRole::RomState, "GET_ROM_STATE"},
    {TRole::MainProtection, "GET_MAINPROG_PROTECTION"},
    {TRole::ServiceProtection, "GET_SERVICEPROG_PROTECTION"},
    // Protection is set by writing 0; only an erase lifts it.
    {TRole::MainProtection, {}, TTable::Coils, 0xF001, 1, kRoleWrite, 0, 0},
    {TRole::ServiceProtection, {}, TTable::Coils, 0xF002, 1, kRoleWrite, 0, 0},
    {TRole::WriteMode, "SET_READ_WRITE_PROG"},
    {TRole::ProgramSlot, "SET_MAIN_SERVICE_PROG"},
    {TRole::LineNumber, "WRITE_PROG_LINE_NUMBER"},
    {TRole::Image, {}, TTable::Holding, 0xF300, kImageRegisters, kRoleReadWrite},
    {TRole::Store, {}, TTable::Coils, 0xF000, 1, kRoleWrite, 0, 1},
    {TRole::Erase, {}, TTable::Coils, 0xF003, 1, kRoleWrite, 0, 1},
    {TRole::PacketQuantity, "WRITE_PROG_LINES_QTY"},
    {TRole::PacketLines, "READ_PROG_LINES_QTY"},
    {TRole::PacketStart, "START_PACKET_RW_PROG"},
    {TRole::Sector, {}, TTable::Holding, 0xF401, kSectorRegisters, kRoleRead},
    // Motion.
    {TRole::MaxSpeed, "SET_MAX_SPEED"},
    {TRole::Direction, "SET_DIR"},
    {TRole::Target, "SET_TARGET_POS"},
    {TRole::MotionCommand, "CMD_MOVE_RUN"},
    {TRole::UntilInput, "SET_SW_INPUT"},
    {TRole::Position, "GET_ABS_POS"},
    {TRole::Position, "SET_ABS_POS"},
    {TRole::MotorStatus, "GET_MOTOR_STATUS"},
    {TRole::CurrentSpeed, "GET_CURRENT_SPD"},
    {TRole::ApplyCommand, "APPLY_CMD"},
    {TRole::Torque, "TORQUE"},
    {TRole::HardStop, "SET_HARD_STOP"},
    {TRole::HardHiz, "SET_HARD_HIZ"},
    {TRole::SlowStop, "SET_SLOW_STOP"},
    {TRole::SlowHiz, "SET_SLOW_HIZ"},
    // Debugging: the state reads follow the session coils.
    {TRole::DebugStart, "START_DEBUG"},
    {TRole::DebugSuspend, "DEBUG_SUSPEND_PROG"},
    {TRole::DebugState, "READ_DEBUG_STATE"},
    {TRole::DebugSuspended, "READ_DEBUG_SUSPENDED"},
    // The four breakpoints: lines in holding registers, activity in coils.
    {TRole::Plain, {}, TTable::Holding, 0x6200, 4, kRoleReadWrite},
    {TRole::Plain, {}, TTable::Coils, 0x6200, 4, kRoleReadWrite},
};

}  // namespace

std::span<const TRoleRow> ControllerRoleRows() { return kRoleRows; }

}  // namespace quarn::simulator
