// Diagrams drawn with the editor, compiled, and compared with the IL or the message they give.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "compiler/compile_command.h"
#include "compiler/compiler_texts.h"
#include "tests/compiler/diagram_builder.h"
#include "tests/compiler/logic_check.h"

namespace quarn::compiler {
namespace {

using testing::Diagram;

// The IL as one line: fields separated by blanks, lines by " | ".
std::string Render(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    if (!text.empty()) text += " | ";
    for (char c : line) text += c == '\t' ? ' ' : c;
  }
  return text;
}

struct Case {
  const char* name;
  std::function<void(Diagram&)> draw;
  const char* expected;  // the IL rendered, or the message of a failure
};

// ctest lists each case by its name instead of the bytes of the record.
void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

// ---- Diagrams (15 columns: the rail is column 3, coils end in column 14) ----

void OneContact(Diagram& d) { d.Contact(0, 3, "LD", "X0").Coil(0, 4, "Y0"); }

void TwoInSeries(Diagram& d) {
  d.Contact(0, 3, "LD", "X0").Contact(0, 4, "LD", "X1").Coil(0, 5, "Y0");
}

void ParallelStart(Diagram& d) {
  d.Contact(0, 3, "LD", "X0").Contact(1, 3, "LD", "X1").Vertical(0, 4);
  d.Contact(0, 4, "LD", "X2").Coil(0, 5, "Y0");
}

void ClosedContactInParallel(Diagram& d) {
  d.Contact(0, 3, "LD", "X0").Contact(1, 3, "LDI", "X1").Vertical(0, 4).Coil(0, 4, "Y0");
}

void RisingEdgeInSeries(Diagram& d) {
  d.Contact(0, 3, "LD", "X0").Contact(0, 4, "LDP", "X1").Coil(0, 5, "Y0");
}

void ParallelOfSeries(Diagram& d) {
  d.Contact(0, 3, "LD", "X0").Contact(0, 4, "LD", "X1");
  d.Contact(1, 3, "LD", "X2").Contact(1, 4, "LD", "X3").Vertical(0, 5).Coil(0, 5, "Y0");
}

void ParallelInTheMiddle(Diagram& d) {
  d.Contact(0, 3, "LD", "X0").Contact(0, 4, "LD", "X1").Contact(1, 4, "LD", "X2");
  d.Vertical(0, 4).Vertical(0, 5).Contact(0, 5, "LD", "X3").Coil(0, 6, "Y0");
}

void SeriesPairsInParallelInTheMiddle(Diagram& d) {
  d.Contact(0, 3, "LD", "X0").Contact(0, 4, "LD", "X1").Contact(0, 5, "LD", "X2");
  d.Contact(1, 4, "LD", "X3").Contact(1, 5, "LD", "X4");
  d.Vertical(0, 4).Vertical(0, 6).Coil(0, 6, "Y0");
}

void ThreeRowsInParallel(Diagram& d) {
  d.Contact(0, 3, "LD", "X0").Contact(1, 3, "LDI", "X1").Contact(2, 3, "LDP", "X2");
  d.Vertical(0, 4).Vertical(1, 4).Coil(0, 4, "Y0");
}

void Comparison(Diagram& d) {
  d.Contact(0, 3, "LD", "X0").Compare(0, 4, "LD=", "D0", "K5").Coil(0, 7, "Y0");
}

void Inversion(Diagram& d) { d.Contact(0, 3, "LD", "X0").Inversion(0, 4).Coil(0, 5, "Y0"); }

void MoveAsOutput(Diagram& d) {
  d.Contact(0, 3, "LDI", "M0").Apply(0, 4, "MOV", {"K3000", "D361"});
}

// The worked example: one condition, two branches with a contact each.
void Fork(Diagram& d) {
  d.Contact(0, 3, "LD", "X0").Contact(0, 4, "LD", "X1").Contact(1, 4, "LD", "X2");
  d.Vertical(0, 4).Coil(0, 5, "Y0").Coil(1, 5, "Y1");
}

void ForkOfWires(Diagram& d) {
  d.Contact(0, 3, "LD", "X0").Vertical(0, 4).Coil(0, 4, "Y0").Coil(1, 4, "Y1");
}

void ThreeBranches(Diagram& d) {
  d.Contact(0, 3, "LD", "X0").Contact(0, 4, "LD", "X1").Contact(1, 4, "LD", "X2");
  d.Contact(2, 4, "LD", "X3").Vertical(0, 4).Vertical(1, 4);
  d.Coil(0, 5, "Y0").Coil(1, 5, "Y1").Coil(2, 5, "Y2");
}

void LabelInSecondRow(Diagram& d) {
  Fork(d);
  d.Label(1, "P", "5");
}

void NestedFork(Diagram& d) {
  d.Contact(0, 3, "LD", "X0").Contact(0, 4, "LD", "X1").Contact(0, 5, "LD", "X2");
  d.Contact(1, 5, "LD", "X3").Contact(2, 4, "LD", "X4");
  d.Vertical(0, 4).Vertical(1, 4).Vertical(0, 5);
  d.Coil(0, 6, "Y0").Coil(1, 6, "Y1").Coil(2, 5, "Y2");
}

void ForkUpperOutputsOnly(Diagram& d) {
  d.Contact(0, 3, "LD", "X0").Contact(1, 4, "LD", "X2").Vertical(0, 4);
  d.Coil(0, 4, "Y0").Coil(1, 5, "Y1");
}

void ForkMiddleOutputsOnly(Diagram& d) {
  d.Contact(0, 3, "LD", "X0").Contact(0, 4, "LD", "X1").Contact(2, 4, "LD", "X3");
  d.Vertical(0, 4).Vertical(1, 4).Coil(0, 5, "Y0").Coil(1, 4, "Y1").Coil(2, 5, "Y2");
}

void ParallelThenFork(Diagram& d) {
  d.Contact(0, 3, "LD", "X0").Contact(1, 3, "LD", "X1").Vertical(0, 4).Contact(0, 4, "LD", "X2");
  d.Vertical(0, 5).Contact(0, 5, "LD", "X3").Contact(1, 5, "LD", "X4");
  d.Coil(0, 6, "Y0").Coil(1, 6, "Y1");
}

void ParallelInTheMiddleThenFork(Diagram& d) {
  ParallelInTheMiddle(d);
  d.Contact(2, 5, "LD", "X4").Vertical(0, 5).Vertical(1, 5).Coil(2, 6, "Y1");
}

void BranchWithParallel(Diagram& d) {
  d.Contact(0, 3, "LD", "X0").Contact(0, 4, "LD", "X1").Contact(1, 4, "LD", "X2");
  d.Contact(2, 4, "LD", "X3").Vertical(0, 4).Vertical(1, 4).Vertical(1, 5);
  d.Coil(0, 5, "Y0").Coil(1, 5, "Y1");
}

void ForkToMoveAndInversion(Diagram& d) {
  d.Contact(0, 3, "LD", "X0").Contact(0, 4, "LD", "X1").Inversion(0, 5);
  d.Contact(1, 4, "LD", "X2").Vertical(0, 4);
  d.Coil(0, 6, "Y0").Apply(1, 5, "MOV", {"K1", "D0"});
}

void ComparisonInParallel(Diagram& d) {
  d.Contact(0, 3, "LD", "X0").Compare(1, 3, "LD>", "D0", "K5").Wire(0, 4, 5).Vertical(0, 6);
  d.Coil(0, 6, "Y0");
}

// A bare wire from the rail feeds the branch point: there is no condition to store, so every
// branch loads its own.
void WireFromRailThenFork(Diagram& d) {
  d.Wire(0, 3, 4).Contact(0, 5, "LD", "X1").Contact(1, 5, "LD", "X2");
  d.Contact(2, 5, "LDI", "X3").Vertical(0, 5).Vertical(1, 5);
  d.Coil(0, 6, "Y0").Coil(1, 6, "Y1").Coil(2, 6, "Y2");
}

void WireFromRailThenNestedFork(Diagram& d) {
  d.Wire(0, 3, 3).Contact(0, 4, "LD", "X1").Contact(0, 5, "LD", "X5").Contact(1, 5, "LD", "X6");
  d.Contact(2, 4, "LD", "X2").Vertical(0, 5).Vertical(0, 4).Vertical(1, 4);
  d.Coil(0, 6, "Y0").Coil(1, 6, "Y1").Coil(2, 5, "Y2");
}

// Branch points down a staircase: row i branches off row i-1 and holds contacts before and after
// its own branch point, so every marker survives until renaming.
void Staircase(Diagram& d, int points) {
  d.Contact(0, 3, "LD", "X0");
  for (int row = 0; row <= points; ++row) {
    const std::string n = std::to_string(row);
    if (row > 0) d.Contact(row, 3 + row, "LD", "M" + n);
    if (row < points) d.Contact(row, 4 + row, "LD", "X1" + n).Vertical(row, 4 + row);
    d.Coil(row, 5 + std::min(row, points - 1), "Y" + n);
  }
}

void MoveAlone(Diagram& d) { d.Apply(0, 3, "MOV", {"K3000", "D361"}); }

void EndAlone(Diagram& d) { d.Apply(0, 3, "END"); }

void TwoRungs(Diagram& d) {
  OneContact(d);
  d.Contact(2, 3, "LDI", "X1").Contact(2, 4, "LD", "M3").Coil(2, 5, "Y1");
}

void RungEndingWithEnd(Diagram& d) { d.Contact(0, 3, "LD", "X0").Apply(0, 4, "END"); }

void InterruptedWire(Diagram& d) { d.Contact(0, 3, "LD", "X0").Wire(0, 4, 6); }

void SecondRungInterrupted(Diagram& d) {
  OneContact(d);
  d.Contact(2, 3, "LD", "X1").Wire(2, 4, 8);
}

const Case kCases[] = {
    {"OneContact", OneContact, "LD X0 | OUT Y0 | END"},
    {"TwoInSeries", TwoInSeries, "LD X0 | AND X1 | OUT Y0 | END"},
    {"ParallelStart", ParallelStart, "LD X0 | OR X1 | AND X2 | OUT Y0 | END"},
    {"ClosedContactInParallel", ClosedContactInParallel, "LD X0 | ORI X1 | OUT Y0 | END"},
    {"RisingEdgeInSeries", RisingEdgeInSeries, "LD X0 | ANDP X1 | OUT Y0 | END"},
    {"ParallelOfSeries", ParallelOfSeries, "LD X0 | AND X1 | LD X2 | AND X3 | ORB | OUT Y0 | END"},
    {"ParallelInTheMiddle", ParallelInTheMiddle,
     "LD X0 | LD X1 | OR X2 | ANB | AND X3 | OUT Y0 | END"},
    {"SeriesPairsInParallelInTheMiddle", SeriesPairsInParallelInTheMiddle,
     "LD X0 | LD X1 | AND X2 | LD X3 | AND X4 | ORB | ANB | OUT Y0 | END"},
    {"ThreeRowsInParallel", ThreeRowsInParallel, "LD X0 | ORI X1 | ORP X2 | OUT Y0 | END"},
    {"Comparison", Comparison, "LD X0 | AND= D0 K5 | OUT Y0 | END"},
    {"Inversion", Inversion, "LD X0 | INV | OUT Y0 | END"},
    {"MoveAsOutput", MoveAsOutput, "LDI M0 | MOV K3000 D361 | END"},
    {"Fork", Fork, "LD X0 | MPS | AND X1 | OUT Y0 | MPP | AND X2 | OUT Y1 | END"},
    {"ForkOfWires", ForkOfWires, "LD X0 | OUT Y0 | OUT Y1 | END"},
    {"ThreeBranches", ThreeBranches,
     "LD X0 | MPS | AND X1 | OUT Y0 | MRD | AND X2 | OUT Y1 | MPP | AND X3 | OUT Y2 | END"},
    {"LabelInSecondRow", LabelInSecondRow,
     "P 5 | LD X0 | MPS | AND X1 | OUT Y0 | MPP | AND X2 | OUT Y1 | END"},
    {"NestedFork", NestedFork,
     "LD X0 | MPS | AND X1 | MPS | AND X2 | OUT Y0 | MPP | AND X3 | OUT Y1 | MPP | AND X4 | "
     "OUT Y2 | END"},
    {"ForkUpperOutputsOnly", ForkUpperOutputsOnly, "LD X0 | OUT Y0 | AND X2 | OUT Y1 | END"},
    {"ForkMiddleOutputsOnly", ForkMiddleOutputsOnly,
     "LD X0 | MPS | AND X1 | OUT Y0 | MPP | OUT Y1 | AND X3 | OUT Y2 | END"},
    {"ParallelThenFork", ParallelThenFork,
     "LD X0 | OR X1 | AND X2 | MPS | AND X3 | OUT Y0 | MPP | AND X4 | OUT Y1 | END"},
    {"ParallelInTheMiddleThenFork", ParallelInTheMiddleThenFork,
     "LD X0 | LD X1 | OR X2 | ANB | MPS | AND X3 | OUT Y0 | MPP | AND X4 | OUT Y1 | END"},
    {"BranchWithParallel", BranchWithParallel,
     "LD X0 | MPS | AND X1 | OUT Y0 | MPP | LD X2 | OR X3 | ANB | OUT Y1 | END"},
    {"ForkToMoveAndInversion", ForkToMoveAndInversion,
     "LD X0 | MPS | AND X1 | INV | OUT Y0 | MPP | AND X2 | MOV K1 D0 | END"},
    {"ComparisonInParallel", ComparisonInParallel, "LD X0 | OR> D0 K5 | OUT Y0 | END"},
    {"WireFromRailThenFork", WireFromRailThenFork,
     "LD X1 | OUT Y0 | LD X2 | OUT Y1 | LDI X3 | OUT Y2 | END"},
    {"WireFromRailThenNestedFork", WireFromRailThenNestedFork,
     "LD X1 | MPS | AND X5 | OUT Y0 | MPP | AND X6 | OUT Y1 | LD X2 | OUT Y2 | END"},
    {"EightBranchPoints", [](Diagram& d) { Staircase(d, 8); },
     "LD X0 | MPS | AND X10 | OUT Y0 | MPP | AND M1 | MPS | AND X11 | OUT Y1 | MPP | AND M2 | "
     "MPS | AND X12 | OUT Y2 | MPP | AND M3 | MPS | AND X13 | OUT Y3 | MPP | AND M4 | MPS | "
     "AND X14 | OUT Y4 | MPP | AND M5 | MPS | AND X15 | OUT Y5 | MPP | AND M6 | MPS | AND X16 | "
     "OUT Y6 | MPP | AND M7 | MPS | AND X17 | OUT Y7 | MPP | AND M8 | OUT Y8 | END"},
    {"EndAlone", EndAlone, "END"},
    {"TwoRungs", TwoRungs, "LD X0 | OUT Y0 | LDI X1 | AND M3 | OUT Y1 | END"},
    {"RungEndingWithEnd", RungEndingWithEnd, "LD X0 | END"},
};

class CompiledDiagram : public ::testing::TestWithParam<Case> {};

TEST_P(CompiledDiagram, GivesItsIlAndKeepsItsLogic) {
  Diagram diagram;
  GetParam().draw(diagram);
  const CompileOutcome outcome = CompileLadder(diagram.Grid(), 1000);
  ASSERT_TRUE(outcome.Success) << outcome.Message;
  EXPECT_EQ(Render(outcome.Lines), GetParam().expected);
  EXPECT_EQ(testing::CompareLogic(diagram.Grid(), outcome.Lines), "");
}

INSTANTIATE_TEST_SUITE_P(Diagrams, CompiledDiagram, ::testing::ValuesIn(kCases),
                         [](const auto& param) { return std::string(param.param.name); });

const Case kFailures[] = {
    {"InterruptedWire", InterruptedWire,
     "Complilation failed - interrupted lines - Fragment #1 row #0"},
    {"MoveAlone", MoveAlone, "Complilation failed - Incorrect Fragment - Fragment #1 row #0"},
    {"SecondRungInterrupted", SecondRungInterrupted,
     "Complilation failed - interrupted lines - Fragment #2 row #2"},
    {"NothingButTheRail", [](Diagram&) {}, "Table is empty"},
    {"ContactsOffTheRail", [](Diagram& d) { d.Contact(1, 5, "LD", "X0").Coil(1, 6, "Y0"); },
     "Table is empty"},
    // Deleting the rail column makes the inversion the rung's first element.
    {"InversionOnTheRail",
     [](Diagram& d) {
       d.Inversion(0, 4).Contact(0, 5, "LD", "X1").Coil(0, 6, "Y0");
       d.Grid().DeleteColumn(ladder::BusColumn);
     },
     "Complilation failed - incorrect position of INV command - Fragment #1 row #0"},
    // A comparison placed with one operand, then the columns right of it deleted: its second
    // operand would lie past the last column.
    {"ComparisonPastTheLastColumn",
     [](Diagram& d) {
       d.Contact(0, 3, "LD", "X0").Wire(0, 4, 10).Compare(0, 11, "LD=", "D0", "");
       d.Grid().DeleteColumn(14);
       d.Grid().DeleteColumn(13);
     },
     "Complilation failed - interrupted instruction - Fragment #1 row #0"},
    {"NineBranchPoints", [](Diagram& d) { Staircase(d, 9); },
     "Complilation failed - MPS error - Fragment #1 row #9"},
};

class RefusedDiagram : public ::testing::TestWithParam<Case> {};

TEST_P(RefusedDiagram, GivesTheMessageAndNoIl) {
  Diagram diagram;
  GetParam().draw(diagram);
  const CompileOutcome outcome = CompileLadder(diagram.Grid(), 1000);
  EXPECT_FALSE(outcome.Success);
  EXPECT_EQ(outcome.Message, GetParam().expected);
  EXPECT_TRUE(outcome.Lines.empty());
}

INSTANTIATE_TEST_SUITE_P(Diagrams, RefusedDiagram, ::testing::ValuesIn(kFailures),
                         [](const auto& param) { return std::string(param.param.name); });

// Rows of contacts in parallel, each joined to the one above; every row adds two blocks.
void TallParallel(Diagram& d, int rows) {
  for (int row = 0; row < rows; ++row) {
    d.Contact(row, 3, "LD", "M" + std::to_string(row));
    if (row + 1 < rows) d.Vertical(row, 4);
  }
  d.Coil(0, 4, "Y0");
}

TEST(CompileLadder, StopsARungThatNeedsMoreThanAThousandBlocks) {
  Diagram diagram;
  TallParallel(diagram, 520);
  const CompileOutcome outcome = CompileLadder(diagram.Grid(), 1000);
  EXPECT_EQ(outcome.ErrorCode, texts::ErrInfiniteCycle);
  EXPECT_EQ(outcome.Message.rfind("Complilation failed - infinite cycle - Fragment #1 row #", 0),
            0u)
      << outcome.Message;
}

TEST(CompileLadder, LimitsEveryRungPastItsFifthBlockToAThousandBlocks) {
  Diagram diagram;
  TallParallel(diagram, 150);  // about 300 blocks
  EXPECT_TRUE(CompileLadder(diagram.Grid(), 100).Success);
  // The setting still counts for the first blocks of a rung.
  Diagram small;
  OneContact(small);
  EXPECT_EQ(CompileLadder(small.Grid(), 1).ErrorCode, texts::ErrInfiniteCycle);
}

TEST(CompileLadder, SeparatesFieldsByTabs) {
  Diagram diagram;
  MoveAsOutput(diagram);
  const CompileOutcome outcome = CompileLadder(diagram.Grid(), 1000);
  EXPECT_EQ(outcome.Lines, (std::vector<std::string>{"LDI\tM0", "MOV\tK3000\tD361", "END"}));
}

TEST(CompileLadder, SuccessCountsTheRungsAndResetsTheEntryAnchor) {
  Diagram diagram;
  TwoRungs(diagram);
  const int resetsBefore = diagram.Events().anchorResets;
  const CompileOutcome outcome = CompileLadder(diagram.Grid(), 1000);
  EXPECT_EQ(outcome.Message, "Complilation successfull - 2 fragments");
  EXPECT_EQ(outcome.FragmentCount, 2);
  EXPECT_FALSE(outcome.Cursor.has_value());
  EXPECT_EQ(diagram.Events().anchorResets, resetsBefore + 1);
}

TEST(CompileLadder, FailurePointsTheCursorWhereTheScanStopped) {
  Diagram diagram;
  SecondRungInterrupted(diagram);
  const CompileOutcome outcome = CompileLadder(diagram.Grid(), 1000);
  ASSERT_TRUE(outcome.Cursor.has_value());
  EXPECT_EQ(*outcome.Cursor, (TGridCell{2, 8}));
  EXPECT_EQ(outcome.ErrorCode, texts::ErrInterruptedLines);
}

TEST(CompileLadder, LabelsBelongToTheRungThatEndsAtOrAfterThem) {
  Diagram diagram;
  OneContact(diagram);
  diagram.Label(1, "P", "1");  // between the rungs: the second rung's
  diagram.Contact(2, 3, "LD", "X1").Coil(2, 4, "Y1");
  diagram.Label(3, "P", "2");  // below the last rung: not compiled
  const CompileOutcome outcome = CompileLadder(diagram.Grid(), 1000);
  EXPECT_EQ(Render(outcome.Lines), "LD X0 | OUT Y0 | P 1 | LD X1 | OUT Y1 | END");
}

}  // namespace
}  // namespace quarn::compiler
