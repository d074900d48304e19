#include "compiler/il_line_forms.h"

#include <gtest/gtest.h>

namespace quarn::compiler {
namespace {

TEST(IlLineForms, SeriesAndParallelFormsRewriteTheFirstLoad) {
  struct Row {
    const char* line;
    const char* series;
    const char* parallel;
  };
  const Row rows[] = {
      {"LD\tX1", "AND\tX1", "OR\tX1"},
      {"LDI\tX1", "ANI\tX1", "ORI\tX1"},
      {"LDP\tX1", "ANDP\tX1", "ORP\tX1"},
      {"LDF\tM2", "ANDF\tM2", "ORF\tM2"},
      {"LD=\tD0\tK5", "AND=\tD0\tK5", "OR=\tD0\tK5"},
      {"DLD<\tD0\tK5", "DAND<\tD0\tK5", "DOR<\tD0\tK5"},
      {"OUT\tY0", "OUT\tY0", "OUT\tY0"},
      {"INV", "INV", "INV"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(SeriesForm(row.line), row.series) << row.line;
    EXPECT_EQ(ParallelForm(row.line), row.parallel) << row.line;
  }
}

TEST(IlLineForms, ParseMarkerReadsWellFormedMarkersOnly) {
  EXPECT_EQ(ParseMarker("MRDs0r1"), (MarkerNumbers{0, 1}));
  EXPECT_EQ(ParseMarker("MRDs12r3active"), (MarkerNumbers{12, 3}));
  EXPECT_EQ(ParseMarker("MRDs2ACTIVEr0"), (MarkerNumbers{2, 0}));
  EXPECT_EQ(ParseMarker(MarkerText(7, 10)), (MarkerNumbers{7, 10}));
  for (const char* bad : {"MRD", "MRDs0r", "MRDsr10", "MRDsxr1", "MRDs1r2x", "MPS", "MRDs0s1r1",
                          "XMRDs0r1", "MRDs99999999999r1"}) {
    EXPECT_FALSE(ParseMarker(bad).has_value()) << bad;
  }
}

}  // namespace
}  // namespace quarn::compiler
