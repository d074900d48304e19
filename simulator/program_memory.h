// The controller's program memory: the main and the service program, written line by line and
// read back in packets.
//
// Writing. The memory takes program writes only in write mode (coil 0xF005 = 1). The line
// number (0xF100) and the 21 image registers (0xF300) are set first; storing (coil 0xF000 = 1)
// checks the image and keeps it as that line of the chosen program (coil 0xF006: 0 main,
// 1 service). Erasing (coil 0xF003 = 1) empties the chosen program and lifts its read
// protection. After an erase or a store the memory reports busy for the configured time; a
// program request while busy is refused (exception 06).
//
// Length of a stored program. The memory keeps no separate length: a program is as long as
// its highest stored line plus one, counted since the last erase. A line inside that length
// that was never stored reads back as erased words (0xFFFF), which decode to no instruction.
//
// Reading. Line number (0xF100) and quantity (0xF400, at most one packet) select the lines; the
// packet start (coil 0xF007 = 1) copies their stored words, 17 per line, into the sector
// 0xF401-0xF4FF (the rest of the sector reads 0). Reading 0xF400 afterwards answers the number
// of lines in the packet: the lines from the start line on, up to the quantity, ending early
// after an END instruction or at the end of the program, so a start beyond the end gives 0.
//
// Protection. Writing 0 to coil 0xF001 (main) or 0xF002 (service) protects that program: the
// coil then reads 0, and the packet start and the sector reads are refused (exception 04).
//
// A store that fails (an image that decodes to no catalogue instruction, or a line number
// beyond the program's last line) keeps nothing and reports the program-memory error: code 5
// for the main program, 6 for the service program. A successful erase or store clears it.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "program_model/program_code.h"
#include "simulator/slave_data.h"

namespace quarn::simulator {

using TProgramClock = std::chrono::steady_clock;

enum class TProgramSlot : std::uint8_t { Main = 0, Service = 1 };

inline constexpr std::uint16_t kErasedWord = 0xFFFF;
// Registers of the sector 0xF401-0xF4FF that a packet is read through.
inline constexpr std::uint16_t kSectorRegisters = 0xF4FF - 0xF401 + 1;
// Program-memory error codes of the error table.
inline constexpr std::uint16_t kRomErrorWriteMain = 5;
inline constexpr std::uint16_t kRomErrorWriteService = 6;

struct TProgramLimits {
  int HighestMainLine = 28912;
  int HighestServiceLine = 1926;
  int PacketLines = 15;  // lines one packet carries
  int StoredWords = 17;  // words of one stored line as read back
  std::uint16_t EndApi = 0x6023;
};

class TProgramMemory {
 public:
  explicit TProgramMemory(const TProgramLimits& limits, std::chrono::milliseconds busyTime = {});

  // Requests of the link, in the order the workbench sends them. Each answers the exception
  // the request earns (None when served). `running` is the controller's RUN state: a running
  // program cannot be replaced.
  TException SetWriteMode(bool write, bool running);
  void SelectSlot(TProgramSlot slot) { slot_ = slot; }
  void SetLineNumber(std::uint16_t line) { line_number_ = line; }
  void SetPacketQuantity(std::uint16_t quantity) { packet_quantity_ = quantity; }
  TException Erase(bool running, TProgramClock::time_point now);
  TException Store(const program_model::InstructionImage& image, bool running,
                   TProgramClock::time_point now);
  TException Protect(TProgramSlot slot, bool running);
  TException StartPacket(TProgramClock::time_point now);
  // Whether the requests above would be refused, and with which exception; they change nothing.
  TException CheckWrite(bool running, TProgramClock::time_point now) const;
  TException CheckProtect(bool running) const;
  TException CheckPacket(TProgramClock::time_point now) const;
  // One register of the sector, offset 0 for 0xF401; exception 04 while the slot is protected.
  TException SectorWord(std::size_t offset, std::uint16_t& word) const;

  bool Busy(TProgramClock::time_point now) const { return now < busy_until_; }
  std::uint16_t PacketLinesRead() const { return packet_lines_; }
  bool Readable(TProgramSlot slot) const { return !Program(slot).Protected; }
  std::uint16_t RomError() const { return rom_error_; }
  void ClearRomError() { rom_error_ = 0; }

  // Direct access for the front end and tests.
  void Load(TProgramSlot slot, std::vector<program_model::InstructionImage> lines);
  std::size_t Length(TProgramSlot slot) const { return Program(slot).Lines.size(); }
  // The stored words of a line as read back; erased words for a line never stored.
  std::vector<std::uint16_t> StoredWords(TProgramSlot slot, std::size_t line) const;

 private:
  struct TProgram {
    std::vector<std::optional<program_model::InstructionImage>> Lines;
    bool Protected = false;
  };

  TProgram& Program(TProgramSlot slot) { return programs_[static_cast<std::size_t>(slot)]; }
  const TProgram& Program(TProgramSlot slot) const {
    return programs_[static_cast<std::size_t>(slot)];
  }
  int HighestLine(TProgramSlot slot) const;
  bool IsEnd(const program_model::InstructionImage& image) const;

  TProgramLimits limits_;
  std::chrono::milliseconds busy_time_;
  std::array<TProgram, 2> programs_;
  bool write_mode_ = false;
  TProgramSlot slot_ = TProgramSlot::Main;
  std::uint16_t line_number_ = 0;
  std::uint16_t packet_quantity_ = 0;
  std::uint16_t packet_lines_ = 0;
  std::vector<std::uint16_t> sector_;
  TProgramClock::time_point busy_until_{};
  std::uint16_t rom_error_ = 0;
};

}  // namespace quarn::simulator
