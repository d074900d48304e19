#include "ui/main_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QKeySequence>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSplitter>
#include <QStyle>
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
#include "ui/link_binding.h"
#include "ui/log_window.h"
#include "ui/program_settings_dialog.h"
#include "ui/qt_text.h"
#include "ui/status_panel.h"
#include "ui/ui_texts.h"

namespace quarn::ui {
namespace {

// Fits a 1366 x 768 screen with room for the task bar; a larger screen gives the window most of
// its room.
constexpr int kInitialWidth = 1320;
constexpr int kInitialHeight = 700;
constexpr double kShareOfLargeScreens = 0.85;

QSize InitialSize() {
  const QSize least(kInitialWidth, kInitialHeight);
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return least;
  const QSize room = screen->availableSize();
  return (room * kShareOfLargeScreens).expandedTo(least).boundedTo(room);
}

}  // namespace

TFormMain::TFormMain(const std::string& settingsPath, std::unique_ptr<link::TPortScanner> scanner,
                     QWidget* parent)
    : QMainWindow(parent) {
  // Start-up: the shared data with its defaults, the title and icon, the window and its pages,
  // the model list, the settings file, whose values the timers and the link take, then the
  // link with the port list and its background scan; the first model is selected.
  setObjectName(QStringLiteral("FormMain"));
  setWindowTitle(ToQt(shell::WindowTitle(datas_)));
  setWindowIcon(BrandIcon(datas_.BrandIconName));
  BuildWindow();
  BuildMenus();
  FillModelList();
  ReadSettings(settingsPath);
  BuildTimers();
  BindLink(scanner ? std::move(scanner) : std::make_unique<link::TDevPortScanner>());
  resize(InitialSize());
}

// The link's threads end before the widgets they report to go.
TFormMain::~TFormMain() { link_.reset(); }

void TFormMain::BindLink(std::unique_ptr<link::TPortScanner> scanner) {
  LinkBinding::Parts parts;
  parts.controller = controller_;
  parts.status = status_;
  parts.ilEditor = ilEditor_;
  parts.pages = pages_;
  parts.stateTimer = TimerGetState_;
  parts.resetTimer = TimerStateReset_;
  parts.dialogParent = this;
  parts.applyModel = [this] { ApplyModelToWindow(); };
  link_ = std::make_unique<LinkBinding>(datas_, std::move(parts), std::move(scanner));
}

void TFormMain::AttachLogWindow(TFormLogs* logs) {
  logs_ = logs;
  link_->AttachLogWindow(logs);
}

void TFormMain::BuildWindow() {
  controller_ = new ControllerPanel;
  auto* leftScroll = new QScrollArea;
  leftScroll->setObjectName(QStringLiteral("scrollController"));
  leftScroll->setWidget(controller_);
  leftScroll->setWidgetResizable(true);
  leftScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // Room for the vertical scroll bar too: the error details may make the panel taller than a
  // small screen, and the scroll bar must then not cover the panel's right edge.
  leftScroll->setMinimumWidth(controller_->sizeHint().width() + 8 +
                              style()->pixelMetric(QStyle::PM_ScrollBarExtent));

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
  connect(controller_->controls().btnCommParameters, &QPushButton::clicked, this,
          &TFormMain::OpenCommParameters);
  ConnectHiddenServiceControls();
}

void TFormMain::ConnectHiddenServiceControls() {
  const ControllerPanel::Controls& c = controller_->controls();
  for (std::size_t k = 0; k < ControllerPanel::kPollIntervals.size(); ++k) {
    const int interval = ControllerPanel::kPollIntervals[k];
    connect(c.btnPollInterval[k], &QPushButton::clicked, this,
            [this, interval] { SetStatusTimerInterval(interval); });
  }
  // Only the code is kept: the workbench carries its interface texts in English alone, so there
  // is nothing to reload for another language.
  connect(c.cbxLanguage, &QComboBox::activated, this, [this](int index) {
    datas_.Language = controller_->controls().cbxLanguage->itemData(index).toString().toStdString();
  });
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
  QAction* commParameters = tools->addAction(QString::fromLatin1(texts::kMenuCommParameters), this,
                                             &TFormMain::OpenCommParameters);
  commParameters->setObjectName(QStringLiteral("actCommParameters"));

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

void TFormMain::FillModelList() {
  QComboBox* models = controller_->controls().cbxDeviceModel;
  for (const link::TDeviceDescription& model : link::ModelList()) {
    models->addItem(ToQt(model.ListCaption));
  }
  controller_->controls().cbxComPort->setPlaceholderText(ToQt(link::texts::kNoPortCaption));
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
  // Both timers poll the controller: the link starts and stops them.
}

void TFormMain::SetStatusTimerInterval(int interval) {
  const int bounded = shell::BoundedStatusTimerInterval(interval);
  TimerGetState_->setInterval(bounded);
  if (link_) link_->SetPollInterval(bounded);
}

void TFormMain::OpenCommParameters() { link_->OpenCommParameters(); }

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
  link_->Shutdown();
  if (logs_ != nullptr) logs_->hide();
  event->accept();
}

}  // namespace quarn::ui
