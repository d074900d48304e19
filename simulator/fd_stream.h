// A byte stream over a descriptor the caller keeps open (the master of a pseudo-terminal).
#pragma once

#include "simulator/byte_stream.h"

namespace quarn::simulator {

class TFdStream final : public TByteStream {
 public:
  explicit TFdStream(int fd) : fd_(fd) {}

  bool Open(int wakeFd, std::string& error) override;
  void Close() override {}
  int PollFd() const override { return fd_; }
  bool ReadAvailable(link::TBytesArray& bytes, std::size_t max) override;
  ssize_t WriteSome(std::span<const std::uint8_t> bytes) override;

 private:
  int fd_;
};

}  // namespace quarn::simulator
