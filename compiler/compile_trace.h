// The compiler's diagnostic trace: where its lines go and how blocks and branch points are shown.
#pragma once

#include <string>
#include <string_view>

#include "compiler/compile_model.h"

namespace quarn::shell {
class DebugLog;
struct TCommonDatas;
}  // namespace quarn::shell

namespace quarn::compiler {

// Receives the trace. The compiler builds a line only while Enabled() holds, so a switched-off
// trace costs nothing; a sink may switch itself off (a log file that cannot be written).
class CompileTrace {
 public:
  virtual ~CompileTrace() = default;
  virtual bool Enabled() const = 0;
  // One entry; the sink ends it with CR LF. An entry may hold CR LF itself.
  virtual void AppendLogLine(std::string_view text) = 0;
  // A new compilation starts: the sink drops what an earlier one wrote.
  virtual void Restart() = 0;
};

// The trace in debug.log, written while "Add compilation information to log file" is on.
class DebugLogTrace final : public CompileTrace {
 public:
  // Both must outlive the trace.
  DebugLogTrace(shell::DebugLog& log, const shell::TCommonDatas& datas);
  bool Enabled() const override;
  void AppendLogLine(std::string_view text) override;
  void Restart() override;

 private:
  shell::DebugLog& log_;
  const shell::TCommonDatas& datas_;
};

// "btLD" for 5; "bt???" for a value without a name.
std::string_view BlockTypeName(int type);
// The "BlockInfo" entry of a block, CR LF inside, ending with CR LF.
std::string BlockInfoText(const TBlock& block);
// The "MPSInfo" entry of a branch point, CR LF inside, ending with CR LF.
std::string MPSInfoText(const TMPS& mps);

}  // namespace quarn::compiler
