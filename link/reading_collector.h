// TFastReadingProcess: what a program download collects from the controller's answers while it
// runs: the protection state, the lines in the current packet and the packet's sector bytes.
//
// The answer dispatcher feeds it on the link worker thread; the download reads it on its own
// thread between lists. Every field is behind one lock.
#pragma once

#include <cstdint>
#include <mutex>

#include "link/byte_arrays.h"
#include "link/controller_state.h"

namespace quarn::link {

enum class TReadResult : std::uint8_t {
  None = 0,
  Complete = 1,
  NoEnd = 2,
  WrongCommand = 3,
  Protected = 4,
  Failed = 5,
};

enum class TProgramKind : std::uint8_t { Main = 0, Service = 1 };

class TFastReadingProcess {
 public:
  // The sector the program is read through: registers 0xF401 to 0xF4FF.
  static constexpr std::uint16_t kSectorFirst = 0xF401;
  static constexpr std::uint16_t kSectorLast = 0xF4FF;
  static constexpr std::size_t kSectorBytes = (kSectorLast - kSectorFirst + 1) * 2;
  static constexpr int kPacketLines = 15;
  static constexpr int kProtectionUnknown = -1;

  // A new download: the buffer empty, protection unknown, nothing counted.
  void Reset(TProgramKind kind);
  void SetActive(bool active);

  // One accepted answer, while the download is active: the protection coil, the lines in the
  // packet (which starts the packet's buffer afresh) and the sector reads.
  void TakeAnswer(const TAcceptedAnswer& answer);

  int Protection() const;  // -1 unknown, 0 protected, otherwise readable
  int LinesInPacket() const;
  TBytesArray Buffer() const;
  bool AnySectorData() const;  // sector bytes arrived at some time during this download

 private:
  mutable std::mutex mutex_;
  bool active_ = false;
  TProgramKind kind_ = TProgramKind::Main;
  int protection_ = kProtectionUnknown;
  int lines_in_packet_ = 0;
  TBytesArray buffer_;
  bool any_sector_data_ = false;
};

}  // namespace quarn::link
