#include "ui/gear_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>
#include <numbers>

namespace quarn::ui {
namespace {

constexpr int kSide = 64;
constexpr int kTeeth = 8;
constexpr double kOuterRadius = 30;
constexpr double kRootRadius = 22;
constexpr double kHoleRadius = 9;

QPainterPath GearOutline() {
  QPainterPath path;
  const QPointF centre(kSide / 2.0, kSide / 2.0);
  constexpr int kPointsPerTooth = 4;
  for (int point = 0; point < kTeeth * kPointsPerTooth; ++point) {
    const double angle = 2 * std::numbers::pi * point / (kTeeth * kPointsPerTooth);
    // Two points on the tooth's top, two at its root.
    const double radius = (point % kPointsPerTooth) < 2 ? kOuterRadius : kRootRadius;
    const QPointF at = centre + QPointF(radius * std::cos(angle), radius * std::sin(angle));
    if (point == 0) {
      path.moveTo(at);
    } else {
      path.lineTo(at);
    }
  }
  path.closeSubpath();
  path.addEllipse(centre, kHoleRadius, kHoleRadius);
  return path;
}

}  // namespace

QIcon GearIcon() {
  QPixmap pixmap(kSide, kSide);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(70, 70, 80));
  painter.drawPath(GearOutline());
  painter.end();
  return QIcon(pixmap);
}

}  // namespace quarn::ui
