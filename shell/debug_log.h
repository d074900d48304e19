// debug.log: the compiler's trace, written only while "Add compilation information to log file"
// is on.
#pragma once

#include <mutex>
#include <string>
#include <string_view>

#include "shell/common_datas.h"

namespace quarn::shell {

inline constexpr std::string_view kDebugLogName = "debug.log";

// Safe to use from any thread: the compiler may run off the window's thread while the dialog
// changes the option.
class DebugLog {
 public:
  // datas must outlive the log; its LogPath is fixed once the settings file has been read.
  DebugLog(TCommonDatas& datas, std::string applicationFolder);

  // Appends the text and CR LF while CompileLog is on. When the file cannot be written,
  // CompileLog goes off (until the dialog sets it again) and the caller carries on without a
  // trace. True when the line was written.
  bool AppendLogLine(std::string_view text);

  // Empties debug.log at the start of a compilation, under the same rules as AppendLogLine;
  // the compiler then writes its "Compilation start" line through AppendLogLine.
  bool EmptyLogFile();

  // LOG_PATH + "/debug.log", else debug.log in the application's folder.
  std::string FilePath() const;

 private:
  template <typename Write>
  bool WriteLocked(Write write);

  TCommonDatas& datas_;
  const std::string applicationFolder_;
  std::mutex mutex_;
};

}  // namespace quarn::shell
