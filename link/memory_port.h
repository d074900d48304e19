// Two ports joined to each other inside the process, for running the link without a device:
// what one end writes, the other end receives. Each end behaves like a serial port (open,
// close, read permission, chunks of at most kInBufSize bytes); it has no modem lines and no
// line errors. Opening an end drops what arrived while it was closed, as a real port's flush
// does. The path given to Open is only a name.
#pragma once

#include <memory>
#include <utility>

#include "link/fd_port.h"

namespace quarn::link {

class TMemoryPort final : public TFdPort {
 public:
  // Both ends, or two nulls when the process is out of descriptors.
  static std::pair<std::unique_ptr<TMemoryPort>, std::unique_ptr<TMemoryPort>> CreatePair();
  ~TMemoryPort() override;

 protected:
  TDeviceOpen OpenDevice(const std::string& path) override;
  bool ApplyLineSettings(int fd, const TLineSettings& settings) override;
  std::uint32_t ReadModemStatus(int fd) override;
  TLineStatus ReadLineStatus(int fd) override;
  ssize_t WriteSome(int fd, std::span<const std::uint8_t> bytes) override;

 private:
  explicit TMemoryPort(int socket) : socket_(socket) {}

  const int socket_;  // this end of a connected stream socket pair, kept while the end exists
};

}  // namespace quarn::link
