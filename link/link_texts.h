// Every text the request workers, the connection and the program transfer show or log, in one
// place so that the window, the command line and the tests name the same strings.
#pragma once

#include <string_view>

#include "program_model/il_editor_texts.h"

namespace quarn::link::texts {

// Request lists: refusals (transfer log, error lines).
inline constexpr std::string_view kCommandNotSent =
    "Command was not sent. The read/write thread is not ready.";
inline constexpr std::string_view kCannotReadStatus =
    "Can not read status. The read/write thread is not ready.";

// Worker errors, each followed by the index of the request in its list.
inline constexpr std::string_view kErrorSendingSequence = "Error sending commands sequence, line: ";
inline constexpr std::string_view kNoResponse1 = "No response to command sequence 1, line: ";
inline constexpr std::string_view kNoResponse2 = "No response to command sequence 2, line: ";
inline constexpr std::string_view kNoResponse3 = "No response to command sequence 3, line: ";
inline constexpr std::string_view kModbusResponseError = "Modbus received responce error, line: ";
inline constexpr std::string_view kTransferNotFinished = "Data transfer not finished, line: ";

// Sender status texts.
inline constexpr std::string_view kWrongDataForTransfer = "Wrong data for transfer";
inline constexpr std::string_view kSending = "...";
inline constexpr std::string_view kAttempt = "Attempt ";
inline constexpr std::string_view kAttemptTail = "=> ";
inline constexpr std::string_view kNoAnswer = "No answer!";  // also a log error line
inline constexpr std::string_view kNoAnswerToCommand = "No answer to command";
inline constexpr std::string_view kErrorSendingCommand = "Error sending command";
inline constexpr std::string_view kCommunicationFailed = "Communication failed. Port disconnected";
// Shown in a message box, followed by the sender status.
inline constexpr std::string_view kWrongConnection = "Wrong connection or data transfer error: ";
inline constexpr std::string_view kNoConnection = "No connection";

// Progress and result.
// The IL editor shows the same line under its program.
inline constexpr std::string_view kCommandsTransferred =
    program_model::il_texts::kCommandsTransferred;
inline constexpr std::string_view kDataTransferring = "Data transferring";
inline constexpr std::string_view kProgressDots = "........";
inline constexpr std::string_view kResultFailed = "Data transfer result: failed ";
inline constexpr std::string_view kResultSuccessful = "Data transfer result:  successful";
inline constexpr std::string_view kComPortReady = "Com port ready";
inline constexpr std::string_view kWorkerNotConnected = "Not Connected";

// List labels.
inline constexpr std::string_view kLabelGetVersionInfo = "GetVersionInfo";
inline constexpr std::string_view kLabelGetMapsInfo = "GetMapsInfo";
inline constexpr std::string_view kLabelGetInitialInformation = "GetInitialInformation";
inline constexpr std::string_view kLabelSendReadCommand = "SendReadCommand";
inline constexpr std::string_view kLabelDirectCommand1 = "SendDirectCommand - 1";
inline constexpr std::string_view kLabelDirectCommand2 = "SendDirectCommand - 2";
inline constexpr std::string_view kLabelDirectCommand3 = "SendDirectCommand - 3";
inline constexpr std::string_view kLabelStatePoll = "TimerGetStateTimer + tag=";
inline constexpr std::string_view kLabelUpload = "btnSendToControllerILClick";
inline constexpr std::string_view kLabelReadPart1 = "FastReadProgFromController2 - part 1 ";
inline constexpr std::string_view kLabelReadPart2 = "FastReadProgFromController2 - part 2 ";

// Connection.
inline constexpr std::string_view kNotConnected = "Not connected";
inline constexpr std::string_view kConnectedSuffix = " connected";
inline constexpr std::string_view kConnectCaption = "Connect";
inline constexpr std::string_view kDisconnectCaption = "Disconnect";
inline constexpr std::string_view kOutdatedFirmware =
    "The controller has an outdated software version. Please update the firmware to the latest "
    "one. The firmware update can be done online using the utility \"KLEM updater\".";
inline constexpr std::string_view kUnknownDevice = "Unknown device. HW version ";
inline constexpr std::string_view kUnknownDeviceId = " . DEV_ID=";
inline constexpr std::string_view kUnknownDeviceHw = "; HW_VERSION=";

// Version label: "HW3.1  FW1.10   BL1.2".
inline constexpr std::string_view kVersionHw = "HW";
inline constexpr std::string_view kVersionFw = "  FW";
inline constexpr std::string_view kVersionBl = "   BL";

// State panel.
inline constexpr std::string_view kStopMode = "STOP mode";
inline constexpr std::string_view kRunMode = "RUN mode";
inline constexpr std::string_view kRunStopUnknown = "RUN/STOP";
inline constexpr std::string_view kDirectionCaption = "Direction: ";
inline constexpr std::string_view kDirectionForward = "Direction: forward";
inline constexpr std::string_view kDirectionBackward = "Direction: backward";
inline constexpr std::string_view kPosition = "Position: ";
inline constexpr std::string_view kSpeed = "Speed: ";
inline constexpr std::string_view kMaxSpeed = "MAX_SPEED = ";
inline constexpr std::string_view kMinSpeed = "MIN_SPEED = ";
inline constexpr std::string_view kAcceleration = "ACCELERATION = ";
inline constexpr std::string_view kDeceleration = "DECELERATION = ";
inline constexpr std::string_view kFullStepSpeed = "FULL_STEP_SPEED = ";
inline constexpr std::string_view kPulsesPerSecond = " pulses/sec";
inline constexpr std::string_view kPanelAcceleration = "Acceleration = ";
inline constexpr std::string_view kPanelDeceleration = "Deceleration = ";
inline constexpr std::string_view kMicrostepping = "Microstepping: ";
// Microstep texts by SET_MICRO value; empty where the value leaves the text as it is.
inline constexpr std::string_view kMicrostepModes[] = {"1/1",  "1/2", "1/4",   "1/8",  "1/16",
                                                       "1/32", "",    "1/128", "1/256"};
inline constexpr std::string_view kGoUntilInput = "Input number for GOUNTIL command: ";
inline constexpr std::string_view kWorkCurrentAll = "Work current = ACC/DEC current = ";
inline constexpr std::string_view kWorkCurrent = "Work current = ";
inline constexpr std::string_view kHoldingCurrent = "Holding current = ";

// Error groups by flag index: text without and with an error.
inline constexpr std::string_view kErrorGroupOk[] = {"No errors", "CR2032 - no error",
                                                     "ROM - no error", "Modbus - no error",
                                                     "User program - no error"};
inline constexpr std::string_view kErrorGroupFault[] = {
    "Error occurred", "CR2032 discharged", "ROM error", "Modbus error", "Error in user program"};
inline constexpr std::string_view kGroupErrorCode = "code: ";
inline constexpr std::string_view kErrorCodeHex = "code: 0x";
inline constexpr std::string_view kErrorLine = "line: ";
inline constexpr std::string_view kHighlightLine =
    "The program in the controller memory and the list may differ. Highlight command line ";
inline constexpr std::string_view kHighlightLineTail = " in the current list?";

// Upload.
inline constexpr std::string_view kWrongCommandInList = "There is a wrong command in the list: ";
inline constexpr std::string_view kWrongCommandLine = ". Line: ";
inline constexpr std::string_view kTooLongProgram = "Too long program";

// Download.
inline constexpr std::string_view kClearListQuestion = "The commands list is not empty. Clear it?";
inline constexpr std::string_view kListNotEmpty =
    "User program was not read. The commands list is not empty.";
inline constexpr std::string_view kReadingNotSupported =
    "User program reading is not supported for this version of the firmware ";
inline constexpr std::string_view kReadTimeout = "Program reading failed - timeout error";
inline constexpr std::string_view kReadInRun =
    "Reading impossible. Change the controller to STOP mode";
inline constexpr std::string_view kProtectionUnknown =
    "Unable to get protection status. Reading is impossible.";
inline constexpr std::string_view kProgramProtected =
    "Main program is protected or unable to read. Reading is impossible.";
inline constexpr std::string_view kReadTimeout2 = "Program reading failed - timeout error 2";
inline constexpr std::string_view kReadFailed = "Program reading failed";
inline constexpr std::string_view kReadNotConvertible =
    "Program reading failed - imposible to convert data to instructions";
inline constexpr std::string_view kReadNoEnd = "Program reading failed - no END instruction";
inline constexpr std::string_view kReadThreadError =
    "Program error. It is recommended to restart the software";

// Comment lines put into the IL list after a download.
inline constexpr std::string_view kResultNoEnd =
    "//Program reading error. There is not end of the user program.";
inline constexpr std::string_view kResultWrongCommand =
    "//Program reading error. There is a wrong or unknown command in the user program.";
inline constexpr std::string_view kResultProtected =
    "//Program reading error. The user program is protected against reading.";
inline constexpr std::string_view kResultFailedComment = "//Program reading error.";
inline constexpr std::string_view kUnableToRead =
    "Unable to read the program. Update settings in the application file "
    "\"quarn-program-modbus.txt\"";
inline constexpr std::string_view kNotReadCompletely = "The program was not read completely.";
inline constexpr std::string_view kTotally = "//Totally ";
inline constexpr std::string_view kCommandWas = " command was";
inline constexpr std::string_view kCommandsWere = " commands were";
inline constexpr std::string_view kReadFromController = " read from the controller";
inline constexpr std::string_view kSuccessfullyConverted = " successfully converted";
inline constexpr std::string_view kQuantitiesDiffer =
    "//Commands quantities are differ. The list above does not contain a complete instruction "
    "set.";
inline constexpr std::string_view kTryAgain =
    "//Try again. If the error repeats, it is recommended to change timeout settings and repeat "
    "reading.";
inline constexpr std::string_view kDebuggingImpossible = "//Debugging is impossible.";

// Captions of the motor status lamps, indexed by TMotorLamp (link/controller_state.h).
inline constexpr std::string_view kMotorLampCaptions[] = {
    "Energized", "Hold", "Accel", "Decel", "Const speed", "BUSY_MOVE", "BUSY_RUN"};

}  // namespace quarn::link::texts
