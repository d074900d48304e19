#include "ui/lamp.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>

namespace quarn::ui {

// The round light itself; its size follows the caption's font so lamps scale with the text.
class Lamp::Bulb : public QWidget {
 public:
  explicit Bulb(Lamp* lamp) : QWidget(lamp), lamp_(lamp) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  }

  QSize sizeHint() const override {
    const int side = fontMetrics().height();
    return {side, side};
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 1));
    painter.setBrush(lamp_->Color());
    const int side = std::min(width(), height()) - 2;
    painter.drawEllipse(QRect((width() - side) / 2, (height() - side) / 2, side, side));
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
