// Captions of the "Communication parameters" dialog, in one place.
#pragma once

#include <string_view>

namespace quarn::link::texts {

inline constexpr std::string_view kCommCaption = "Communication parameters";
inline constexpr std::string_view kCommHeading = "RS-485 Communication parameters:";
inline constexpr std::string_view kCommAscii = "ASCII";
inline constexpr std::string_view kCommRtu = "RTU";
inline constexpr std::string_view kCommParityGroup = "Parity / Stop bits";
// Items of the parity group in TCommParity order.
inline constexpr std::string_view kCommParityItems[] = {"EVEN  / 1 STOP", "ODD / 1 STOP",
                                                        "NONE / 2 STOP"};
inline constexpr std::string_view kCommBaudRate = "Baud rate:";
inline constexpr std::string_view kCommId = "ID:";
inline constexpr std::string_view kCommReadSettings = "Read Settings";
inline constexpr std::string_view kCommApplySettings = "Apply Settings";

}  // namespace quarn::link::texts
