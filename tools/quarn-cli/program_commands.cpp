// The program-model commands: Clean up of an IL file, one line parsed to its image, stored words
// decoded back to IL, and the instruction catalogue.
#include <array>
#include <charconv>
#include <cstdio>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "program_model/catalogue.h"
#include "program_model/il_parser.h"
#include "program_model/program_code.h"
#include "tools/quarn-cli/cli.h"

namespace quarn::cli {
namespace {

namespace pm = quarn::program_model;

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

constexpr std::string_view kCheckSynopsis = "check [--comment] FILE";
constexpr std::string_view kParseSynopsis = "parse LINE";
constexpr std::string_view kDecodeSynopsis = "decode WORD...";
constexpr std::string_view kCatalogueSynopsis = "catalogue";

std::string Hex4(unsigned value) {
  std::array<char, 8> text{};
  std::snprintf(text.data(), text.size(), "%04X", value & 0xFFFFu);
  return text.data();
}

// check [--comment] FILE: the program as Clean up leaves it. Wrong lines are part of the result,
// not a failure of the command, so a run that read the file answers 0.
int RunCheck(const Args& args, Io& io) {
  pm::WrongLines choice = pm::WrongLines::Clear;
  std::vector<std::string> files;
  for (const std::string& arg : args) {
    if (arg == "--comment") {
      choice = pm::WrongLines::Comment;
    } else if (arg.starts_with("--")) {
      io.err << "quarn-cli: check: unknown option '" << arg << "'\n";
      return Usage(io, kCheckSynopsis);
    } else {
      files.push_back(arg);
    }
  }
  if (files.size() != 1) return Usage(io, kCheckSynopsis);

  std::string content;
  std::string error;
  if (!ReadFileBytes(files[0], content, error)) {
    io.err << "quarn-cli: " << error << "\n";
    return ExitUsage;
  }
  // A byte-order mark belongs to the file, not to its first instruction: it is set aside while
  // the lines are checked and written back in front of the result.
  const bool marked = std::string_view(content).starts_with(kByteOrderMark);
  if (marked) content.erase(0, kByteOrderMark.size());

  std::vector<std::string> lines = SplitLines(content);
  pm::CleanUpProgram(lines, choice);
  if (marked) io.out << kByteOrderMark;
  for (const std::string& line : lines) io.out << line << '\n';
  return ExitOk;
}

// parse LINE: the line's check code, and for a valid line its 21 image words.
int RunParse(const Args& args, Io& io) {
  if (args.size() != 1) return Usage(io, kParseSynopsis);
  const std::string& line = args[0];
  const pm::CheckResult check = pm::CheckIlLine(line);
  io.out << check.Code << '\n';
  if (!check.Valid) return ExitRefused;
  const pm::ParseResult parsed = pm::ParseIlLine(pm::CommandText(line));
  const auto words = pm::ImageWords(parsed.Image);
  for (std::size_t i = 0; i < words.size(); ++i) io.out << (i == 0 ? "" : " ") << Hex4(words[i]);
  io.out << '\n';
  return ExitOk;
}

bool ReadWord(std::string_view text, std::uint16_t& word) {
  if (text.starts_with("0x") || text.starts_with("0X")) text.remove_prefix(2);
  unsigned value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  if (text.empty() || result.ec != std::errc{} || result.ptr != text.data() + text.size() ||
      value > 0xFFFFu) {
    return false;
  }
  word = static_cast<std::uint16_t>(value);
  return true;
}

// decode WORD...: the words of one stored instruction as the program download reads them.
int RunDecode(const Args& args, Io& io) {
  if (args.empty()) return Usage(io, kDecodeSynopsis);
  std::vector<std::uint16_t> words;
  for (const std::string& arg : args) {
    std::uint16_t word = 0;
    if (!ReadWord(arg, word)) {
      io.err << "quarn-cli: decode: '" << arg << "' is not a 16-bit hexadecimal word\n";
      return ExitUsage;
    }
    words.push_back(word);
  }
  const pm::DecodeResult result = pm::DecodeProgramWords(pm::WordsToBytes(words));
  io.out << result.Decoded.Text << '\n' << (result.Success ? "ok" : "failed") << '\n';
  return result.Success ? ExitOk : ExitRefused;
}

int RunCatalogue(const Args& args, Io& io) {
  if (!args.empty()) return Usage(io, kCatalogueSynopsis);
  const auto& catalogue = pm::InstructionCatalogue();
  for (std::size_t i = 0; i < catalogue.size(); ++i) {
    const pm::TInstructions& entry = catalogue[i];
    io.out << i << '\t' << entry.Mnemonic << "\t0x" << Hex4(entry.ApiNumber) << '\t'
           << int{entry.Group} << '\t' << entry.Description << '\n';
  }
  return ExitOk;
}

constexpr std::array<Command, 4> kCommands = {{
    {"check", kCheckSynopsis,
     "Clean up an IL file and print the result; wrong lines\n"
     "are removed, or commented with --comment (exit 0 when\n"
     "the file was read, whatever its lines hold)",
     &RunCheck},
    {"parse", kParseSynopsis,
     "print the line's check code, and for code 0 its 21 image\n"
     "words (exit 1 when the code is not 0)",
     &RunParse},
    {"decode", kDecodeSynopsis,
     "decode the hexadecimal words of one stored instruction\n"
     "into an IL line, then 'ok' or 'failed' (exit 1 failed)",
     &RunDecode},
    {"catalogue", kCatalogueSynopsis,
     "list the instruction catalogue: index, mnemonic, API\n"
     "number, group, description",
     &RunCatalogue},
}};

}  // namespace

std::span<const Command> ProgramCommands() { return kCommands; }

}  // namespace quarn::cli
