#include "link/pseudo_terminal.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>

namespace quarn::link {
namespace {

using Clock = std::chrono::steady_clock;

int MillisecondsLeft(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

// Waits for `events` on `fd` until the deadline; false when the time is up or on error.
bool WaitFor(int fd, short events, Clock::time_point deadline) {
  pollfd entry{fd, events, 0};
  for (;;) {
    const int ready = ::poll(&entry, 1, MillisecondsLeft(deadline));
    if (ready > 0) return (entry.revents & events) != 0;
    if (ready == 0 || errno != EINTR) return false;
  }
}

}  // namespace

TPseudoTerminal::~TPseudoTerminal() { Close(); }

bool TPseudoTerminal::Open() {
  Close();
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  std::array<char, 128> name{};
  termios tio{};
  const bool ready = master_ >= 0 && ::grantpt(master_) == 0 && ::unlockpt(master_) == 0 &&
                     ::ptsname_r(master_, name.data(), name.size()) == 0 &&
                     ::fcntl(master_, F_SETFL, O_NONBLOCK) == 0 && ::tcgetattr(master_, &tio) == 0;
  if (ready) {
    // Settings made on the master apply to the slave.
    ::cfmakeraw(&tio);
    ::tcsetattr(master_, TCSANOW, &tio);
    slave_path_ = name.data();
    slave_ = ::open(name.data(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  }
  if (!ready || slave_ < 0) {
    last_error_ = errno;
    Close();
    return false;
  }
  last_error_ = 0;
  return true;
}

void TPseudoTerminal::Close() {
  if (slave_ >= 0) ::close(slave_);
  if (master_ >= 0) ::close(master_);
  slave_ = -1;
  master_ = -1;
  slave_path_.clear();
}

bool TPseudoTerminal::Write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds limit) {
  const auto deadline = Clock::now() + limit;
  while (!bytes.empty()) {
    if (master_ < 0) return false;
    const ssize_t written = ::write(master_, bytes.data(), bytes.size());
    if (written > 0) {
      bytes = bytes.subspan(static_cast<std::size_t>(written));
      continue;
    }
    if (written < 0 && errno == EINTR) continue;
    if (written < 0 && errno != EAGAIN) return false;
    if (!WaitFor(master_, POLLOUT, deadline)) return false;
  }
  return true;
}

TBytesArray TPseudoTerminal::Read(std::size_t max, std::chrono::milliseconds limit) {
  const auto deadline = Clock::now() + limit;
  TBytesArray received;
  while (master_ >= 0 && received.size() < max && WaitFor(master_, POLLIN, deadline)) {
    std::array<std::uint8_t, 4096> chunk{};
    const ssize_t count =
        ::read(master_, chunk.data(), std::min(chunk.size(), max - received.size()));
    if (count > 0) {
      received.insert(received.end(), chunk.begin(), chunk.begin() + count);
    } else if (count == 0 || (errno != EAGAIN && errno != EINTR)) {
      break;
    }
  }
  return received;
}

}  // namespace quarn::link
