#include "shell/transfer_log.h"

#include <algorithm>
#include <utility>

#include "shell/file_system.h"
#include "shell/shell_texts.h"

namespace quarn::shell {
namespace {

constexpr std::string_view kLogsFolder = "/logs";
constexpr std::string_view kLogFileExtension = ".txt";

// Saves within one second share a name; later ones get " (2)", " (3)", ... rather than replace
// the earlier file. The bound only keeps a broken folder from spinning.
constexpr int kMaxNameTries = 1000;

std::string NumberedName(const std::string& stem, int number) {
  std::string name = stem;
  if (number > 1) name += " (" + std::to_string(number) + ")";
  name += kLogFileExtension;
  return name;
}

// A frame text ends with the CR LF of its framing; in the log it is one line.
std::string_view WithoutLineEnd(std::string_view text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string content;
  for (const std::string& line : lines) {
    content += line;
    content += '\n';
  }
  return content;
}

std::string FileStem(const LogTimestamp& stamp) {
  std::string stem = ShortDateText(stamp) + " " + ShortTimeText(stamp);
  std::replace(stem.begin(), stem.end(), '.', '-');
  std::replace(stem.begin(), stem.end(), ':', '-');
  return stem;
}

}  // namespace

std::string LogFileName(const LogTimestamp& stamp) { return NumberedName(FileStem(stamp), 1); }

std::string LogFolderFor(const std::string& logPath, const std::string& applicationFolder) {
  return (logPath.empty() ? applicationFolder : logPath) + std::string(kLogsFolder);
}

TransferLog::TransferLog(const TCommonDatas& datas, std::string applicationFolder,
                         const LogClock& clock)
    : linesToLog_(datas.LinesToLog),
      autoSaveLog_(datas.SaveLog),
      folder_(LogFolderFor(datas.LogPath, applicationFolder)),
      clock_(clock) {}

void TransferLog::AddLogMessage(int code, std::string_view text) {
  std::string line;
  switch (code) {
    case LogSend:
      line = texts::kLogSend;
      break;
    case LogRecv:
      line = texts::kLogRecv;
      break;
    case LogError:
      line = texts::kLogError;
      break;
    case LogString: {
      const LogTimestamp now = clock_.Now();
      line = ShortDateText(now) + " " + ShortTimeText(now) + std::string(texts::kLogStr);
      break;
    }
    default:
      return;
  }
  line += WithoutLineEnd(text);
  if (lines_.size() > static_cast<std::size_t>(linesToLog_) && autoSaveLog_) Save(true);
  Append(std::move(line));
}

void TransferLog::Clear() {
  lines_.clear();
  NotifyChanged();
}

LogSaveResult TransferLog::Save(bool automatic) {
  if (!CreateFolders(folder_)) {
    // Without a folder there is nowhere to save to for the rest of the run.
    autoSaveLog_ = false;
    errorText_ = std::string(texts::kLogFolderError) + folder_;
    if (observer_ != nullptr) observer_->ErrorShown(errorText_);
    return {LogSaveStatus::FolderError, folder_};
  }
  const LogSaveResult result = WriteFile(JoinLines(lines_), clock_.Now());
  if (result.Status != LogSaveStatus::Saved) {
    Append(std::string(texts::kLogSaveError) + result.Path);
    return result;
  }
  if (automatic) {
    lines_.clear();
    NotifyChanged();
  }
  Append(std::string(texts::kLogSaved) + result.Path);
  return result;
}

LogSaveResult TransferLog::WriteFile(const std::string& content, const LogTimestamp& stamp) {
  const std::string stem = folder_ + "/" + FileStem(stamp);
  for (int number = 1; number <= kMaxNameTries; ++number) {
    const std::string path = NumberedName(stem, number);
    switch (WriteNewFile(path, content)) {
      case NewFileResult::Written:
        return {LogSaveStatus::Saved, path};
      case NewFileResult::AlreadyExists:
        continue;
      case NewFileResult::Failed:
        return {LogSaveStatus::WriteError, path};
    }
  }
  return {LogSaveStatus::WriteError, NumberedName(stem, 1)};
}

void TransferLog::Append(std::string line) {
  lines_.push_back(std::move(line));
  if (observer_ != nullptr) observer_->LineAppended(lines_.back());
}

void TransferLog::NotifyChanged() {
  if (observer_ != nullptr) observer_->LogChanged();
}

}  // namespace quarn::shell
