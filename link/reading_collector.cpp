#include "link/reading_collector.h"

#include <algorithm>

#include "link/modbus_functions.h"

namespace quarn::link {
namespace {

constexpr std::uint16_t kMainProtection = 0xF001;
constexpr std::uint16_t kServiceProtection = 0xF002;
constexpr std::uint16_t kLinesQuantity = 0xF400;
constexpr std::size_t kDataStart = 3;  // id, function, byte count

}  // namespace

void TFastReadingProcess::Reset(TProgramKind kind) {
  std::lock_guard lock(mutex_);
  kind_ = kind;
  protection_ = kProtectionUnknown;
  lines_in_packet_ = 0;
  buffer_.clear();
  any_sector_data_ = false;
}

void TFastReadingProcess::SetActive(bool active) {
  std::lock_guard lock(mutex_);
  active_ = active;
}

void TFastReadingProcess::TakeAnswer(const TAcceptedAnswer& answer) {
  std::lock_guard lock(mutex_);
  if (!active_) return;
  const std::uint16_t own_protection =
      kind_ == TProgramKind::Main ? kMainProtection : kServiceProtection;
  if (answer.Function == kReadCoils && answer.Address == own_protection) {
    protection_ = answer.Value & 1;
  } else if (answer.Function == kReadHoldingRegisters && answer.Address == kLinesQuantity) {
    lines_in_packet_ = answer.Value;
    buffer_.clear();
  } else if (answer.Function == kReadHoldingRegisters && answer.Address >= kSectorFirst &&
             answer.Address <= kSectorLast && answer.Bytes.size() > kDataStart) {
    // Never more than one sector: a repeated read must not push later bytes out of place.
    const std::size_t room = kSectorBytes - std::min(kSectorBytes, buffer_.size());
    const std::size_t count = std::min(room, answer.Bytes.size() - kDataStart);
    const auto first = answer.Bytes.begin() + static_cast<std::ptrdiff_t>(kDataStart);
    buffer_.insert(buffer_.end(), first, first + static_cast<std::ptrdiff_t>(count));
    any_sector_data_ = true;
  }
}

int TFastReadingProcess::Protection() const {
  std::lock_guard lock(mutex_);
  return protection_;
}

int TFastReadingProcess::LinesInPacket() const {
  std::lock_guard lock(mutex_);
  return lines_in_packet_;
}

TBytesArray TFastReadingProcess::Buffer() const {
  std::lock_guard lock(mutex_);
  return buffer_;
}

bool TFastReadingProcess::AnySectorData() const {
  std::lock_guard lock(mutex_);
  return any_sector_data_;
}

}  // namespace quarn::link
