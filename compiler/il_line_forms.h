// Text forms of IL lines inside the compiler: the series and parallel forms of a load line, the
// branch marker lines and their numbers.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quarn::compiler {

// "LD X1" -> "AND X1", "LDI X1" -> "ANI X1", "LDP" -> "ANDP", "DLD<" -> "DAND<"; lines without a
// load stay as they are.
std::string SeriesForm(std::string_view line);
// "LD X1" -> "OR X1", "LDI" -> "ORI", "DLD=" -> "DOR=".
std::string ParallelForm(std::string_view line);

// Every line that contains "MRD" marks the start of a branch until the passes resolve it.
bool IsMarker(std::string_view line);
// "MRDs" + branch point + "r" + branch: "MRDs0r1".
std::string MarkerText(int mps, int branch);

struct MarkerNumbers {
  int Mps = 0;
  int Branch = 0;
  friend bool operator==(const MarkerNumbers&, const MarkerNumbers&) = default;
};
// The numbers of a marker line, "active" (any letter case) ignored; nothing when the line is not
// a well-formed marker.
std::optional<MarkerNumbers> ParseMarker(std::string_view line);

// The mnemonic of a line: up to the first blank or tab.
std::string_view FirstWord(std::string_view line);

}  // namespace quarn::compiler
