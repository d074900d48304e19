#include "ui/controller_panel.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>
#include <utility>

#include "link/connection_session.h"
#include "link/link_texts.h"
#include "ui/gear_icon.h"
#include "ui/lamp.h"
#include "ui/named_widgets.h"
#include "ui/qt_text.h"
#include "ui/ui_texts.h"

namespace quarn::ui {
namespace {

QToolButton* MakeLinkButton(const char* name, const QString& text, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setText(text);
  button->setAutoRaise(true);
  button->setCursor(Qt::PointingHandCursor);
  button->setFocusPolicy(Qt::StrongFocus);
  return button;
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

  c.lblComPort = MakeNamed<QLabel>("lblComPort", texts::kComPort, group);
  c.cbxComPort = new QComboBox(group);
  c.cbxComPort->setObjectName(QStringLiteral("cbxComPort"));
  c.cbxComPort->setMinimumContentsLength(10);
  c.lblComPort->setBuddy(c.cbxComPort);
  c.lblConnection = MakeNamed<QLabel>("lblConnection", "", group);
  c.lblConnection->hide();
  c.lblVersion = MakeNamed<QLabel>("lblVersion", "", group);
  c.lblVersion->setEnabled(false);

  auto* idLabel = MakeNamed<QLabel>("lblID", texts::kId, group);
  c.EditID = new QSpinBox(group);
  c.EditID->setObjectName(QStringLiteral("EditID"));
  c.EditID->setRange(link::kMinDeviceId, link::kMaxDeviceId);
  c.EditID->setValue(link::kMinDeviceId);
  idLabel->setBuddy(c.EditID);

  c.btnConnectComPort = new QPushButton(ToQt(link::texts::kConnectCaption), group);
  c.btnConnectComPort->setObjectName(QStringLiteral("btnConnectComPort"));
  c.btnCommParameters = new QPushButton(QString::fromLatin1(texts::kCommParameters), group);
  c.btnCommParameters->setObjectName(QStringLiteral("btnCommParameters"));

  auto* modelLabel = MakeNamed<QLabel>("lblSelectModel", texts::kSelectModel, group);
  c.cbxDeviceModel = new QComboBox(group);
  c.cbxDeviceModel->setObjectName(QStringLiteral("cbxDeviceModel"));
  c.cbxDeviceModel->setSizeAdjustPolicy(QComboBox::AdjustToContents);
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
  // The model captions are long ("Brevik Stock No.:  710502"): the selector takes a row.
  grid->addWidget(modelLabel, 6, 0, 1, 2);
  grid->addWidget(c.cbxDeviceModel, 7, 0, 1, 2);
  grid->setColumnStretch(1, 1);
  BuildHiddenServiceControls(group);
  return group;
}

void ControllerPanel::BuildHiddenServiceControls(QWidget* parent) {
  Controls& c = controls_;
  for (std::size_t k = 0; k < kPollIntervals.size(); ++k) {
    c.btnPollInterval[k] = new QPushButton(QString::number(kPollIntervals[k]), parent);
    c.btnPollInterval[k]->setObjectName(QStringLiteral("btnPollInterval%1").arg(kPollIntervals[k]));
    c.btnPollInterval[k]->hide();
  }
  c.cbxLanguage = new QComboBox(parent);
  c.cbxLanguage->setObjectName(QStringLiteral("cbxLanguage"));
  for (const auto& [caption, code] : texts::kLanguages) {
    c.cbxLanguage->addItem(QString::fromLatin1(caption), QString::fromLatin1(code));
  }
  c.cbxLanguage->hide();
}

QGroupBox* ControllerPanel::BuildIoGroup() {
  auto* group = new QGroupBox(this);
  group->setObjectName(QStringLiteral("gbInputsOutputs"));
  // Four lamps a row: the inputs on two rows, then the outputs on two, which keeps the panel
  // short enough for a small screen.
  constexpr int kPerRow = 4;
  auto* grid = new QGridLayout(group);
  grid->setVerticalSpacing(4);
  for (int k = 0; k < kIoCount; ++k) {
    const auto index = static_cast<std::size_t>(k);
    const QString x = QStringLiteral("X%1").arg(k);
    const QString y = QStringLiteral("Y%1").arg(k);
    controls_.inputs[index] =
        MakeLamp(QStringLiteral("shpInput") + x, x, lamp_colors::kWhite, group);
    controls_.outputs[index] =
        MakeLamp(QStringLiteral("shpOutput") + y, y, lamp_colors::kWhite, group);
    grid->addWidget(controls_.inputs[index], k / kPerRow, k % kPerRow);
    grid->addWidget(controls_.outputs[index], 3 + k / kPerRow, k % kPerRow);
  }
  grid->setRowMinimumHeight(2, 6);
  return group;
}

QGroupBox* ControllerPanel::BuildRunStopGroup() {
  auto* group = new QGroupBox(QString::fromLatin1(texts::kRunStop), this);
  group->setObjectName(QStringLiteral("gbRunStop"));
  controls_.runStop = MakeLamp(QStringLiteral("shpRunStop"), ToQt(link::texts::kRunStopUnknown),
                               lamp_colors::kWhite, group);
  auto* layout = new QVBoxLayout(group);
  layout->addWidget(controls_.runStop);
  return group;
}

QGroupBox* ControllerPanel::BuildErrorsGroup() {
  auto* group = new QGroupBox(QString::fromLatin1(texts::kErrors), this);
  group->setObjectName(QStringLiteral("gbErrors"));
  Controls& c = controls_;
  // The general lamp reads "No errors" until the controller says otherwise.
  c.errors = MakeLamp(QStringLiteral("shpErrors"), ToQt(link::texts::kErrorGroupOk[0]),
                      lamp_colors::kWhite, group);
  c.romError = MakeLamp(QStringLiteral("shpRomError"), QString::fromLatin1(texts::kRom),
                        lamp_colors::kWhite, group);
  c.lblRomCode = MakeNamed<QLabel>("lblRomCode", texts::kCode, group);
  c.modbusError = MakeLamp(QStringLiteral("shpModbusError"), QString::fromLatin1(texts::kModbus),
                           lamp_colors::kWhite, group);
  c.lblModbusCode = MakeNamed<QLabel>("lblModbusCode", texts::kCode, group);
  c.batteryError = MakeLamp(QStringLiteral("shpBatteryError"), QString::fromLatin1(texts::kBattery),
                            lamp_colors::kWhite, group);
  c.lblReplaceBattery = MakeNamed<QLabel>("lblReplaceBattery", texts::kReplaceBattery, group);
  c.lblReplaceBattery->hide();
  c.userProgramError =
      MakeLamp(QStringLiteral("shpUserProgramError"), QString::fromLatin1(texts::kUserProgram),
               lamp_colors::kWhite, group);
  c.lblUserProgramLine =
      MakeLinkButton("lblUserProgramLine", QString::fromLatin1(texts::kLine), group);
  c.lblUserProgramCode =
      MakeLinkButton("lblUserProgramCode", QString::fromLatin1(texts::kCode), group);
  c.btnClearErrors = new QPushButton(QString::fromLatin1(texts::kClearErrors), group);
  c.btnClearErrors->setObjectName(QStringLiteral("btnClearErrors"));

  // Each group's details go on the line below its lamp, indented, so that the panel stays
  // narrow while every detail shows.
  auto* userDetails = new QHBoxLayout;
  userDetails->setContentsMargins(0, 0, 0, 0);
  userDetails->addWidget(c.lblUserProgramLine);
  userDetails->addWidget(c.lblUserProgramCode);
  userDetails->addStretch();
  auto* grid = new QGridLayout(group);
  grid->setVerticalSpacing(2);
  grid->setColumnMinimumWidth(0, fontMetrics().height() + 4);
  int row = 0;
  grid->addWidget(c.errors, row++, 0, 1, 2);
  for (const auto& [lamp, detail] : {std::pair<QWidget*, QWidget*>{c.romError, c.lblRomCode},
                                     {c.modbusError, c.lblModbusCode},
                                     {c.batteryError, c.lblReplaceBattery}}) {
    grid->addWidget(lamp, row++, 0, 1, 2);
    grid->addWidget(detail, row++, 1);
  }
  grid->addWidget(c.userProgramError, row++, 0, 1, 2);
  grid->addLayout(userDetails, row++, 1);
  grid->addWidget(c.btnClearErrors, row, 0, 1, 2, Qt::AlignLeft);
  grid->setColumnStretch(1, 1);
  return group;
}

}  // namespace quarn::ui
