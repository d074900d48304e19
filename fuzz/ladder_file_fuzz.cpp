// Feeds arbitrary bytes to the LD file reader and to the cell-line parser. A diagram that was
// read must write out and read back to the same text without a bad line.
//
// Random bytes rarely carry the right checksum, so an input whose first byte is odd is taken as
// the file without its last line, and the right "CR=" line is added to it: the header limits and
// the cell lines are then fuzzed behind the checksum too.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "ladder/ladder_file.h"
#include "ladder/ladder_grid.h"

namespace {

class GoOnEvents final : public quarn::ladder::LadderEvents {
 public:
  void ShowMessage(std::string_view) override {}
  bool AskQuestion(std::string_view, quarn::ladder::QuestionKind) override { return true; }
  void Repaint() override {}
  void ResetEntryAnchor() override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  (void)quarn::ladder::ParseCellLine(input);
  std::string bytes(input);
  if (size > 0 && (data[0] & 1u) != 0) {
    bytes.erase(0, 1);
    bytes += "CR=" + std::to_string(quarn::ladder::LadderChecksum(bytes));
  }

  GoOnEvents events;
  quarn::ladder::LadderGrid grid(events);
  if (!quarn::ladder::ReadLadderText(grid, bytes, "fuzz.ld").Accepted) return 0;
  const std::string written = quarn::ladder::LadderFileText(grid);
  quarn::ladder::LadderGrid again(events);
  const auto result = quarn::ladder::ReadLadderText(again, written, "fuzz.ld");
  if (!result.Accepted || result.BadLines != 0 || quarn::ladder::LadderFileText(again) != written) {
    std::abort();
  }
  return 0;
}
