// What the ladder editor needs to know of the selected controller model's registers.
//
// An operand such as "D361" may name a described register; its caption then labels the cell
// and annotates MOV / DMOV boxes. The link's register map answers these questions for the
// selected model; the editor only sees this interface.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quarn::ladder {

struct RegisterName {
  std::string Caption;  // "ACCEL"
  int Bits = 0;         // 1 for a flag, 16 or 32 for a value
};

class RegisterNames {
 public:
  virtual ~RegisterNames() = default;
  // The described register an operand text names, if any.
  virtual std::optional<RegisterName> FindFieldByOperand(std::string_view operand) const = 0;
  // The operands of the motion-command and microstep registers ("D376", "D366"); empty when the
  // model has none.
  virtual std::string MotionCommandOperand() const = 0;
  virtual std::string MicrostepOperand() const = 0;
};

// Knows no register: cells get no labels and boxes no annotations.
class NoRegisterNames final : public RegisterNames {
 public:
  std::optional<RegisterName> FindFieldByOperand(std::string_view) const override {
    return std::nullopt;
  }
  std::string MotionCommandOperand() const override { return {}; }
  std::string MicrostepOperand() const override { return {}; }
};

}  // namespace quarn::ladder
