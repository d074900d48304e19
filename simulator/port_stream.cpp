#include "simulator/port_stream.h"

#include <unistd.h>

namespace quarn::simulator {

TPortStream::TPortStream(link::TSerialPort& port, std::string path)
    : port_(port), path_(std::move(path)) {}

TPortStream::TPortStream(std::unique_ptr<link::TSerialPort> port, std::string path)
    : owned_(std::move(port)), port_(*owned_), path_(std::move(path)) {}

TPortStream::~TPortStream() { Close(); }

bool TPortStream::Open(int wakeFd, std::string& error) {
  {
    std::lock_guard lock(inbox_->Mutex);
    inbox_->WakeFd = wakeFd;
    inbox_->Bytes.clear();
    inbox_->Withheld = false;
  }
  link::TSerialPort& port = port_;
  port.SetOnRead([inbox = inbox_, &port](std::span<const std::uint8_t> chunk, std::uint32_t) {
    bool grant = false;
    {
      std::lock_guard lock(inbox->Mutex);
      if (inbox->WakeFd < 0) return;  // the stream was closed
      inbox->Bytes.insert(inbox->Bytes.end(), chunk.begin(), chunk.end());
      grant = inbox->Bytes.size() < kInboxLimit;
      inbox->Withheld = !grant;
      const std::uint64_t one = 1;
      [[maybe_unused]] const ssize_t written = ::write(inbox->WakeFd, &one, sizeof one);
    }
    if (grant) port.GrantReadPermission();
  });
  const link::TPortOpenResult result = port_.Open(path_);
  if (!result.Opened) error = result.Message;
  return result.Opened;
}

void TPortStream::Close() {
  // Close waits for a running read callback, so no chunk arrives after it. The port may be
  // the caller's and opened again: it must not keep a callback that signals our server.
  port_.Close();
  port_.SetOnRead({});
  std::lock_guard lock(inbox_->Mutex);
  inbox_->WakeFd = -1;
}

bool TPortStream::ReadAvailable(link::TBytesArray& bytes, std::size_t max) {
  std::lock_guard lock(inbox_->Mutex);
  const auto taken = static_cast<std::ptrdiff_t>(std::min(max, inbox_->Bytes.size()));
  bytes.insert(bytes.end(), inbox_->Bytes.begin(), inbox_->Bytes.begin() + taken);
  inbox_->Bytes.erase(inbox_->Bytes.begin(), inbox_->Bytes.begin() + taken);
  if (!inbox_->Bytes.empty()) {
    // The rest is taken on the next round.
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(inbox_->WakeFd, &one, sizeof one);
  }
  if (inbox_->Withheld && inbox_->Bytes.size() < kInboxLimit) {
    inbox_->Withheld = false;
    port_.GrantReadPermission();
  }
  return port_.IsOpen();
}

ssize_t TPortStream::WriteSome(std::span<const std::uint8_t> bytes) {
  return port_.Write(bytes) ? static_cast<ssize_t>(bytes.size()) : -1;
}

}  // namespace quarn::simulator
