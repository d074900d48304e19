// A serial port over a file descriptor: the receive thread, the read-permission handshake and
// bounded writes, shared by the termios port and the in-memory port pair.
//
// The receive thread sleeps in poll() on the device, a stop descriptor and a wake-up
// descriptor: a permission grant writes the wake-up descriptor, Close the stop descriptor
// (never drained, so every waiter sees it), which is why Close never hangs.
#pragma once

#include <sys/types.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

#include "link/serial_port.h"

namespace quarn::link {

class TFdPort : public TSerialPort {
 public:
  ~TFdPort() override;
  TFdPort(const TFdPort&) = delete;
  TFdPort& operator=(const TFdPort&) = delete;

  TPortOpenResult Open(const std::string& path) override;
  void Close() override;
  bool IsOpen() const override;
  std::string Path() const override;
  void SetLineSettings(const TLineSettings& settings) override;
  TLineSettings LineSettings() const override;
  bool LineSettingsApplied() const override;
  bool Write(std::span<const std::uint8_t> bytes) override;
  std::uint32_t ModemStatus() override;
  TLineStatus LineErrors() override;
  void SetOnRead(TReadCallback callback) override;
  void GrantReadPermission() override;

 protected:
  TFdPort();

  struct TDeviceOpen {
    int Fd = -1;
    int Error = 0;  // errno when Fd < 0
  };

  // Device hooks. The receive thread calls ReadErrors, so a derived class calls Close() in its
  // own destructor, before its members go away.
  virtual TDeviceOpen OpenDevice(const std::string& path) = 0;  // non-blocking descriptor
  virtual bool ApplyLineSettings(int fd, const TLineSettings& settings) = 0;
  virtual std::uint32_t ReadModemStatus(int fd) = 0;
  virtual TLineStatus ReadLineStatus(int fd) = 0;  // errors since last call
  virtual ssize_t WriteSome(int fd, std::span<const std::uint8_t> bytes) = 0;

 private:
  // What the receive thread shares with the port. The thread holds its own reference and,
  // once a read callback has returned, touches nothing else, so even a port destroyed from
  // inside its own callback leaves the thread nothing dangling.
  struct TReceiveState {
    TReceiveState();
    ~TReceiveState();
    TReceiveState(const TReceiveState&) = delete;
    TReceiveState& operator=(const TReceiveState&) = delete;

    const int stop_fd;      // readable from the start of Close until the next Open
    const int wake_fd;      // written on every permission grant, drained by the thread
    const int setup_error;  // errno when either could not be created; Open then fails
    std::atomic<bool> stopping{false};
    std::atomic<bool> permission{false};
    std::atomic<bool> hung_up{false};
    std::atomic<std::thread::id> reader_id{};
  };

  void ReceiveLoop(std::shared_ptr<TReceiveState> run, int fd, TReadCallback callback);
  bool WaitWritable(int fd, int timeout_ms) const;
  int WriteTimeLimitMs(std::size_t count) const;
  int OpenFd() const;
  bool JoinFinishedReader();
  bool OnReaderThread() const { return receive_->reader_id.load() == std::this_thread::get_id(); }

  const std::shared_ptr<TReceiveState> receive_;

  // Lock order: io_mutex_ before state_mutex_. Neither is held while joining the receive
  // thread, so the read callback may write, grant permission or close the port.
  mutable std::mutex io_mutex_;     // held by Write, ModemStatus, LineErrors and Close's end
  mutable std::mutex state_mutex_;  // guards the fields below
  int fd_ = -1;
  std::string path_;
  TLineSettings settings_;
  bool settings_applied_ = false;
  TReadCallback on_read_;

  std::thread reader_;  // touched by the controlling thread only
};

}  // namespace quarn::link
