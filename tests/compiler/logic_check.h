// Checks that compiled IL expresses the logic of the diagram it came from.
//
// The diagram is evaluated as power flowing from the left rail to the right, column by column,
// through closed contacts and wires and across vertical lines; the IL is run on a model of the
// controller's accumulator and stacks. Every contact operand (and every comparison) is an input;
// both sides must drive every coil and apply instruction alike for every combination of inputs.
#pragma once

#include <string>
#include <vector>

#include "ladder/ladder_grid.h"

namespace quarn::compiler::testing {

// Empty when the IL agrees with the diagram; otherwise the first difference.
std::string CompareLogic(const ladder::LadderGrid& grid, const std::vector<std::string>& il);

}  // namespace quarn::compiler::testing
