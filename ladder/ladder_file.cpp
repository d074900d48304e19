#include "ladder/ladder_file.h"

#include <charconv>
#include <fstream>
#include <iterator>
#include <vector>

#include "ladder/ladder_texts.h"

namespace quarn::ladder {

using namespace program_model;

namespace {

constexpr std::string_view kRowsKey = "RawCount=";
constexpr std::string_view kColsKey = "ColCount=";
constexpr std::string_view kChecksumKey = "CR=";
constexpr std::string_view kValueTag = "\" value=\"";
constexpr std::string_view kCmdTag = "\" cmd=\"";
constexpr std::string_view kLblTag = "\" lbl=\"";
constexpr std::string_view kLineEnd = "\r\n";
// Each line before the checksum line was ended by CR LF, which the reader no longer sees.
constexpr std::uint32_t kLineEndSum = '\r' + '\n';
// A bad line is quoted in the question; a very long one only in part.
constexpr std::size_t kQuotedLineLength = 200;

bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }

// Decimal digits from pos; false when there are none or the number passes int32.
bool ReadDigits(std::string_view line, std::size_t& pos, int& value) {
  const std::size_t start = pos;
  std::int64_t number = 0;
  while (pos < line.size() && IsDigit(line[pos])) {
    number = number * 10 + (line[pos] - '0');
    if (number > INT32_MAX) return false;
    ++pos;
  }
  value = static_cast<int>(number);
  return pos > start;
}

// The text from pos up to the next quote, which must be there; pos ends on that quote.
std::optional<std::string> ReadQuoted(std::string_view line, std::size_t& pos) {
  const std::size_t quote = line.find('"', pos);
  if (quote == std::string_view::npos) return std::nullopt;
  std::string text(line.substr(pos, quote - pos));
  pos = quote;
  return text;
}

// The tag must stand at pos and nowhere before it.
bool TagAt(std::string_view line, std::size_t pos, std::string_view tag) {
  return line.find(tag) == pos;
}

// The whole text is an integer (optional minus sign, decimal digits) within the range.
std::optional<std::int64_t> WholeInteger(std::string_view text, std::int64_t min,
                                         std::int64_t max) {
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (value < min || value > max) return std::nullopt;
  return value;
}

std::optional<int> HeaderSize(std::string_view line, std::string_view key, int min, int max) {
  if (line.substr(0, key.size()) != key) return std::nullopt;
  const auto value = WholeInteger(line.substr(key.size()), min, max);
  if (!value) return std::nullopt;
  return static_cast<int>(*value);
}

// Lines end at CR LF, LF or CR; a final line break adds no empty line.
std::vector<std::string_view> SplitLines(std::string_view content) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < content.size()) {
    const std::size_t end = content.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.push_back(content.substr(start));
      break;
    }
    lines.push_back(content.substr(start, end - start));
    start = end + 1;
    if (content[end] == '\r' && start < content.size() && content[start] == '\n') ++start;
  }
  return lines;
}

// Texts never hold a quote or a line break in a file; should a cell's text hold one, it is
// written as a close look-alike so that the file still reads back.
std::string FileSafe(const std::string& text) {
  if (text.find_first_of("\"\r\n") == std::string::npos) return text;
  std::string safe = text;
  for (char& ch : safe) {
    if (ch == '"') ch = '\'';
    if (ch == '\r' || ch == '\n') ch = ' ';
  }
  return safe;
}

void AppendCellLine(std::string& out, int row, int col, const std::string& text,
                    const TLDMLayers& layers) {
  out += 'R';
  out += std::to_string(row);
  out += 'C';
  out += std::to_string(col);
  out += "=\"";
  out += layers.Kinds;
  out += kValueTag;
  out += FileSafe(text);
  out += kCmdTag;
  out += FileSafe(layers.Cmd);
  out += kLblTag;
  out += FileSafe(layers.Lbl);
  out += "\";";
  out += kLineEnd;
}

std::string LineQuestion(std::size_t index, std::string_view line) {
  std::string question(texts::kLineErrorStart);
  question += std::to_string(index);
  question += texts::kLineErrorMiddle;
  if (line.size() > kQuotedLineLength) {
    question += line.substr(0, kQuotedLineLength);
    question += "...";
  } else {
    question += line;
  }
  question += texts::kLineErrorEnd;
  return question;
}

struct Header {
  int Rows = 0;
  int Cols = 0;
};

// The sizes, when the header and the checksum are right. A header line too short to hold a size
// ("RawCount=" alone) is refused like any other wrong header: dropping the read without a word
// would leave the user, and ld-check, with no reason for the failure.
std::optional<Header> CheckHeader(const std::vector<std::string_view>& lines) {
  if (lines.size() < 3) return std::nullopt;
  const auto rows = HeaderSize(lines[0], kRowsKey, 1, MaxRows);
  const auto cols = HeaderSize(lines[1], kColsKey, MinColumns, MaxColumns);
  const std::string_view last = lines.back();
  if (!rows || !cols || last.substr(0, kChecksumKey.size()) != kChecksumKey) return std::nullopt;
  const auto stored = WholeInteger(last.substr(kChecksumKey.size()), INT32_MIN, INT32_MAX);
  if (!stored) return std::nullopt;
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
    sum += static_cast<std::uint32_t>(LadderChecksum(lines[i])) + kLineEndSum;
  }
  if (static_cast<std::int32_t>(sum) != *stored) return std::nullopt;
  return Header{*rows, *cols};
}

ReadResult Refuse(LadderGrid& grid, std::string_view fileName) {
  grid.Events().ShowMessage(std::string(texts::kFileError) + std::string(fileName));
  return ReadResult{};
}

}  // namespace

std::optional<CellLine> ParseCellLine(std::string_view line) {
  const std::size_t length = line.size();
  if (length <= 16 || line[0] != 'R') return std::nullopt;
  CellLine cell;
  std::size_t pos = 1;
  if (!ReadDigits(line, pos, cell.Row) || pos >= length || line[pos] != 'C') return std::nullopt;
  // Room for the shortest rest of a cell line after "C" and after the column number.
  if (length < pos + 1 + 14) return std::nullopt;
  ++pos;
  if (!ReadDigits(line, pos, cell.Col) || length < pos + 1 + 13) return std::nullopt;
  if (line[pos] != '=' || line[pos + 1] != '"') return std::nullopt;
  pos += 2;
  // Kinds: every token up to a ";" must be a kind name; what follows the last ";" is dropped.
  std::size_t tokenStart = pos;
  while (pos < length && line[pos] != '"') {
    if (line[pos] == ';') {
      const std::string_view token = line.substr(tokenStart, pos + 1 - tokenStart);
      if (!KindCodeOfToken(token)) return std::nullopt;
      cell.Kinds += token;
      tokenStart = pos + 1;
    }
    ++pos;
  }
  if (pos >= length || !TagAt(line, pos, kValueTag)) return std::nullopt;
  pos += kValueTag.size();
  auto value = ReadQuoted(line, pos);
  if (!value || !TagAt(line, pos, kCmdTag)) return std::nullopt;
  pos += kCmdTag.size();
  auto cmd = ReadQuoted(line, pos);
  if (!cmd || !TagAt(line, pos, kLblTag)) return std::nullopt;
  pos += kLblTag.size();
  auto lbl = ReadQuoted(line, pos);
  if (!lbl) return std::nullopt;
  cell.Value = std::move(*value);
  cell.Cmd = std::move(*cmd);
  cell.Lbl = std::move(*lbl);
  return cell;
}

std::int32_t LadderChecksum(std::string_view bytes) {
  std::uint32_t sum = 0;
  for (char ch : bytes) sum += static_cast<unsigned char>(ch);
  return static_cast<std::int32_t>(sum);
}

std::string LadderFileText(const LadderGrid& grid) {
  std::string out;
  out += kRowsKey;
  out += std::to_string(grid.RowCount());
  out += kLineEnd;
  out += kColsKey;
  out += std::to_string(grid.ColCount());
  out += kLineEnd;
  for (int row = 0; row < grid.RowCount(); ++row) {
    for (int col = 0; col < grid.ColCount(); ++col) {
      const TLDMLayers& layers = grid.Layers(row, col);
      const std::string& text = grid.Text(row, col);
      if (!layers.Kinds.empty() || !text.empty()) AppendCellLine(out, row, col, text, layers);
    }
  }
  const std::int32_t checksum = LadderChecksum(out);
  out += kChecksumKey;
  out += std::to_string(checksum);
  return out;
}

bool SaveLadder(LadderGrid& grid, const std::string& fileName) {
  const std::string content = LadderFileText(grid);
  std::ofstream file(fileName, std::ios::binary | std::ios::trunc);
  if (file) file.write(content.data(), static_cast<std::streamsize>(content.size()));
  if (file) file.close();
  if (!file) {
    grid.Events().ShowMessage(std::string(texts::kFileError) + fileName);
    return false;
  }
  return true;
}

ReadResult ReadLadderText(LadderGrid& grid, std::string_view content, std::string_view fileName) {
  const std::vector<std::string_view> lines = SplitLines(content);
  const auto header = CheckHeader(lines);
  if (!header) return Refuse(grid, fileName);

  ReadResult result;
  result.Accepted = true;
  LadderGrid::UpdateGuard updates(grid);
  grid.ClearLadder();
  grid.Resize(header->Rows, header->Cols);
  for (std::size_t i = 2; i + 1 < lines.size(); ++i) {
    const auto cell = ParseCellLine(lines[i]);
    if (cell && cell->Row < header->Rows && cell->Col < header->Cols) {
      grid.SetCell(
          cell->Row, cell->Col, std::move(cell->Value),
          TLDMLayers{std::move(cell->Kinds), std::move(cell->Cmd), std::move(cell->Lbl), {}, {}});
      continue;
    }
    ++result.BadLines;
    if (!grid.Events().AskQuestion(LineQuestion(i, lines[i]), QuestionKind::OkCancel)) {
      result.Cancelled = true;
      break;
    }
  }
  // Every row keeps its rail, whatever the file said.
  for (int row = 0; row < grid.RowCount(); ++row) {
    if (!grid.HasKind(row, BusColumn, EkCommonBus)) grid.AppendKind(row, BusColumn, EkCommonBus);
  }
  grid.SetCursor(0, BusColumn);
  grid.SelectCursorCell();
  grid.Events().DiagramReplaced();
  grid.RequestRepaint();
  return result;
}

ReadResult ReadLadder(LadderGrid& grid, const std::string& fileName) {
  std::ifstream file(fileName, std::ios::binary);
  if (!file) return Refuse(grid, fileName);
  std::string content((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (file.bad()) return Refuse(grid, fileName);
  return ReadLadderText(grid, content, fileName);
}

}  // namespace quarn::ladder
