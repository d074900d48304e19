#include "ui/log_window.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "shell/shell_texts.h"
#include "ui/qt_text.h"

namespace quarn::ui {
namespace {

constexpr int kInitialWidth = 720;
constexpr int kInitialHeight = 480;

}  // namespace

TFormLogs::TFormLogs(const shell::TCommonDatas& datas, std::string applicationFolder,
                     std::unique_ptr<shell::LogClock> clock, QWidget* parent)
    : QWidget(parent, Qt::Window),
      clock_(clock ? std::move(clock) : std::make_unique<shell::SystemLogClock>()),
      log_(datas, std::move(applicationFolder), *clock_),
      richeditLog_(new QPlainTextEdit(this)),
      btnClear_(new QPushButton(ToQt(shell::texts::kLogClear), this)),
      btnSaveToFile_(new QPushButton(ToQt(shell::texts::kLogSaveToFile), this)),
      errorPanel_(new QLabel(this)) {
  setObjectName(QStringLiteral("FormLogs"));
  setWindowTitle(ToQt(shell::texts::kLogCaption));
  richeditLog_->setObjectName(QStringLiteral("richeditLog"));
  richeditLog_->setReadOnly(true);
  richeditLog_->setLineWrapMode(QPlainTextEdit::NoWrap);
  // Frames line up character by character in a fixed font.
  richeditLog_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  richeditLog_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  richeditLog_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  btnClear_->setObjectName(QStringLiteral("btnClear"));
  btnSaveToFile_->setObjectName(QStringLiteral("btnSaveToFile"));
  errorPanel_->setObjectName(QStringLiteral("pnlError"));
  errorPanel_->setStyleSheet(
      QStringLiteral("background-color: #d01010; color: white; padding: 4px;"));
  errorPanel_->setWordWrap(true);
  errorPanel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  errorPanel_->hide();

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(btnClear_);
  buttons->addWidget(btnSaveToFile_);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(errorPanel_);
  layout->addWidget(richeditLog_, 1);
  layout->addLayout(buttons);
  resize(kInitialWidth, kInitialHeight);

  connect(btnClear_, &QPushButton::clicked, this, [this] { log_.Clear(); });
  connect(btnSaveToFile_, &QPushButton::clicked, this, [this] { log_.SaveToFile(); });
  log_.SetObserver(this);
}

TFormLogs::~TFormLogs() { log_.SetObserver(nullptr); }

QString TFormLogs::Text() const { return richeditLog_->toPlainText(); }

bool TFormLogs::ErrorPanelVisible() const { return !errorPanel_->isHidden(); }

void TFormLogs::closeEvent(QCloseEvent* event) {
  // The window lives as long as the program; closing it only takes it off the screen.
  event->ignore();
  hide();
}

void TFormLogs::LogChanged() {
  QString text;
  for (const std::string& line : log_.Lines()) {
    if (!text.isEmpty()) text += QLatin1Char('\n');
    text += ToQt(line);
  }
  richeditLog_->setPlainText(text);
  ScrollToEnd();
}

void TFormLogs::LineAppended(const std::string& line) {
  richeditLog_->appendPlainText(ToQt(line));
  ScrollToEnd();
}

void TFormLogs::ErrorShown(const std::string& text) {
  errorPanel_->setText(ToQt(text));
  errorPanel_->show();
}

void TFormLogs::ScrollToEnd() {
  QScrollBar* bar = richeditLog_->verticalScrollBar();
  bar->setValue(bar->maximum());
}

}  // namespace quarn::ui
