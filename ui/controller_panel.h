// The left panel of the main window: program settings, port, device address, connection, model,
// the input and output lamps, run/stop and the error groups.
#pragma once

#include <QWidget>
#include <array>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QToolButton;

namespace quarn::ui {

class Lamp;

class ControllerPanel : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kIoCount = 8;
  // The poll intervals of the hidden service buttons, in milliseconds.
  static constexpr std::array<int, 3> kPollIntervals{200, 1000, 10000};

  // The controls the window binds; the panel owns them.
  struct Controls {
    QToolButton* btnProgSettings = nullptr;
    QLabel* lblComPort = nullptr;
    QComboBox* cbxComPort = nullptr;
    QLabel* lblConnection = nullptr;  // "Connected COMxx" once connected
    QLabel* lblVersion = nullptr;     // the controller's versions once identified
    QSpinBox* EditID = nullptr;
    QPushButton* btnConnectComPort = nullptr;
    QPushButton* btnCommParameters = nullptr;
    QComboBox* cbxDeviceModel = nullptr;
    // Service controls that exist but are never shown: one button per poll interval and the
    // language selector (items carry the language codes as their data).
    std::array<QPushButton*, kPollIntervals.size()> btnPollInterval{};
    QComboBox* cbxLanguage = nullptr;
    std::array<Lamp*, kIoCount> inputs{};
    std::array<Lamp*, kIoCount> outputs{};
    Lamp* runStop = nullptr;
    Lamp* errors = nullptr;
    Lamp* romError = nullptr;
    QLabel* lblRomCode = nullptr;
    Lamp* modbusError = nullptr;
    QLabel* lblModbusCode = nullptr;
    Lamp* batteryError = nullptr;
    QLabel* lblReplaceBattery = nullptr;
    Lamp* userProgramError = nullptr;
    // The user-program error line and code answer a click (the question to highlight the
    // line, the code's text), so they are flat buttons.
    QToolButton* lblUserProgramLine = nullptr;
    QToolButton* lblUserProgramCode = nullptr;
    QPushButton* btnClearErrors = nullptr;
  };

  explicit ControllerPanel(QWidget* parent = nullptr);

  const Controls& controls() const { return controls_; }

 private:
  QWidget* BuildConnectionGroup();
  void BuildHiddenServiceControls(QWidget* parent);
  QGroupBox* BuildIoGroup();
  QGroupBox* BuildRunStopGroup();
  QGroupBox* BuildErrorsGroup();

  Controls controls_;
};

}  // namespace quarn::ui
