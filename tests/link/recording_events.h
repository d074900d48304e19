// A recording fake of the link events: every call becomes one line "kind: text", in order.
// Used on the UI thread only, like the window it stands in for.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "link/link_events.h"

namespace quarn::link::testing {

class RecordingEvents : public TLinkEvents {
 public:
  void StatusText(const std::string& text) override { Add("status", text); }
  void ResultLine(const std::string& text, TLampColour) override { Add("result", text); }
  void Progress(const TProgressView& progress) override {
    Add("progress", progress.Text);
    last_progress = progress;
  }
  void TransferLogLine(TTransferLogCode code, const std::string& text) override {
    Add("log" + std::to_string(static_cast<int>(code)), text);
  }
  void MessageBox(const std::string& text) override { Add("message", text); }
  bool AskYesCancel(const std::string& question) override {
    Add("ask", question);
    return answer_yes;
  }
  void RequestListEnded(const TListOutcome& outcome) override {
    Add("ended", outcome.Label + (outcome.Failed ? " failed" : " ok"));
    outcomes.push_back(outcome);
  }
  void ConnectionChanged(const TConnectionView& view) override {
    Add("connection", view.Connected ? view.ConnectionText : "closed");
  }
  void TimersChanged(const TTimerView& view) override { timers = view; }
  void ControllerStateChanged(const TStateChanges& changed) override { state_changes |= changed; }
  void ModelSelected(const TDeviceDescription&) override { Add("model", ""); }
  void EditorLineReplaced(int index, const std::string& text) override {
    Add("replaced", std::to_string(index) + " " + text);
  }
  void ReadingPanel(bool shown) override { Add("reading", shown ? "shown" : "hidden"); }
  void CommandsRead(int count) override { commands_read = count; }
  void ProgramRead(const std::vector<std::string>& read) override { program = read; }
  void PortListCleared() override { Add("ports", "cleared"); }

  // Lines of one kind, in order.
  std::vector<std::string> Of(const std::string& kind) const {
    std::vector<std::string> found;
    const std::string prefix = kind + ": ";
    for (const std::string& line : lines) {
      if (line.rfind(prefix, 0) == 0) found.push_back(line.substr(prefix.size()));
    }
    return found;
  }
  bool Has(const std::string& kind, const std::string& text) const {
    const std::vector<std::string> of = Of(kind);
    return std::find(of.begin(), of.end(), text) != of.end();
  }
  int Count(const std::string& kind, const std::string& text) const {
    const std::vector<std::string> of = Of(kind);
    return static_cast<int>(std::count(of.begin(), of.end(), text));
  }

  std::vector<std::string> lines;
  std::vector<TListOutcome> outcomes;
  TProgressView last_progress;
  TTimerView timers;
  TStateChanges state_changes;
  int commands_read = 0;
  std::vector<std::string> program;
  bool answer_yes = true;

 private:
  void Add(const std::string& kind, const std::string& text) {
    lines.push_back(kind + ": " + text);
  }
};

}  // namespace quarn::link::testing
