#include "link/port_texts.h"

#include <cerrno>
#include <system_error>

namespace quarn::link {

std::string PortOpenFailureText(std::string_view path, int error) {
  std::string text(texts::kCannotOpenPort);
  text += path;
  text += ": ";
  if (error == ENOTTY) {
    text += texts::kNotASerialPort;
    return text;
  }
  text += std::error_code(error, std::generic_category()).message();
  if (error == EACCES || error == EPERM) text += texts::kDialoutHint;
  if (error == EBUSY) text += texts::kPortBusy;
  return text;
}

}  // namespace quarn::link
