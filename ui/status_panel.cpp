#include "ui/status_panel.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "link/controller_state.h"
#include "link/link_texts.h"
#include "shell/shell_texts.h"
#include "ui/lamp.h"
#include "ui/named_widgets.h"
#include "ui/qt_text.h"
#include "ui/ui_texts.h"

namespace quarn::ui {
namespace {

QFrame* Separator(QWidget* parent) {
  auto* line = new QFrame(parent);
  line->setFrameShape(QFrame::VLine);
  line->setFrameShadow(QFrame::Sunken);
  return line;
}

}  // namespace

StatusPanel::StatusPanel(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("pnlStatus"));
  Controls& c = controls_;
  auto* communicationCaption = MakeNamed<QLabel>("lblCommunication", texts::kCommunication, this);
  c.communication = MakeLamp("lblCommunicationState", ToQt(link::texts::kNotConnected),
                             lamp_colors::kWhite, this);
  c.btnShowLogList = new QPushButton(ToQt(shell::texts::kShowLogList), this);
  c.btnShowLogList->setObjectName(QStringLiteral("btnShowLogList"));
  c.lblResult = MakeNamed<QLabel>("lblResult", "", this);
  c.lblReading = MakeNamed<QLabel>("lblReading", texts::kReading, this);
  c.lblDebugging = MakeNamed<QLabel>("lblDebugging", texts::kDebuggingMode, this);
  c.lblDebugging->setStyleSheet(QStringLiteral("color: #c00000; font-weight: bold;"));
  c.lblDebugging->hide();

  c.lblDirection = MakeNamed<QLabel>("lblDirection", link::texts::kDirectionCaption, this);
  c.lblPosition = MakeNamed<QLabel>("lblPosition", link::texts::kPosition, this);
  c.lblSpeed = MakeNamed<QLabel>("lblSpeed", link::texts::kSpeed, this);
  const auto motorLamp = [this](const char* name, link::TMotorLamp lamp) {
    return MakeLamp(name, ToQt(link::texts::kMotorLampCaptions[lamp]), lamp_colors::kGrey, this);
  };
  c.accel = motorLamp("shpAccel", link::kAccelLamp);
  c.decel = motorLamp("shpDecel", link::kDecelLamp);
  c.constSpeed = motorLamp("shpConstSpeed", link::kConstSpeedLamp);
  c.hold = motorLamp("shpHold", link::kHoldLamp);
  c.busyMove = motorLamp("shpBusyMove", link::kBusyMoveLamp);
  c.busyRun = motorLamp("shpBusyRun", link::kBusyRunLamp);
  c.energized = motorLamp("shpEnergized", link::kEnergizedLamp);
  c.supplyVoltage = MakeLamp("shpSupplyVoltage", texts::kSupplyVoltage, lamp_colors::kWhite, this);
  c.internalVoltage =
      MakeLamp("shpInternalVoltage", texts::kInternalVoltage, lamp_colors::kWhite, this);

  auto* first = new QHBoxLayout;
  first->addWidget(communicationCaption);
  first->addWidget(c.communication);
  first->addWidget(c.btnShowLogList);
  first->addWidget(Separator(this));
  first->addWidget(c.lblReading, 1);
  first->addWidget(c.lblDebugging);
  first->addWidget(c.lblResult);

  auto* second = new QHBoxLayout;
  second->addWidget(c.lblDirection);
  second->addWidget(c.lblPosition);
  second->addWidget(c.lblSpeed);
  second->addWidget(Separator(this));
  for (Lamp* lamp : {c.accel, c.decel, c.constSpeed, c.hold, c.busyMove, c.busyRun, c.energized}) {
    second->addWidget(lamp);
  }
  second->addWidget(Separator(this));
  second->addWidget(c.supplyVoltage);
  second->addWidget(c.internalVoltage);
  second->addStretch();

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 2, 6, 2);
  layout->addLayout(first);
  layout->addLayout(second);
}

}  // namespace quarn::ui
