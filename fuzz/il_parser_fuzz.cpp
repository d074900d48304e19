// Any bytes as one IL line: the parser must answer a code without fault, and a line it accepts
// must survive the way to the controller and back unchanged.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "program_model/il_parser.h"
#include "program_model/program_code.h"

namespace pm = quarn::program_model;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const pm::ParseResult parsed = pm::ParseIlLine(text);
  if (parsed.Code < 0 || parsed.Code > 9 || parsed.Code == 8) __builtin_trap();

  const pm::CheckResult check = pm::CheckIlLine(text);
  if (check.Valid != (check.Code == 0)) __builtin_trap();
  if (check.Valid) {
    const pm::ParseResult accepted = pm::ParseIlLine(pm::CommandText(text));
    const std::vector<std::uint16_t> stored = pm::ImageToStoredWords(accepted.Image);
    const pm::DecodeResult decoded = pm::DecodeProgramWords(pm::WordsToBytes(stored));
    if (!decoded.Success) __builtin_trap();
    const pm::ParseResult again = pm::ParseIlLine(decoded.Decoded.Text);
    if (again.Code != 0 || again.Image != accepted.Image) __builtin_trap();
    if (pm::ImageToInstruction(accepted.Image).Instruction.ApiNumber == 0) __builtin_trap();
  }

  // The same bytes as a whole program for Clean up: it may only drop or mark lines.
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  const std::size_t before = lines.size();
  pm::CleanUpProgram(lines, pm::WrongLines::Comment);
  if (lines.size() > before) __builtin_trap();
  std::vector<std::string> again = lines;
  pm::CleanUpProgram(again, pm::WrongLines::Comment);
  if (again != lines) __builtin_trap();
  return 0;
}
