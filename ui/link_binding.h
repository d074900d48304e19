// The main window's binding to the controller link: it owns the serial port, the connection
// session, the program transfer, the background port scan and the in-process simulator, shows
// what the link reports (the link's events and the controller-state model) in the window's
// lamps and labels, and forwards the window's actions to the link.
//
// Everything here runs on the window's thread; the link reaches it through the Qt dispatcher.
// Shutdown() ends every link thread within the link's own bounds; it runs when the window
// closes and again, harmlessly, when it is destroyed.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "link/comm_parameters.h"
#include "link/connection_session.h"
#include "link/link_events.h"
#include "link/port_choice.h"
#include "link/port_discovery.h"
#include "link/port_list_refresher.h"
#include "link/posix_serial_port.h"
#include "link/program_transfer.h"
#include "shell/common_datas.h"
#include "ui/qt_dispatcher.h"

class QTabWidget;
class QTimer;

namespace quarn::simulator {
class TSimulator;
}

namespace quarn::ui {

class ControllerPanel;
class IlEditorPage;
class StatusPanel;
class TFormComParameters;
class TFormLogs;

class LinkBinding : public QObject, private link::TLinkEvents {
  Q_OBJECT

 public:
  // The window's parts the link is shown in; the window owns them and outlives the binding.
  struct Parts {
    ControllerPanel* controller = nullptr;
    StatusPanel* status = nullptr;
    IlEditorPage* ilEditor = nullptr;
    QTabWidget* pages = nullptr;
    QTimer* stateTimer = nullptr;
    QTimer* resetTimer = nullptr;
    QWidget* dialogParent = nullptr;
    std::function<void()> applyModel;  // adapts the window to the selected model
  };

  // How the user is told and asked; message boxes unless a test brings its own.
  struct Dialogs {
    std::function<void(const QString&)> message;
    std::function<bool(const QString&)> askYesCancel;
    std::function<bool(const QString&)> askYesNo;
  };

  LinkBinding(const shell::TCommonDatas& datas, Parts parts,
              std::unique_ptr<link::TPortScanner> scanner, QObject* parent = nullptr);
  ~LinkBinding() override;

  void SetDialogs(Dialogs dialogs);
  void AttachLogWindow(TFormLogs* logs) { logs_ = logs; }
  void Shutdown();

  // Window actions; after Shutdown they do nothing.
  void ConnectClicked();
  void ConnectSimulator();  // chooses "Simulator" and connects
  void Disconnect();
  void UploadClicked();
  void ReadClicked();
  link::TProgramKind ChosenProgramKind() const;
  void ClearErrorsClicked();
  void UserProgramCodeClicked();
  void UserProgramLineClicked();
  void ModelChosen(int index);
  void SetPollInterval(int interval);
  // The "Communication parameters" dialog, window-modal; freed when it closes. nullptr after
  // Shutdown.
  TFormComParameters* OpenCommParameters();

  // A list published by the background scan.
  void ApplyPublishedPorts(const std::vector<std::string>& ports);

  // Until Shutdown.
  link::TConnectionSession& Session() { return *session_; }
  link::TProgramTransfer& Transfer() { return *transfer_; }
  // The in-process simulator while it serves the connection; nullptr otherwise.
  simulator::TSimulator* Simulator() const { return simulator_.get(); }
  bool UploadRunning() const { return uploading_; }

 private:
  // link::TLinkEvents
  void StatusText(const std::string& text) override;
  void StatusLamp(link::TLampColour colour) override;
  void Progress(const link::TProgressView& progress) override;
  void ResultLine(const std::string& text, link::TLampColour colour) override;
  void RequestListEnded(const link::TListOutcome& outcome) override;
  void TransferLogLine(link::TTransferLogCode code, const std::string& text) override;
  void MessageBox(const std::string& text) override;
  bool AskYesCancel(const std::string& question) override;
  void ConnectionChanged(const link::TConnectionView& view) override;
  void TimersChanged(const link::TTimerView& timers) override;
  void PortListCleared() override;
  void PollLabel(const std::string& registerName) override;
  void ControllerStateChanged(const link::TStateChanges& changed) override;
  void ModelSelected(const link::TDeviceDescription& description) override;
  void EditorLineReplaced(int index, const std::string& text) override;
  void ReadingPanel(bool shown) override;
  void CommandsRead(int count) override;
  void ProgramRead(const std::vector<std::string>& lines) override;

  void BindControls();
  void StartPortScan();
  void ShowPortList();
  void TakeTypedPort();
  bool StartSimulator(std::string& path);
  void StopSimulator();
  void ShowState(const link::TStateChanges& changed);
  void ShowErrors(const link::TControllerState& state);
  void ShowMotion(const link::TControllerState& state);
  void TakeCommAnswer(const link::TAcceptedAnswer& answer);
  void ShowMessage(const std::string& text);

  const shell::TCommonDatas& datas_;
  Parts parts_;
  Dialogs dialogs_;
  TFormLogs* logs_ = nullptr;
  bool shutDown_ = false;
  bool uploading_ = false;

  // Declared in the order they may be built; they go in reverse, each after what uses it.
  TQtDispatcher dispatcher_;
  link::TPosixSerialPort port_;
  std::unique_ptr<link::TPortScanner> scanner_;
  std::unique_ptr<link::TRenewComPortList> portScan_;
  std::unique_ptr<simulator::TSimulator> simulator_;
  std::unique_ptr<link::TConnectionSession> session_;
  std::unique_ptr<link::TProgramTransfer> transfer_;
  link::TPortChoice portChoice_;

  // The open "Communication parameters" dialog; the link worker hands it the answers.
  QPointer<TFormComParameters> commDialog_;
  std::atomic<bool> commDialogOpen_{false};
};

}  // namespace quarn::ui
