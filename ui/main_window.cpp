#include "ui/main_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QKeySequence>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <cstdio>

#include "link/current_description.h"
#include "link/device_models.h"
#include "link/model_window.h"
#include "link/port_texts.h"
#include "shell/settings_file.h"
#include "ui/brand_icons.h"
#include "ui/controller_panel.h"
#include "ui/il_editor_page.h"
#include "ui/lamp.h"
#include "ui/log_window.h"
#include "ui/program_settings_dialog.h"
#include "ui/qt_text.h"
#include "ui/status_panel.h"
#include "ui/ui_texts.h"

namespace quarn::ui {
namespace {

// Fits a 1366 x 768 screen with room for the task bar; larger screens get the same start size.
constexpr int kInitialWidth = 1320;
constexpr int kInitialHeight = 700;

}  // namespace

TFormMain::TFormMain(const std::string& settingsPath, std::unique_ptr<link::TPortScanner> scanner,
                     QWidget* parent)
    : QMainWindow(parent),
      portScanner_(scanner ? std::move(scanner) : std::make_unique<link::TDevPortScanner>()) {
  // Start-up: the shared data with its defaults, the title and icon, the window and its pages,
  // the port list with its background scan, the models, then the settings file, whose values
  // the timers take.
  applicationClosing_ = false;
  setObjectName(QStringLiteral("FormMain"));
  setWindowTitle(ToQt(shell::WindowTitle(datas_)));
  setWindowIcon(BrandIcon(datas_.BrandIconName));
  BuildWindow();
  BuildMenus();
  StartPortList();
  FillModelList();
  ReadSettings(settingsPath);
  BuildTimers();
  resize(kInitialWidth, kInitialHeight);
}

TFormMain::~TFormMain() { StopWorkers(); }

void TFormMain::StopWorkers() {
  // The scan publishes through this window; it must be over before the window goes.
  if (portListRefresh_) portListRefresh_->Stop();
}

void TFormMain::BuildWindow() {
  controller_ = new ControllerPanel;
  auto* leftScroll = new QScrollArea;
  leftScroll->setObjectName(QStringLiteral("scrollController"));
  leftScroll->setWidget(controller_);
  leftScroll->setWidgetResizable(true);
  leftScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  leftScroll->setMinimumWidth(controller_->sizeHint().width() + 24);

  BuildPages();
  auto* splitter = new QSplitter(Qt::Horizontal);
  splitter->setObjectName(QStringLiteral("splitterMain"));
  splitter->addWidget(leftScroll);
  splitter->addWidget(pages_);
  splitter->setStretchFactor(0, 0);
  splitter->setStretchFactor(1, 1);
  splitter->setChildrenCollapsible(false);

  status_ = new StatusPanel;
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(4, 4, 4, 0);
  layout->addWidget(splitter, 1);
  layout->addWidget(status_);
  setCentralWidget(central);

  connect(status_->controls().btnShowLogList, &QPushButton::clicked, this, &TFormMain::ShowLogList);
  connect(controller_->controls().btnProgSettings, &QToolButton::clicked, this,
          &TFormMain::OpenProgramSettings);
  // Connecting and the communication parameters need the controller link.
  controller_->controls().btnConnectComPort->setEnabled(false);
  controller_->controls().btnCommParameters->setEnabled(false);
}

void TFormMain::BuildPages() {
  pages_ = new QTabWidget;
  pages_->setObjectName(QStringLiteral("PageControl"));
  TabSheetLD_ = new QWidget;
  TabSheetLD_->setObjectName(QStringLiteral("TabSheetLD"));
  ilEditor_ = new IlEditorPage;
  TabSheetKLEM_Modbus_DirectControl_ = new QWidget;
  TabSheetKLEM_Modbus_DirectControl_->setObjectName(
      QStringLiteral("TabSheetKLEM_Modbus_DirectControl"));
  TabSheetTRAXDirectControl_ = new QWidget;
  TabSheetTRAXDirectControl_->setObjectName(QStringLiteral("TabSheetTRAXDirectControl"));

  pages_->addTab(TabSheetLD_, QString::fromLatin1(texts::kLadderPage));
  pages_->addTab(ilEditor_, QString::fromLatin1(texts::kIlPage));
  // The direct-control pages stay hidden until a selected model names one of them.
  const int direct = pages_->addTab(TabSheetKLEM_Modbus_DirectControl_, QString());
  const int trax = pages_->addTab(TabSheetTRAXDirectControl_, QString());
  pages_->setTabVisible(direct, false);
  pages_->setTabVisible(trax, false);
  pages_->setCurrentWidget(ilEditor_);
}

void TFormMain::BuildMenus() {
  QMenu* file = menuBar()->addMenu(QString::fromLatin1(texts::kMenuFile));
  file->addAction(QString::fromLatin1(texts::kMenuOpen), QKeySequence::Open, ilEditor_,
                  &IlEditorPage::OpenWithDialog);
  file->addAction(QString::fromLatin1(texts::kMenuSave), QKeySequence::Save, ilEditor_,
                  &IlEditorPage::SaveWithDialog);
  file->addSeparator();
  file->addAction(QString::fromLatin1(texts::kMenuPrint), QKeySequence::Print, ilEditor_,
                  &IlEditorPage::PrintWithDialog);
  file->addAction(QString::fromLatin1(texts::kMenuPrintPdf), ilEditor_,
                  &IlEditorPage::PrintToPdfWithDialog);
  file->addSeparator();
  file->addAction(QString::fromLatin1(texts::kMenuQuit), QKeySequence(Qt::CTRL | Qt::Key_Q), this,
                  &QWidget::close);

  QMenu* view = menuBar()->addMenu(QString::fromLatin1(texts::kMenuView));
  view->addAction(QString::fromLatin1(texts::kMenuShowLogList), this, &TFormMain::ShowLogList);

  QMenu* tools = menuBar()->addMenu(QString::fromLatin1(texts::kMenuTools));
  tools->addAction(QString::fromLatin1(texts::kMenuProgramSettings), this,
                   &TFormMain::OpenProgramSettings);
  QAction* commParameters = tools->addAction(QString::fromLatin1(texts::kMenuCommParameters));
  commParameters->setObjectName(QStringLiteral("actCommParameters"));
  commParameters->setEnabled(false);

  QMenu* help = menuBar()->addMenu(QString::fromLatin1(texts::kMenuHelp));
  help->addAction(QString::fromLatin1(texts::kMenuAbout), this, &TFormMain::ShowAbout);
}

void TFormMain::ReadSettings(const std::string& settingsPath) {
  const shell::SettingsReadResult result = shell::ReadSettingsFile(settingsPath, datas_);
  // A missing file is the normal case and passes silently; a file that is there but cannot be
  // used is worth a line on the console, since its settings are then ignored.
  if (result.Status == shell::SettingsFileStatus::Unreadable) {
    std::fprintf(stderr, "%s\n", result.Message.c_str());
  }
}

void TFormMain::StartPortList() {
  QComboBox* ports = controller_->controls().cbxComPort;
  ports->setPlaceholderText(ToQt(link::texts::kNoPortCaption));
  connect(ports, &QComboBox::activated, this, [this](int index) { portList_.Select(index); });
  portList_.Publish(portScanner_->Scan(), {});
  ShowPortList();
  portListRefresh_ = std::make_unique<link::TRenewComPortList>(
      *portScanner_, [this](const std::vector<std::string>& found) {
        // On the scan thread: the list is handed over to the window's thread.
        QMetaObject::invokeMethod(
            this, [this, found] { ApplyPublishedPorts(found); }, Qt::QueuedConnection);
      });
  portListRefresh_->Start();
}

void TFormMain::ApplyPublishedPorts(const std::vector<std::string>& ports) {
  if (applicationClosing_) return;
  portList_.Publish(ports, {});
  ShowPortList();
}

void TFormMain::ShowPortList() {
  QComboBox* ports = controller_->controls().cbxComPort;
  const QSignalBlocker blocker(ports);
  ports->clear();
  for (const std::string& port : portList_.Items()) ports->addItem(ToQt(port));
  ports->setCurrentIndex(portList_.Selected());
}

void TFormMain::FillModelList() {
  QComboBox* models = controller_->controls().cbxDeviceModel;
  for (const link::TDeviceDescription& model : link::ModelList()) {
    models->addItem(ToQt(model.ListCaption));
  }
  connect(models, &QComboBox::activated, this, &TFormMain::SelectModel);
  models->setCurrentIndex(0);
  SelectModel(0);
}

void TFormMain::SelectModel(int index) {
  const auto models = link::ModelList();
  if (index < 0 || static_cast<std::size_t>(index) >= models.size()) return;
  link::SelectModel(models[static_cast<std::size_t>(index)]);
  ApplyModelToWindow();
}

void TFormMain::ApplyModelToWindow() {
  const link::TModelWindowView view = link::ModelWindowView(link::CurrentDescription());
  QWidget* page = pages_->findChild<QWidget*>(ToQt(view.DirectControlPage));
  if (page == nullptr) return;
  for (QWidget* direct : {TabSheetKLEM_Modbus_DirectControl_, TabSheetTRAXDirectControl_}) {
    pages_->setTabVisible(pages_->indexOf(direct), false);
  }
  const int index = pages_->indexOf(page);
  pages_->setTabText(index, ToQt(view.DirectControlCaption));
  pages_->setTabVisible(index, true);
  status_->controls().supplyVoltage->setVisible(view.SupplyVoltageShown);
  status_->controls().internalVoltage->setVisible(view.InternalVoltageShown);
}

void TFormMain::BuildTimers() {
  TimerGetState_ = new QTimer(this);
  TimerGetState_->setObjectName(QStringLiteral("TimerGetState"));
  SetStatusTimerInterval(datas_.StatusTimerInterval);
  TimerStateReset_ = new QTimer(this);
  TimerStateReset_->setObjectName(QStringLiteral("TimerStateReset"));
  TimerStateReset_->setInterval(shell::TCommonDatas::StateResetInterval);
  // Both timers poll the controller; they run once the controller link is bound and connected.
}

void TFormMain::SetStatusTimerInterval(int interval) {
  TimerGetState_->setInterval(shell::BoundedStatusTimerInterval(interval));
}

void TFormMain::ShowLogList() {
  if (logs_ == nullptr) return;
  logs_->show();
  logs_->raise();
  logs_->activateWindow();
}

void TFormMain::OpenProgramSettings() {
  TFormProgramSettings dialog(
      datas_, [this](int interval) { SetStatusTimerInterval(interval); }, this);
  dialog.exec();
}

void TFormMain::ShowAbout() {
  QMessageBox::about(
      this, QString::fromLatin1(texts::kAboutTitle),
      windowTitle() + QStringLiteral("\n\n") + QString::fromLatin1(texts::kAboutText));
}

void TFormMain::closeEvent(QCloseEvent* event) {
  // Shut-down: nothing new may start, the timers stop, and the log window goes with the main
  // window so that the application ends.
  applicationClosing_ = true;
  TimerGetState_->stop();
  TimerStateReset_->stop();
  StopWorkers();
  if (logs_ != nullptr) logs_->hide();
  event->accept();
}

}  // namespace quarn::ui
