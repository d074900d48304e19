// The ladder editor's view of the selected controller model's registers.
//
// The ladder model and the link sit side by side; this adapter, one layer above both, answers
// the editor's register questions from the model the link has selected, so cell labels and
// MOV/DMOV annotations follow a model change without the editor knowing about the link.
#pragma once

#include "ladder/register_names.h"

namespace quarn::motor {

class ModelRegisterNames final : public ladder::RegisterNames {
 public:
  std::optional<ladder::RegisterName> FindFieldByOperand(std::string_view operand) const override;
  std::string MotionCommandOperand() const override;
  std::string MicrostepOperand() const override;
};

}  // namespace quarn::motor
