// The register table. Columns: name, function, address, count, bits, ParamId, D operand, group,
// access, lowest, highest, default or command value, caption, text for 1, text for 0, description.
#include "link/register_table.h"

#include "link/device_description.h"

namespace quarn::link {
namespace {

// clang-format off
constexpr FieldRow kSharedRows[] = {
    /*   0 */ {"", 0, 0x0000, 0, 0, 0, 0, kGroupOther, kAccessRead, 0, 0, 0, "EMPTY", "1", "0", ""},
    /*   1 */ {"SET_MAX_SPEED", 16, 0x5000, 2, 32, 1, 357, kGroupSpeed, kAccessWrite, 8, 120000, 100, "MAX SPEED", "", "", "Maximum speed, puls/sec"},
    /*   2 */ {"GET_MAX_SPEED", 3, 0x5000, 2, 32, 1, 357, kGroupSpeed, kAccessRead, 8, 120000, 100, "MAX SPEED", "", "", "Maximum speed, puls/sec"},
    /*   3 */ {"SET_MIN_SPEED", 16, 0x5002, 2, 32, 2, 359, kGroupSpeed, kAccessWrite, 8, 120000, 100, "MIN SPEED", "", "", "Minimum speed, puls/sec"},
    /*   4 */ {"GET_MIN_SPEED", 3, 0x5002, 2, 32, 2, 359, kGroupSpeed, kAccessRead, 8, 120000, 100, "MIN SPEED", "", "", "Minimum speed, puls/sec"},
    /*   5 */ {"SET_CMINSPEED", 6, 0x5016, 1, 1, 18, 382, kGroupSpeed, kAccessWrite, 0, 1, 1, "CALCULATE MIN SPEED", "Enable", "Disable", "Automatic calculation of min speed"},
    /*   6 */ {"GET_CMINSPEED", 3, 0x5016, 1, 1, 18, 382, kGroupSpeed, kAccessRead, 0, 1, 1, "CALCULATE MIN SPEED", "", "", "Automatic calculation of min speed"},
    /*   7 */ {"SET_ACCEL", 6, 0x5004, 1, 16, 3, 361, kGroupSpeed, kAccessWrite, 1, 65535, 100, "ACCEL", "", "", "Acceleration"},
    /*   8 */ {"GET_ACCEL", 3, 0x5004, 1, 16, 3, 361, kGroupSpeed, kAccessRead, 1, 65535, 100, "ACCEL", "", "", "Acceleration"},
    /*   9 */ {"SET_DECEL", 6, 0x5005, 1, 16, 4, 362, kGroupSpeed, kAccessWrite, 1, 65535, 100, "DECEL", "", "", "Deceleration"},
    /*  10 */ {"GET_DECEL", 3, 0x5005, 1, 16, 4, 362, kGroupSpeed, kAccessRead, 1, 65535, 100, "DECEL", "", "", "Deceleration"},
    /*  11 */ {"SPIN", 5, 0x5100, 1, 1, 12, 0, kGroupMovement, kAccessCommand, 1, 1, 1, "SPIN", "", "", "Start motion"},
    /*  12 */ {"SET_ABS_POS", 16, 0x5006, 2, 32, 5, 363, kGroupMovement, kAccessWrite, -2147483647, 2147483647, 0, "ABS POS", "", "", "Absolute position"},
    /*  13 */ {"GET_ABS_POS", 3, 0x5006, 2, 32, 5, 363, kGroupMovement, kAccessRead, -2147483647, 2147483647, 0, "ABS POS", "", "", "Absolute position"},
    /*  14 */ {"SET_MICRO", 6, 0x5009, 1, 16, 7, 366, kGroupMotorControl, kAccessWrite, 0, 8, 0, "MICROSTEP", "", "", "Microstepping"},
    /*  15 */ {"GET_MICRO", 3, 0x5009, 1, 16, 7, 366, kGroupMotorControl, kAccessRead, 0, 8, 0, "MICROSTEP", "", "", "Microstepping"},
    /*  16 */ {"SET_DIR", 6, 0x500A, 1, 1, 8, 374, kGroupMovement, kAccessWrite, 0, 1, 1, "DIRECTION", "Forward", "Backward", "Direction"},
    /*  17 */ {"GET_DIR", 3, 0x500A, 1, 16, 8, 374, kGroupMovement, kAccessRead, 0, 1, 1, "GET DIR", "", "", "Direction"},
    /*  18 */ {"SET_FDIR", 6, 0x500A, 1, 16, 8, 374, kGroupNone, kAccessWrite, 0, 1, 1, "SET F DIR", "", "", "Forward direction"},
    /*  19 */ {"SET_RDIR", 6, 0x500A, 1, 16, 8, 374, kGroupNone, kAccessWrite, 0, 1, 0, "SET R DIR", "", "", "Backward direction"},
    /*  20 */ {"SET_FS_SPEED", 16, 0x500B, 2, 32, 9, 377, kGroupSpeed, kAccessWrite, 8, 120000, 100, "FULL STEP SPEED", "", "", "Speed threshold of turning to fullstep mode "},
    /*  21 */ {"GET_FS_SPEED", 3, 0x500B, 2, 32, 9, 377, kGroupSpeed, kAccessRead, 8, 120000, 100, "FULL STEP SPEED", "", "", "Speed threshold of turning to fullstep mode "},
    /*  22 */ {"SET_FS_SW_EN", 6, 0x500D, 1, 1, 10, 379, kGroupSpeed, kAccessWrite, 0, 1, 1, "FULL STEP ENABLE", "Enable", "Disable", "Enable turning to fullstep mode"},
    /*  23 */ {"CLR_FS_SW_EN", 6, 0x500D, 1, 1, 10, 379, kGroupNone, kAccessWrite, 0, 1, 0, "FULL STEP ENABLE", "Enable", "Disable", "Enable turning to fullstep mode"},
    /*  24 */ {"GET_FS_SW_EN", 3, 0x500D, 1, 1, 10, 379, kGroupSpeed, kAccessRead, 0, 1, 1, "FULL STEP ENABLE", "Enable", "Disable", "Enable turning to fullstep mode"},
    /*  25 */ {"SET_TARGET_POS", 16, 0x500E, 2, 32, 11, 372, kGroupMovement, kAccessWrite, -2147483647, 2147483647, 0, "TARGET POS", "", "", "Set target position"},
    /*  26 */ {"GET_TARGET_POS", 3, 0x500E, 2, 32, 11, 372, kGroupMovement, kAccessRead, -2147483647, 2147483647, 0, "TARGET POS", "", "", "Set target position"},
    /*  27 */ {"CMD_MOVE_RUN", 6, 0x5010, 1, 16, 12, 376, kGroupMovement, kAccessWrite, 0, 10, 0, "RUN/MOVE COMMAND", "", "", "Set type of the motion"},
    /*  28 */ {"CMD_RUN", 6, 0x5010, 1, 16, 12, 376, kGroupMovement, kAccessWrite, 0, 0, 0, "RUN", "", "", "continuous motion"},
    /*  29 */ {"CMD_INC_MOVE", 6, 0x5010, 1, 16, 12, 376, kGroupMovement, kAccessWrite, 1, 1, 1, "MOVE", "", "", "Increment displacement"},
    /*  30 */ {"CMD_GOTO", 6, 0x5010, 1, 16, 12, 376, kGroupMovement, kAccessWrite, 2, 2, 2, "GO TO POS", "", "", "Go to target position - shortest way"},
    /*  31 */ {"CMD_GOTO_DIR", 6, 0x5010, 1, 16, 12, 376, kGroupMovement, kAccessWrite, 3, 3, 3, "GO TO DIR POS", "", "", "Go to target position (direction according the set value)"},
    /*  32 */ {"CMD_GOHOME", 6, 0x5010, 1, 16, 12, 376, kGroupMovement, kAccessWrite, 4, 4, 4, "GO HOME", "", "", "Go to zero position"},
    /*  33 */ {"CMD_GOUNTIL_SSTOP", 6, 0x5010, 1, 16, 12, 376, kGroupMovement, kAccessWrite, 5, 5, 5, "GO UNTIL; SLOW STOP", "", "", "Go until signal rising edge, then smooth deceleration. Check signal state before movement."},
    /*  34 */ {"CMD_GOUNTIL_FRONT_SSTOP", 6, 0x5010, 1, 16, 12, 376, kGroupMovement, kAccessWrite, 6, 6, 6, "GO UNTIL; FRONT; SLOW STOP", "", "", "Go until signal rising edge, then smooth deceleration."},
    /*  35 */ {"CMD_GOUNTIL_HARDSTOP", 6, 0x5010, 1, 16, 12, 376, kGroupMovement, kAccessWrite, 7, 7, 7, "GO UNTIL; HARD STOP", "", "", "Go until signal rising edge, then hard stop. Check signal state before movement."},
    /*  36 */ {"CMD_GOUNTIL_FRONT_HARDSTOP", 6, 0x5010, 1, 16, 12, 376, kGroupMovement, kAccessWrite, 8, 8, 8, "GO UNTIL; FRONT; HARD STOP", "", "", "Go until signal rising edge, then hard stop"},
    /*  37 */ {"CMD_GOUNTIL_RELEASE", 6, 0x5010, 1, 16, 12, 376, kGroupMovement, kAccessWrite, 9, 9, 9, "GO UNTIL; RELEASE", "", "", "Go until signal falling edge, then hard stop. Check signal state before movement."},
    /*  38 */ {"CMD_GOUNTIL_FRONT_RELEASE", 6, 0x5010, 1, 16, 12, 376, kGroupMovement, kAccessWrite, 10, 10, 10, "GO UNTIL; FRONT_RELEASE", "", "", "Go until signal falling edge, then hard stop."},
    /*  39 */ {"GET_CMD_RUN", 3, 0x5010, 1, 16, 12, 376, kGroupMovement, kAccessRead, 0, 10, 0, "GET CMD", "", "", "Get CMD"},
    /*  40 */ {"SET_SW_INPUT", 6, 0x5011, 1, 16, 13, 375, kGroupMovement, kAccessWrite, 0, 7, 0, "GO_UNTIL INPUT NUM", "", "", "Set input number for GO UNTIL commands"},
    /*  41 */ {"GET_SW_INPUT", 3, 0x5011, 1, 16, 13, 375, kGroupOther, kAccessRead, 0, 7, 0, "GET INPUT NUM", "", "", "Get input number for GO UNTIL commands"},
    /*  42 */ {"SET_ACC_CUR", 6, 0x5012, 1, 16, 14, 367, kGroupMotorControl, kAccessWrite, 150, 1500, 1500, "ACCEL CURRENT", "", "", "Set phase current during acceleration, mA"},
    /*  43 */ {"GET_ACC_CUR", 3, 0x5012, 1, 16, 14, 367, kGroupMotorControl, kAccessRead, 150, 1500, 1500, "ACCEL CURRENT", "", "", "Set phase current during acceleration, mA"},
    /*  44 */ {"SET_DEC_CUR", 6, 0x5013, 1, 16, 15, 368, kGroupMotorControl, kAccessWrite, 150, 1500, 1500, "DECEL CURRENT", "", "", "Set phase current during deceleration, mA"},
    /*  45 */ {"GET_DEC_CUR", 3, 0x5013, 1, 16, 15, 368, kGroupMotorControl, kAccessRead, 150, 1500, 1500, "DECEL CURRENT", "", "", "Set phase current during deceleration, mA"},
    /*  46 */ {"SET_RUN_CUR", 6, 0x5014, 1, 16, 16, 369, kGroupMotorControl, kAccessWrite, 150, 1500, 1500, "WORK CURRENT", "", "", "Set phase work current, mA"},
    /*  47 */ {"GET_RUN_CUR", 3, 0x5014, 1, 16, 16, 369, kGroupMotorControl, kAccessRead, 150, 1500, 1500, "WORK CURRENT", "", "", "Set phase work current, mA"},
    /*  48 */ {"SET_HOLD_CUR", 6, 0x5015, 1, 16, 17, 370, kGroupMotorControl, kAccessWrite, 150, 1500, 1200, "HOLD CURRENT", "", "", "Set holding phase current, mA"},
    /*  49 */ {"GET_HOLD_CUR", 3, 0x5015, 1, 16, 17, 370, kGroupMotorControl, kAccessRead, 150, 1500, 1200, "HOLD CURRENT", "", "", "Set holding phase current, mA"},
    /*  50 */ {"SET_ERROR_SET_HIZ", 6, 0x5017, 1, 16, 19, 380, kGroupError, kAccessWrite, 0, 255, 3, "ERROR_SET_HIZ", "", "", "Errors handling"},
    /*  51 */ {"GET_ERROR_SET_HIZ", 3, 0x5017, 1, 16, 19, 380, kGroupError, kAccessRead, 0, 255, 3, "ERROR_SET_HIZ", "", "", "Errors handling"},
    /*  52 */ {"GET_ERROR_CODE", 3, 0x5027, 1, 16, 20, 381, kGroupError, kAccessRead, 0, 255, 0, "GET ERROR CODE", "", "", "Get error code"},
    /*  53 */ {"GET_MOTOR_STATUS", 4, 0x5037, 1, 16, 21, 371, kGroupNone, kAccessRead, 0, 127, 0, "GET MOTOR STATUS", "", "", "Get motor state"},
    /*  54 */ {"GET_CURRENT_SPD", 4, 0x5047, 2, 32, 22, 383, kGroupSpeed, kAccessRead, 0, 120000, 0, "GET CURRENT SPD", "", "", "Get current speed"},
    /*  55 */ {"GET_RUN_STOP", 2, 0xF001, 1, 1, 23, 0, kGroupNone, kAccessRead, 0, 1, 0, "GET_RUN_STOP", "", "", "Get RUN/STOP state"},
    /*  56 */ {"GET_OUTPUTS_Y0_Y7", 2, 0x1000, 8, 16, 23, 0, kGroupNone, kAccessRead, 0, 255, 0, "GET_OUTPUTS_Y0_Y7", "", "", "Get state of outputs Y0..Y7"},
    /*  57 */ {"GET_INPUTS_X0_X7", 2, 0x2000, 8, 16, 23, 0, kGroupNone, kAccessRead, 0, 255, 0, "GET_INPUTS_X0_X7", "", "", "Get state of inputs X0..X7"},
    /*  58 */ {"GET_ERRORS", 2, 0xE000, 5, 16, 23, 0, kGroupNone, kAccessRead, 0, 31, 0, "GET_ERRORS", "", "", "Checking errors"},
    /*  59 */ {"GET_ERROR_CODES", 4, 0xE002, 3, 0, 23, 0, kGroupNone, kAccessRead, 0, 0, 0, "GET_ERROR_CODES", "", "", "Checking errors - Get Error Codes"},
    /*  60 */ {"GET_USER_PROG_ERROR_LINE", 4, 0xE084, 1, 16, 23, 0, kGroupNone, kAccessRead, 0, 65535, 0, "GET_USER_PROG_ERROR_LINE", "", "", "Checking errors - user program error - line number"},
    /*  61 */ {"GET_MAINPROG_PROTECTION", 1, 0xF001, 1, 1, 23, 0, kGroupNone, kAccessRead, 0, 1, 0, "GET_MAINPROG_PROTECTION", "", "", "Get main program protection"},
    /*  62 */ {"GET_SERVICEPROG_PROTECTION", 1, 0xF002, 1, 1, 23, 0, kGroupNone, kAccessRead, 0, 1, 0, "GET_SERVICEPROG_PROTECTION", "", "", "Get service program protection"},
    /*  63 */ {"SET_READ_WRITE_PROG", 5, 0xF005, 1, 1, 23, 0, kGroupNone, kAccessWrite, 0, 1, 0, "SET_READ_WRITE_PROG", "", "", "Set operation type - read/write program"},
    /*  64 */ {"SET_MAIN_SERVICE_PROG", 5, 0xF006, 1, 1, 23, 0, kGroupNone, kAccessWrite, 0, 1, 0, "SET_MAIN_SERVICE_PROG", "", "", "Set  program type"},
    /*  65 */ {"GET_ROM_STATE", 2, 0xF000, 1, 16, 23, 0, kGroupNone, kAccessWrite, 0, 1, 0, "GET_ROM_STATE", "", "", "Get ROM state"},
    /*  66 */ {"GET_RW_SECTOR", 3, 0xF401, 123, 0, 23, 0, kGroupNone, kAccessWrite, 0, 1, 0, "GET_RW_SECTOR", "", "", "Get read/write block sector"},
    /*  67 */ {"LAST_ADDRESS_FOR_RW_SECTOR", 3, 0xF4FF, 0, 0, 23, 0, kGroupNone, kAccessWrite, 0, 0, 0, "", "", "", ""},
    /*  68 */ {"SET_RW_SECTOR", 6, 0xF401, 123, 0, 23, 0, kGroupNone, kAccessWrite, 0, 0, 0, "SET_RW_SECTOR", "", "", "Set read/write block sector"},
    /*  69 */ {"READ_PROG_LINES_QTY", 3, 0xF400, 1, 16, 23, 0, kGroupNone, kAccessRead, 0, 0, 0, "READ_PROG_LINES_QTY", "", "", "Command lines quantity for read/write program"},
    /*  70 */ {"WRITE_PROG_LINES_QTY", 6, 0xF400, 1, 16, 23, 0, kGroupNone, kAccessWrite, 0, 15, 0, "WRITE_PROG_LINES_QTY", "", "", "Command lines quantity for read/write program"},
    /*  71 */ {"WRITE_PROG_LINE_NUMBER", 6, 0xF100, 1, 16, 23, 0, kGroupNone, kAccessWrite, 0, 28912, 0, "WRITE_PROG_LINE_NUMBER", "", "", "Command line number for read/write program"},
    /*  72 */ {"START_PACKET_RW_PROG", 5, 0xF007, 1, 1, 23, 0, kGroupNone, kAccessWrite, 0, 1, 1, "START_PACKET_RW_PROG", "", "", "Start packet read/write program operation"},
    /*  73 */ {"START_DEBUG", 5, 0x6100, 1, 1, 23, 0, kGroupNone, kAccessCommand, 0, 1, 1, "START_DEBUG", "", "", "Start/stop debugging"},
    /*  74 */ {"DEBUG_SUSPEND_PROG", 5, 0x6101, 1, 1, 23, 0, kGroupNone, kAccessCommand, 0, 1, 1, "DEBUG_SUSPEND_PROG", "", "", "Suspend program executing at the current index"},
    /*  75 */ {"DEBUG_SINGLE_STEP_PROG", 5, 0x6102, 1, 1, 23, 0, kGroupNone, kAccessCommand, 0, 1, 1, "DEBUG_SINGLE_STEP_PROG", "", "", "Turn on single-step debugging mode"},
    /*  76 */ {"READ_DEBUG_CURRENT_INDEX", 4, 0x6100, 1, 1, 23, 0, kGroupNone, kAccessRead, 0, 1, 1, "READ_DEBUG_CURRENT_INDEX", "", "", "User program current index"},
    /*  77 */ {"READ_DEBUG_STATE", 2, 0x6100, 1, 1, 23, 0, kGroupNone, kAccessRead, 0, 1, 1, "READ_DEBUG_STATE", "", "", "Debug mode display"},
    /*  78 */ {"READ_DEBUG_SUSPENDED", 2, 0x6101, 1, 1, 23, 0, kGroupNone, kAccessRead, 0, 1, 1, "READ_DEBUG_SUSPENDED", "", "", "Display run state - Run/Suspended"},
    /*  79 */ {"READ_DEBUG_OPERAND_RW_ERROR", 2, 0x6000, 1, 1, 23, 0, kGroupNone, kAccessRead, 0, 1, 1, "READ_DEBUG_OPERAND_RW_ERROR", "", "", "Operand read/write error during debugging"},
    /*  80 */ {"READ_DEBUG_OPERAND_VALUE", 4, 0x6002, 2, 32, 23, 0, kGroupNone, kAccessRead, 0, 2147483647, 1, "READ_DEBUG_OPERAND_VALUE", "", "", "Operand value - read during debugging"},
    /*  81 */ {"READ_DEBUG_OPERAND_SIGNAL", 4, 0x6004, 1, 16, 23, 0, kGroupNone, kAccessRead, 0, 4, 1, "READ_DEBUG_OPERAND_SIGNAL", "", "", "Operand value - read during debugging"},
    /*  82 */ {"READ_DEBUG_OPERAND_SIZE", 5, 0x6002, 1, 1, 23, 0, kGroupNone, kAccessWrite, 0, 1, 0, "READ_DEBUG_OPERAND_SIZE", "", "", "Size of the operand during debugging"},
    /*  83 */ {"READ_DEBUG_OPERAND_TYPE", 6, 0x6000, 1, 16, 23, 0, kGroupNone, kAccessWrite, 0, 255, 88, "READ_DEBUG_OPERAND_TYPE", "", "", "Type of the operand during debugging"},
    /*  84 */ {"READ_DEBUG_OPERAND_INDEX", 6, 0x6001, 1, 16, 23, 0, kGroupNone, kAccessWrite, 0, 65535, 0, "READ_DEBUG_OPERAND_INDEX", "", "", "Index of the operand during debugging"},
    /*  85 */ {"READ_DEBUG_OPERAND_REQUEST", 5, 0x6000, 1, 1, 23, 0, kGroupNone, kAccessCommand, 1, 1, 1, "READ_DEBUG_OPERAND_REQUEST", "", "", "Request to read the operand during debugging"},
    /*  86 */ {"EDIT_DEBUG_OPERAND_REQUEST", 5, 0x6001, 1, 1, 23, 0, kGroupNone, kAccessWrite, 1, 1, 1, "EDIT_DEBUG_OPERAND_REQUEST", "", "", "Request to change the operand during debugging"},
    /*  87 */ {"CANCEL_DEBUG_OPERAND_VALUE", 5, 0x6003, 1, 1, 23, 0, kGroupNone, kAccessWrite, 1, 1, 1, "CANCEL_DEBUG_OPERAND_VALUE", "", "", "Request to cancel changing the operand value during debugging"},
    /*  88 */ {"CANCEL_DEBUG_OPERAND_SIGNAL", 5, 0x6004, 1, 1, 23, 0, kGroupNone, kAccessWrite, 1, 1, 1, "CANCEL_DEBUG_OPERAND_SIGNAL", "", "", "Request to cancel changing the operand signal during debugging"},
    /*  89 */ {"SET_DEBUG_OPERAND_VALUE", 16, 0x6002, 2, 32, 23, 0, kGroupNone, kAccessWrite, 0, 2147483647, 0, "SET_DEBUG_OPERAND_VALUE", "", "", "Operand value - set during debugging"},
    /*  90 */ {"SET_DEBUG_OPERAND_SIGNAL", 6, 0x6004, 1, 16, 23, 0, kGroupNone, kAccessWrite, 0, 6, 0, "SET_DEBUG_OPERAND_SIGNAL", "", "", "Operand signal - set during debugging"},
    /*  91 */ {"SET_BREAKPOINT_LINE", 6, 0x6200, 1, 16, 23, 0, kGroupNone, kAccessWrite, 0, 65536, 0, "SET_BREAKPOINT_LINE", "", "", "Set breakpoint line number"},
    /*  92 */ {"GET_BREAKPOINT_LINE", 3, 0x6200, 1, 16, 23, 0, kGroupNone, kAccessWrite, 0, 65536, 0, "GET_BREAKPOINT_LINE", "", "", "Get breakpoint line number"},
    /*  93 */ {"SET_BREAKPOINT_ACTIVE", 5, 0x6200, 1, 1, 23, 0, kGroupNone, kAccessWrite, 0, 65536, 1, "SET_BREAKPOINT_ACTIVE", "", "", "Set breakpoint activity"},
    /*  94 */ {"GET_BREAKPOINT_ACTIVE", 1, 0x6200, 1, 1, 23, 0, kGroupNone, kAccessWrite, 0, 1, 1, "GET_BREAKPOINT_ACTIVE", "", "", "Get breakpoint activity"},
    /*  95 */ {"SET_ASCII", 5, 0x8100, 1, 1, 23, 0, kGroupNone, kAccessWrite, 0, 1, 0, "", "", "", ""},
    /*  96 */ {"SET_RTU", 5, 0x8100, 1, 1, 23, 0, kGroupNone, kAccessWrite, 0, 1, 1, "", "", "", ""},
    /*  97 */ {"GET_ASCII_RTU", 1, 0x8100, 1, 1, 23, 0, kGroupNone, kAccessRead, 0, 1, 0, "", "", "", ""},
    /*  98 */ {"GET_BAUDRATE", 3, 0x8100, 2, 32, 23, 0, kGroupNone, kAccessRead, 0, 1, 0, "", "", "", ""},
    /*  99 */ {"SET_BAUDRATE", 16, 0x8100, 2, 32, 23, 0, kGroupNone, kAccessWrite, 110, 256000, 115200, "", "", "", ""},
    /* 100 */ {"GET_PARITY", 3, 0x8102, 1, 16, 23, 0, kGroupNone, kAccessRead, 0, 2, 0, "", "", "", ""},
    /* 101 */ {"SET_PARITY", 16, 0x8102, 1, 16, 23, 0, kGroupNone, kAccessWrite, 0, 2, 2, "", "", "", ""},
    /* 102 */ {"GET_ID", 3, 0x8103, 1, 16, 23, 0, kGroupNone, kAccessRead, 1, 247, 1, "", "", "", ""},
    /* 103 */ {"SET_ID", 16, 0x8103, 1, 16, 23, 0, kGroupNone, kAccessWrite, 1, 247, 1, "", "", "", ""},
    /* 104 */ {"SET_HARD_STOP", 5, 0x5102, 1, 1, 23, 0, kGroupNone, kAccessCommand, 1, 1, 1, "", "", "", ""},
    /* 105 */ {"SET_HARD_HIZ", 5, 0x5103, 1, 1, 23, 0, kGroupNone, kAccessCommand, 1, 1, 1, "", "", "", ""},
    /* 106 */ {"SET_SLOW_STOP", 5, 0x5104, 1, 1, 23, 0, kGroupNone, kAccessCommand, 1, 1, 1, "", "", "", ""},
    /* 107 */ {"SET_SLOW_HIZ", 5, 0x5105, 1, 1, 23, 0, kGroupNone, kAccessCommand, 1, 1, 1, "", "", "", ""},
    /* 108 */ {"APPLY_CMD", 5, 0x5100, 1, 1, 23, 0, kGroupNone, kAccessCommand, 1, 1, 1, "", "", "", ""},
    /* 109 */ {"TORQUE", 5, 0x5101, 1, 1, 23, 0, kGroupNone, kAccessCommand, 1, 1, 1, "TORQUE", "", "", "Apply currents"},
    /* 110 */ {"GET_HW", 4, 0x8001, 2, 32, 23, 0, kGroupNone, kAccessRead, 0, 65535, 0, "", "", "", ""},
    /* 111 */ {"GET_FW", 4, 0x8003, 2, 32, 23, 0, kGroupNone, kAccessRead, 0, 65535, 0, "", "", "", ""},
    /* 112 */ {"GET_BOOTLOADER", 4, 0x8005, 2, 32, 23, 0, kGroupNone, kAccessRead, 0, 65535, 0, "", "", "", ""},
    /* 113 */ {"CLR_ERRORS", 5, 0xE000, 1, 1, 23, 0, kGroupNone, kAccessRead, 0, 1, 1, "", "", "", ""},
};

constexpr FieldRow kAppendedRows[] = {
    /* 114 */ {"SET_EMERGENCY_DECEL", 16, 0x5048, 2, 32, 4, 385, kGroupSpeed, kAccessWrite, 0, 2147483647, 100, "EMERGENCY_DECEL", "", "", "Emergency Deceleration"},
    /* 115 */ {"GET_SUPPLY_VOLTAGE_STATE", 1, 0x5030, 1, 1, 23, 0, kGroupNone, kAccessRead, 0, 1, 0, "GET_SUPPLY_VOLTAGE_STATE", "", "", "Get power supply voltage state"},
    /* 116 */ {"GET_INTERNAL_VOLTAGE_STATE", 1, 0x502F, 1, 1, 23, 0, kGroupNone, kAccessRead, 0, 1, 0, "GET_INTERNAL_VOLTAGE_STATE", "", "", "Get internal voltage state"},
};
// clang-format on

constexpr std::string_view kParameterReadNames[] = {
    "GET_MAX_SPEED", "GET_MIN_SPEED", "GET_FS_SPEED", "GET_ACCEL",         "GET_DECEL",
    "GET_ACC_CUR",   "GET_DEC_CUR",   "GET_RUN_CUR",  "GET_HOLD_CUR",      "GET_MICRO",
    "GET_FS_SW_EN",  "GET_CMINSPEED", "GET_SW_INPUT", "GET_ERROR_SET_HIZ", "GET_CMD_RUN",
};

constexpr std::string_view kPollRegisterNames[] = {
    "GET_OUTPUTS_Y0_Y7",
    "GET_INPUTS_X0_X7",
    "GET_RUN_STOP",
    "GET_USER_PROG_ERROR_LINE",
    "GET_ERROR_CODES",
    "GET_ERRORS",
    "GET_DIR",
    "GET_ABS_POS",
    "GET_MOTOR_STATUS",
    "GET_CURRENT_SPD",
    "READ_DEBUG_STATE",
    "GET_SUPPLY_VOLTAGE_STATE",
    "GET_INTERNAL_VOLTAGE_STATE",
};

constexpr std::string_view kCurrentRowNames[] = {
    "SET_RUN_CUR", "GET_RUN_CUR", "SET_HOLD_CUR", "GET_HOLD_CUR",
    "SET_ACC_CUR", "GET_ACC_CUR", "SET_DEC_CUR",  "GET_DEC_CUR",
};

}  // namespace

std::span<const FieldRow> SharedFieldRows() { return kSharedRows; }
std::span<const FieldRow> AppendedFieldRows() { return kAppendedRows; }
std::span<const std::string_view> ParameterReadNames() { return kParameterReadNames; }
std::span<const std::string_view> PollRegisterNames() { return kPollRegisterNames; }
std::span<const std::string_view> CurrentRowNames() { return kCurrentRowNames; }

}  // namespace quarn::link
