#include "tests/compiler/logic_check.h"

#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string_view>

#include "program_model/element_kinds.h"

namespace quarn::compiler::testing {
namespace {

using program_model::ElementKindCode;
using Inputs = std::map<std::string, bool>;
using Outputs = std::map<std::string, bool>;

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> parts;
  std::stringstream stream(line);
  std::string part;
  while (std::getline(stream, part, '\t')) parts.push_back(part);
  return parts;
}

bool IsComparison(std::string_view mnemonic) {
  return mnemonic.find_first_of("=<>") != std::string_view::npos;
}

// "LD=", "AND=", "OR=" -> "="; "DLD<" -> "D<".
std::string ComparisonKey(std::string mnemonic, const std::string& a, const std::string& b) {
  for (std::string_view form : {"LD", "AND", "OR"}) {
    const std::size_t at = mnemonic.find(form);
    if (at != std::string::npos) {
      mnemonic.erase(at, form.size());
      break;
    }
  }
  return mnemonic + " " + a + " " + b;
}

// ---- The diagram ----

struct Cell {
  bool hline = false;
  std::uint8_t element = 0;  // principal kind code, 0 for none
  std::string text;
};

class LadderModel {
 public:
  explicit LadderModel(const ladder::LadderGrid& grid) : grid_(grid) {}

  void CollectInputs(std::set<std::string>& inputs) const {
    for (int r = 0; r < grid_.RowCount(); ++r) {
      for (int c = ladder::BusColumn; c < grid_.ColCount(); ++c) {
        if (const std::string key = InputKey(r, c); !key.empty()) inputs.insert(key);
      }
    }
  }

  Outputs Evaluate(const Inputs& inputs) const {
    Outputs outputs;
    const int rows = grid_.RowCount();
    std::vector<bool> left(static_cast<std::size_t>(rows), true);  // the rail
    for (int c = ladder::BusColumn; c < grid_.ColCount(); ++c) {
      if (c > ladder::BusColumn) JoinVerticals(c, left);
      std::vector<bool> right(static_cast<std::size_t>(rows), false);
      for (int r = 0; r < rows; ++r) {
        right[static_cast<std::size_t>(r)] =
            Through(r, c, left[static_cast<std::size_t>(r)], inputs, outputs);
      }
      left = right;
    }
    return outputs;
  }

 private:
  bool Has(int r, int c, std::uint8_t kind) const { return grid_.HasKind(r, c, kind); }

  std::string InputKey(int r, int c) const {
    const std::string& text = grid_.Text(r, c);
    if (Has(r, c, program_model::EkLD) || Has(r, c, program_model::EkLDI)) return text;
    if (Has(r, c, program_model::EkLDP)) return "P " + text;
    if (Has(r, c, program_model::EkLDF)) return "F " + text;
    if (Has(r, c, program_model::EkTransStart)) {
      return ComparisonKey(text, grid_.Text(r, c + 1), grid_.Text(r, c + 2));
    }
    return {};
  }

  void JoinVerticals(int c, std::vector<bool>& power) const {
    int r = 0;
    while (r < grid_.RowCount()) {
      int end = r;
      while (end + 1 < grid_.RowCount() && Has(end, c, program_model::EkVLine1) &&
             Has(end + 1, c, program_model::EkVLine2)) {
        ++end;
      }
      bool any = false;
      for (int i = r; i <= end; ++i) any = any || power[static_cast<std::size_t>(i)];
      for (int i = r; i <= end; ++i) power[static_cast<std::size_t>(i)] = any;
      r = end + 1;
    }
  }

  bool Through(int r, int c, bool in, const Inputs& inputs, Outputs& outputs) const {
    const std::string key = InputKey(r, c);
    if (Has(r, c, program_model::EkLDI)) return in && !inputs.at(key);
    if (!key.empty()) return in && inputs.at(key);
    if (Has(r, c, program_model::EkINV)) return !in;
    if (Has(r, c, program_model::EkTransOperand1) || Has(r, c, program_model::EkTransOperand2)) {
      return in;
    }
    if (Has(r, c, program_model::EkOUT)) {
      outputs["OUT\t" + grid_.Text(r, c)] = in;
      return false;
    }
    if (Has(r, c, program_model::EkInstrStart) && grid_.Text(r, c) != "END") {
      std::string line = grid_.Text(r, c);
      for (int i = c + 1;
           i < grid_.ColCount() && grid_.IsMultiCellPart(r, i) && !grid_.IsMultiCellStart(r, i);
           ++i) {
        (line += '\t') += grid_.Text(r, i);
      }
      outputs[line] = in;
      return false;
    }
    if (Has(r, c, program_model::EkHLine)) return in;
    return false;
  }

  const ladder::LadderGrid& grid_;
};

// ---- The IL ----

class IlMachine {
 public:
  std::string Run(const std::vector<std::string>& il, const Inputs& inputs, Outputs& outputs) {
    for (const std::string& line : il) {
      const std::vector<std::string> parts = SplitTabs(line);
      if (parts.empty()) return "empty line";
      // A label ("P 5") has a blank between its parts.
      const std::string op = parts[0].substr(0, parts[0].find(' '));
      if (std::string error = Step(op, parts, line, inputs, outputs); !error.empty()) {
        return error + " at \"" + line + "\"";
      }
    }
    // A load after an output leaves the finished condition on the block stack, as the
    // controller does; a missing ANB or ORB shows as a wrong output instead.
    if (!stack_.empty()) return "MPS without MPP";
    return {};
  }

 private:
  static bool Value(const std::string& op, const std::vector<std::string>& parts,
                    const Inputs& inputs) {
    if (IsComparison(op)) return inputs.at(ComparisonKey(op, parts.at(1), parts.at(2)));
    std::string key = parts.at(1);
    if (op.back() == 'P') key = "P " + key;
    if (op.back() == 'F') key = "F " + key;
    const bool value = inputs.at(key);
    return op.back() == 'I' ? !value : value;
  }

  std::string Step(const std::string& op, const std::vector<std::string>& parts,
                   const std::string& line, const Inputs& inputs, Outputs& outputs) {
    const auto starts = [&op](std::string_view prefix) { return op.rfind(prefix, 0) == 0; };
    const bool comparison = IsComparison(op);
    if (starts("LD") || (comparison && starts("DLD"))) {
      if (hasValue_) blocks_.push_back(acc_);
      acc_ = Value(op, parts, inputs);
      hasValue_ = true;
      return {};
    }
    if (op == "P" || op == "I" || op == "END") return {};
    if (!hasValue_) return "no condition loaded";
    if (op == "AND" || op == "ANI" || op == "ANDP" || op == "ANDF" ||
        (comparison && (starts("AND") || starts("DAND")))) {
      acc_ = acc_ && Value(op, parts, inputs);
    } else if (op == "OR" || op == "ORI" || op == "ORP" || op == "ORF" ||
               (comparison && (starts("OR") || starts("DOR")))) {
      acc_ = acc_ || Value(op, parts, inputs);
    } else if (op == "ANB" || op == "ORB") {
      if (blocks_.empty()) return "block stack empty";
      acc_ = op == "ANB" ? (blocks_.back() && acc_) : (blocks_.back() || acc_);
      blocks_.pop_back();
    } else if (op == "INV") {
      acc_ = !acc_;
    } else if (op == "MPS") {
      stack_.push_back(acc_);
    } else if (op == "MRD" || op == "MPP") {
      if (stack_.empty()) return "branch stack empty";
      acc_ = stack_.back();
      if (op == "MPP") stack_.pop_back();
    } else {
      outputs[line] = acc_;
    }
    return {};
  }

  bool acc_ = false;
  bool hasValue_ = false;
  std::vector<bool> blocks_;
  std::vector<bool> stack_;
};

std::string Describe(const Inputs& inputs) {
  std::string text;
  for (const auto& [name, value] : inputs) text += name + "=" + (value ? "1 " : "0 ");
  return text;
}

}  // namespace

std::string CompareLogic(const ladder::LadderGrid& grid, const std::vector<std::string>& il) {
  const LadderModel ladder(grid);
  std::set<std::string> names;
  ladder.CollectInputs(names);
  const std::vector<std::string> inputNames(names.begin(), names.end());
  // Every combination of a few inputs; a fixed sample of random ones beyond that.
  constexpr std::size_t kExhaustiveInputs = 12;
  constexpr std::size_t kWordBits = 64;
  const bool exhaustive = inputNames.size() <= kExhaustiveInputs;
  const std::size_t combinations =
      exhaustive ? std::size_t{1} << inputNames.size() : std::size_t{1} << kExhaustiveInputs;
  std::mt19937_64 random(20261211);
  for (std::size_t round = 0; round < combinations; ++round) {
    std::uint64_t bits = exhaustive ? round : random();
    Inputs inputs;
    for (std::size_t i = 0; i < inputNames.size(); ++i) {
      // A word holds 64 inputs; a random round draws another one for the next 64.
      if (i > 0 && i % kWordBits == 0) bits = random();
      inputs[inputNames[i]] = (bits >> (i % kWordBits)) & 1u;
    }
    const Outputs expected = ladder.Evaluate(inputs);
    Outputs actual;
    IlMachine machine;
    if (std::string error = machine.Run(il, inputs, actual); !error.empty()) return error;
    for (const auto& [output, value] : expected) {
      const auto it = actual.find(output);
      if (it == actual.end()) return "\"" + output + "\" is never driven";
      if (it->second != value) {
        return "\"" + output + "\" is " + (it->second ? "on" : "off") + " for " + Describe(inputs);
      }
    }
    if (actual.size() != expected.size()) return "the IL drives outputs the diagram lacks";
  }
  return {};
}

}  // namespace quarn::compiler::testing
