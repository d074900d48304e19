#include "simulator/fd_stream.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

namespace quarn::simulator {

bool TFdStream::Open(int /*wakeFd*/, std::string& error) {
  const int flags = ::fcntl(fd_, F_GETFL);
  if (flags < 0 || ::fcntl(fd_, F_SETFL, flags | O_NONBLOCK) != 0) {
    error = std::strerror(errno);
    return false;
  }
  return true;
}

bool TFdStream::ReadAvailable(link::TBytesArray& bytes, std::size_t max) {
  std::array<std::uint8_t, 4096> chunk{};
  for (std::size_t taken = 0; taken < max;) {
    const ssize_t count = ::read(fd_, chunk.data(), std::min(chunk.size(), max - taken));
    if (count > 0) {
      bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + count);
      taken += static_cast<std::size_t>(count);
      continue;
    }
    if (count < 0 && errno == EINTR) continue;
    return count < 0 && errno == EAGAIN;
  }
  return true;
}

ssize_t TFdStream::WriteSome(std::span<const std::uint8_t> bytes) {
  for (;;) {
    const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
    if (written >= 0) return written;
    if (errno == EINTR) continue;
    return errno == EAGAIN ? 0 : -1;
  }
}

}  // namespace quarn::simulator
