#include "compiler/mps_assembly.h"

#include <algorithm>
#include <map>
#include <optional>

#include "compiler/compiler_texts.h"
#include "compiler/il_line_forms.h"
#include "program_model/catalogue.h"
#include "program_model/element_kinds.h"

namespace quarn::compiler {
namespace {

constexpr int kMaxBranchPoints = 8;

PassOutcome Failed(std::int32_t code) { return PassOutcome{code, {}}; }

bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

IlLines WithoutDeleted(const IlLines& lines) {
  IlLines result;
  result.reserve(lines.size());
  for (const std::string& line : lines) {
    if (line != texts::kDeleted) result.push_back(line);
  }
  return result;
}

bool StandsAlone(std::string_view line) {
  const std::string_view word = FirstWord(line);
  return std::find(texts::kStandAloneMnemonics.begin(), texts::kStandAloneMnemonics.end(), word) !=
         texts::kStandAloneMnemonics.end();
}

bool IsOutputInstruction(std::string_view line) {
  const std::uint8_t kind = program_model::ElementKindOfMnemonic(FirstWord(line));
  return kind == program_model::EkOUT || kind == program_model::EkInstrStart;
}

// Markers by branch point and branch number.
template <typename Entry>
using MarkerTable = std::map<int, std::map<int, Entry>>;

// The lines with each marker line replaced by what `replace(marker, line)` answers: its new
// text, or nothing to drop the line.
template <typename Replace>
IlLines ReplaceMarkers(const IlLines& lines, Replace replace) {
  IlLines result;
  result.reserve(lines.size());
  for (const std::string& line : lines) {
    if (!IsMarker(line)) {
      result.push_back(line);
      continue;
    }
    std::optional<std::string> text = replace(*ParseMarker(line), line);
    if (text) result.push_back(std::move(*text));
  }
  return result;
}

}  // namespace

PassOutcome DeleteSingleMRD(const IlLines& lines, const std::vector<TMPS>& points) {
  MarkerTable<std::string> renamed;
  for (const std::string& line : lines) {
    if (!IsMarker(line)) continue;
    const std::optional<MarkerNumbers> marker = ParseMarker(line);
    if (!marker || marker->Mps < 0 || marker->Mps >= static_cast<int>(points.size())) {
      return Failed(texts::ErrMps);
    }
    const TMPS& point = points[static_cast<std::size_t>(marker->Mps)];
    if (marker->Branch < 0 || marker->Branch >= static_cast<int>(point.MRDs.size())) {
      return Failed(texts::ErrMps);
    }
    const bool active = point.MRDs[static_cast<std::size_t>(marker->Branch)].Active;
    renamed[marker->Mps][marker->Branch] = active ? line + std::string(texts::kActive) : line;
  }
  for (auto& [mps, group] : renamed) {
    int active = 0;
    for (auto& [branch, text] : group) {
      if (Contains(text, texts::kActive)) {
        ++active;
      } else {
        text = texts::kDeleted;
      }
    }
    // One active branch needs no stack: its condition is the accumulator itself.
    if (active <= 1) {
      for (auto& [branch, text] : group) text = texts::kDeleted;
    }
  }
  return PassOutcome{0, ReplaceMarkers(lines, [&](MarkerNumbers marker, const std::string&) {
                       const std::string& text = renamed[marker.Mps][marker.Branch];
                       return text == texts::kDeleted ? std::nullopt
                                                      : std::optional<std::string>(text);
                     })};
}

PassOutcome ReduceEmptyMRD(const IlLines& source) {
  if (source.empty() || (source.size() == 1 && !StandsAlone(source.front()))) {
    return Failed(texts::ErrIncorrectFragment);
  }
  struct Entry {
    std::string OldText;
    MarkerNumbers New;
  };
  std::vector<Entry> entries;
  for (const std::string& line : source) {
    if (!IsMarker(line)) continue;
    const std::optional<MarkerNumbers> marker = ParseMarker(line);
    if (!marker) return Failed(texts::ErrMps);
    entries.push_back(Entry{line, *marker});
  }
  IlLines lines = source;
  for (;;) {
    std::size_t second = 0;
    for (std::size_t i = lines.size(); i-- > 1;) {
      if (IsMarker(lines[i]) && IsMarker(lines[i - 1])) {
        second = i;
        break;
      }
    }
    if (second == 0) break;
    const std::optional<MarkerNumbers> inner = ParseMarker(lines[second]);
    const std::optional<MarkerNumbers> outer = ParseMarker(lines[second - 1]);
    if (!inner || !outer) return Failed(texts::ErrMps);
    lines[second] = texts::kDeleted;
    int counter = 0;
    for (Entry& entry : entries) {
      if (entry.New == *inner) {
        entry.OldText = texts::kDeleted;
        entry.New = MarkerNumbers{-1, -1};
      } else if (entry.New.Mps == inner->Mps || entry.New.Mps == outer->Mps) {
        entry.New = MarkerNumbers{outer->Mps, counter++};
        const std::string text = MarkerText(entry.New.Mps, entry.New.Branch);
        const auto last = std::find(lines.rbegin(), lines.rend(), entry.OldText);
        if (last != lines.rend()) *last = text;
        entry.OldText = text;
      }
    }
  }
  return PassOutcome{0, WithoutDeleted(lines)};
}

PassOutcome DeleteNeedlessMRD(const IlLines& lines) {
  struct Entry {
    bool OutputsOnly = false;
    bool Deleted = false;
  };
  MarkerTable<Entry> table;
  Entry* recent = nullptr;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (IsMarker(lines[i])) {
      const std::optional<MarkerNumbers> marker = ParseMarker(lines[i]);
      // A marker as the last line opens a branch that holds nothing.
      if (!marker || i + 1 == lines.size()) return Failed(texts::ErrMps);
      recent = &table[marker->Mps][marker->Branch];
      *recent = Entry{true, false};
    } else if (recent != nullptr && !IsOutputInstruction(lines[i])) {
      recent->OutputsOnly = false;
    }
  }
  for (auto& [mps, group] : table) {
    if (group.size() == 1) return Failed(texts::ErrMps);
    const int lastBranch = group.rbegin()->first;
    const auto outputsOnly = [&group](int branch) {
      const auto it = group.find(branch);
      return it != group.end() && it->second.OutputsOnly;
    };
    int kept = 0;
    for (auto& [branch, entry] : group) {
      entry.Deleted = (branch == 0 && entry.OutputsOnly) ||
                      (branch > 0 && outputsOnly(branch - 1) && entry.OutputsOnly) ||
                      (branch == lastBranch && outputsOnly(branch - 1));
      if (!entry.Deleted) ++kept;
    }
    if (kept < 2) {
      for (auto& [branch, entry] : group) entry.Deleted = true;
    }
  }
  return PassOutcome{0, ReplaceMarkers(lines, [&](MarkerNumbers marker, const std::string& line) {
                       return table[marker.Mps][marker.Branch].Deleted
                                  ? std::nullopt
                                  : std::optional<std::string>(line);
                     })};
}

PassOutcome RenameMRD(const IlLines& lines) {
  MarkerTable<std::string_view> names;
  for (const std::string& line : lines) {
    if (!IsMarker(line)) continue;
    const std::optional<MarkerNumbers> marker = ParseMarker(line);
    if (!marker) return Failed(texts::ErrMps);
    names[marker->Mps][marker->Branch] = texts::kMps;
  }
  // The controller keeps at most eight results on its stack.
  if (!names.empty() && names.rbegin()->first + 1 > kMaxBranchPoints) return Failed(texts::ErrMps);
  for (auto& [mps, group] : names) {
    if (group.rbegin()->first + 1 < 2) return Failed(texts::ErrMps);
    std::string_view* previous = nullptr;
    for (auto& [branch, name] : group) {
      if (previous == nullptr) {
        name = texts::kMps;
      } else {
        if (*previous == texts::kMpp) *previous = texts::kMrd;
        name = texts::kMpp;
      }
      previous = &name;
    }
  }
  return PassOutcome{0, ReplaceMarkers(lines, [&](MarkerNumbers marker, const std::string&) {
                       return std::optional<std::string>(names[marker.Mps][marker.Branch]);
                     })};
}

}  // namespace quarn::compiler
