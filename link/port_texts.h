// Texts of the serial port and the port list, in one place.
#pragma once

#include <string>
#include <string_view>

namespace quarn::link::texts {

inline constexpr std::string_view kNoPortCaption = "COM port...";
inline constexpr std::string_view kConnectCaption = "Connect";
inline constexpr std::string_view kCannotOpenPort = "Cannot open port ";
inline constexpr std::string_view kNotASerialPort = "it is not a serial port";
inline constexpr std::string_view kPortBusy = " (is another program using it?)";
inline constexpr std::string_view kDialoutHint =
    ". Your user must be in the dialout group: run \"sudo usermod -aG dialout $USER\", then log "
    "out and in again.";

}  // namespace quarn::link::texts

namespace quarn::link {

// "Cannot open port <path>: <reason>", with the dialout advice when permission was denied.
std::string PortOpenFailureText(std::string_view path, int error);

}  // namespace quarn::link
