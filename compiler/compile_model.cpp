#include "compiler/compile_model.h"

namespace quarn::compiler {

bool TMPS::AllActive() const {
  for (const TMRDCell& cell : MRDs) {
    if (!cell.Active) return false;
  }
  return true;
}

bool TMPS::AllCompleted() const {
  for (const TMRDCell& cell : MRDs) {
    if (!cell.Completed) return false;
  }
  return true;
}

}  // namespace quarn::compiler
