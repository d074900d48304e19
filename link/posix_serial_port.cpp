#include "link/posix_serial_port.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

namespace quarn::link {
namespace {

// Speeds by BaudIndex; 14400 and 56000 have no termios constant (B0 marks them).
constexpr speed_t kSpeeds[] = {B110, B300,   B600,   B1200, B2400,  B4800,  B9600,
                               B0,   B19200, B38400, B0,    B57600, B115200};
constexpr tcflag_t kDataBits[] = {CS5, CS6, CS7, CS8};

// Raw mode: no echo, no line editing, no character translation, no software flow control.
void MakeRaw(termios& tio) {
  ::cfmakeraw(&tio);
  tio.c_cflag |= CLOCAL | CREAD;
  tio.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
  tio.c_cc[VMIN] = 1;
  tio.c_cc[VTIME] = 0;
}

tcflag_t ParityFlags(std::uint8_t parity) {
  switch (parity) {
    case 1:
      return PARENB | PARODD;
    case 2:
      return PARENB;
    case 3:
      return PARENB | PARODD | CMSPAR;
    case 4:
      return PARENB | CMSPAR;
    default:
      return 0;
  }
}

bool IsRawAsRequested(const termios& got, const termios& wanted) {
  constexpr tcflag_t kCflagMask = CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS;
  constexpr tcflag_t kLflagMask = ICANON | ECHO | ISIG | IEXTEN;
  constexpr tcflag_t kIflagMask = ICRNL | INLCR | IGNCR | ISTRIP | IXON | IXOFF;
  return (got.c_cflag & kCflagMask) == (wanted.c_cflag & kCflagMask) &&
         (got.c_lflag & kLflagMask) == 0 && (got.c_iflag & kIflagMask) == 0 &&
         (got.c_oflag & OPOST) == 0 && ::cfgetospeed(&got) == ::cfgetospeed(&wanted);
}

// Raw 8-bit mode, used when the device refuses the requested framing.
void ApplyPlainRaw(int fd, speed_t speed) {
  termios tio{};
  if (::tcgetattr(fd, &tio) != 0) return;
  MakeRaw(tio);
  if (speed != B0) {
    ::cfsetispeed(&tio, speed);
    ::cfsetospeed(&tio, speed);
  }
  ::tcsetattr(fd, TCSANOW, &tio);
}

}  // namespace

TPosixSerialPort::~TPosixSerialPort() { Close(); }

TFdPort::TDeviceOpen TPosixSerialPort::OpenDevice(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return {-1, errno};
  if (::isatty(fd) == 0) {
    ::close(fd);
    return {-1, ENOTTY};
  }
  ::ioctl(fd, TIOCEXCL);  // not shared: a second opener gets EBUSY
  ::tcflush(fd, TCIOFLUSH);
  {
    std::lock_guard lock(counts_mutex_);
    last_counts_ = {};
  }
  ReadLineStatus(fd);  // start the error counts from now
  return {fd, 0};
}

bool TPosixSerialPort::ApplyLineSettings(int fd, const TLineSettings& settings) {
  const speed_t speed = settings.BaudIndex < std::size(kSpeeds) ? kSpeeds[settings.BaudIndex] : B0;
  termios wanted{};
  if (::tcgetattr(fd, &wanted) != 0) return false;
  MakeRaw(wanted);
  wanted.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB);
  wanted.c_cflag |= kDataBits[settings.DataBitsIndex & 3U] | ParityFlags(settings.Parity);
  if (settings.StopBits != 0) wanted.c_cflag |= CSTOPB;  // one and a half has no termios form
  if (speed != B0) {
    ::cfsetispeed(&wanted, speed);
    ::cfsetospeed(&wanted, speed);
  }
  // tcsetattr succeeds when any part of the change was taken, so read back what the device did.
  termios got{};
  const bool applied = speed != B0 && ::tcsetattr(fd, TCSANOW, &wanted) == 0 &&
                       ::tcgetattr(fd, &got) == 0 && IsRawAsRequested(got, wanted);
  if (!applied) ApplyPlainRaw(fd, speed);
  return applied;
}

std::uint32_t TPosixSerialPort::ReadModemStatus(int fd) {
  int lines = 0;
  // A pseudo-terminal has no modem lines: no line is active.
  if (::ioctl(fd, TIOCMGET, &lines) != 0) return 0;
  std::uint32_t status = 0;
  if ((lines & TIOCM_CTS) != 0) status |= kModemCts;
  if ((lines & TIOCM_DSR) != 0) status |= kModemDsr;
  if ((lines & TIOCM_RNG) != 0) status |= kModemRing;
  if ((lines & TIOCM_CAR) != 0) status |= kModemRlsd;
  return status;
}

TLineStatus TPosixSerialPort::ReadLineStatus(int fd) {
  TLineStatus status;
  int queued = 0;
  if (::ioctl(fd, TIOCINQ, &queued) == 0 && queued > 0) {
    status.QueuedBytes = static_cast<std::size_t>(queued);
  }
  serial_icounter_struct counts{};
  if (::ioctl(fd, TIOCGICOUNT, &counts) != 0) return status;  // not a UART: no error counts
  std::lock_guard lock(counts_mutex_);
  const auto flag = [&status](int now, int& before, std::uint32_t bit) {
    if (now != before) status.Errors |= bit;
    before = now;
  };
  flag(counts.buf_overrun, last_counts_.BufferOverrun, kLineRxOver);
  flag(counts.overrun, last_counts_.Overrun, kLineOverrun);
  flag(counts.parity, last_counts_.Parity, kLineParity);
  flag(counts.frame, last_counts_.Frame, kLineFrame);
  flag(counts.brk, last_counts_.Break, kLineBreak);
  return status;
}

ssize_t TPosixSerialPort::WriteSome(int fd, std::span<const std::uint8_t> bytes) {
  return ::write(fd, bytes.data(), bytes.size());
}

}  // namespace quarn::link
