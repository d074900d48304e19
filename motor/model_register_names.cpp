#include "motor/model_register_names.h"

#include "link/current_description.h"
#include "link/register_map.h"

namespace quarn::motor {

std::optional<ladder::RegisterName> ModelRegisterNames::FindFieldByOperand(
    std::string_view operand) const {
  const link::TFieldDescr field = link::FindFieldByOperand(operand);
  if (field.Register.Valid == 0) return std::nullopt;
  return ladder::RegisterName{field.Caption, static_cast<int>(field.Bits)};
}

std::string ModelRegisterNames::MotionCommandOperand() const {
  return link::CurrentDescription().MotionOperand;
}

std::string ModelRegisterNames::MicrostepOperand() const {
  return link::CurrentDescription().MicrostepOperand;
}

}  // namespace quarn::motor
