#include "simulator/program_memory.h"

#include <algorithm>

namespace quarn::simulator {
namespace {

// Whether the image stands for an instruction of the catalogue, judged the way a download
// would judge the line: by decoding its stored words.
bool DecodesToInstruction(const program_model::InstructionImage& image) {
  const std::vector<std::uint16_t> words = program_model::ImageToStoredWords(image);
  return program_model::DecodeProgramWords(program_model::WordsToBytes(words)).Success;
}

}  // namespace

TProgramMemory::TProgramMemory(const TProgramLimits& limits, std::chrono::milliseconds busyTime)
    : limits_(limits), busy_time_(busyTime), sector_(kSectorRegisters, 0) {}

int TProgramMemory::HighestLine(TProgramSlot slot) const {
  return slot == TProgramSlot::Main ? limits_.HighestMainLine : limits_.HighestServiceLine;
}

TException TProgramMemory::SetWriteMode(bool write, bool running) {
  if (write && running) return TException::SlaveDeviceFailure;
  write_mode_ = write;
  return TException::None;
}

TException TProgramMemory::CheckWrite(bool running, TProgramClock::time_point now) const {
  if (running || !write_mode_) return TException::SlaveDeviceFailure;
  if (Busy(now)) return TException::SlaveDeviceBusy;
  return TException::None;
}

TException TProgramMemory::CheckProtect(bool running) const {
  return running ? TException::SlaveDeviceFailure : TException::None;
}

TException TProgramMemory::CheckPacket(TProgramClock::time_point now) const {
  if (!Readable(slot_)) return TException::SlaveDeviceFailure;
  if (Busy(now)) return TException::SlaveDeviceBusy;
  return TException::None;
}

TException TProgramMemory::Erase(bool running, TProgramClock::time_point now) {
  if (const TException refused = CheckWrite(running, now); refused != TException::None) {
    return refused;
  }
  Program(slot_) = {};
  rom_error_ = 0;
  busy_until_ = now + busy_time_;
  return TException::None;
}

TException TProgramMemory::Store(const program_model::InstructionImage& image, bool running,
                                 TProgramClock::time_point now) {
  if (const TException refused = CheckWrite(running, now); refused != TException::None) {
    return refused;
  }
  busy_until_ = now + busy_time_;
  if (line_number_ > HighestLine(slot_) || !DecodesToInstruction(image)) {
    rom_error_ = slot_ == TProgramSlot::Main ? kRomErrorWriteMain : kRomErrorWriteService;
    return TException::None;
  }
  auto& lines = Program(slot_).Lines;
  if (lines.size() <= line_number_) lines.resize(std::size_t{line_number_} + 1);
  lines[line_number_] = image;
  rom_error_ = 0;
  return TException::None;
}

TException TProgramMemory::Protect(TProgramSlot slot, bool running) {
  if (const TException refused = CheckProtect(running); refused != TException::None) return refused;
  Program(slot).Protected = true;
  return TException::None;
}

bool TProgramMemory::IsEnd(const program_model::InstructionImage& image) const {
  return program_model::ImageWord(image, 0) == limits_.EndApi;
}

TException TProgramMemory::StartPacket(TProgramClock::time_point now) {
  if (const TException refused = CheckPacket(now); refused != TException::None) return refused;
  std::fill(sector_.begin(), sector_.end(), 0);
  packet_lines_ = 0;
  const auto& lines = Program(slot_).Lines;
  const auto words = static_cast<std::size_t>(std::max(1, limits_.StoredWords));
  const std::size_t fits = std::min<std::size_t>(
      static_cast<std::size_t>(std::max(0, limits_.PacketLines)), kSectorRegisters / words);
  const std::size_t wanted = std::min<std::size_t>(packet_quantity_, fits);
  for (std::size_t i = 0; i < wanted; ++i) {
    const std::size_t line = std::size_t{line_number_} + i;
    if (line >= lines.size()) break;
    const std::vector<std::uint16_t> stored = StoredWords(slot_, line);
    std::copy_n(stored.begin(), std::min(words, stored.size()),
                sector_.begin() + static_cast<std::ptrdiff_t>(i * words));
    ++packet_lines_;
    if (lines[line] && IsEnd(*lines[line])) break;
  }
  return TException::None;
}

TException TProgramMemory::SectorWord(std::size_t offset, std::uint16_t& word) const {
  if (!Readable(slot_)) return TException::SlaveDeviceFailure;
  word = offset < sector_.size() ? sector_[offset] : 0;
  return TException::None;
}

void TProgramMemory::Load(TProgramSlot slot, std::vector<program_model::InstructionImage> lines) {
  TProgram& program = Program(slot);
  program = {};
  program.Lines.assign(lines.begin(), lines.end());
}

std::vector<std::uint16_t> TProgramMemory::StoredWords(TProgramSlot slot, std::size_t line) const {
  const auto& lines = Program(slot).Lines;
  const auto words = static_cast<std::size_t>(std::max(1, limits_.StoredWords));
  if (line >= lines.size() || !lines[line]) return std::vector<std::uint16_t>(words, kErasedWord);
  std::vector<std::uint16_t> stored = program_model::ImageToStoredWords(*lines[line]);
  stored.resize(words, 0);
  return stored;
}

}  // namespace quarn::simulator
