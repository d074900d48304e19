#include "link/memory_port.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>

namespace quarn::link {

std::pair<std::unique_ptr<TMemoryPort>, std::unique_ptr<TMemoryPort>> TMemoryPort::CreatePair() {
  std::array<int, 2> sockets{};
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, sockets.data()) != 0) {
    return {};
  }
  return {std::unique_ptr<TMemoryPort>(new TMemoryPort(sockets[0])),
          std::unique_ptr<TMemoryPort>(new TMemoryPort(sockets[1]))};
}

TMemoryPort::~TMemoryPort() {
  Close();
  ::close(socket_);
}

// Each opening gets its own descriptor of the same socket, so closing the port never closes
// the connection to the other end.
TFdPort::TDeviceOpen TMemoryPort::OpenDevice(const std::string&) {
  std::array<std::uint8_t, 4096> stale{};
  while (::recv(socket_, stale.data(), stale.size(), MSG_DONTWAIT) > 0) {
  }
  const int fd = ::fcntl(socket_, F_DUPFD_CLOEXEC, 0);
  if (fd < 0) return {-1, errno};
  return {fd, 0};
}

bool TMemoryPort::ApplyLineSettings(int, const TLineSettings&) { return true; }

std::uint32_t TMemoryPort::ReadModemStatus(int) { return 0; }

TLineStatus TMemoryPort::ReadLineStatus(int fd) {
  TLineStatus status;
  int queued = 0;
  if (::ioctl(fd, FIONREAD, &queued) == 0 && queued > 0) {
    status.QueuedBytes = static_cast<std::size_t>(queued);
  }
  return status;
}

// MSG_NOSIGNAL: a vanished other end fails the write instead of raising SIGPIPE.
ssize_t TMemoryPort::WriteSome(int fd, std::span<const std::uint8_t> bytes) {
  return ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
}

}  // namespace quarn::link
