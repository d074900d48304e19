#include "ui/lamp.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QRadialGradient>
#include <array>

namespace quarn::ui {

Lamp* MakeLamp(const QString& name, const QString& caption, const QColor& color, QWidget* parent) {
  auto* lamp = new Lamp(caption, color, parent);
  lamp->setObjectName(name);
  return lamp;
}

const QColor& LampColor(link::TLampColour colour) {
  // In TLampColour order: white, green, red, yellow, grey.
  static const std::array<QColor, 5> kColors = {lamp_colors::kWhite, lamp_colors::kGreen,
                                                lamp_colors::kRed, lamp_colors::kYellow,
                                                lamp_colors::kGrey};
  const auto index = static_cast<std::size_t>(colour);
  return index < kColors.size() ? kColors[index] : lamp_colors::kWhite;
}

// The round light itself: a filled disc with a highlight and a rim in a darker shade of its
// colour, so that it reads as a light and not as a radio button. Its size follows the caption's
// font so lamps scale with the text.
class Lamp::Bulb : public QWidget {
 public:
  explicit Bulb(Lamp* lamp) : QWidget(lamp), lamp_(lamp) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  }

  QSize sizeHint() const override {
    const int side = fontMetrics().height() + 4;
    return {side, side};
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor color = lamp_->Color();
    const bool off = color == lamp_colors::kWhite;
    const qreal side = std::min(width(), height()) - 3.0;
    const QRectF disc((width() - side) / 2.0, (height() - side) / 2.0, side, side);
    // Lit from the upper left: bright there, the lamp's own colour in the middle, darker at the
    // edge. A lamp that is off is a dull pale disc in a dark bezel.
    QRadialGradient light(disc.center() - QPointF(side / 6.0, side / 6.0), side * 0.65);
    light.setColorAt(0.0, off ? QColor(250, 250, 250) : color.lighter(150));
    light.setColorAt(0.5, off ? QColor(228, 228, 228) : color);
    light.setColorAt(1.0, off ? QColor(190, 190, 190) : color.darker(140));
    painter.setPen(QPen(QColor(70, 70, 70), 1.6));
    painter.setBrush(light);
    painter.drawEllipse(disc);
    // The glint that makes it a lamp.
    const QRectF glint(disc.left() + side * 0.22, disc.top() + side * 0.16, side * 0.32,
                       side * 0.22);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, off ? 200 : 150));
    painter.drawEllipse(glint);
  }

 private:
  Lamp* lamp_;
};

Lamp::Lamp(const QString& caption, const QColor& color, QWidget* parent)
    : QWidget(parent), bulb_(new Bulb(this)), caption_(new QLabel(caption, this)), color_(color) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(4);
  layout->addWidget(bulb_);
  layout->addWidget(caption_);
  setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
  caption_->setVisible(!caption.isEmpty());
}

void Lamp::SetColor(const QColor& color) {
  if (color == color_) return;
  color_ = color;
  bulb_->update();
}

QString Lamp::Caption() const { return caption_->text(); }

void Lamp::SetCaption(const QString& caption) {
  caption_->setText(caption);
  caption_->setVisible(!caption.isEmpty());
}

}  // namespace quarn::ui
