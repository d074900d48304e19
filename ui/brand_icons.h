// The three brand icons carried by the workbench, looked up by the name the shared data holds.
#pragma once

#include <QIcon>
#include <string_view>

namespace quarn::ui {

// The icon registered under that name ("orvane_icon", "brevik_icon", "tamsel_icon"); a null icon
// for any other name.
QIcon BrandIcon(std::string_view name);

}  // namespace quarn::ui
