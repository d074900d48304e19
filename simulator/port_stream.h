// A byte stream over a serial port of the link: a real serial device opened with the link's
// line settings, or one end of the in-memory port pair.
//
// The port's receive thread hands each chunk to a small inbox, signals the server and grants
// read permission again while the inbox has room. A full inbox withholds the permission until
// the server has taken input, so a flood waits in the port instead of growing memory.
#pragma once

#include <memory>
#include <mutex>

#include "link/serial_port.h"
#include "simulator/byte_stream.h"

namespace quarn::simulator {

inline constexpr std::size_t kInboxLimit = 64 * 1024;

class TPortStream final : public TByteStream {
 public:
  // Serves a port the caller owns and keeps alive while the stream is open.
  TPortStream(link::TSerialPort& port, std::string path);
  // Serves a port of its own.
  TPortStream(std::unique_ptr<link::TSerialPort> port, std::string path);
  ~TPortStream() override;

  bool Open(int wakeFd, std::string& error) override;
  void Close() override;
  int PollFd() const override { return -1; }
  bool ReadAvailable(link::TBytesArray& bytes, std::size_t max) override;
  ssize_t WriteSome(std::span<const std::uint8_t> bytes) override;

 private:
  struct TInbox {
    std::mutex Mutex;
    link::TBytesArray Bytes;
    bool Withheld = false;  // read permission held back while the inbox is full
    int WakeFd = -1;
  };

  std::unique_ptr<link::TSerialPort> owned_;
  link::TSerialPort& port_;
  std::string path_;
  std::shared_ptr<TInbox> inbox_ = std::make_shared<TInbox>();
};

}  // namespace quarn::simulator
