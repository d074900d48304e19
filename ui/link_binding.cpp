#include "ui/link_binding.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include "link/device_models.h"
#include "link/link_texts.h"
#include "program_model/il_editor.h"
#include "shell/link_settings.h"
#include "simulator/simulator.h"
#include "ui/comm_parameters_dialog.h"
#include "ui/controller_panel.h"
#include "ui/il_editor_page.h"
#include "ui/lamp.h"
#include "ui/log_window.h"
#include "ui/qt_text.h"
#include "ui/status_panel.h"
#include "ui/ui_texts.h"

namespace quarn::ui {
namespace {

using link::TStateField;

// Captions of the error lamps while the controller has not said anything yet, by group.
constexpr std::array<std::string_view, link::kErrorGroupCount> kErrorCaptions = {
    link::texts::kErrorGroupOk[0], texts::kBattery, texts::kRom, texts::kModbus,
    texts::kUserProgram};

QString Caption(const std::string& text, std::string_view fallback) {
  return ToQt(text.empty() ? fallback : std::string_view(text));
}

void SetText(QLabel* label, const std::string& text) { label->setText(ToQt(text)); }

}  // namespace

LinkBinding::LinkBinding(const shell::TCommonDatas& datas, Parts parts,
                         std::unique_ptr<link::TPortScanner> scanner, QObject* parent)
    : QObject(parent), datas_(datas), parts_(std::move(parts)), scanner_(std::move(scanner)) {
  setObjectName(QStringLiteral("LinkBinding"));
  dialogs_.message = [this](const QString& text) {
    QMessageBox::information(parts_.dialogParent, parts_.dialogParent->windowTitle(), text);
  };
  dialogs_.askYesCancel = [this](const QString& question) {
    return QMessageBox::question(parts_.dialogParent, parts_.dialogParent->windowTitle(), question,
                                 QMessageBox::Yes | QMessageBox::Cancel) == QMessageBox::Yes;
  };
  dialogs_.askYesNo = [this](const QString& question) {
    return QMessageBox::question(parts_.dialogParent, parts_.dialogParent->windowTitle(), question,
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
  };
  link::TLinkEvents& events = *this;
  session_ = std::make_unique<link::TConnectionSession>(port_, dispatcher_, events,
                                                        shell::LinkTimingsOf(datas_));
  transfer_ = std::make_unique<link::TProgramTransfer>(*session_);
  // Link worker thread: only the answers of an open parameters dialog cross to the window.
  session_->SetAnswerObserver([this](const link::TAcceptedAnswer& answer) {
    if (commDialogOpen_) dispatcher_.Post([this, answer] { TakeCommAnswer(answer); });
  });
  StartPortScan();
  BindControls();
  session_->SelectModelByIndex(0);
  ShowState(link::TStateChanges().set());
  TimersChanged(session_->Timers());
}

LinkBinding::~LinkBinding() { Shutdown(); }

void LinkBinding::SetDialogs(Dialogs dialogs) {
  if (dialogs.message) dialogs_.message = std::move(dialogs.message);
  if (dialogs.askYesCancel) dialogs_.askYesCancel = std::move(dialogs.askYesCancel);
  if (dialogs.askYesNo) dialogs_.askYesNo = std::move(dialogs.askYesNo);
}

void LinkBinding::Shutdown() {
  // Nothing the link still reports reaches the window from here on; every link thread ends
  // within the link's bounds: the download stops at its next step, the link worker drops its
  // lists and abandons the frame in flight.
  if (shutDown_) return;
  shutDown_ = true;
  parts_.stateTimer->stop();
  parts_.resetTimer->stop();
  commDialogOpen_ = false;
  delete commDialog_.data();  // it speaks to the session, which goes now
  dispatcher_.Close();
  if (portScan_) portScan_->Stop();
  transfer_->StopReading();
  session_->Modbus().Shutdown();
  transfer_.reset();
  session_.reset();
  port_.Close();
  simulator_.reset();
}

void LinkBinding::BindControls() {
  const ControllerPanel::Controls& c = parts_.controller->controls();
  connect(c.btnConnectComPort, &QPushButton::clicked, this, &LinkBinding::ConnectClicked);
  connect(c.btnClearErrors, &QPushButton::clicked, this, &LinkBinding::ClearErrorsClicked);
  connect(c.lblUserProgramCode, &QToolButton::clicked, this, &LinkBinding::UserProgramCodeClicked);
  connect(c.lblUserProgramLine, &QToolButton::clicked, this, &LinkBinding::UserProgramLineClicked);
  connect(c.cbxDeviceModel, &QComboBox::activated, this, &LinkBinding::ModelChosen);
  connect(c.EditID, &QSpinBox::valueChanged, this, [this](int id) {
    if (!shutDown_) session_->SetDeviceId(id);
  });
  connect(c.cbxComPort, &QComboBox::activated, this, [this](int index) {
    portChoice_.Select(index);
    ShowPortList();
  });
  // A path typed into the selector becomes a port of the list.
  c.cbxComPort->setEditable(true);
  c.cbxComPort->setInsertPolicy(QComboBox::NoInsert);
  connect(c.cbxComPort->lineEdit(), &QLineEdit::returnPressed, this, [this] {
    TakeTypedPort();
    ShowPortList();
  });
  IlEditorPage* il = parts_.ilEditor;
  connect(il->UploadButton(), &QPushButton::clicked, this, &LinkBinding::UploadClicked);
  connect(il->ReadButton(), &QPushButton::clicked, this, &LinkBinding::ReadClicked);
  connect(parts_.stateTimer, &QTimer::timeout, this, [this] { session_->StateTimerTick(); });
  connect(parts_.resetTimer, &QTimer::timeout, this, [this] { session_->ResetTimerTick(); });
}

// ---- Ports

void LinkBinding::StartPortScan() {
  portChoice_.Publish(scanner_->Scan(), {});
  ShowPortList();
  portScan_ = std::make_unique<link::TRenewComPortList>(
      *scanner_, [this](const std::vector<std::string>& found) {
        // The scan's thread: the list goes over to the window's thread.
        dispatcher_.Post([this, found] { ApplyPublishedPorts(found); });
      });
  session_->SetPortListRefresher(portScan_.get());
  portScan_->Start();
}

void LinkBinding::ApplyPublishedPorts(const std::vector<std::string>& ports) {
  if (shutDown_) return;
  portChoice_.Publish(ports, port_.Path());
  ShowPortList();
}

void LinkBinding::ShowPortList() {
  QComboBox* ports = parts_.controller->controls().cbxComPort;
  const QSignalBlocker blocker(ports);
  ports->clear();
  for (const std::string& item : portChoice_.Items()) ports->addItem(ToQt(item));
  ports->setCurrentIndex(portChoice_.Selected());
  if (portChoice_.Selected() < 0) ports->setEditText({});
}

void LinkBinding::TakeTypedPort() {
  const QComboBox* ports = parts_.controller->controls().cbxComPort;
  const int selected = portChoice_.Selected();
  // The edit shows the chosen item's text unless the user typed something else.
  if (selected >= 0 && ports->currentText() == ports->itemText(selected)) return;
  portChoice_.SelectText(ToStd(ports->currentText().trimmed()));
}

// ---- Connecting

void LinkBinding::ConnectClicked() {
  if (shutDown_) return;
  if (session_->Connected() || simulator_) {
    Disconnect();
    return;
  }
  TakeTypedPort();
  ShowPortList();
  std::string path = portChoice_.SelectedPort();
  if (portChoice_.SimulatorChosen() && !StartSimulator(path)) return;
  const int id = parts_.controller->controls().EditID->value();
  const link::TPortOpenResult opened = session_->Connect(path, id);
  // The port that does not open leaves "Not connected"; the reason (missing rights name the
  // dialout group) goes to the user as well, or a refused device would look like a dead one.
  if (!opened.Opened && !path.empty() && !opened.Message.empty()) ShowMessage(opened.Message);
}

void LinkBinding::ConnectSimulator() {
  if (shutDown_) return;
  portChoice_.Select(0);
  ShowPortList();
  ConnectClicked();
}

void LinkBinding::Disconnect() {
  if (shutDown_) return;
  session_->Disconnect();
  StopSimulator();  // also done by ConnectionChanged; a simulator that never connected stops here
}

bool LinkBinding::StartSimulator(std::string& path) {
  std::string error;
  auto simulator = simulator::TSimulator::Create(simulator::TSimulatorOptions{}, error);
  if (simulator && simulator->StartOnPty()) {
    simulator_ = std::move(simulator);
    path = simulator_->SlavePath();
    portChoice_.SetSimulatorPath(path);
    return true;
  }
  if (simulator) error = simulator->Error();
  ShowMessage(texts::kSimulatorFailed + error);
  return false;
}

void LinkBinding::StopSimulator() {
  if (!simulator_) return;
  simulator_->Stop();
  simulator_.reset();
  portChoice_.SetSimulatorPath({});
}

// ---- Actions

void LinkBinding::ModelChosen(int index) {
  if (!shutDown_) session_->SelectModelByIndex(index);
}

void LinkBinding::SetPollInterval(int interval) {
  if (!shutDown_) session_->SetPollInterval(interval);
}

void LinkBinding::ClearErrorsClicked() {
  if (!shutDown_) session_->ClearErrors();
}

void LinkBinding::UserProgramCodeClicked() {
  if (!shutDown_) ShowMessage(session_->UserProgramErrorText());
}

void LinkBinding::UserProgramLineClicked() {
  if (shutDown_) return;
  if (!dialogs_.askYesNo(ToQt(session_->HighlightLineQuestion()))) return;
  // The controller counts the instructions it was sent; comment and blank lines of the list
  // are not among them.
  const int line = program_model::InstructionLine(parts_.ilEditor->ProgramLines(),
                                                  session_->State().UserProgramErrorLine);
  if (line < 0) return;
  parts_.pages->setCurrentWidget(parts_.ilEditor);
  parts_.ilEditor->HighlightLine(line);
}

void LinkBinding::UploadClicked() {
  if (shutDown_) return;
  std::vector<std::string> lines = parts_.ilEditor->ProgramLines();
  if (lines.empty()) return;
  parts_.status->controls().lblResult->clear();
  parts_.ilEditor->ShowTransferProgress(0, 0);
  uploading_ =
      transfer_->Upload(lines, ChosenProgramKind(), parts_.ilEditor->ReadProtectionChosen());
}

link::TProgramKind LinkBinding::ChosenProgramKind() const {
  return parts_.ilEditor->ServiceProgramChosen() ? link::TProgramKind::Service
                                                 : link::TProgramKind::Main;
}

void LinkBinding::ReadClicked() {
  if (shutDown_ || transfer_->Reading()) return;
  const bool listEmpty = parts_.ilEditor->ProgramEmpty();
  if (!transfer_->StartDownload(ChosenProgramKind(), listEmpty)) return;
  // The user answered Yes to "The commands list is not empty. Clear it?".
  if (!listEmpty) parts_.ilEditor->ClearProgram();
  parts_.status->controls().lblResult->clear();
  parts_.pages->setEnabled(false);
  parts_.ilEditor->ShowReadProgress(0, true);
}

TFormComParameters* LinkBinding::OpenCommParameters() {
  if (shutDown_) return nullptr;
  if (commDialog_) {
    commDialog_->raise();
    return commDialog_;
  }
  auto* dialog = new TFormComParameters(std::make_unique<link::TSessionCommLink>(*session_),
                                        parts_.dialogParent);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  connect(dialog, &QObject::destroyed, this, [this] { commDialogOpen_ = false; });
  commDialog_ = dialog;
  commDialogOpen_ = true;
  dialog->open();
  dialog->ReadOnOpen();
  return dialog;
}

void LinkBinding::TakeCommAnswer(const link::TAcceptedAnswer& answer) {
  if (commDialog_) commDialog_->TakeAnswer(answer);
}

void LinkBinding::ShowMessage(const std::string& text) { dialogs_.message(ToQt(text)); }

// ---- What the link reports

void LinkBinding::StatusText(const std::string& text) {
  parts_.status->controls().communication->SetCaption(ToQt(text));
}

void LinkBinding::StatusLamp(link::TLampColour colour) {
  parts_.status->controls().communication->SetColor(LampColor(colour));
}

void LinkBinding::Progress(const link::TProgressView& progress) {
  // A download shows the commands it has read instead.
  if (transfer_->Reading()) return;
  parts_.ilEditor->ShowTransferProgress(progress.Count, progress.Total);
}

void LinkBinding::ResultLine(const std::string& text, link::TLampColour colour) {
  QLabel* result = parts_.status->controls().lblResult;
  result->setText(ToQt(text));
  result->setStyleSheet(QStringLiteral("color: %1;").arg(LampColor(colour).darker(130).name()));
}

void LinkBinding::RequestListEnded(const link::TListOutcome& outcome) {
  if (outcome.Label != link::texts::kLabelUpload) return;
  uploading_ = false;
  // An upload that stopped early has no result line of its own; its error (the controller in
  // RUN: "Data transfer not finished, line: 0") would otherwise be seen in the log only.
  if (outcome.Failed && !outcome.Error.empty()) ResultLine(outcome.Error, link::TLampColour::Red);
}

void LinkBinding::TransferLogLine(link::TTransferLogCode code, const std::string& text) {
  if (logs_ != nullptr) logs_->AddLogMessage(static_cast<int>(code), text);
}

void LinkBinding::MessageBox(const std::string& text) { ShowMessage(text); }

bool LinkBinding::AskYesCancel(const std::string& question) {
  return dialogs_.askYesCancel(ToQt(question));
}

void LinkBinding::ConnectionChanged(const link::TConnectionView& view) {
  const ControllerPanel::Controls& c = parts_.controller->controls();
  c.btnConnectComPort->setText(ToQt(view.ButtonCaption));
  c.lblConnection->setText(ToQt(portChoice_.ConnectionText(view)));
  c.lblConnection->setVisible(view.Connected);
  c.lblVersion->setEnabled(view.Connected);
  c.cbxComPort->setEnabled(view.PortSelectorEnabled);
  c.lblComPort->setEnabled(view.PortSelectorEnabled);
  c.cbxDeviceModel->setEnabled(view.ModelSelectorEnabled);
  parts_.ilEditor->SetTransferEnabled(view.Connected);
  if (!view.Connected) {
    uploading_ = false;
    StopSimulator();
  }
}

void LinkBinding::TimersChanged(const link::TTimerView& timers) {
  const auto apply = [](QTimer* timer, bool enabled, int interval) {
    if (timer->interval() != interval) timer->setInterval(interval);
    if (!enabled) {
      timer->stop();
    } else if (!timer->isActive()) {
      timer->start();
    }
  };
  if (shutDown_) return;
  apply(parts_.stateTimer, timers.StateTimerEnabled, timers.StateIntervalMs);
  apply(parts_.resetTimer, timers.ResetTimerEnabled, timers.ResetIntervalMs);
}

void LinkBinding::PortListCleared() {
  portChoice_.ClearPorts();
  ShowPortList();
}

void LinkBinding::PollLabel(const std::string& registerName) {
  parts_.status->controls().lblReading->setText(QString::fromLatin1(texts::kReading) +
                                                ToQt(registerName));
}

void LinkBinding::ControllerStateChanged(const link::TStateChanges& changed) { ShowState(changed); }

void LinkBinding::ModelSelected(const link::TDeviceDescription&) {
  QComboBox* models = parts_.controller->controls().cbxDeviceModel;
  const QSignalBlocker blocker(models);
  models->setCurrentIndex(session_->SelectedModelIndex());
  if (parts_.applyModel) parts_.applyModel();
}

void LinkBinding::EditorLineReplaced(int index, const std::string& text) {
  parts_.ilEditor->ReplaceLine(index, text);
}

void LinkBinding::ReadingPanel(bool shown) {
  parts_.ilEditor->ShowReadingPanel(shown);
  parts_.pages->setEnabled(!shown);
}

void LinkBinding::CommandsRead(int count) {
  parts_.ilEditor->ShowReadingCount(count);
  parts_.ilEditor->ShowReadProgress(count, true);
}

void LinkBinding::ProgramRead(const std::vector<std::string>& lines) {
  parts_.ilEditor->SetProgramLines(lines);
  parts_.ilEditor->ShowReadProgress(transfer_->LastDownload().Decoded, false);
}

// ---- The controller state

void LinkBinding::ShowState(const link::TStateChanges& changed) {
  const link::TControllerState s = session_->State();
  const ControllerPanel::Controls& c = parts_.controller->controls();
  const StatusPanel::Controls& st = parts_.status->controls();
  const auto is = [&changed](TStateField field) { return link::Changed(changed, field); };
  if (is(TStateField::RunStop)) {
    c.runStop->SetColor(LampColor(s.RunStopLamp));
    c.runStop->SetCaption(ToQt(s.RunStopText));
  }
  for (std::size_t k = 0; k < c.inputs.size(); ++k) {
    if (is(TStateField::Inputs)) c.inputs[k]->SetColor(LampColor(s.InputLamps[k]));
    if (is(TStateField::Outputs)) c.outputs[k]->SetColor(LampColor(s.OutputLamps[k]));
  }
  if (is(TStateField::Errors) || is(TStateField::ErrorCodes)) ShowErrors(s);
  if (is(TStateField::Direction)) SetText(st.lblDirection, s.DirectionText);
  if (is(TStateField::Position)) SetText(st.lblPosition, s.PositionText);
  if (is(TStateField::Speed)) SetText(st.lblSpeed, s.SpeedText);
  if (is(TStateField::MotorStatus)) ShowMotion(s);
  if (is(TStateField::Voltages)) {
    st.supplyVoltage->SetColor(LampColor(s.SupplyVoltageLamp));
    st.internalVoltage->SetColor(LampColor(s.InternalVoltageLamp));
  }
  if (is(TStateField::Versions)) SetText(c.lblVersion, s.VersionText);
}

void LinkBinding::ShowErrors(const link::TControllerState& s) {
  const ControllerPanel::Controls& c = parts_.controller->controls();
  const std::array<Lamp*, link::kErrorGroupCount> lamps = {c.errors, c.batteryError, c.romError,
                                                           c.modbusError, c.userProgramError};
  for (std::size_t k = 0; k < lamps.size(); ++k) {
    lamps[k]->SetColor(LampColor(s.ErrorGroups[k].Lamp));
    lamps[k]->SetCaption(Caption(s.ErrorGroups[k].Text, kErrorCaptions[k]));
  }
  // The groups show only while the controller reports an error.
  const bool groups = s.ErrorGroups[link::kGeneralError].DetailVisible;
  const auto detail = [&s, groups](link::TErrorGroup group) {
    return groups && s.ErrorGroups[group].DetailVisible;
  };
  for (std::size_t k = 1; k < lamps.size(); ++k) lamps[k]->setVisible(groups);
  c.lblReplaceBattery->setVisible(detail(link::kBatteryError));
  c.lblRomCode->setText(ToQt(s.ErrorGroups[link::kProgramMemoryError].CodeText));
  c.lblRomCode->setVisible(detail(link::kProgramMemoryError));
  c.lblModbusCode->setText(ToQt(s.ErrorGroups[link::kModbusError].CodeText));
  c.lblModbusCode->setVisible(detail(link::kModbusError));
  const link::TErrorGroupView& user = s.ErrorGroups[link::kUserProgramError];
  c.lblUserProgramLine->setText(ToQt(user.LineText));
  c.lblUserProgramCode->setText(ToQt(user.CodeText));
  c.lblUserProgramLine->setVisible(detail(link::kUserProgramError));
  c.lblUserProgramCode->setVisible(detail(link::kUserProgramError));
}

void LinkBinding::ShowMotion(const link::TControllerState& s) {
  const StatusPanel::Controls& st = parts_.status->controls();
  // In TMotorLamp order.
  const std::array<Lamp*, link::kMotorLampCount> lamps = {
      st.energized, st.hold, st.accel, st.decel, st.constSpeed, st.busyMove, st.busyRun};
  for (std::size_t k = 0; k < lamps.size(); ++k) lamps[k]->SetColor(LampColor(s.MotorLamps[k]));
}

}  // namespace quarn::ui
