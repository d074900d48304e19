#include "ui/controller_panel.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include "ui/gear_icon.h"
#include "ui/lamp.h"
#include "ui/ui_texts.h"

namespace quarn::ui {
namespace {

QLabel* MakeLabel(const char* name, const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  return label;
}

Lamp* MakeLamp(const QString& name, const QString& caption, const QColor& color, QWidget* parent) {
  auto* lamp = new Lamp(caption, color, parent);
  lamp->setObjectName(name);
  return lamp;
}

}  // namespace

ControllerPanel::ControllerPanel(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("pnlController"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(BuildConnectionGroup());
  layout->addWidget(BuildIoGroup());
  layout->addWidget(BuildRunStopGroup());
  layout->addWidget(BuildErrorsGroup());
  layout->addStretch();
}

QWidget* ControllerPanel::BuildConnectionGroup() {
  auto* group = new QWidget(this);
  Controls& c = controls_;
  c.btnProgSettings = new QToolButton(group);
  c.btnProgSettings->setObjectName(QStringLiteral("btnProgSettings"));
  c.btnProgSettings->setIcon(GearIcon());
  c.btnProgSettings->setIconSize(QSize(24, 24));
  c.btnProgSettings->setToolTip(QString::fromLatin1(texts::kProgramSettingsHint));
  c.btnProgSettings->setFocusPolicy(Qt::StrongFocus);

  c.lblComPort = MakeLabel("lblComPort", QString::fromLatin1(texts::kComPort), group);
  c.cbxComPort = new QComboBox(group);
  c.cbxComPort->setObjectName(QStringLiteral("cbxComPort"));
  c.cbxComPort->setMinimumContentsLength(10);
  c.lblComPort->setBuddy(c.cbxComPort);
  c.lblConnection = MakeLabel("lblConnection", {}, group);
  c.lblConnection->hide();
  c.lblVersion = MakeLabel("lblVersion", {}, group);
  c.lblVersion->setEnabled(false);

  auto* idLabel = MakeLabel("lblID", QString::fromLatin1(texts::kId), group);
  c.EditID = new QSpinBox(group);
  c.EditID->setObjectName(QStringLiteral("EditID"));
  c.EditID->setRange(kMinDeviceId, kMaxDeviceId);
  c.EditID->setValue(kMinDeviceId);
  idLabel->setBuddy(c.EditID);

  c.btnConnectComPort = new QPushButton(QString::fromLatin1(texts::kConnect), group);
  c.btnConnectComPort->setObjectName(QStringLiteral("btnConnectComPort"));
  c.btnCommParameters = new QPushButton(QString::fromLatin1(texts::kCommParameters), group);
  c.btnCommParameters->setObjectName(QStringLiteral("btnCommParameters"));

  auto* modelLabel = MakeLabel("lblSelectModel", QString::fromLatin1(texts::kSelectModel), group);
  c.cbxDeviceModel = new QComboBox(group);
  c.cbxDeviceModel->setObjectName(QStringLiteral("cbxDeviceModel"));
  modelLabel->setBuddy(c.cbxDeviceModel);

  auto* grid = new QGridLayout(group);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->addWidget(c.btnProgSettings, 0, 0, Qt::AlignLeft);
  grid->addWidget(c.lblComPort, 1, 0);
  grid->addWidget(c.cbxComPort, 1, 1);
  grid->addWidget(c.lblConnection, 2, 0, 1, 2);
  grid->addWidget(c.lblVersion, 3, 0, 1, 2);
  grid->addWidget(idLabel, 4, 0);
  grid->addWidget(c.EditID, 4, 1);
  grid->addWidget(c.btnConnectComPort, 5, 0);
  grid->addWidget(c.btnCommParameters, 5, 1);
  grid->addWidget(modelLabel, 6, 0);
  grid->addWidget(c.cbxDeviceModel, 6, 1);
  grid->setColumnStretch(1, 1);
  return group;
}

QGroupBox* ControllerPanel::BuildIoGroup() {
  auto* group = new QGroupBox(this);
  group->setObjectName(QStringLiteral("gbInputsOutputs"));
  auto* grid = new QGridLayout(group);
  for (int k = 0; k < kIoCount; ++k) {
    const auto index = static_cast<std::size_t>(k);
    const QString x = QStringLiteral("X%1").arg(k);
    const QString y = QStringLiteral("Y%1").arg(k);
    controls_.inputs[index] =
        MakeLamp(QStringLiteral("shpInput") + x, x, lamp_colors::kWhite, group);
    controls_.outputs[index] =
        MakeLamp(QStringLiteral("shpOutput") + y, y, lamp_colors::kWhite, group);
    grid->addWidget(controls_.inputs[index], k, 0);
    grid->addWidget(controls_.outputs[index], k, 1);
  }
  return group;
}

QGroupBox* ControllerPanel::BuildRunStopGroup() {
  auto* group = new QGroupBox(QString::fromLatin1(texts::kRunStop), this);
  group->setObjectName(QStringLiteral("gbRunStop"));
  controls_.runStop =
      MakeLamp(QStringLiteral("shpRunStop"), QString::fromLatin1(texts::kRunStopUnknown),
               lamp_colors::kWhite, group);
  auto* layout = new QVBoxLayout(group);
  layout->addWidget(controls_.runStop);
  return group;
}

QGroupBox* ControllerPanel::BuildErrorsGroup() {
  auto* group = new QGroupBox(QString::fromLatin1(texts::kErrors), this);
  group->setObjectName(QStringLiteral("gbErrors"));
  Controls& c = controls_;
  c.errors = MakeLamp(QStringLiteral("shpErrors"), {}, lamp_colors::kWhite, group);
  c.romError = MakeLamp(QStringLiteral("shpRomError"), QString::fromLatin1(texts::kRom),
                        lamp_colors::kWhite, group);
  c.lblRomCode = MakeLabel("lblRomCode", QString::fromLatin1(texts::kCode), group);
  c.modbusError = MakeLamp(QStringLiteral("shpModbusError"), QString::fromLatin1(texts::kModbus),
                           lamp_colors::kWhite, group);
  c.lblModbusCode = MakeLabel("lblModbusCode", QString::fromLatin1(texts::kCode), group);
  c.batteryError = MakeLamp(QStringLiteral("shpBatteryError"), QString::fromLatin1(texts::kBattery),
                            lamp_colors::kWhite, group);
  c.lblReplaceBattery =
      MakeLabel("lblReplaceBattery", QString::fromLatin1(texts::kReplaceBattery), group);
  c.lblReplaceBattery->hide();
  c.userProgramError =
      MakeLamp(QStringLiteral("shpUserProgramError"), QString::fromLatin1(texts::kUserProgram),
               lamp_colors::kWhite, group);
  c.lblUserProgramLine = MakeLabel("lblUserProgramLine", QString::fromLatin1(texts::kLine), group);
  c.lblUserProgramCode = MakeLabel("lblUserProgramCode", QString::fromLatin1(texts::kCode), group);

  auto* grid = new QGridLayout(group);
  grid->addWidget(c.errors, 0, 0, 1, 2);
  grid->addWidget(c.romError, 1, 0);
  grid->addWidget(c.lblRomCode, 1, 1);
  grid->addWidget(c.modbusError, 2, 0);
  grid->addWidget(c.lblModbusCode, 2, 1);
  grid->addWidget(c.batteryError, 3, 0);
  grid->addWidget(c.lblReplaceBattery, 3, 1);
  grid->addWidget(c.userProgramError, 4, 0);
  grid->addWidget(c.lblUserProgramLine, 4, 1);
  grid->addWidget(c.lblUserProgramCode, 5, 1);
  return group;
}

}  // namespace quarn::ui
