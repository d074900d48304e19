// The status panel at the bottom of the main window: communication state, the transfer-log
// button, the register being polled, the motion state and the supply lamps.
#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace quarn::ui {

class Lamp;

class StatusPanel : public QWidget {
  Q_OBJECT

 public:
  struct Controls {
    Lamp* communication = nullptr;  // its caption is the communication status text
    QPushButton* btnShowLogList = nullptr;
    QLabel* lblReading = nullptr;
    QLabel* lblDirection = nullptr;
    QLabel* lblPosition = nullptr;
    QLabel* lblSpeed = nullptr;
    Lamp* accel = nullptr;
    Lamp* decel = nullptr;
    Lamp* constSpeed = nullptr;
    Lamp* hold = nullptr;
    Lamp* busyMove = nullptr;
    Lamp* busyRun = nullptr;
    Lamp* energized = nullptr;
    Lamp* supplyVoltage = nullptr;
    Lamp* internalVoltage = nullptr;
    QLabel* lblDebugging = nullptr;
  };

  explicit StatusPanel(QWidget* parent = nullptr);

  const Controls& controls() const { return controls_; }

 private:
  Controls controls_;
};

}  // namespace quarn::ui
