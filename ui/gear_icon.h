// The gear glyph of the program-settings button, drawn rather than taken from a font that may
// not carry it.
#pragma once

#include <QIcon>

namespace quarn::ui {

QIcon GearIcon();

}  // namespace quarn::ui
