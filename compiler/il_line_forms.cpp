#include "compiler/il_line_forms.h"

#include <cctype>
#include <charconv>

#include "compiler/compiler_texts.h"

namespace quarn::compiler {
namespace {

std::string ReplaceFirst(std::string_view line, std::string_view from, std::string_view to) {
  std::string result{line};
  const std::size_t at = result.find(from);
  if (at != std::string::npos) result.replace(at, from.size(), to);
  return result;
}

std::string WithoutActive(std::string_view line) {
  std::string lower;
  lower.reserve(line.size());
  for (char c : line) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  std::string result;
  std::size_t i = 0;
  while (i < line.size()) {
    if (lower.compare(i, texts::kActive.size(), texts::kActive) == 0) {
      i += texts::kActive.size();
    } else {
      result += line[i++];
    }
  }
  return result;
}

std::optional<int> ToInt(std::string_view text) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc{} || ptr != end) return std::nullopt;
  return value;
}

}  // namespace

std::string SeriesForm(std::string_view line) {
  if (line.find("LDI") != std::string_view::npos) return ReplaceFirst(line, "LDI", "ANI");
  return ReplaceFirst(line, "LD", "AND");
}

std::string ParallelForm(std::string_view line) { return ReplaceFirst(line, "LD", "OR"); }

bool IsMarker(std::string_view line) {
  return line.find(texts::kMarkerTag) != std::string_view::npos;
}

std::string MarkerText(int mps, int branch) {
  return std::string(texts::kMarkerPrefix) + std::to_string(mps) + "r" + std::to_string(branch);
}

std::optional<MarkerNumbers> ParseMarker(std::string_view line) {
  const std::string rest = WithoutActive(line);
  // "MRDs<m>r<k>": the "s" right after "MRD", the "r" at least one digit later.
  constexpr std::size_t kSAt = 3;
  if (rest.size() <= 6 || rest.compare(0, texts::kMarkerTag.size(), texts::kMarkerTag) != 0) {
    return std::nullopt;
  }
  const std::size_t s = rest.find('s');
  const std::size_t r = rest.find('r');
  if (s != kSAt || r == std::string::npos || r <= kSAt + 1) return std::nullopt;
  const std::string_view view{rest};
  const std::optional<int> mps = ToInt(view.substr(s + 1, r - s - 1));
  const std::optional<int> branch = ToInt(view.substr(r + 1));
  if (!mps || !branch) return std::nullopt;
  return MarkerNumbers{*mps, *branch};
}

std::string_view FirstWord(std::string_view line) {
  const std::size_t end = line.find_first_of(" \t");
  return end == std::string_view::npos ? line : line.substr(0, end);
}

}  // namespace quarn::compiler
