#include "link/fd_port.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>

#include "link/port_texts.h"

namespace quarn::link {
namespace {

int NewEventFd() { return ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK); }

void Signal(int fd) {
  const std::uint64_t one = 1;
  [[maybe_unused]] const ssize_t written = ::write(fd, &one, sizeof one);
}

void Drain(int fd) {
  std::uint64_t count = 0;
  [[maybe_unused]] const ssize_t read = ::read(fd, &count, sizeof count);
}

void CloseIfOpen(int fd) {
  if (fd >= 0) ::close(fd);
}

}  // namespace

TFdPort::TReceiveState::TReceiveState()
    : stop_fd(NewEventFd()),
      wake_fd(NewEventFd()),
      setup_error(stop_fd < 0 || wake_fd < 0 ? errno : 0) {}

TFdPort::TReceiveState::~TReceiveState() {
  CloseIfOpen(stop_fd);
  CloseIfOpen(wake_fd);
}

TFdPort::TFdPort() : receive_(std::make_shared<TReceiveState>()) {}

TFdPort::~TFdPort() {
  Close();
  if (reader_.joinable()) {
    // Destroyed from its own read callback: the receive thread ends on its own once the
    // callback returns, holding its share of the receive state.
    if (OnReaderThread()) {
      reader_.detach();
    } else {
      reader_.join();
    }
  }
}

TPortOpenResult TFdPort::Open(const std::string& path) {
  if (IsOpen()) {
    if (Path() == path) return {true, 0, {}};
    Close();
  }
  const int setup_error = receive_->setup_error;
  if (setup_error != 0) return {false, setup_error, PortOpenFailureText(path, setup_error)};
  if (!JoinFinishedReader()) return {false, EBUSY, PortOpenFailureText(path, EBUSY)};

  std::lock_guard io(io_mutex_);
  std::lock_guard state(state_mutex_);
  const TDeviceOpen device = OpenDevice(path);
  if (device.Fd < 0) return {false, device.Error, PortOpenFailureText(path, device.Error)};
  Drain(receive_->stop_fd);
  Drain(receive_->wake_fd);
  receive_->stopping = false;
  receive_->permission = true;  // the first chunk may be delivered at once
  receive_->hung_up = false;
  settings_applied_ = ApplyLineSettings(device.Fd, settings_);
  fd_ = device.Fd;
  path_ = path;
  reader_ = std::thread(&TFdPort::ReceiveLoop, this, receive_, device.Fd, on_read_);
  return {true, 0, {}};
}

// A receive thread that closed its own port from the read callback is still to be joined.
bool TFdPort::JoinFinishedReader() {
  if (!reader_.joinable()) return true;
  if (OnReaderThread()) return false;
  reader_.join();
  receive_->reader_id = std::thread::id{};
  return true;
}

void TFdPort::Close() {
  if (!IsOpen()) return;
  receive_->stopping = true;
  Signal(receive_->stop_fd);
  if (!OnReaderThread() && reader_.joinable()) {
    reader_.join();
    receive_->reader_id = std::thread::id{};
  }
  std::lock_guard io(io_mutex_);
  std::lock_guard state(state_mutex_);
  CloseIfOpen(fd_);
  fd_ = -1;
  path_.clear();
}

bool TFdPort::IsOpen() const { return OpenFd() >= 0; }

int TFdPort::OpenFd() const {
  std::lock_guard state(state_mutex_);
  return fd_;
}

std::string TFdPort::Path() const {
  std::lock_guard state(state_mutex_);
  return path_;
}

void TFdPort::SetLineSettings(const TLineSettings& settings) {
  std::lock_guard io(io_mutex_);
  std::lock_guard state(state_mutex_);
  if (settings == settings_) return;
  settings_ = settings;
  if (fd_ >= 0) settings_applied_ = ApplyLineSettings(fd_, settings_);
}

TLineSettings TFdPort::LineSettings() const {
  std::lock_guard state(state_mutex_);
  return settings_;
}

bool TFdPort::LineSettingsApplied() const {
  std::lock_guard state(state_mutex_);
  return fd_ >= 0 && settings_applied_;
}

void TFdPort::SetOnRead(TReadCallback callback) {
  std::lock_guard state(state_mutex_);
  on_read_ = std::move(callback);
}

void TFdPort::GrantReadPermission() {
  receive_->permission = true;
  Signal(receive_->wake_fd);
}

bool TFdPort::Write(std::span<const std::uint8_t> bytes) {
  std::lock_guard io(io_mutex_);
  const int fd = OpenFd();
  if (fd < 0 || receive_->stopping) return false;
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(WriteTimeLimitMs(bytes.size()));
  while (!bytes.empty()) {
    const ssize_t written = WriteSome(fd, bytes);
    if (written > 0) {
      bytes = bytes.subspan(static_cast<std::size_t>(written));
      continue;
    }
    if (written < 0 && errno == EINTR) continue;
    if (written < 0 && errno != EAGAIN) return false;
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0 || !WaitWritable(fd, static_cast<int>(left))) return false;
  }
  return true;
}

// Waits until the device takes more bytes; false on Close or when the time is up.
bool TFdPort::WaitWritable(int fd, int timeout_ms) const {
  std::array<pollfd, 2> fds{{{fd, POLLOUT, 0}, {receive_->stop_fd, POLLIN, 0}}};
  const int ready = ::poll(fds.data(), fds.size(), timeout_ms);
  if (ready < 0) return errno == EINTR;
  return ready > 0 && (fds[1].revents & POLLIN) == 0 && (fds[0].revents & POLLOUT) != 0;
}

// Generous: a second plus twice the time the bytes take on the line (10 bits a character).
int TFdPort::WriteTimeLimitMs(std::size_t count) const {
  const std::uint8_t index = LineSettings().BaudIndex;
  const std::uint32_t baud = index < std::size(kBaudRates) ? kBaudRates[index] : 115200;
  return static_cast<int>(1000 + count * 20 * 1000 / baud);
}

std::uint32_t TFdPort::ModemStatus() {
  std::lock_guard io(io_mutex_);
  const int fd = OpenFd();
  return fd < 0 ? 0 : ReadModemStatus(fd);
}

TLineStatus TFdPort::LineErrors() {
  std::lock_guard io(io_mutex_);
  const int fd = OpenFd();
  if (fd < 0) return {};
  TLineStatus status = ReadLineStatus(fd);
  if (receive_->hung_up) status.Errors |= kLineHangUp;
  return status;
}

void TFdPort::ReceiveLoop(std::shared_ptr<TReceiveState> run, int fd, TReadCallback callback) {
  run->reader_id = std::this_thread::get_id();
  std::array<std::uint8_t, kInBufSize> buffer{};
  bool line_alive = true;
  while (!run->stopping) {
    // The device is watched only while the consumer has given permission, so waiting input
    // stays in the device until it is wanted.
    const bool watch = line_alive && run->permission;
    std::array<pollfd, 3> fds{
        {{run->stop_fd, POLLIN, 0}, {run->wake_fd, POLLIN, 0}, {watch ? fd : -1, POLLIN, 0}}};
    if (::poll(fds.data(), fds.size(), -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (run->stopping) break;
    if ((fds[1].revents & POLLIN) != 0) Drain(run->wake_fd);
    if (fds[2].revents == 0) continue;
    const ssize_t count = ::read(fd, buffer.data(), buffer.size());
    if (count > 0) {
      if (callback) {
        run->permission = false;
        const std::uint32_t errors = ReadLineStatus(fd).Errors;
        callback(std::span<const std::uint8_t>(buffer.data(), static_cast<std::size_t>(count)),
                 errors);
      }
      continue;
    }
    if (count < 0 && (errno == EAGAIN || errno == EINTR)) continue;
    // End of file or a device error (unplugged, the far end of a pseudo-terminal closed): stop
    // watching the device instead of spinning on it; Close ends the thread.
    line_alive = false;
    run->hung_up = true;
  }
}

}  // namespace quarn::link
