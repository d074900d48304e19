// The IL line parser and validator, and the Clean up of a whole program.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "program_model/program_code.h"

namespace quarn::program_model {

// Result codes of ParseIlLine / CheckIlLine.
enum IlCode : int {
  IlValid = 0,
  IlWrongOperand1 = 1,
  IlWrongOperand4 = 4,
  IlTooFewOperands = 5,
  IlWrongCommand = 6,
  IlTextAfterCommand = 7,  // CheckIlLine: also an empty line
  IlComment = 8,
  IlTextAfterOperands = 9,
};

struct ParseResult {
  int Code = IlWrongCommand;
  InstructionImage Image{};
};

ParseResult ParseIlLine(std::string_view text);

struct CheckResult {
  bool Valid = false;
  int Code = IlTextAfterCommand;
};
CheckResult CheckIlLine(std::string_view line);

// The line up to its first "//" or ";".
std::string_view CommandText(std::string_view line);

// The line without its leading blanks when it is one of a program's instructions; empty for a
// blank line and a comment line, which a program list skips.
std::string_view InstructionLine(std::string_view line);

// The prefix put before a wrong line; empty for codes without one.
std::string WrongLinePrefix(int code);

enum class WrongLines { Clear, Comment };
// Empty lines are removed; wrong lines are removed (Clear) or turned into comments (Comment).
void CleanUpProgram(std::vector<std::string>& lines, WrongLines choice);

}  // namespace quarn::program_model
