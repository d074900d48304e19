// The serial port on a POSIX terminal device (termios): /dev/ttyUSB0, /dev/ttyS0, a
// pseudo-terminal's slave, ...
//
// The device is opened non-blocking and exclusive (TIOCEXCL), its pending input and output are
// flushed, and it is put in raw mode with the line settings and no flow control. A device that
// refuses the settings (a pseudo-terminal refuses 7 data bits with parity, on some kernels only
// on the second open) is still put in raw 8-bit mode and works; LineSettingsApplied tells.
#pragma once

#include <mutex>

#include "link/fd_port.h"

namespace quarn::link {

class TPosixSerialPort final : public TFdPort {
 public:
  TPosixSerialPort() = default;
  ~TPosixSerialPort() override;

 protected:
  TDeviceOpen OpenDevice(const std::string& path) override;
  bool ApplyLineSettings(int fd, const TLineSettings& settings) override;
  std::uint32_t ReadModemStatus(int fd) override;
  TLineStatus ReadLineStatus(int fd) override;
  ssize_t WriteSome(int fd, std::span<const std::uint8_t> bytes) override;

 private:
  struct TErrorCounts {
    int Frame = 0, Overrun = 0, Parity = 0, Break = 0, BufferOverrun = 0;
  };
  std::mutex counts_mutex_;  // the receive thread and LineErrors both take a report
  TErrorCounts last_counts_;
};

}  // namespace quarn::link
