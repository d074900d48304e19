// Captions of the workbench window that are the window's own; texts that belong to a module's
// rules (the editor's questions, the log lines, the settings dialog) live with that module.
#pragma once

namespace quarn::ui::texts {

// Left panel.
inline constexpr char kComPort[] = "COM port: ";
inline constexpr char kId[] = "ID:";
inline constexpr char kCommParameters[] = "Comm. parameters";
inline constexpr char kSelectModel[] = "Select model";
inline constexpr char kRunStop[] = "Run/Stop";
inline constexpr char kErrors[] = "Errors";
inline constexpr char kClearErrors[] = "Clear errors";
inline constexpr char kRom[] = "ROM";
inline constexpr char kModbus[] = "Modbus";
inline constexpr char kBattery[] = "CR2032";
inline constexpr char kReplaceBattery[] = "Replace the  battery";
inline constexpr char kUserProgram[] = "User program";
inline constexpr char kLine[] = "line:";
inline constexpr char kCode[] = "code:";
inline constexpr char kProgramSettingsHint[] = "Program Settings";
// The hidden language selector: caption and language code.
struct LanguageItem {
  const char* caption;
  const char* code;
};
inline constexpr LanguageItem kLanguages[] = {
    {"English", "EN"}, {"Russian", "RU"}, {"Spanish", "ES"}};

// Pages.
inline constexpr char kLadderPage[] = "Ladder Diagram Mode";
inline constexpr char kIlPage[] = "Instructions List Mode";

// Status panel.
inline constexpr char kCommunication[] = "Communication:";
inline constexpr char kReading[] = "Reading: ";
inline constexpr char kSupplyVoltage[] = "Supply Voltage";
inline constexpr char kInternalVoltage[] = "Internal Voltage";
inline constexpr char kDebuggingMode[] = "Controller is in the debugging mode";

// The in-process simulator as a port.
inline constexpr char kSimulatorFailed[] = "The controller simulator could not start: ";

// Menus.
inline constexpr char kMenuFile[] = "&File";
inline constexpr char kMenuOpen[] = "&Open...";
inline constexpr char kMenuSave[] = "&Save...";
inline constexpr char kMenuPrint[] = "&Print...";
inline constexpr char kMenuPrintPdf[] = "Print to P&DF...";
inline constexpr char kMenuQuit[] = "&Quit";
inline constexpr char kMenuView[] = "&View";
inline constexpr char kMenuShowLogList[] = "Show &Log List";
inline constexpr char kMenuTools[] = "&Tools";
inline constexpr char kMenuProgramSettings[] = "Program &Settings...";
inline constexpr char kMenuCommParameters[] = "&Comm. parameters...";
inline constexpr char kMenuHelp[] = "&Help";
inline constexpr char kMenuAbout[] = "&About";
inline constexpr char kAboutTitle[] = "About";
inline constexpr char kAboutText[] =
    "Workbench for the programmable stepper-motor controllers of the KLEM line: instruction "
    "list and ladder diagram programming, upload and download over Modbus ASCII, monitoring, "
    "debugging and direct motor control.";

}  // namespace quarn::ui::texts
