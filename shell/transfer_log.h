// The transfer log: every frame sent to and received from the controller, shown in the
// "Data transition logs" window and saved to text files in the "logs" folder.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "shell/common_datas.h"
#include "shell/log_clock.h"

namespace quarn::shell {

// Codes the producers post with a log text.
enum LogCode : int { LogSend = 0, LogRecv = 1, LogError = 2, LogString = 3 };

// What a window needs to follow the log. Calls come on the thread that drives the log.
class TransferLogObserver {
 public:
  virtual ~TransferLogObserver() = default;
  // The content was replaced (emptied by "Clear" or by an automatic save): show Lines() afresh.
  virtual void LogChanged() = 0;
  // One line was added at the end: show it and scroll to it.
  virtual void LineAppended(const std::string& line) = 0;
  // The red error panel is to be shown with this text.
  virtual void ErrorShown(const std::string& text) = 0;
};

enum class LogSaveStatus { Saved, FolderError, WriteError };

struct LogSaveResult {
  LogSaveStatus Status = LogSaveStatus::WriteError;
  std::string Path;  // the file written or tried; the folder for a folder error
};

// Lives on the window's thread; producers on other threads hand their lines over to it.
class TransferLog {
 public:
  // LINES_TO_LOG, SAVE_LOG and LOG_PATH are taken once, as the log window is created.
  TransferLog(const TCommonDatas& datas, std::string applicationFolder, const LogClock& clock);

  void SetObserver(TransferLogObserver* observer) { observer_ = observer; }

  // Adds the line for a producer's message. Once the log holds more than LINES_TO_LOG lines it
  // is saved first (while automatic saving is on) and emptied. Unknown codes add nothing.
  void AddLogMessage(int code, std::string_view text);

  // "Save to file": writes the whole log and keeps it.
  LogSaveResult SaveToFile() { return Save(false); }

  // "Clear".
  void Clear();

  const std::vector<std::string>& Lines() const { return lines_; }
  bool AutoSaveLog() const { return autoSaveLog_; }
  bool ErrorVisible() const { return !errorText_.empty(); }
  const std::string& ErrorText() const { return errorText_; }
  const std::string& LogFolder() const { return folder_; }

 private:
  LogSaveResult Save(bool automatic);
  LogSaveResult WriteFile(const std::string& content, const LogTimestamp& stamp);
  void Append(std::string line);
  void NotifyChanged();

  int linesToLog_;
  bool autoSaveLog_;
  std::string folder_;
  const LogClock& clock_;
  TransferLogObserver* observer_ = nullptr;
  std::vector<std::string> lines_;
  std::string errorText_;
};

// "09-12-2025 14-03-27.txt": the short date and time with '.' and ':' made file-name safe.
std::string LogFileName(const LogTimestamp& stamp);

// The folder the log files go to: LOG_PATH + "/logs", else the application's folder + "/logs".
std::string LogFolderFor(const std::string& logPath, const std::string& applicationFolder);

}  // namespace quarn::shell
