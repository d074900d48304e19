// Controls made with their object name, by which the window binds them and tests find them.
#pragma once

#include <QString>
#include <QWidget>
#include <string_view>

#include "ui/qt_text.h"

namespace quarn::ui {

// A button, radio button, check box or label with its caption.
template <typename Widget>
Widget* MakeNamed(const char* name, std::string_view text, QWidget* parent) {
  auto* widget = new Widget(ToQt(text), parent);
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

}  // namespace quarn::ui
