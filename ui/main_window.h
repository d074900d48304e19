// The main window of the workbench and the owner of every long-lived object: the shared data
// with the settings, the pages, the timers and the controller link (LinkBinding). Start-up
// happens in the constructor, shut-down in closeEvent.
#pragma once

#include <QMainWindow>
#include <memory>
#include <string>
#include <vector>

#include "link/port_discovery.h"
#include "shell/common_datas.h"

class QCloseEvent;
class QTabWidget;
class QTimer;

namespace quarn::ui {

class ControllerPanel;
class IlEditorPage;
class LinkBinding;
class StatusPanel;
class TFormLogs;

class TFormMain : public QMainWindow {
  Q_OBJECT

 public:
  // Reads the settings file at settingsPath (the current folder's quarn-program-modbus.txt when
  // the workbench starts normally). The ports are found by the scanner given, else in /dev.
  explicit TFormMain(const std::string& settingsPath,
                     std::unique_ptr<link::TPortScanner> scanner = nullptr,
                     QWidget* parent = nullptr);
  ~TFormMain() override;

  shell::TCommonDatas& CommonDatas() { return datas_; }
  const shell::TCommonDatas& CommonDatas() const { return datas_; }

  // The log window is created right after the main window, once the settings are known.
  void AttachLogWindow(TFormLogs* logs);

  IlEditorPage* IlEditor() const { return ilEditor_; }
  ControllerPanel* Controller() const { return controller_; }
  StatusPanel* Status() const { return status_; }
  QTabWidget* Pages() const { return pages_; }
  LinkBinding* Link() const { return link_.get(); }
  QTimer* StatusTimer() const { return TimerGetState_; }
  QTimer* StateResetTimer() const { return TimerStateReset_; }
  bool ApplicationClosing() const { return applicationClosing_; }

  // "Show Log List".
  void ShowLogList();
  // The gear button: the "Program Settings" dialog, modal.
  void OpenProgramSettings();
  // Sets the status timer's interval, never below the lowest the link allows.
  void SetStatusTimerInterval(int interval);
  // Adapts the window to the selected model: its direct-control page and supply lamps.
  void ApplyModelToWindow();
  // The "Communication parameters" dialog.
  void OpenCommParameters();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildWindow();
  void BuildPages();
  void BuildMenus();
  void ConnectHiddenServiceControls();
  void BuildTimers();
  void ReadSettings(const std::string& settingsPath);
  void FillModelList();
  void BindLink(std::unique_ptr<link::TPortScanner> scanner);
  void ShowAbout();

  shell::TCommonDatas datas_;
  bool applicationClosing_ = false;
  TFormLogs* logs_ = nullptr;

  ControllerPanel* controller_ = nullptr;
  StatusPanel* status_ = nullptr;
  QTabWidget* pages_ = nullptr;
  IlEditorPage* ilEditor_ = nullptr;
  QWidget* TabSheetLD_ = nullptr;
  QWidget* TabSheetKLEM_Modbus_DirectControl_ = nullptr;
  QWidget* TabSheetTRAXDirectControl_ = nullptr;
  QTimer* TimerGetState_ = nullptr;
  QTimer* TimerStateReset_ = nullptr;
  std::unique_ptr<LinkBinding> link_;
};

}  // namespace quarn::ui
