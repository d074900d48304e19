// Texts of the application shell shown to the user, kept in one place so tests can name them.
#pragma once

#include <string_view>

namespace quarn::shell::texts {

// Main window.
inline constexpr std::string_view kTitlePrefix = "Quarn-Program-Modbus, ver.";
inline constexpr std::string_view kTitleSeparator = "  -  ";
inline constexpr std::string_view kShowLogList = "Show Log List";

// Settings file. The original tool read it silently; a caller that wants to tell the user why
// the defaults are in use shows these.
inline constexpr std::string_view kSettingsFileName = "quarn-program-modbus.txt";
inline constexpr std::string_view kSettingsMissing = "Settings file not found: ";
inline constexpr std::string_view kSettingsUnreadable = "Can not read settings file ";
inline constexpr std::string_view kSettingsNotAFile = "Settings file is not a regular file: ";
inline constexpr std::string_view kSettingsTooLarge = "Settings file is too large: ";
inline constexpr std::string_view kSettingsDefaultsUsed = ". Default settings are used.";

// Transfer-log window.
inline constexpr std::string_view kLogCaption = "Data transition logs";
inline constexpr std::string_view kLogClear = "Clear";
inline constexpr std::string_view kLogSaveToFile = "Save to file";
inline constexpr std::string_view kLogSend = " Send: ";
inline constexpr std::string_view kLogRecv = " Recv: ";
inline constexpr std::string_view kLogError = "Error: ";
inline constexpr std::string_view kLogStr = "Str: ";
inline constexpr std::string_view kLogFolderError = "Can not create folder \"logs\": ";
inline constexpr std::string_view kLogSaveError = "Error saving log to file: ";
inline constexpr std::string_view kLogSaved = "Transferring log is saved to file: ";

// "Program Settings" dialog.
inline constexpr std::string_view kSettingsCaption = "Program Settings";
inline constexpr std::string_view kLdCompilation = "Ladder Diagram compilation:";
inline constexpr std::string_view kAddCompilationInfo = "Add compilation information to log file";
inline constexpr std::string_view kMaxBlocks = "Maximum blocks in a fragment";
inline constexpr std::string_view kStatusTimer = "Get status timer:";
inline constexpr std::string_view kStatusTimer200ms = "200 ms";
inline constexpr std::string_view kStatusTimer10sec = "10 sec";
inline constexpr std::string_view kTimeouts = "Timeouts:";
inline constexpr std::string_view kTimeoutLabel = "TIMEOUT = ";
inline constexpr std::string_view kTimeout2Label = "TIMEOUT2 = ";
inline constexpr std::string_view kTimeoutsNote1 = "Timeouts can be changed";
inline constexpr std::string_view kTimeoutsNote2 = "via setting file ";
inline constexpr std::string_view kTimeoutsNote3 = "\"quarn-program-modbus.txt\"";
inline constexpr std::string_view kApply = "Apply";

}  // namespace quarn::shell::texts
