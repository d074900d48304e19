// Every text the ladder compiler shows or writes: messages, trace lines, block type names.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace quarn::compiler::texts {

// ---- Messages of the compile command ----
inline constexpr std::string_view kCompilationFailed = "Compilation failed";
inline constexpr std::string_view kTableIsEmpty = "Table is empty";
inline constexpr std::string_view kSuccessPrefix = "Complilation successfull - ";
inline constexpr std::string_view kSuccessSuffix = " fragments";
inline constexpr std::string_view kFragmentPrefix = " - Fragment #";
inline constexpr std::string_view kRowPrefix = " row #";
inline constexpr std::string_view kEndLine = "END";

// ---- Error codes ----
enum ErrorCodes : std::int32_t {
  ErrNone = 0,
  ErrInterruptedLines = 1,
  ErrNotFinishedBlock = 3,
  ErrInterruptedInstruction = 4,
  ErrInvPosition = 5,
  ErrFragment = 7,
  ErrParallelBlock = 10,
  ErrCellContent = 11,
  ErrMps = 12,
  ErrInfiniteCycle = 13,
  ErrIncorrectFragment = 14,
  ErrMarkInstruction = 15,
};

struct ErrorText {
  std::int32_t Code;
  std::string_view Text;
};

inline constexpr std::array<ErrorText, 10> kErrorTexts = {{
    {ErrInterruptedLines, "Complilation failed - interrupted lines"},
    {ErrNotFinishedBlock, "Complilation failed - not finished block"},
    {ErrInterruptedInstruction, "Complilation failed - interrupted instruction"},
    {ErrInvPosition, "Complilation failed - incorrect position of INV command"},
    {ErrFragment, "Complilation failed - fragment error, fragment #"},
    {ErrParallelBlock, "Complilation failed - incorrect parallel block"},
    {ErrCellContent, "Complilation failed - incorrect cell content"},
    {ErrMps, "Complilation failed - MPS error"},
    {ErrInfiniteCycle, "Complilation failed - infinite cycle"},
    {ErrIncorrectFragment, "Complilation failed - Incorrect Fragment"},
}};

// The message of an error code; "Compilation failed" for a code without one of its own.
constexpr std::string_view ErrorMessage(std::int32_t code) {
  for (const ErrorText& row : kErrorTexts) {
    if (row.Code == code) return row.Text;
  }
  return kCompilationFailed;
}

// ---- Trace lines of debug.log ----
inline constexpr std::string_view kTraceStart = "Compilation start";
inline constexpr std::string_view kStep1 = "step 1 - check ORBlockAbove";
inline constexpr std::string_view kStep2 = "step 2 - check ORBlockBelow";
inline constexpr std::string_view kStep3 = "step 3 - check ANDBlockAtLeft";
inline constexpr std::string_view kStep7 =
    "step 7 - TwoBranchesExist - next step - CombineBranches";
inline constexpr std::string_view kStep8 = "step 8 - GetNextMRDCell";
inline constexpr std::string_view kStep9 = "step 9 - Assemble MPS";
inline constexpr std::string_view kStep10 = "step 10 - AddMarkInstruction";
inline constexpr std::string_view kPassDeleteSingle = "Delete single MRD";
inline constexpr std::string_view kPassReduceEmpty = "Reduce Empty MRD";
inline constexpr std::string_view kPassDeleteNeedless = "Delete NeedLess MRD";
inline constexpr std::string_view kPassRename = "Rename MRD";
inline constexpr std::string_view kPassMarks = "Add Mark Instructions";

inline constexpr std::array<std::string_view, 7> kBlockTypeNames = {
    "btUNDEF", "btApply", "btOR", "btORB", "btAND", "btLD", "btMRD"};
inline constexpr std::string_view kUnknownBlockType = "bt???";

// ---- Marker lines and stack instructions ----
inline constexpr std::string_view kMarkerTag = "MRD";  // every line holding it is a marker
inline constexpr std::string_view kMarkerPrefix = "MRDs";
inline constexpr std::string_view kActive = "active";
inline constexpr std::string_view kDeleted = "_DEL";
inline constexpr std::string_view kMarkerPlaceholder = "";
inline constexpr std::string_view kMps = "MPS";
inline constexpr std::string_view kMrd = "MRD";
inline constexpr std::string_view kMpp = "MPP";
inline constexpr std::string_view kAnb = "ANB";
inline constexpr std::string_view kOrb = "ORB";
inline constexpr std::string_view kInv = "INV";

// Instructions that may make up a rung on their own.
inline constexpr std::array<std::string_view, 9> kStandAloneMnemonics = {
    "SRET", "IRET", "FOR", "NEXT", "EI", "DI", "END", "FEND", "NOP"};

}  // namespace quarn::compiler::texts
