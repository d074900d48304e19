// The "Program Settings" dialog without its widgets: the values it opens with, the editing of
// the block limit, and "Apply".
#pragma once

#include <string>
#include <string_view>

#include "shell/common_datas.h"

namespace quarn::shell {

enum class StatusTimerChoice { Ms200, Sec10 };

// Made afresh each time the dialog opens: it shows these start values, not the current settings.
class ProgramSettings {
 public:
  static constexpr int kMinBlocks = 100;
  static constexpr int kMaxBlocks = 10000;
  static constexpr int kInitialBlocks = 1000;

  bool AddCompilationInfo() const { return addCompilationInfo_; }
  void SetAddCompilationInfo(bool on) { addCompilationInfo_ = on; }

  int MaxBlocks() const { return maxBlocks_; }
  // The up-down: the value is clamped to 100..10000.
  void SetMaxBlocks(long long value);
  // The editor's text when editing is done: other characters are dropped and the value clamped;
  // a text without digits keeps the last value. Answers the text the editor shows now.
  std::string SetMaxBlocksText(std::string_view text);

  StatusTimerChoice TimerChoice() const { return timerChoice_; }
  void SetTimerChoice(StatusTimerChoice choice) { timerChoice_ = choice; }

  // "TIMEOUT = 300" and "TIMEOUT2 = 100": the fixed debug-read times.
  static std::string TimeoutText();
  static std::string Timeout2Text();

  // The status timer's interval for a choice.
  static int IntervalFor(StatusTimerChoice choice);

  // "Apply": stores the block limit, the compile-log option and the status timer's interval in
  // datas and answers the interval for the window's timer. The dialog stays open.
  int Apply(TCommonDatas& datas) const;

 private:
  bool addCompilationInfo_ = false;
  int maxBlocks_ = kInitialBlocks;
  StatusTimerChoice timerChoice_ = StatusTimerChoice::Ms200;
};

}  // namespace quarn::shell
