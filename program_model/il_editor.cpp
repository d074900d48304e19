#include "program_model/il_editor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "program_model/il_editor_texts.h"
#include "program_model/il_parser.h"

namespace quarn::program_model {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
// A new program file gets what the user's umask leaves of read and write for everyone, as any
// editor's new file does.
constexpr mode_t kNewFileMode = 0666;
constexpr int kTemporaryNameAttempts = 100;

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// What a numbers-column line tells the renumbering as it walks back from the start line: nothing
// for a line without a number (the text with the suffix and one blank removed is empty), else
// the counter to go on with, one past the line's number (0 when the text is no number).
std::optional<int> CounterAfterLine(std::string_view numberLine) {
  std::string text(numberLine);
  if (const auto at = text.find(il_texts::kNumberSuffix); at != std::string::npos) {
    text.erase(at, il_texts::kNumberSuffix.size());
  }
  if (const auto at = text.find(' '); at != std::string::npos) text.erase(at, 1);
  if (text.empty()) return std::nullopt;
  int number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc() || end != text.data() + text.size() || number < 0 || number == INT_MAX)
    return 0;
  return number + 1;
}

// The instruction counter to go on with at line from.
int CounterBefore(const std::vector<std::string>& numbers, std::size_t from) {
  for (std::size_t line = std::min(from + 1, numbers.size()); line-- > 0;) {
    if (const auto counter = CounterAfterLine(numbers[line])) return *counter;
  }
  return 0;
}

std::size_t Utf8SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

bool IsUtf8(std::string_view bytes) {
  for (std::size_t at = 0; at < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[at]);
    const std::size_t length = Utf8SequenceLength(lead);
    if (length == 0 || at + length > bytes.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      if (!IsContinuation(static_cast<unsigned char>(bytes[at + k]))) return false;
    }
    const auto second = length > 1 ? static_cast<unsigned char>(bytes[at + 1]) : 0;
    // Overlong three- and four-byte forms, surrogates and code points past U+10FFFF.
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) ||
        (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F)) {
      return false;
    }
    at += length;
  }
  return true;
}

std::string Latin1ToUtf8(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size() + bytes.size() / 8);
  for (const char ch : bytes) {
    const auto byte = static_cast<unsigned char>(ch);
    if (byte < 0x80) {
      text += ch;
    } else {
      text += static_cast<char>(0xC0 | (byte >> 6));
      text += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return text;
}

bool WriteAll(int fd, std::string_view content) {
  while (!content.empty()) {
    const ssize_t written = ::write(fd, content.data(), content.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    content.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// A symbolic link is saved through, so the link stays and its target gets the program.
fs::path SaveTarget(const std::string& path) {
  std::error_code error;
  if (fs::is_symlink(path, error)) {
    const fs::path resolved = fs::weakly_canonical(path, error);
    if (!error) return resolved;
  }
  return path;
}

SaveResult SaveFailed(const std::string& path) {
  return {false, std::string(il_texts::kFileNotSaved) + path};
}

// Creates a fresh temporary file beside the target, opened for writing with the new-file mode
// (the umask applies, which mkstemp's fixed 0600 would not let it). Answers -1 when none can be
// made; temporary then holds the name of the file created.
int CreateTemporary(const fs::path& target, std::string& temporary) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    const auto tick = std::chrono::steady_clock::now().time_since_epoch().count();
    temporary = target.string() + "." + std::to_string(::getpid()) + "-" +
                std::to_string(counter.fetch_add(1)) + "-" + std::to_string(tick & 0xFFFFFF);
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

std::string NumberText(int number) {
  return std::to_string(number) + std::string(il_texts::kNumberSuffix);
}

RenumberLimit ReadRenumberLimit(std::string_view text) {
  const std::string_view digits = TrimBlanks(text);
  int value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  const bool isNumber = !digits.empty() && digits.front() != '-' && error == std::errc() &&
                        end == digits.data() + digits.size();
  if (!isNumber) return {kDefaultRenumberLimit, true};
  return {value, false};
}

void IlEditor::NoteChange(int line) {
  firstChangedLine_ = std::min(firstChangedLine_, std::max(line, 0));
}

ChangeAction IlEditor::TextChanged(int lineCount) const {
  if (!numberingEnabled_) return ChangeAction::None;
  return limit_ < lineCount ? ChangeAction::EmptyNumbers : ChangeAction::StartTimer;
}

LimitAction IlEditor::LimitChanged(int lineCount, int numbersLineCount) const {
  if (limit_ < lineCount) return LimitAction::EmptyNumbers;
  return numbersLineCount < lineCount ? LimitAction::Enumerate : LimitAction::None;
}

int IlEditor::RenumberStart(int caretLine, int lineCount, bool numbersEmpty) const {
  if (numbersEmpty) return 0;
  const int inserted = lineCount - lastLineCount_;
  int start = std::min(caretLine - inserted - 1, caretLine - 1);
  start = std::min(start, firstChangedLine_);
  return std::max(start, 0);
}

bool IlEditor::RenumberLines(int start, const std::vector<std::string>& program,
                             std::vector<std::string>& numbers) {
  if (!numberingEnabled_) return false;
  const std::size_t lineCount = program.size();
  const std::size_t from = std::min(static_cast<std::size_t>(std::max(start, 0)), lineCount);
  bool changed = false;
  if (start <= 0 && !numbers.empty()) {
    numbers.clear();
    changed = true;
  }
  if (static_cast<std::size_t>(std::max(limit_, 0)) < lineCount && !enumerateRunning_) {
    return changed;
  }
  numbers.resize(lineCount, std::string(il_texts::kNoNumber));
  std::fill(numbers.begin() + static_cast<std::ptrdiff_t>(from), numbers.end(),
            std::string(il_texts::kNoNumber));
  int counter = from == 0 ? 0 : CounterBefore(numbers, from);
  for (std::size_t line = from; line < lineCount; ++line) {
    if (CheckIlLine(program[line]).Valid) numbers[line] = NumberText(counter++);
  }
  lastLineCount_ = static_cast<int>(lineCount);
  firstChangedLine_ = INT_MAX;
  return true;
}

int InstructionLine(const std::vector<std::string>& program, int instruction) {
  if (instruction < 0) return -1;
  int counter = 0;
  for (std::size_t line = 0; line < program.size(); ++line) {
    if (!CheckIlLine(program[line]).Valid) continue;
    if (counter++ == instruction) return static_cast<int>(line);
  }
  return -1;
}

ProgramFile ReadProgramFile(const std::string& path) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (!fs::exists(status)) return {false, {}, std::string(il_texts::kFileNotFound) + path};
  if (!fs::is_regular_file(status)) return {false, {}, std::string(il_texts::kFileNotAFile) + path};
  const std::uintmax_t size = fs::file_size(path, error);
  if (error) return {false, {}, std::string(il_texts::kFileUnreadable) + path};
  if (size > kMaxProgramFileBytes) return {false, {}, std::string(il_texts::kFileTooLarge) + path};
  std::ifstream in(path, std::ios::binary);
  std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (!in && !in.eof()) return {false, {}, std::string(il_texts::kFileUnreadable) + path};
  if (bytes.size() > kMaxProgramFileBytes) {
    return {false, {}, std::string(il_texts::kFileTooLarge) + path};
  }
  return {true, ProgramFileLines(bytes), {}};
}

std::vector<std::string> ProgramFileLines(std::string_view bytes) {
  if (bytes.starts_with(kUtf8ByteOrderMark)) bytes.remove_prefix(kUtf8ByteOrderMark.size());
  std::string converted;
  if (!IsUtf8(bytes)) {
    converted = Latin1ToUtf8(bytes);
    bytes = converted;
  }
  std::vector<std::string> lines;
  std::size_t begin = 0;
  for (std::size_t at = 0; at <= bytes.size(); ++at) {
    const bool end = at == bytes.size();
    if (!end && bytes[at] != '\n' && bytes[at] != '\r') continue;
    if (at > begin) lines.emplace_back(bytes.substr(begin, at - begin));
    if (!end && bytes[at] == '\r' && at + 1 < bytes.size() && bytes[at + 1] == '\n') ++at;
    begin = at + 1;
  }
  return lines;
}

void ApplyLoadedLines(std::vector<std::string>& program, std::vector<std::string> fileLines,
                      ClearAnswer answer) {
  switch (answer) {
    case ClearAnswer::Cancel:
      return;
    case ClearAnswer::Yes:
      program = std::move(fileLines);
      return;
    case ClearAnswer::No:
      // The empty line after a trailing line end is no program line; the file's lines follow
      // the last real one.
      if (!program.empty() && program.back().empty()) program.pop_back();
      program.insert(program.end(), std::make_move_iterator(fileLines.begin()),
                     std::make_move_iterator(fileLines.end()));
      return;
  }
}

std::string ProgramFileContent(const std::vector<std::string>& program) {
  std::string content;
  for (std::size_t line = 0; line < program.size(); ++line) {
    if (line + 1 == program.size() && program[line].empty()) break;
    content += program[line];
    content += '\n';
  }
  return content;
}

SaveResult SaveProgramFile(const std::string& path, const std::vector<std::string>& program) {
  const fs::path target = SaveTarget(path);
  std::string temporary;
  const int fd = CreateTemporary(target, temporary);
  if (fd < 0) return SaveFailed(path);
  // An existing file keeps its mode; a new one has the mode it was created with.
  struct stat existing {};
  const bool modeKept =
      ::stat(target.c_str(), &existing) != 0 || ::fchmod(fd, existing.st_mode & 07777) == 0;
  // On disk before the rename: a crash after it then finds the whole new program, never a
  // renamed file whose data was still in the cache.
  const bool written = modeKept && WriteAll(fd, ProgramFileContent(program)) && ::fsync(fd) == 0;
  const bool closed = ::close(fd) == 0;
  std::error_code error;
  if (written && closed) fs::rename(temporary, target, error);
  if (!written || !closed || error) {
    fs::remove(temporary, error);
    return SaveFailed(path);
  }
  return {true, {}};
}

std::optional<int> FirstVisibleAfterKey(NavigationKey key, int caret, int first, int visible) {
  const bool atTop = caret == first;
  const bool atBottom = caret + 1 == first + visible;
  if ((key == NavigationKey::Down && atTop) || (key == NavigationKey::Up && atBottom)) {
    return std::nullopt;
  }
  const bool pageKey = key == NavigationKey::PageUp || key == NavigationKey::PageDown;
  if (!atTop && !atBottom && !pageKey) return std::nullopt;
  const int step = key == NavigationKey::PageUp || key == NavigationKey::Down ? 1 : -1;
  const int pages = key == NavigationKey::PageUp ? -1 : key == NavigationKey::PageDown ? 1 : 0;
  return std::max(first + step + pages * visible, 0);
}

std::string PrintLineText(std::string_view numberText, std::string_view programLine) {
  std::string joined(numberText);
  joined += '\t';
  joined += programLine;
  std::string text;
  text.reserve(joined.size());
  for (std::size_t at = 0; at < joined.size(); ++at) {
    text += joined[at];
    if (joined[at] == '\t' && at + 1 < joined.size() && joined[at + 1] == '\t') ++at;
  }
  return text;
}

bool IsNumberedPrintLine(std::string_view numberText) { return numberText.size() > 2; }

std::pair<std::string_view, std::string_view> SplitAtComment(std::string_view visualLine) {
  const std::size_t at = visualLine.find("//");
  if (at == std::string_view::npos) return {visualLine, {}};
  return {visualLine.substr(0, at), visualLine.substr(at)};
}

int PrintLineStep(int textHeight) { return (textHeight * 12 + 5) / 10; }

PrintPosition NextPrintLine(int top, int step, int pageHeight) {
  const int next = top + step;
  if (next > pageHeight - kPrintMargin) return {kPrintMargin, true};
  return {next, false};
}

EditMenuState EditMenuFor(bool canUndo, bool hasSelection, bool clipboardHasText, bool readOnly) {
  EditMenuState state;
  state.Undo = canUndo && !readOnly;
  state.Cut = hasSelection && !readOnly;
  state.Copy = hasSelection;
  state.Paste = clipboardHasText && !readOnly;
  state.Delete = hasSelection && !readOnly;
  state.SelectAll = true;
  return state;
}

}  // namespace quarn::program_model
