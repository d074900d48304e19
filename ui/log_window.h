// The transfer-log window "Data transition logs": shows the shell's TransferLog, saves and clears
// it. Closing the window only hides it; the log goes on filling while it is hidden.
#pragma once

#include <QWidget>
#include <memory>
#include <string>
#include <string_view>

#include "shell/common_datas.h"
#include "shell/log_clock.h"
#include "shell/transfer_log.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace quarn::ui {

class TFormLogs : public QWidget, private shell::TransferLogObserver {
  Q_OBJECT

 public:
  // LINES_TO_LOG, SAVE_LOG and LOG_PATH are taken from datas now, so the settings file must have
  // been read. The clock is the system's unless a test brings its own.
  TFormLogs(const shell::TCommonDatas& datas, std::string applicationFolder,
            std::unique_ptr<shell::LogClock> clock = nullptr, QWidget* parent = nullptr);
  ~TFormLogs() override;

  // A producer's line (send, receive, error or string code). Must run on the window's thread.
  void AddLogMessage(int code, std::string_view text) { log_.AddLogMessage(code, text); }

  QString Text() const;
  bool ErrorPanelVisible() const;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void LogChanged() override;
  void LineAppended(const std::string& line) override;
  void ErrorShown(const std::string& text) override;
  void ScrollToEnd();

  std::unique_ptr<shell::LogClock> clock_;
  shell::TransferLog log_;
  QPlainTextEdit* richeditLog_;
  QPushButton* btnClear_;
  QPushButton* btnSaveToFile_;
  QLabel* errorPanel_;
};

}  // namespace quarn::ui
