#include "compiler/compile_trace.h"

#include "compiler/compiler_texts.h"
#include "shell/common_datas.h"
#include "shell/debug_log.h"

namespace quarn::compiler {
namespace {

constexpr std::string_view kCrLf = "\r\n";

std::string_view YesNo(bool value, std::string_view yes, std::string_view no) {
  return value ? yes : no;
}

}  // namespace

DebugLogTrace::DebugLogTrace(shell::DebugLog& log, const shell::TCommonDatas& datas)
    : log_(log), datas_(datas) {}

bool DebugLogTrace::Enabled() const { return datas_.CompileLog; }

void DebugLogTrace::AppendLogLine(std::string_view text) { log_.AppendLogLine(text); }

void DebugLogTrace::Restart() { log_.EmptyLogFile(); }

std::string_view BlockTypeName(int type) {
  if (type < 0 || type >= static_cast<int>(texts::kBlockTypeNames.size())) {
    return texts::kUnknownBlockType;
  }
  return texts::kBlockTypeNames[static_cast<std::size_t>(type)];
}

std::string BlockInfoText(const TBlock& block) {
  std::string text = "BlockInfo: block[" + std::to_string(block.Index) + "]:";
  text += kCrLf;
  text += " StartCell r" + std::to_string(block.StartCell.Row) + " c" +
          std::to_string(block.StartCell.Col);
  text += kCrLf;
  text +=
      " EndCell r" + std::to_string(block.EndCell.Row) + " c" + std::to_string(block.EndCell.Col);
  text += kCrLf;
  text += " Join " + std::to_string(block.Join);
  text += kCrLf;
  text += " BlockType = ";
  text += BlockTypeName(block.BlockType);
  text += kCrLf;
  for (std::size_t i = 0; i < block.Elem.size(); ++i) {
    text += " Elem[" + std::to_string(i) + "] = " + block.Elem[i];
    text += kCrLf;
  }
  text += YesNo(block.Finished, " finished = true", " finished = false");
  text += kCrLf;
  return text;
}

std::string MPSInfoText(const TMPS& mps) {
  std::string text = "MPSInfo: MPS[" + std::to_string(mps.Index) + "]: ";
  text += kCrLf;
  text += YesNo(mps.AllActive(), " active = true", " active = false");
  text += kCrLf;
  text += YesNo(mps.Assembled, " assembled = true", " assembled = false");
  text += kCrLf;
  text += YesNo(mps.AllCompleted(), " completed = true", " completed = false");
  text += kCrLf;
  for (const TMRDCell& cell : mps.MRDs) {
    text += "    MRD[" + std::to_string(mps.Index) + "][" + std::to_string(cell.Index) +
            "]: row=" + std::to_string(cell.Cell.Row) + "  col=" + std::to_string(cell.Cell.Col);
    text += YesNo(cell.Active, "; active ", "; not active ");
    text += YesNo(cell.Completed, "; completed ", "; not completed ");
    text += YesNo(cell.Open, "; open ", "; not open ");
    text += kCrLf;
  }
  return text;
}

}  // namespace quarn::compiler
