// The selected controller model. Every register lookup without an explicit description consults
// it. Selection may happen on the window's thread while the link worker reads: the descriptions
// are immutable and live for the whole process, and the selection is a single atomic pointer.
#pragma once

#include "link/device_description.h"

namespace quarn::link {

// The selected model's description, or an empty one (no ModelName, no Fields) before any
// selection. The reference stays valid for the life of the process.
const TDeviceDescription& CurrentDescription();

// Selects one of the models of ModelList() and installs its program traits for the program
// model. Answers false, changing nothing, for a description that is not one of them.
bool SelectModel(const TDeviceDescription& description);

// Back to no model; the program model returns to its built-in traits.
void ClearCurrentDescription();

}  // namespace quarn::link
