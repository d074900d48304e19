// A coloured lamp with its caption: how the window shows a state (run/stop, errors, inputs,
// outputs, motion flags, communication).
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

#include "link/controller_state.h"

class QLabel;

namespace quarn::ui {

// The colours the lamps take.
namespace lamp_colors {
inline const QColor kWhite{255, 255, 255};
inline const QColor kGreen{0, 176, 80};
inline const QColor kRed{230, 30, 30};
inline const QColor kYellow{255, 220, 0};
inline const QColor kGrey{160, 160, 160};
}  // namespace lamp_colors

// The colour a lamp of the link's state shows.
const QColor& LampColor(link::TLampColour colour);

class Lamp;

// A lamp made with its object name, by which the window binds it and tests find it.
Lamp* MakeLamp(const QString& name, const QString& caption, const QColor& color, QWidget* parent);

class Lamp : public QWidget {
  Q_OBJECT

 public:
  explicit Lamp(const QString& caption = {}, const QColor& color = lamp_colors::kWhite,
                QWidget* parent = nullptr);

  QColor Color() const { return color_; }
  void SetColor(const QColor& color);

  QString Caption() const;
  void SetCaption(const QString& caption);

 private:
  class Bulb;
  Bulb* bulb_;
  QLabel* caption_;
  QColor color_;
};

}  // namespace quarn::ui
