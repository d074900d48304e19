#include "shell/debug_log.h"

#include <utility>

#include "shell/file_system.h"

namespace quarn::shell {

DebugLog::DebugLog(TCommonDatas& datas, std::string applicationFolder)
    : datas_(datas), applicationFolder_(std::move(applicationFolder)) {}

std::string DebugLog::FilePath() const {
  const std::string& folder = datas_.LogPath.empty() ? applicationFolder_ : datas_.LogPath;
  return folder + "/" + std::string(kDebugLogName);
}

template <typename Write>
bool DebugLog::WriteLocked(Write write) {
  const std::lock_guard lock(mutex_);
  if (!datas_.CompileLog) return false;
  // The per-user application folder may not exist yet; a LOG_PATH folder is the user's to make.
  if (datas_.LogPath.empty()) CreateFolders(applicationFolder_);
  if (write(FilePath())) return true;
  datas_.CompileLog = false;
  return false;
}

bool DebugLog::AppendLogLine(std::string_view text) {
  std::string line{text};
  line += "\r\n";
  // One write per line, so lines from two processes sharing the file never interleave.
  return WriteLocked([&line](const std::string& path) { return AppendToFile(path, line); });
}

bool DebugLog::EmptyLogFile() {
  return WriteLocked([](const std::string& path) { return EmptyFile(path); });
}

}  // namespace quarn::shell
